// Which questions are internationalised names, and their ASCII form.
#include "query/InternationalName.h"

#include <algorithm>

#include "text/Utf8.h"

namespace {
bool IsDot(WideChar c) { return c == u'.' || c == u'\u3002' || c == u'\uFF0E' || c == u'\uFF61'; }

bool IsBlank(WideChar c)
{
    return c == u'\u00A0' || c == u'\u1680' || (c >= u'\u2000' && c <= u'\u200A') || c == u'\u2028' ||
           c == u'\u2029' || c == u'\u202F' || c == u'\u205F' || c == u'\u3000' || c == u'\uFEFF';
}

bool IsNameAscii(WideChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
}
}  // namespace

bool IsInternationalName(const WideText& question)
{
    bool beyondAscii = false;
    for (const WideChar c : question) {
        if (c < 0x80 ? !IsNameAscii(c) : IsBlank(c)) return false;
        beyondAscii = beyondAscii || c >= 0x80;
    }
    return beyondAscii && std::any_of(question.begin(), question.end(), IsDot);
}

QuestionToSend PrepareQuestion(const WideText& question, const NameToAscii& toAscii)
{
    if (!IsInternationalName(question)) return {QuestionToSend::AsTyped, ""};
    std::string ascii;
    // A conversion that leaves a character beyond ASCII gave no form a server would take.
    if (!toAscii(question, &ascii) || ascii.empty() ||
        std::any_of(ascii.begin(), ascii.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80 || c == 0; }))
        return {QuestionToSend::NoAsciiForm, ""};
    return {QuestionToSend::AsciiForm, ascii};
}

std::string TypedQuestionBytes(const WideText& question, const WideToAnsiCodePage& toAnsi)
{
    std::string ansi;
    return toAnsi(question, &ansi) ? ansi : WideToUtf8(question);
}
