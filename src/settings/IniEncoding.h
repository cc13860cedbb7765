// The encoding of an exported settings file. The platform's profile functions keep a file in
// UTF-16 (little-endian) when it begins with that byte-order mark, and write any other file in the
// ANSI code page, where a label or host of another script would become question marks. So an
// export first gives the file that mark.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/AnswerDecoder.h"

// The file's text as UTF-16LE bytes with the byte-order mark, or none when it is already in UTF-16.
// A file that begins with a UTF-8 mark is read as UTF-8, any other as the ANSI code page (how the
// profile functions read it); nothing (no file yet) gives the mark alone.
std::optional<std::string> UnicodeIniBytes(std::string_view file, const AnsiDecoder& ansi);
