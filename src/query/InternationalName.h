// Internationalised names: a question that is a domain name with letters beyond ASCII is asked in
// its ASCII form ("xn--" labels), the only form the servers take; the question box and the history
// keep the name as the user typed it.
#pragma once

#include <functional>
#include <string>

#include "text/WideText.h"

// Whether the question is a domain name with a character beyond ASCII: no blank, at least one dot
// (".", or an ideographic or full-width full stop), and of ASCII only letters, digits and hyphens.
// Whether each label has an ASCII form is the conversion's to say.
bool IsInternationalName(const WideText& question);

// The system's conversion of a name to its ASCII form; false when a label has none.
using NameToAscii = std::function<bool(const WideText& name, std::string* ascii)>;

struct QuestionToSend {
    enum Form {
        AsTyped,      // no internationalised name: the question goes out as it is
        AsciiForm,    // `ascii` goes out
        NoAsciiForm,  // an internationalised name that cannot be converted: nothing goes out
    } form;
    std::string ascii;
};

QuestionToSend PrepareQuestion(const WideText& question, const NameToAscii& toAscii);

// The system's conversion to the ANSI code page; false when a character has no form there.
using WideToAnsiCodePage = std::function<bool(const WideText& text, std::string* ansi)>;

// The bytes of a question that goes out as typed: in the ANSI code page, as the program has always
// sent it, when that holds every character; else UTF-8, the set today's servers read.
std::string TypedQuestionBytes(const WideText& question, const WideToAnsiCodePage& toAnsi);
