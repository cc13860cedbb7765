// The sample WHOIS server's answers: synthetic records in the style of registry answers, using
// documentation addresses and example domains, with handles in parentheses that lead to records
// of their own.
#pragma once

#include <string>
#include <vector>

#include "DemoRoles.h"

// The answer to one question (the line without its line feed); unknown questions get a "no match".
std::string DemoAnswer(const std::string& question);

// The questions the server has records for, for its "HELP" answer and for tests.
std::vector<std::string> DemoQuestions();

// The answer of the server `role` plays (DemoChains.cpp); a question it has no record of its own
// for gets the sample server's own answer.
std::string DemoAnswer(DemoRole role, const std::string& question);
// The questions `role` has records of its own for.
std::vector<std::string> DemoQuestions(DemoRole role);

// The RDAP role's HTTP answer (status line, headers and JSON) to a request for `path`.
std::string DemoRdapAnswer(const std::string& path);

// A question as the records are keyed: blanks around it dropped, upper case, no "!" in front (a
// link to the domain-name registry arrives with one).
std::string DemoKey(const std::string& question);
