// Decoding an answer: the choice of its character set, and the readers of UTF-8 and of the sets of
// single bytes.
#include "text/AnswerDecoder.h"

#include <algorithm>

#include "text/Iso2022Jp.h"

namespace {
constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct KnownServer {
    std::string_view host;
    Charset charset;
};
// The servers known to answer in a set other than UTF-8.
constexpr KnownServer kKnownServers[] = {
    {"whois.apnic.net", Charset::Latin1},    {"whois.registro.br", Charset::Latin1},
    {"whois.fi", Charset::Latin1},           {"whois.norid.no", Charset::Latin1},
    {"whois.kg", Charset::Windows1251},      {"whois.nic.ad.jp", Charset::Iso2022Jp},
};

// Bytes 0x80 to 0x9F of Windows-1252; the five it leaves empty stay the control characters of the
// same number, as Windows reads them.
constexpr char16_t kWindows1252From80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
// Bytes 0x80 to 0xBF of Windows-1251 (0x98, which it leaves empty, as above); from 0xC0 on come
// the letters А to я in order.
constexpr char16_t kWindows1251From80[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t SingleByteCharacter(unsigned char byte, Charset charset)
{
    if (byte == 0) return kReplacement;
    if (byte < 0x80) return byte;
    if (charset == Charset::Windows1251) return byte >= 0xC0 ? 0x0410 + (byte - 0xC0) : kWindows1251From80[byte - 0x80];
    return byte < 0xA0 ? kWindows1252From80[byte - 0x80] : byte;
}

// The set that the stray bytes of UTF-8 text, or the whole text when it is no UTF-8, are read in.
Charset SingleByteSet(Charset known)
{
    return known == Charset::Latin1 || known == Charset::Windows1251 ? known : Charset::Ansi;
}

void AppendSingleBytes(std::string_view bytes, Charset charset, const AnsiDecoder& ansi, WideText& text)
{
    if (charset != Charset::Ansi) {
        for (const char byte : bytes) AppendCodePoint(text, SingleByteCharacter(static_cast<unsigned char>(byte), charset));
        return;
    }
    const size_t from = text.size();
    text += ansi(bytes);
    std::replace(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), WideChar(0), WideChar(kReplacement));
}

struct Utf8Sequence {
    enum Kind { Character, Stray, Cut } kind;
    // Character: its bytes. Stray: the bytes that begin a character but form none (at least one).
    // Cut: the bytes of a character that the text's end cuts off.
    size_t length;
    char32_t codePoint;  // Character only
};

// The UTF-8 sequence that begins at `at`, a byte beyond ASCII: the forms of the Unicode standard's
// table of well-formed sequences (no overlong forms, no surrogates, nothing beyond U+10FFFF).
Utf8Sequence ReadUtf8(std::string_view bytes, size_t at)
{
    const unsigned char lead = static_cast<unsigned char>(bytes[at]);
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {Utf8Sequence::Stray, 1, 0};
    }
    char32_t codePoint = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if (at + i == bytes.size()) return {Utf8Sequence::Cut, i, 0};
        const unsigned char next = static_cast<unsigned char>(bytes[at + i]);
        if (next < low || next > high) return {Utf8Sequence::Stray, i, 0};
        codePoint = codePoint << 6 | (next & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {Utf8Sequence::Character, length, codePoint};
}

// The bytes of the run of stray bytes that begins at `at`.
size_t StrayRun(std::string_view bytes, size_t at)
{
    size_t end = at;
    while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) >= 0x80) {
        const Utf8Sequence next = ReadUtf8(bytes, end);
        if (next.kind != Utf8Sequence::Stray) break;
        end += next.length;
    }
    return end - at;
}

// Appends UTF-8 text. A run of stray bytes is read in `strays` whole, so that a stray pair of a
// two-byte ANSI code page stays one character.
void AppendUtf8(std::string_view bytes, Charset strays, const AnsiDecoder& ansi, WideText& text)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            text.push_back(byte ? static_cast<WideChar>(byte) : static_cast<WideChar>(kReplacement));
            ++i;
            continue;
        }
        const Utf8Sequence sequence = ReadUtf8(bytes, i);
        size_t length = sequence.length;
        if (sequence.kind == Utf8Sequence::Character) {
            AppendCodePoint(text, sequence.codePoint);
        } else if (sequence.kind == Utf8Sequence::Cut) {
            text.push_back(static_cast<WideChar>(kReplacement));
        } else {
            length = StrayRun(bytes, i);
            AppendSingleBytes(bytes.substr(i, length), strays, ansi, text);
        }
        i += length;
    }
}

// What reading the text as UTF-8 finds beyond ASCII.
struct Utf8Census {
    bool beyondAscii = false;
    size_t characters = 0;  // characters of more than one byte
    size_t strays = 0;      // bytes that form no character; the end of an answer may cut one
};

Utf8Census TakeCensus(std::string_view bytes)
{
    Utf8Census census;
    for (size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        census.beyondAscii = true;
        const Utf8Sequence sequence = ReadUtf8(bytes, i);
        if (sequence.kind == Utf8Sequence::Character) ++census.characters;
        if (sequence.kind == Utf8Sequence::Stray) census.strays += sequence.length;
        i += sequence.length;
    }
    return census;
}

bool SameHost(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}
}  // namespace

Charset KnownCharset(std::string_view host)
{
    for (const KnownServer& server : kKnownServers)
        if (SameHost(host, server.host)) return server.charset;
    return Charset::Ansi;
}

Charset ChooseCharset(std::string_view answer, std::string_view host)
{
    if (answer.substr(0, kByteOrderMark.size()) == kByteOrderMark) return Charset::Utf8;
    const Utf8Census census = TakeCensus(answer);
    if (!census.beyondAscii) return AnnouncesIso2022Jp(answer) ? Charset::Iso2022Jp : Charset::Utf8;
    if (census.characters > census.strays) return Charset::Utf8;
    return SingleByteSet(KnownCharset(host));
}

DecodedAnswer DecodeAnswer(std::string_view answer, std::string_view host, const AnsiDecoder& ansi)
{
    DecodedAnswer decoded{{}, ChooseCharset(answer, host)};
    if (answer.substr(0, kByteOrderMark.size()) == kByteOrderMark) answer.remove_prefix(kByteOrderMark.size());
    decoded.text.reserve(answer.size());
    switch (decoded.charset) {
    case Charset::Utf8: AppendUtf8(answer, SingleByteSet(KnownCharset(host)), ansi, decoded.text); break;
    case Charset::Iso2022Jp: AppendIso2022Jp(answer, decoded.text); break;
    default: AppendSingleBytes(answer, decoded.charset, ansi, decoded.text); break;
    }
    return decoded;
}
