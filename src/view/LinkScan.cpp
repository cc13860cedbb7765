// The link scan's list form and its pieces.
#include "view/LinkScan.h"

#include <algorithm>

std::vector<LinkSpan> ScanLinks(const char* text, size_t length)
{
    std::vector<LinkSpan> spans;
    ForEachLink(text, length, [&](const LinkSpan& span) { spans.push_back(span); });
    return spans;
}

size_t ScanLinkPiece(const char* text, size_t length, size_t from, std::vector<LinkSpan>& links, size_t pieceLength)
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
