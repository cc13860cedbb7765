// The link scan's list form.
#include "view/LinkScan.h"

std::vector<LinkSpan> ScanLinks(const char* text, size_t length)
{
    std::vector<LinkSpan> spans;
    ForEachLink(text, length, [&](const LinkSpan& span) { spans.push_back(span); });
    return spans;
}
