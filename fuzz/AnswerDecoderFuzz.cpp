// Fuzzing the answer decoder over any bytes from any server: the text holds no zero and no lone
// surrogate; a set of single bytes gives one character a byte; and UTF-8 text from a server of no
// known set, with no stray byte (which the stand-in for the ANSI code page marks), no cut character
// and no zero byte, comes back as the same bytes when the text is written as UTF-8 again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "text/AnswerDecoder.h"

namespace {
const char* const kHosts[] = {"whois.apnic.net", "whois.kg", "whois.nic.ad.jp", "whois.example.net"};

constexpr char16_t kStrayMark = 0xF700;

WideText StandInAnsi(std::string_view bytes)
{
    WideText text;
    for (const char byte : bytes) text.push_back(static_cast<char16_t>(kStrayMark + static_cast<unsigned char>(byte)));
    return text;
}

std::string AsUtf8(const WideText& text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if (c < 0x800) {
            bytes += static_cast<char>(0xC0 | c >> 6);
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes += static_cast<char>(0xE0 | c >> 12);
            bytes += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | c >> 18);
            bytes += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            bytes += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const char* host = kHosts[data[0] % 4];
    std::string_view answer(reinterpret_cast<const char*>(data + 1), size - 1);
    const DecodedAnswer decoded = DecodeAnswer(answer, host, StandInAnsi);
    FUZZ_CHECK(decoded.charset == ChooseCharset(answer, host));
    for (size_t i = 0; i < decoded.text.size(); ++i) {
        const char16_t c = decoded.text[i];
        FUZZ_CHECK(c != 0);
        if (c >= 0xD800 && c < 0xDC00) FUZZ_CHECK(i + 1 < decoded.text.size() && decoded.text[i + 1] >= 0xDC00 && decoded.text[i + 1] < 0xE000);
        if (c >= 0xDC00 && c < 0xE000) FUZZ_CHECK(i > 0 && decoded.text[i - 1] >= 0xD800 && decoded.text[i - 1] < 0xDC00);
    }
    if (decoded.charset == Charset::Latin1 || decoded.charset == Charset::Windows1251 || decoded.charset == Charset::Ansi)
        FUZZ_CHECK(decoded.text.size() == answer.size());
    if (decoded.charset != Charset::Utf8 || host != kHosts[3] || answer.find('\0') != std::string_view::npos) return 0;
    for (const char16_t c : decoded.text)
        if (c == 0xFFFD || (c >= kStrayMark && c <= kStrayMark + 0xFF)) return 0;
    if (answer.substr(0, 3) == "\xEF\xBB\xBF") answer.remove_prefix(3);
    FUZZ_CHECK(AsUtf8(decoded.text) == answer);
    return 0;
}
