// UTF-8 for text of any script: every UTF-16 text comes back from its UTF-8 form, and bytes that are
// no UTF-8 read as U+FFFD, never as something else.
#include <gtest/gtest.h>

#include "text/Utf8.h"

TEST(Utf8, EveryWideTextComesBackFromItsUtf8Form)
{
    struct Case {
        std::u16string wide;
        std::string utf8;
    };
    const Case cases[] = {
        {u"", ""},
        {u"example.com", "example.com"},
        {u"b\u00FCcher.de", "b\xC3\xBC" "cher.de"},
        {u"\u043F\u0440\u0438\u043C\u0435\u0440.\u0440\u0444", "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.\xD1\x80\xD1\x84"},
        {u"\u65E5\u672C", "\xE6\x97\xA5\xE6\x9C\xAC"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"},             // a surrogate pair: one character
        {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
        {u"\uFFFF\u0800\u07FF\u0080", "\xEF\xBF\xBF\xE0\xA0\x80\xDF\xBF\xC2\x80"},
        {u"x\xD800y", "x\xED\xA0\x80y"},                 // lone surrogates keep their own value
        {u"\xDC00\xD800", "\xED\xB0\x80\xED\xA0\x80"},
    };
    for (const Case& c : cases) {
        const WideText wide(c.wide.begin(), c.wide.end());
        EXPECT_EQ(c.utf8, WideToUtf8(wide)) << c.utf8;
        EXPECT_TRUE(Utf8ToWide(c.utf8) == wide) << c.utf8;
    }
}

TEST(Utf8, BytesThatAreNoUtf8ReadAsReplacementCharacters)
{
    struct Case {
        std::string bytes;
        std::u16string wide;
    };
    const Case cases[] = {
        {"caf\xE9", u"caf\uFFFD"},                         // a Latin-1 byte
        {"\xFF\xFE", u"\uFFFD\uFFFD"},
        {"\xC0\x80", u"\uFFFD\uFFFD"},                     // overlong forms
        {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // beyond U+10FFFF
        {"\xE6\x97", u"\uFFFD\uFFFD"},                     // a character cut off
        {"\xE6" "a", u"\uFFFDa"},
        {"\x80" "b", u"\uFFFDb"},
    };
    for (const Case& c : cases) EXPECT_TRUE(Utf8ToWide(c.bytes) == WideText(c.wide.begin(), c.wide.end())) << c.bytes;
}
