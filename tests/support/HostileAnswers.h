// Answers of the largest size a query keeps, in every shape that once held the window: the
// hostile-server test checks that none holds it, the benchmark says how long each takes.
#pragma once

#include <string>
#include <vector>

#include "query/WhoisQuery.h"

struct HostileAnswer {
    const char* name;
    std::string text;
    size_t linkAt;  // a byte inside a link the view shows, or npos
};

inline std::vector<HostileAnswer> HostileAnswers()
{
    const size_t size = kMaxAnswerBytes, none = std::string::npos;
    std::string lines, handles, handleLines;
    // Far down, a line wider than the view: the view gets a scroll bar it did not need before.
    for (int i = 0; lines.size() < size; ++i)
        lines += i == 9000 ? std::string(1000, 'w') + "\n" : "line " + std::to_string(i) + " of a very large answer\n";
    for (int i = 0; handles.size() < size; ++i) handles += "(H" + std::to_string(1000000 + i) + ") ";
    for (int i = 0; i < 100000; ++i) handleLines += "(H" + std::to_string(100000 + i) + ")\n";
    std::vector<HostileAnswer> answers;
    answers.push_back({"64 MB of short lines, one of them wide", std::move(lines), none});
    answers.push_back({"64 MB, one line", std::string(size, 'x'), none});
    answers.push_back({"64 MB of line feeds", std::string(size, '\n'), none});
    answers.push_back({"64 MB, one line of handles", std::move(handles), 1});
    answers.push_back({"100,000 lines of a handle each", std::move(handleLines), 41});
    answers.push_back({"64 MB, one line of braces", std::string(size, '{'), none});
    return answers;
}
