// The link scan: handles in parentheses in an answer. A link is a run of at least five bytes after
// a "(" and before a ")", on one line, with no blank, tab, apostrophe, double quote or asterisk.
#pragma once

#include <cstddef>
#include <vector>

struct LinkSpan {
    size_t start;  // first byte of the link
    size_t end;    // one past its last byte
};

constexpr size_t kMinLinkLength = 5;

// The spans in the order found. A ")" that closes a span does not end it: the scan goes on, and
// each further ")" before a terminator reports a longer span from the same start.
std::vector<LinkSpan> ScanLinks(const char* text, size_t length);
