// Line ends of a saved answer: each line feed is written as CR LF and nothing else changes.
#include <gtest/gtest.h>

#include <string>

#include "view/LineEnds.h"

namespace {
std::string Printable(const std::string& text)
{
    std::string out;
    for (char byte : text) {
        if (byte == '\r')
            out += "\\r";
        else if (byte == '\n')
            out += "\\n";
        else if (byte == '\0')
            out += "\\0";
        else
            out += byte;
    }
    return out;
}
}  // namespace

TEST(WithCrLfLineEnds, WritesEachLineFeedAsCarriageReturnAndLineFeed)
{
    struct Case {
        std::string text;
        std::string saved;
    };
    const Case cases[] = {
        {"", ""},
        {"inetnum: 192.0.2.0 - 192.0.2.255", "inetnum: 192.0.2.0 - 192.0.2.255"},
        {"\n", "\r\n"},
        {"\n\n", "\r\n\r\n"},
        {"a\nb", "a\r\nb"},
        {"\nabc", "\r\nabc"},
        {"abc\n", "abc\r\n"},
        {"\nabc\n", "\r\nabc\r\n"},
        // A CR LF already there gains a CR; a CR alone stays as it is.
        {"a\r\nb", "a\r\r\nb"},
        {"\r\n", "\r\r\n"},
        {"\r", "\r"},
        {"a\rb", "a\rb"},
        {"\n\r", "\r\n\r"},
        {"\r\r", "\r\r"},
        // Zero bytes and bytes beyond ASCII are kept.
        {std::string("a\0\nb", 4), std::string("a\0\r\nb", 5)},
        {std::string("\0", 1), std::string("\0", 1)},
        {"\xff\n\x80", "\xff\r\n\x80"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.saved, WithCrLfLineEnds(c.text)) << '"' << Printable(c.text) << '"';
}

TEST(WithCrLfLineEnds, GrowsALargeAnswerByOneByteALine)
{
    std::string text, saved;
    for (int line = 0; line < 100000; ++line) {
        text += "remarks: line " + std::to_string(line) + "\n";
        saved += "remarks: line " + std::to_string(line) + "\r\n";
    }
    EXPECT_EQ(saved, WithCrLfLineEnds(text));
}
