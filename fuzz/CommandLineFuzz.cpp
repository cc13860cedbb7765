// Fuzzing the command-line tail with any command line (the input up to its first zero byte): the
// tail lies inside the line, does not start with a blank or tab, and what it skips is the program
// name (quoted: up to the closing quote or the end of the line; unquoted: up to the first blank or
// tab) followed by blanks and tabs only.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "FuzzCheck.h"
#include "framework/CommandLine.h"

namespace {
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    // The line as the platform hands it over: zero-terminated, in a buffer of exactly its size.
    const size_t length = strnlen(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<char[]> line(new char[length + 1]);
    std::memcpy(line.get(), data, length);
    line[length] = '\0';

    const char* tail = CommandLineTail(line.get());
    FUZZ_CHECK(tail >= line.get() && tail <= line.get() + length);
    FUZZ_CHECK(!IsBlank(*tail));

    // The name ends after its closing quote (or with the line), or unquoted at its first blank or
    // tab; between it and the tail there are blanks and tabs only.
    size_t nameEnd = 0;
    if (line[0] == '"') {
        const char* closing = static_cast<const char*>(std::memchr(line.get() + 1, '"', length - 1));
        nameEnd = closing ? static_cast<size_t>(closing - line.get()) + 1 : length;
    } else {
        while (nameEnd < length && !IsBlank(line[nameEnd])) ++nameEnd;
    }
    const size_t skipped = static_cast<size_t>(tail - line.get());
    FUZZ_CHECK(skipped >= nameEnd);
    for (size_t i = nameEnd; i < skipped; ++i) FUZZ_CHECK(IsBlank(line[i]));
    return 0;
}
