// An exported settings file is turned into UTF-16LE with its byte-order mark before the first write;
// the text of an older file is kept, read as the profile functions read it.
#include <gtest/gtest.h>

#include "settings/IniEncoding.h"

TEST(IniEncoding, AFileIsTurnedIntoUtf16OnceAndKeepsItsText)
{
    // A stand-in for the ANSI code page Windows-1252, enough for ASCII and "é".
    const AnsiDecoder ansi = [](std::string_view bytes) {
        WideText text;
        for (const char c : bytes) text.push_back(static_cast<unsigned char>(c));
        return text;
    };
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"", std::string("\xFF\xFE", 2)},  // no file yet
        {"[S]\r\nCaf\xE9=h 43\r\n", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0C\0a\0f\0\xE9\0=\0h\0 \0" "4\0" "3\0\r\0\n\0", 34)},
        {"\xEF\xBB\xBF\xE6\x97\xA5=", std::string("\xFF\xFE\xE5\x65=\0", 6)},  // UTF-8 with its mark
        {std::string("\xFF\xFE[\0", 4), std::nullopt},                         // UTF-16 already
        {std::string("\xFE\xFF\0[", 4), std::nullopt},
    };
    for (const auto& [file, bytes] : cases) EXPECT_EQ(bytes, UnicodeIniBytes(file, ansi)) << file;
}
