// The link scan: which runs of an answer's bytes between "(" and ")" become links, at which
// offsets, and that the scan never reads past the answer's last byte.
#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "view/LinkScan.h"

namespace {
using Spans = std::vector<std::pair<size_t, size_t>>;

// Scans a copy of the text in a buffer exactly as long as the text (no terminating zero), so that
// a read one byte too far is caught by the address sanitizer.
Spans Scan(const std::string& text)
{
    std::unique_ptr<char[]> bytes(new char[text.size() > 0 ? text.size() : 1]);
    std::copy(text.begin(), text.end(), bytes.get());
    Spans spans;
    for (const LinkSpan& span : ScanLinks(text.empty() ? nullptr : bytes.get(), text.size())) spans.push_back({span.start, span.end});
    // The text decoded finds the same links at the same characters, where each byte is a character.
    const std::u16string wide(text.begin(), text.end());
    Spans wideSpans;
    for (const LinkSpan& span : ScanLinks(wide.data(), wide.size())) wideSpans.push_back({span.start, span.end});
    EXPECT_EQ(spans, wideSpans);
    return spans;
}

std::string Printable(const std::string& text)
{
    std::ostringstream out;
    for (unsigned char byte : text) {
        if (byte >= 0x20 && byte < 0x7F)
            out << byte;
        else
            out << "\\x" << std::hex << int(byte) << std::dec;
    }
    return out.str();
}

std::string Describe(const Spans& spans)
{
    std::ostringstream out;
    for (const auto& span : spans) out << '(' << span.first << ',' << span.second << ") ";
    return out.str();
}

// The scan as the answer view has always done it: one byte at a time, no skipping ahead.
Spans ReferenceScan(const std::string& text)
{
    Spans spans;
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        if (text[i] == '(') {
            const size_t start = i + 1;
            i = start;
            while (i < n) {
                const char byte = text[i];
                if (byte == ' ' || byte == '\n' || byte == '\r' || byte == '\t' || byte == '\'' || byte == '"' || byte == '*') break;
                if (byte == ')') {
                    if (i - start < 5) break;
                    spans.push_back({start, i});
                }
                ++i;
            }
        }
        ++i;
    }
    return spans;
}
}  // namespace

// Decoded text is scanned by its characters: a link beyond ASCII is one like any other, and a
// character whose low byte is that of "(" or ")" (Ш U+0428, Щ U+0429) is neither.
TEST(ScanLinks, FindsTheLinksOfDecodedTextByItsCharacters)
{
    const std::pair<std::u16string, Spans> cases[] = {
        {u"\u0428ABCDEF\u0429 \u0428ABCDEF)", {}},
        {u"person: \u0410\u043D\u043D\u0430 (AK1-RU) \u0438 (M\u00FCller-1)", {{14, 20}, {25, 33}}},
        {u"\u6771\u4EAC (\u5C71\u7530\u592A\u90CE\u3042)\u3000(AB CDE) \U0001F600 (EMOJI-\U0001F600)", {{4, 9}, {24, 32}}},
    };
    for (const auto& c : cases) {
        Spans spans;
        for (const LinkSpan& span : ScanLinks(c.first.data(), c.first.size())) spans.push_back({span.start, span.end});
        EXPECT_EQ(Describe(c.second), Describe(spans));
    }
}

