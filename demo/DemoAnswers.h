// The sample WHOIS server's answers: synthetic records in the style of registry answers, using
// documentation addresses and example domains, with handles in parentheses that lead to records
// of their own.
#pragma once

#include <string>
#include <vector>

// The answer to one question (the line without its line feed); unknown questions get a "no match".
std::string DemoAnswer(const std::string& question);

// The questions the server has records for, for its "HELP" answer and for tests.
std::vector<std::string> DemoQuestions();
