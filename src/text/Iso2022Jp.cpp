// ISO-2022-JP text: the escape sequences of RFC 1468 (and half-width katakana, which Windows reads
// in it too), over the JIS X 0208 table.
#include "text/Iso2022Jp.h"

namespace {
constexpr char kEscape = '\x1b';
constexpr char16_t kReplacement = 0xFFFD;

enum class JisSet { Ascii, Katakana, Jis0208, Unknown };

// The set that the escape sequence at `at` switches to; `length` gets its length (0: none known).
JisSet EscapeAt(std::string_view bytes, size_t at, size_t* length)
{
    const std::string_view sequence = bytes.substr(at, 4);
    struct Escape {
        std::string_view bytes;
        JisSet set;
    };
    static const Escape kEscapes[] = {
        {"\x1b(B", JisSet::Ascii},     {"\x1b(J", JisSet::Ascii},    // JIS X 0201 Roman: read as ASCII
        {"\x1b(I", JisSet::Katakana},  {"\x1b$@", JisSet::Jis0208},  {"\x1b$B", JisSet::Jis0208},
        {"\x1b$(D", JisSet::Unknown},  {"\x1b$A", JisSet::Unknown},  {"\x1b$(C", JisSet::Unknown},
    };
    for (const Escape& escape : kEscapes) {
        if (sequence.substr(0, escape.bytes.size()) == escape.bytes) {
            *length = escape.bytes.size();
            return escape.set;
        }
    }
    *length = 0;
    return JisSet::Ascii;
}

bool IsGraphic(unsigned char byte) { return byte >= 0x21 && byte <= 0x7E; }
}  // namespace

bool AnnouncesIso2022Jp(std::string_view bytes)
{
    return bytes.find("\x1b$B") != std::string_view::npos || bytes.find("\x1b$@") != std::string_view::npos;
}

void AppendIso2022Jp(std::string_view bytes, WideText& text)
{
    JisSet set = JisSet::Ascii;
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte == kEscape) {
            size_t length;
            const JisSet next = EscapeAt(bytes, i, &length);
            if (length) {
                set = next;
                i += length;
                continue;
            }
        }
        ++i;
        // Line ends, blanks and other control bytes mean the same in every set; a zero byte would
        // end the text where it is shown.
        if (!IsGraphic(byte) || set == JisSet::Ascii) {
            text.push_back(byte == 0 || byte >= 0x80 || byte == kEscape ? kReplacement : static_cast<WideChar>(byte));
            continue;
        }
        if (set == JisSet::Katakana) {
            text.push_back(byte <= 0x5F ? static_cast<WideChar>(0xFF61 + byte - 0x21) : kReplacement);
            continue;
        }
        if (i == bytes.size() || !IsGraphic(static_cast<unsigned char>(bytes[i]))) {
            text.push_back(kReplacement);
            continue;
        }
        const unsigned char second = static_cast<unsigned char>(bytes[i++]);
        const char16_t character = set == JisSet::Jis0208 ? kJisX0208[byte - 0x21][second - 0x21] : 0;
        text.push_back(character ? static_cast<WideChar>(character) : kReplacement);
    }
}
