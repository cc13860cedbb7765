// The hexadecimal record codec of the stored font and window position.
#include "settings/HexRecord.h"

namespace {
int DigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

std::string EncodeHexRecord(const void* record, size_t size)
{
    static const char kDigits[] = "0123456789abcdef";
    const auto* bytes = static_cast<const unsigned char*>(record);
    std::string text;
    text.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

void DecodeHexRecord(const std::string& text, void* record, size_t size)
{
    auto* bytes = static_cast<unsigned char*>(record);
    size_t filled = 0;
    bool highHalfSet = false;
    for (char c : text) {
        if (filled == size) return;
        int value = DigitValue(c);
        if (value < 0) continue;
        if (!highHalfSet) {
            bytes[filled] = static_cast<unsigned char>(value << 4);
            highHalfSet = true;
        } else {
            bytes[filled] = static_cast<unsigned char>(bytes[filled] | value);
            highHalfSet = false;
            ++filled;
        }
    }
}
