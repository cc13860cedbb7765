// ISO-2022-JP, the character set JPNIC answers in: seven-bit text that escape sequences switch
// between ASCII, the two-byte characters of JIS X 0208 and half-width katakana.
#pragma once

#include <string_view>

#include "text/WideText.h"

constexpr int kJisRows = 94;
constexpr int kJisCells = 94;
// The character of row r, cell c (both from 0) of JIS X 0208; U+FFFD or 0 where there is none.
extern const char16_t kJisX0208[kJisRows][kJisCells + 1];

// Whether seven-bit text announces itself as ISO-2022-JP: it switches to JIS X 0208 somewhere.
bool AnnouncesIso2022Jp(std::string_view bytes);

// Appends the characters of ISO-2022-JP text. A byte pair with no character, a lone byte of a pair,
// an escape sequence of a set this does not know and the pairs of such a set become U+FFFD; control
// bytes stay as they are, in every set.
void AppendIso2022Jp(std::string_view bytes, WideText& text);
