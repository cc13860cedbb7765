// Records stored as text: every byte in memory order as two lowercase hexadecimal digits.
#pragma once

#include <cstddef>
#include <string>

std::string EncodeHexRecord(const void* record, size_t size);

// Fills `record` from the digits of `text`, two per byte, from the first byte on. Characters that
// are not hexadecimal digits are skipped, upper case is accepted, an odd last digit gives a byte
// whose low half is zero, digits beyond `size` bytes are ignored, and bytes the text does not
// reach keep what they held.
void DecodeHexRecord(const std::string& text, void* record, size_t size);