TEST(ScanLinks, FindsTheLinksOfAnAnswer)
{
    struct Case {
        std::string text;
        Spans spans;
    };
    const Case cases[] = {
        // At least five bytes between the parentheses.
        {"(abcd)", {}},
        {"(abcde)", {{1, 6}}},
        {"(abcdef)", {{1, 7}}},
        {"()", {}},
        {"(NET-192-0-2-0-1)", {{1, 16}}},
        {"Example Networks (NET-EXAMPLE)", {{18, 29}}},
        // Each terminator inside stops the link, as does a line end before the ")".
        {"(abc defg)", {}},
        {"(abc\ndefg)", {}},
        {"(abc\tdefg)", {}},
        {"(abc'defg)", {}},
        {"(abc\"defg)", {}},
        {"(abc*defg)", {}},
        {"(abcde\n)", {}},
        {"(abcde\r\n)", {}},
        {"(abc\rdefg)", {}},
        {"(abcde\r)", {}},
        {"(abcde\r)fghij)\r", {}},
        // A terminator right after the "(".
        {"( abcde)", {}},
        {"(\nabcde)", {}},
        {"(*abcde)", {}},
        // A "(" and every other byte are part of a link.
        {"((abcde)", {{1, 7}}},
        {"(abcdef(ghijk)", {{1, 13}}},
        {"(\x80\xff\xa0\xc3\xa9)", {{1, 6}}},
        {std::string("(ab\0de)", 7), {{1, 6}}},
        {"(a.b,c:d;e)", {{1, 10}}},
        // A ")" that closes a link does not end it: each later ")" before a terminator reports a
        // longer link from the same start.
        {"(abcde)fgh)", {{1, 6}, {1, 10}}},
        {"(abcde))", {{1, 6}, {1, 7}}},
        {"(abcde).\n", {{1, 6}}},
        {"(abcde).\nnext line)", {{1, 6}}},
        {"(abcde) (fghij)", {{1, 6}, {9, 14}}},
        // A ")" too close to the "(" ends the scan of that "(", and is not taken again.
        {"(ab)cdefg)", {}},
        {"()abcdefg)", {}},
        {"(ab)(cdefg)", {{5, 10}}},
        {"(ab (cdefg)", {{5, 10}}},
        {"(ab\n(cdefg)", {{5, 10}}},
        {"(abcd)(efghi)", {{7, 12}}},
        // No ")" before the end of the answer.
        {"(", {}},
        {"abc(", {}},
        {"(abcdefg", {}},
        {"(abcde(", {}},
        {"", {}},
        {"no parenthesis here) at all)", {}},
        // Several links on several lines, as a registry writes them.
        {"org: Example (ORG-EX1-TEST)\n"
         "nic-hdl: (JD123-TEST)\n"
         "remarks: see (not a link)\n"
         "netname: (EXAMPLE-NET) (AS64496)\r\n",
         {{14, 26}, {38, 48}, {86, 97}, {100, 107}}},
    };
    for (const Case& c : cases) {
        const Spans spans = Scan(c.text);
        EXPECT_EQ(c.spans, spans) << '"' << Printable(c.text) << "\" gave " << Describe(spans);
    }
}

TEST(ScanLinks, ReadsOnlyTheGivenLength)
{
    // The ")" after the given length is not part of the answer.
    const std::string text = "(abcde)";
    EXPECT_TRUE(ScanLinks(text.data(), text.size() - 1).empty());
    EXPECT_TRUE(ScanLinks(text.data(), 0).empty());
    const std::vector<LinkSpan> spans = ScanLinks(text.data(), text.size());
    ASSERT_EQ(1u, spans.size());
    EXPECT_EQ(1u, spans[0].start);
    EXPECT_EQ(6u, spans[0].end);
}

TEST(ScanLinks, FindsALongLinkAtItsExactOffsets)
{
    const size_t length = 100 * 1024;
    const std::string prefix = "remarks: ";
    const std::string text = prefix + "(" + std::string(length, 'x') + ")\n(tail";
    const Spans expected = {{prefix.size() + 1, prefix.size() + 1 + length}};
    EXPECT_EQ(expected, Scan(text));
    // Without its ")", the same run is no link.
    EXPECT_EQ(Spans{}, Scan(prefix + "(" + std::string(length, 'x')));
}

TEST(ScanLinks, AgreesWithAByteByByteScanOnRandomText)
{
    const char alphabet[] = {'(', ')', ' ', '\n', '\r', '\t', '\'', '"', '*', 'a', '-', '1'};
    std::mt19937 random(20000);
    std::uniform_int_distribution<size_t> lengthOf(0, 64);
    // Half the texts draw every byte alike; the other half favour the bytes a link is made of,
    // since with six terminators in twelve bytes, runs of five are rare.
    std::uniform_int_distribution<size_t> anyByte(0, sizeof alphabet - 1);
    std::discrete_distribution<size_t> linkByte({3, 3, 1, 1, 1, 1, 1, 1, 1, 6, 6, 6});
    size_t linksSeen = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text(lengthOf(random), ' ');
        for (char& byte : text) byte = alphabet[round % 2 ? linkByte(random) : anyByte(random)];
        const Spans expected = ReferenceScan(text);
        linksSeen += expected.size();
        const Spans spans = Scan(text);
        ASSERT_EQ(expected, spans) << '"' << Printable(text) << "\" gave " << Describe(spans) << " expected " << Describe(expected);
    }
    // Links must come often enough for the comparison to mean something.
    EXPECT_GT(linksSeen, 1000u);
}
