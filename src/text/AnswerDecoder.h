// The answer as the view shows it: the server's bytes decoded once, for the whole answer, the same
// way wherever it is shown. Valid UTF-8 is read as UTF-8; otherwise the character set the server is
// known to answer in; otherwise the system's ANSI code page.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "text/WideText.h"

enum class Charset {
    Utf8,
    Latin1,       // ISO-8859-1, read as Windows-1252, its superset in practice
    Windows1251,  // Cyrillic
    Iso2022Jp,
    Ansi,         // the system's ANSI code page
};

// The character set that the server `host` (any case) answers in when its answer is not UTF-8;
// Ansi for a server the table does not know.
Charset KnownCharset(std::string_view host);

// Decodes bytes of the system's ANSI code page; the window side gives the system's conversion.
using AnsiDecoder = std::function<WideText(std::string_view bytes)>;

// The character set of the whole answer from `host`:
// - a byte-order mark says UTF-8; seven-bit text that switches to JIS X 0208 is ISO-2022-JP;
// - text whose bytes beyond ASCII all form UTF-8 characters is UTF-8, and so is text with more of
//   such characters than bytes that form none (a stray byte of another set); a character that the
//   answer's end cuts off counts for neither;
// - anything else is in the server's known character set, or, where that is none or not a set of
//   single bytes, the ANSI code page.
Charset ChooseCharset(std::string_view answer, std::string_view host);

struct DecodedAnswer {
    WideText text;
    Charset charset;
};

// The answer's text in its character set (ChooseCharset), without a byte-order mark. Nothing is
// dropped: a stray byte in UTF-8 text is read in the single-byte set that the answer would
// otherwise be in, and only a character cut off at the answer's end, a byte no set gives a
// character for and a zero byte (which would end the text where it is shown) become U+FFFD.
DecodedAnswer DecodeAnswer(std::string_view answer, std::string_view host, const AnsiDecoder& ansi);
