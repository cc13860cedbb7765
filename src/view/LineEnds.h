// Line ends of a saved answer: every line feed is written as carriage return and line feed.
#pragma once

#include <string>

// Nothing else changes: a CR LF already in the text becomes CR CR LF.
std::string WithCrLfLineEnds(const std::string& text);
