// Fuzzing the link scan over any answer bytes: every span lies inside the answer, starts right after
// a "(", ends at a ")", holds at least five bytes and no blank or other terminator; the spans come in
// order; and they are exactly the spans of the scan's plain definition, read byte by byte.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "view/LinkScan.h"

namespace {
bool Terminates(char byte)
{
    return byte == ' ' || byte == '\n' || byte == '\r' || byte == '\t' || byte == '\'' || byte == '"' || byte == '*';
}

// The definition: each "(" that lies outside an earlier run starts a run, which goes on until a
// terminator, a ")" fewer than five bytes after its start, or the end of the answer; every other
// ")" in the run closes a link from the run's start.
std::vector<LinkSpan> Defined(const char* text, size_t length)
{
    std::vector<LinkSpan> spans;
    size_t at = 0;
    while (at < length) {
        if (text[at] != '(') {
            ++at;
            continue;
        }
        const size_t start = at + 1;
        size_t end = start;
        while (end < length && !Terminates(text[end]) && !(text[end] == ')' && end - start < kMinLinkLength)) ++end;
        for (size_t i = start; i < end; ++i)
            if (text[i] == ')') spans.push_back({start, i});
        at = end;
    }
    return spans;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    const std::vector<LinkSpan> spans = ScanLinks(text, size);
    for (size_t n = 0; n < spans.size(); ++n) {
        const LinkSpan& span = spans[n];
        FUZZ_CHECK(span.start >= 1 && span.start <= span.end && span.end < size);
        FUZZ_CHECK(text[span.start - 1] == '(' && text[span.end] == ')');
        FUZZ_CHECK(span.end - span.start >= kMinLinkLength);
        for (size_t i = span.start; i < span.end; ++i) FUZZ_CHECK(!Terminates(text[i]));
        if (n > 0) {
            const LinkSpan& before = spans[n - 1];
            FUZZ_CHECK(before.start < span.start || (before.start == span.start && before.end < span.end));
        }
    }
    const std::vector<LinkSpan> defined = Defined(text, size);
    FUZZ_CHECK(defined.size() == spans.size());
    for (size_t n = 0; n < spans.size(); ++n)
        FUZZ_CHECK(defined[n].start == spans[n].start && defined[n].end == spans[n].end);
    return 0;
}
