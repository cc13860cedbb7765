// An exported settings file is turned into UTF-16LE with its byte-order mark before the first write;
// the text of an older file is kept, read as the profile functions read it.
#include <gtest/gtest.h>

#include "settings/IniEncoding.h"

TEST(IniEncoding, AFileIsTurnedIntoUtf16OnceAndKeepsItsText)
{
    // A stand-in for the ANSI code page: Windows-1252's "é" and nothing else beyond ASCII.
    const AnsiDecoder ansi = [](std::string_view bytes) {
        WideText text;
        for (const char c : bytes) text.push_back(c == '\xE9' ? WideChar(0xE9) : WideChar(static_cast<unsigned char>(c)));
        return text;
    };
    struct Case {
        const char* what;
        std::string file;
        std::optional<std::string> bytes;
    };
    const Case cases[] = {
        {"no file yet", "", std::string("\xFF\xFE", 2)},
        {"ANSI", "[S]\r\nCaf\xE9=h 43\r\n",
         std::string("\xFF\xFE[\0S\0]\0\r\0\n\0C\0a\0f\0\xE9\0=\0h\0 \0" "4\0" "3\0\r\0\n\0", 34)},
        {"UTF-8 with its mark", "\xEF\xBB\xBF\xE6\x97\xA5=", std::string("\xFF\xFE\xE5\x65=\0", 6)},
        {"UTF-16LE already", std::string("\xFF\xFE[\0", 4), std::nullopt},
        {"UTF-16BE", std::string("\xFE\xFF\0[", 4), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(c.bytes, UnicodeIniBytes(c.file, ansi)) << c.what;
}
