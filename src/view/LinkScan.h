// The link scan: handles in parentheses in an answer. A link is a run of at least five characters
// after a "(" and before a ")", on one line, with no blank, tab, apostrophe, double quote or
// asterisk. A line ends at a line feed and at a carriage return: a link never holds a line break.
// The scan works on characters of any type: the bytes of an answer, or the text it decodes to.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

struct LinkSpan {
    size_t start;  // first character of the link
    size_t end;    // one past its last character
};

constexpr size_t kMinLinkLength = 5;

// A character that ends a run of a link.
template <class C>
bool EndsALink(C c)
{
    return c == C(' ') || c == C('\n') || c == C('\r') || c == C('\t') || c == C('\'') || c == C('"') || c == C('*');
}

// Calls onLink(LinkSpan) for each span in the order found. A ")" that closes a span does not end
// it: the scan goes on, and each further ")" before a terminator reports a longer span from the
// same start. Spans are handed out as they are found, so a large answer needs no list of them.
template <class C, class OnLink>
void ForEachLink(const C* text, size_t length, OnLink&& onLink)
{
    size_t i = 0;
    while (i < length) {
        // Most of an answer holds no "(": let the library skip to the next one.
        const C* open = std::char_traits<C>::find(text + i, length - i, C('('));
        if (!open) return;
        const size_t start = static_cast<size_t>(open - text) + 1;
        for (i = start; i < length; ++i) {
            const C c = text[i];
            if (EndsALink(c)) break;
            if (c == C(')')) {
                if (i - start < kMinLinkLength) break;
                onLink(LinkSpan{start, i});
            }
        }
        // The character that ended the span is never taken as a "(".
        ++i;
    }
}

// The spans as a list.
template <class C>
std::vector<LinkSpan> ScanLinks(const C* text, size_t length)
{
    std::vector<LinkSpan> spans;
    ForEachLink(text, length, [&](const LinkSpan& span) { spans.push_back(span); });
    return spans;
}

// The links of the piece of the answer that begins at `from`, for a scan that goes a piece at a
// time: appends them, each the longest from its "(", and returns where the piece ends. A piece
// begins at the answer's start or right after a character that ends a link's run, where the whole
// scan is outside any run, so it finds what the whole scan finds; it ends after such a character
// at least `pieceLength` characters on. Only a stretch of sixteen times that without one is cut
// where it stands.
template <class C>
size_t ScanLinkPiece(const C* text, size_t length, size_t from, std::vector<LinkSpan>& links, size_t pieceLength = 4096)
{
    pieceLength = std::max<size_t>(pieceLength, 1);
    size_t end = std::min(length, from + pieceLength);
    const size_t longest = std::min(length, from + 16 * pieceLength);
    while (end < longest && !EndsALink(text[end - 1])) ++end;
    ForEachLink(text + from, end - from, [&](const LinkSpan& span) {
        const LinkSpan link{from + span.start, from + span.end};
        if (!links.empty() && links.back().start == link.start)
            links.back() = link;
        else
            links.push_back(link);
    });
    return end;
}
