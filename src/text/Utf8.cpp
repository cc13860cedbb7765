// UTF-8 to and from UTF-16, without loss in either direction for what the other gives.
#include "text/Utf8.h"

namespace {
bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendUtf8(std::string& bytes, char32_t c)
{
    if (c < 0x80) {
        bytes.push_back(static_cast<char>(c));
        return;
    }
    const int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    static const unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    bytes.push_back(static_cast<char>(kLead[tail] | (c >> (6 * tail))));
    for (int i = tail - 1; i >= 0; --i) bytes.push_back(static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F)));
}

// The character that starts at `at`, and its length; U+FFFD and 1 for a byte that starts none.
char32_t ReadCharacter(std::string_view bytes, size_t at, size_t* length)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    *length = 1;
    if (lead < 0x80) return lead;
    const size_t tail = lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2 : lead >= 0xF0 && lead <= 0xF4 ? 3 : 0;
    if (tail == 0 || at + tail >= bytes.size()) return 0xFFFD;
    char32_t c = lead & (0x3F >> tail);
    for (size_t i = 1; i <= tail; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0xFFFD;
        c = c << 6 | (byte(at + i) & 0x3F);
    }
    // Overlong forms and values beyond U+10FFFF are no character; surrogates are (see WideToUtf8).
    static const char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (c < kLeast[tail] || c > 0x10FFFF) return 0xFFFD;
    *length = tail + 1;
    return c;
}
}  // namespace

std::string WideToUtf8(const WideText& text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = static_cast<char16_t>(text[i]);
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(static_cast<char16_t>(text[i + 1]))) {
            AppendUtf8(bytes, 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[++i]) - 0xDC00));
        } else {
            AppendUtf8(bytes, c);
        }
    }
    return bytes;
}

WideText Utf8ToWide(std::string_view bytes)
{
    WideText text;
    text.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size();) {
        size_t length = 1;
        AppendCodePoint(text, ReadCharacter(bytes, at, &length));
        at += length;
    }
    return text;
}
