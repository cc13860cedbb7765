// The system's own text conversions, which the portable text code is handed: the ANSI code page to
// UTF-16, and internationalised names to their ASCII form.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "text/WideText.h"

// Bytes of the system's ANSI code page as UTF-16 (an AnsiDecoder).
WideText AnsiToWide(std::string_view bytes);

// UTF-16 in the system's ANSI code page (a WideToAnsiCodePage). False when a character has no form
// there: `ansi` then holds "?" in its place.
bool WideToAnsi(const WideText& text, std::string* ansi);

// An answer from `host` as the view shows it: DecodeAnswer with the system's ANSI code page.
std::shared_ptr<const WideText> DecodedAnswerText(std::string_view answer, std::string_view host);

// The ASCII form of an internationalised name by the system's IdnToAscii (a NameToAscii); false
// when a label has none, or when the system has no such conversion.
bool SystemNameToAscii(const WideText& name, std::string* ascii);
