// The link scan: handles in parentheses in an answer. A link is a run of at least five bytes after
// a "(" and before a ")", on one line, with no blank, tab, apostrophe, double quote or asterisk.
// A line ends at a line feed and at a carriage return: a link never holds a line break.
#pragma once

#include <cstddef>
#include <cstring>
#include <vector>

struct LinkSpan {
    size_t start;  // first byte of the link
    size_t end;    // one past its last byte
};

constexpr size_t kMinLinkLength = 5;

// A byte that ends a run of a link.
inline bool EndsALink(char byte)
{
    return byte == ' ' || byte == '\n' || byte == '\r' || byte == '\t' || byte == '\'' || byte == '"' || byte == '*';
}

// Calls onLink(LinkSpan) for each span in the order found. A ")" that closes a span does not end
// it: the scan goes on, and each further ")" before a terminator reports a longer span from the
// same start. Spans are handed out as they are found, so a large answer needs no list of them.
template <class OnLink>
void ForEachLink(const char* text, size_t length, OnLink&& onLink)
{
    size_t i = 0;
    while (i < length) {
        // Most of an answer holds no "(": let memchr skip to the next one.
        const void* open = memchr(text + i, '(', length - i);
        if (!open) return;
        const size_t start = static_cast<size_t>(static_cast<const char*>(open) - text) + 1;
        for (i = start; i < length; ++i) {
            const char byte = text[i];
            if (EndsALink(byte)) break;
            if (byte == ')') {
                if (i - start < kMinLinkLength) break;
                onLink(LinkSpan{start, i});
            }
        }
        // The byte that ended the span is never taken as a "(".
        ++i;
    }
}

// The spans as a list.
std::vector<LinkSpan> ScanLinks(const char* text, size_t length);

// The links of the piece of the answer that begins at `from`, for a scan that goes a piece at a
// time: appends them, each the longest from its "(", and returns where the piece ends. A piece
// begins at the answer's start or right after a byte that ends a link's run, where the whole
// scan is outside any run, so it finds what the whole scan finds; it ends after such a byte at
// least `pieceLength` bytes on. Only a stretch of sixteen times that without one is cut where it
// stands.
size_t ScanLinkPiece(const char* text, size_t length, size_t from, std::vector<LinkSpan>& links,
                     size_t pieceLength = 4096);
