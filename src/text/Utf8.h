// UTF-8 for the 8-bit strings that hold text of any script (the question, the status line, the
// custom servers): to and from the UTF-16 of the system's wide-character functions.
#pragma once

#include <string>
#include <string_view>

#include "text/WideText.h"

// Every UTF-16 unit sequence has a form: a lone surrogate (which the system may hand over from a
// registry name or a window) is written as the three bytes of its own value, so that it comes back.
std::string WideToUtf8(const WideText& text);

// The inverse of WideToUtf8. A byte that starts no well-formed sequence reads as U+FFFD.
WideText Utf8ToWide(std::string_view bytes);
