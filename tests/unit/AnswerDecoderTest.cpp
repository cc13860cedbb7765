// Decoding an answer: the character set chosen for the whole answer, and its text, over a table of
// answers from servers of every kind (natively, WideText is char16_t, so u"" literals compare).
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "text/AnswerDecoder.h"

namespace {
// Stands in for the system's ANSI code page: bytes beyond ASCII become U+0100 and up, and each
// conversion is put in brackets, so a test sees which bytes went over together.
WideText StandInAnsi(std::string_view bytes)
{
    WideText text = u"[";
    for (const char byte : bytes) {
        const unsigned char b = static_cast<unsigned char>(byte);
        text.push_back(static_cast<char16_t>(b < 0x80 ? b : 0x100 + b));
    }
    return text + u"]";
}

std::string CodePoints(const WideText& text)
{
    std::ostringstream out;
    for (const char16_t c : text) {
        if (c >= 0x20 && c < 0x7F)
            out << static_cast<char>(c);
        else
            out << "<" << std::hex << static_cast<int>(c) << std::dec << ">";
    }
    return out.str();
}

constexpr char kApnic[] = "whois.apnic.net";
constexpr char kUnknown[] = "whois.example.net";
}  // namespace

TEST(AnswerDecoder, ChoosesOneCharsetForTheWholeAnswerAndLosesNothing)
{
    struct Case {
        const char* what;
        std::string bytes;
        const char* host;
        Charset charset;
        WideText text;
    };
    const Case cases[] = {
        {"ASCII", "inetnum: 192.0.2.0\r\n", kUnknown, Charset::Utf8, u"inetnum: 192.0.2.0\r\n"},
        {"empty", "", kApnic, Charset::Utf8, u""},
        {"UTF-8, German", "Stra\xC3\x9F" "e M\xC3\xBCller", "whois.denic.de", Charset::Utf8, u"Straße Müller"},
        {"UTF-8, Cyrillic", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80", kUnknown, Charset::Utf8, u"Пример"},
        {"UTF-8, Japanese", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "whois.jprs.jp", Charset::Utf8, u"日本語"},
        {"UTF-8 beyond the BMP", "a\xF0\x9F\x98\x80", kUnknown, Charset::Utf8, u"a\U0001F600"},
        {"UTF-8 wins over a known set", "\xC3\xA9t\xC3\xA9", kApnic, Charset::Utf8, u"été"},
        {"byte-order mark dropped", "\xEF\xBB\xBF" "abc", kUnknown, Charset::Utf8, u"abc"},
        {"byte-order mark before stray bytes", "\xEF\xBB\xBF\xE9t\xE9s", kApnic, Charset::Utf8, u"étés"},
        // Stray bytes in UTF-8 text are read in the server's set, runs of them together.
        {"stray Latin-1 byte", "M\xC3\xBCller, J\xC3\xBCrgen, Am\xE9lie", kApnic, Charset::Utf8, u"Müller, Jürgen, Amélie"},
        {"stray run in ANSI", "\xC3\xBC\xC3\xBC\xC3\xBC \x82\xA0!", kUnknown, Charset::Utf8, u"üüü [\u0182\u01A0]!"},
        {"surrogate and overlong forms are strays", "\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC \xED\xA0\x80\xC0\xAF",
         kApnic, Charset::Utf8, u"üüüüüü í\u00A0€À¯"},
        {"character cut at the end", "M\xC3\xBCller \xE2\x82", kUnknown, Charset::Utf8, u"Müller \uFFFD"},
        // Not UTF-8: the server's known set, else the ANSI code page, the whole answer at once.
        {"Latin-1 at APNIC", "descr: Am\xE9lie", kApnic, Charset::Latin1, u"descr: Amélie"},
        {"the table ignores case", "\xE9", "WHOIS.Registro.BR", Charset::Latin1, u"é"},
        {"Latin-1 as Windows-1252", "\x80 5\x81\xA0", "whois.norid.no", Charset::Latin1, u"€ 5\u0081\u00A0"},
        {"a lone cut character is no UTF-8", "Caf\xC3", "whois.fi", Charset::Latin1, u"CafÃ"},
        {"Windows-1251 at .kg", "\xCF\xF0\xE8\xEC\xE5\xF0 \xA8\xE6\x98", "whois.kg", Charset::Windows1251,
         u"Пример Ёж\u0098"},
        {"more strays than characters", "\xC3\xBC \xE9\xE8", kApnic, Charset::Latin1, u"Ã¼ éè"},
        {"unknown server: ANSI", "Am\xE9lie\n", kUnknown, Charset::Ansi, u"[Am\u01E9lie\n]"},
        {"known set of two bytes: ANSI", "\xE9", "whois.nic.ad.jp", Charset::Ansi, u"[\u01E9]"},
        // ISO-2022-JP announces itself, whichever server sends it.
        {"ISO-2022-JP", "\x1b$BF|K\\8l\x1b(B (JP)", "whois.nic.ad.jp", Charset::Iso2022Jp, u"日本語 (JP)"},
        {"ISO-2022-JP, old escape", "\x1b$@F|\x1b(J!", kUnknown, Charset::Iso2022Jp, u"日!"},
        {"ISO-2022-JP, half-width katakana", "\x1b$B\x1b(I12\x1b(B", kUnknown, Charset::Iso2022Jp, u"ｱｲ"},
        {"ISO-2022-JP, line end in two-byte mode", "\x1b$BF|\r\nK\\\x1b(B", kUnknown, Charset::Iso2022Jp, u"日\r\n本"},
        {"ISO-2022-JP, lone byte and empty cell", "\x1b$B\x22\x2F" "F", kUnknown, Charset::Iso2022Jp, u"\uFFFD\uFFFD"},
        {"ISO-2022-JP, unknown set and escape", "\x1b$B\x1b$(D0!\x1b(B\x1bx", kUnknown, Charset::Iso2022Jp, u"\uFFFD\uFFFDx"},
        {"ISO-2022-JP host, ASCII answer", "% JPNIC\n", "whois.nic.ad.jp", Charset::Utf8, u"% JPNIC\n"},
        // A zero byte would end the text in the view.
        {"zero byte in UTF-8", std::string("a\0b", 3), kUnknown, Charset::Utf8, u"a\uFFFDb"},
        {"zero byte in Latin-1", std::string("\xE9\0", 2), kApnic, Charset::Latin1, u"é\uFFFD"},
        {"zero byte in ANSI", std::string("\xE9\0", 2), kUnknown, Charset::Ansi, u"[\u01E9\uFFFD]"},
        {"zero byte in ISO-2022-JP", std::string("\x1b$BF|\0", 6), kUnknown, Charset::Iso2022Jp, u"日\uFFFD"},
    };
    for (const Case& c : cases) {
        const DecodedAnswer decoded = DecodeAnswer(c.bytes, c.host, StandInAnsi);
        EXPECT_EQ(c.charset, decoded.charset) << c.what;
        EXPECT_EQ(CodePoints(c.text), CodePoints(decoded.text)) << c.what;
        EXPECT_EQ(c.charset, ChooseCharset(c.bytes, c.host)) << c.what;
    }
}

TEST(AnswerDecoder, ReadsEveryCellOfJisX0208ThatWindowsReads)
{
    // Rows 1 to 8 (signs, kana, Greek, Cyrillic, box lines), 13 (NEC's signs), 16 to 84 (kanji) and
    // 89 to 92 (IBM's kanji) hold characters; the first and last kanji and a few signs in between.
    struct Case {
        const char* bytes;
        const char16_t* text;
    };
    const Case cases[] = {
        {"!!!\"!A", u"\u3000、\uFF5E"}, {"$\"%v", u"あヶ"}, {"&!'q", u"Αя"}, {"(@-!-|", u"╂①∪"},
        {"0!OSP!t$", u"亜腕弌瑤"},     {"y!|n", u"纊黑"},
    };
    for (const Case& c : cases) {
        const std::string bytes = std::string("\x1b$B") + c.bytes;
        EXPECT_EQ(CodePoints(c.text), CodePoints(DecodeAnswer(bytes, kUnknown, StandInAnsi).text)) << c.bytes;
    }
}
