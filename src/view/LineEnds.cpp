// The line-end conversion of saved answers.
#include "view/LineEnds.h"

#include <algorithm>

std::string WithCrLfLineEnds(const std::string& text)
{
    std::string converted;
    converted.reserve(text.size() + static_cast<size_t>(std::count(text.begin(), text.end(), '\n')));
    for (char byte : text) {
        if (byte == '\n') converted += '\r';
        converted += byte;
    }
    return converted;
}
