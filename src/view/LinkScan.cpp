// The link scan over an answer's bytes; portable, so it is tested and measured natively.
#include "view/LinkScan.h"

#include <cstring>

namespace {
bool EndsSpan(unsigned char byte)
{
    return byte == ' ' || byte == '\n' || byte == '\t' || byte == '\'' || byte == '"' || byte == '*';
}
}  // namespace

std::vector<LinkSpan> ScanLinks(const char* text, size_t length)
{
    std::vector<LinkSpan> spans;
    size_t i = 0;
    while (i < length) {
        // Most of an answer holds no "(": let memchr skip to the next one.
        const void* open = memchr(text + i, '(', length - i);
        if (!open) break;
        const size_t start = static_cast<size_t>(static_cast<const char*>(open) - text) + 1;
        for (i = start; i < length; ++i) {
            const unsigned char byte = static_cast<unsigned char>(text[i]);
            if (EndsSpan(byte)) break;
            if (byte == ')') {
                if (i - start < kMinLinkLength) break;
                spans.push_back({start, i});
            }
        }
        // The byte that ended the span is never taken as a "(".
        ++i;
    }
    return spans;
}
