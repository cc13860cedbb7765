// UTF-8 for text of any script: every UTF-16 text comes back from its UTF-8 form, and bytes that are
// no UTF-8 read as U+FFFD, never as something else.
#include <gtest/gtest.h>

#include "text/Utf8.h"

TEST(Utf8, EveryWideTextComesBackAndBytesThatAreNoUtf8ReadAsReplacementCharacters)
{
    struct Case {
        std::string utf8;
        std::u16string wide;
        bool both = true;  // false: bytes that are no UTF-8, read one way only
    };
    const Case cases[] = {
        {"", u""},
        {"example.com", u"example.com"},
        {"b\xC3\xBC" "cher.de", u"b\u00FCcher.de"},
        {"\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.\xD1\x80\xD1\x84", u"\u043F\u0440\u0438\u043C\u0435\u0440.\u0440\u0444"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},  // a surrogate pair: one character
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"\xEF\xBF\xBF\xE0\xA0\x80\xDF\xBF\xC2\x80", u"\uFFFF\u0800\u07FF\u0080"},
        {"x\xED\xA0\x80y\xED\xB0\x80", u"x\xD800y\xDC00"},  // lone surrogates keep their own value
        {"caf\xE9", u"caf\uFFFD", false},  // a Latin-1 byte
        {"\xC0\x80", u"\uFFFD\uFFFD", false},  // overlong forms
        {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD", false},
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},  // beyond U+10FFFF
        {"\xE6\x97", u"\uFFFD\uFFFD", false},  // a character cut off
        {"\xE6" "a\x80" "b", u"\uFFFDa\uFFFDb", false},
    };
    for (const Case& c : cases) {
        const WideText wide(c.wide.begin(), c.wide.end());
        EXPECT_TRUE(Utf8ToWide(c.utf8) == wide) << c.utf8;
        if (c.both) {
            EXPECT_EQ(c.utf8, WideToUtf8(wide)) << c.utf8;
        }
    }
}
