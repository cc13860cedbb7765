// WideText: text in UTF-16, the form the system's wide-character functions take. On Windows that is
// std::wstring (wchar_t has 16 bits there), so the window code hands it over without a copy; where
// wchar_t has 32 bits (the native tests) char16_t takes its place.
#pragma once

#include <string>
#include <type_traits>

using WideChar = std::conditional_t<sizeof(wchar_t) == 2, wchar_t, char16_t>;
using WideText = std::basic_string<WideChar>;

// Appends one character, as a surrogate pair beyond the Basic Multilingual Plane.
inline void AppendCodePoint(WideText& text, char32_t codePoint)
{
    if (codePoint < 0x10000) {
        text.push_back(static_cast<WideChar>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    text.push_back(static_cast<WideChar>(0xD800 + (codePoint >> 10)));
    text.push_back(static_cast<WideChar>(0xDC00 + (codePoint & 0x3FF)));
}
