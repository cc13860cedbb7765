// The stored font and window position: the text form of a record, and reading back every text a
// registry or INI file may hold.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "settings/HexRecord.h"

namespace {
std::vector<uint8_t> Bytes(const std::string& text, std::vector<uint8_t> before)
{
    DecodeHexRecord(text, before.data(), before.size());
    return before;
}
}  // namespace

TEST(HexRecord, EncodesEveryByteAsTwoLowercaseDigits)
{
    const uint8_t rect[16] = {0x50, 0, 0, 0, 0x50, 0, 0, 0, 0x80, 0x02, 0, 0, 0x09, 0x02, 0, 0};
    EXPECT_EQ("50000000500000008002000009020000", EncodeHexRecord(rect, sizeof rect));
    const uint8_t mixed[4] = {0xF6, 0xFF, 0x0A, 0xB0};
    EXPECT_EQ("f6ff0ab0", EncodeHexRecord(mixed, sizeof mixed));
    EXPECT_EQ("", EncodeHexRecord(mixed, 0));
}

TEST(HexRecord, DecodesDigitsAndKeepsWhatTheTextDoesNotReach)
{
    const std::vector<uint8_t> old = {0x11, 0x22, 0x33, 0x44};
    struct Case {
        const char* text;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"f6ff0ab0", {0xF6, 0xFF, 0x0A, 0xB0}},
        {"F6FF0AB0", {0xF6, 0xFF, 0x0A, 0xB0}},        // upper case
        {"f6 ff-0a\r\nb0", {0xF6, 0xFF, 0x0A, 0xB0}},  // separators skipped
        {"f6", {0xF6, 0x22, 0x33, 0x44}},              // fewer digits: leading bytes only
        {"f6f", {0xF6, 0xF0, 0x33, 0x44}},             // an odd last digit: low half zero
        {"f6ff0ab0c1d2", {0xF6, 0xFF, 0x0A, 0xB0}},    // digits beyond the record ignored
        {"", {0x11, 0x22, 0x33, 0x44}},
        {"xyz!", {0x11, 0x22, 0x33, 0x44}},            // no digits at all
        {"g1h2", {0x12, 0x22, 0x33, 0x44}},            // letters past f are no digits
    };
    for (const Case& c : cases) EXPECT_EQ(c.bytes, Bytes(c.text, old)) << '"' << c.text << '"';
}

TEST(HexRecord, AnEncodedRecordDecodesToItself)
{
    std::vector<uint8_t> record(60);
    for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<uint8_t>(i * 37 + 5);
    const std::string text = EncodeHexRecord(record.data(), record.size());
    EXPECT_EQ(120u, text.size());
    EXPECT_EQ(record, Bytes(text, std::vector<uint8_t>(60, 0xEE)));
}
