// Fuzzing the hex record decoder with any stored text: the first input byte sizes the record (0 to
// 64 bytes; the font has 60, the window position 16), the rest is the text. Decoding writes nothing
// past the record (it is allocated to its exact size), fills the leading bytes from the text's
// digits in pairs and keeps the others; and every record encodes to lowercase digits that decode
// back to itself.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "settings/HexRecord.h"

namespace {
int Digit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

const std::uint8_t kUntouched = 0xA5;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const size_t recordSize = data[0] % 65;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::unique_ptr<std::uint8_t[]> record(new std::uint8_t[recordSize]);
    for (size_t i = 0; i < recordSize; ++i) record[i] = kUntouched;
    DecodeHexRecord(text, record.get(), recordSize);

    std::vector<int> digits;
    for (char c : text)
        if (Digit(c) >= 0) digits.push_back(Digit(c));
    for (size_t i = 0; i < recordSize; ++i) {
        const size_t high = 2 * i, low = 2 * i + 1;
        int expected = kUntouched;
        if (high < digits.size()) expected = digits[high] << 4 | (low < digits.size() ? digits[low] : 0);
        FUZZ_CHECK(record[i] == expected);
    }

    const std::string encoded = EncodeHexRecord(record.get(), recordSize);
    FUZZ_CHECK(encoded.size() == 2 * recordSize);
    for (char c : encoded) FUZZ_CHECK((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));
    std::unique_ptr<std::uint8_t[]> again(new std::uint8_t[recordSize]);
    for (size_t i = 0; i < recordSize; ++i) again[i] = static_cast<std::uint8_t>(~record[i]);
    DecodeHexRecord(encoded, again.get(), recordSize);
    for (size_t i = 0; i < recordSize; ++i) FUZZ_CHECK(again[i] == record[i]);
    return 0;
}
