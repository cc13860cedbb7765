// Internationalised names: which questions are converted before they are sent, and what is sent
// when the system's conversion succeeds or fails (a stand-in for it here; the real one is tested
// under Wine).
#include <gtest/gtest.h>

#include <string>

#include "query/InternationalName.h"

TEST(InternationalName, ConvertsOnlyDomainNamesWithLettersBeyondAscii)
{
    struct Case {
        const char16_t* question;
        QuestionToSend::Form form;
    };
    const Case cases[] = {
        {u"bücher.de", QuestionToSend::AsciiForm},
        {u"ПРИМЕР.РФ", QuestionToSend::AsciiForm},
        {u"日本語。jp", QuestionToSend::AsciiForm},       // the ideographic full stop is a dot
        {u"例え．テスト", QuestionToSend::AsciiForm},     // and the full-width one
        {u".рф", QuestionToSend::AsciiForm},             // a top-level domain alone
        {u"xn--bcher-kva.bücher-2.de.", QuestionToSend::AsciiForm},
        {u"bücher..de", QuestionToSend::AsciiForm},      // the conversion says whether it has a form
        {u"example.com", QuestionToSend::AsTyped},
        {u"192.0.2.1", QuestionToSend::AsTyped},
        {u"", QuestionToSend::AsTyped},
        {u"Müller", QuestionToSend::AsTyped},            // no dot: a word, not a name
        {u"-T dn bücher.de", QuestionToSend::AsTyped},   // a blank: a server's own form
        {u"bücher.de\u00A0", QuestionToSend::AsTyped},
        {u"bücher.de\u3000", QuestionToSend::AsTyped},
        {u"!bücher.de", QuestionToSend::AsTyped},
        {u"b_ücher.de", QuestionToSend::AsTyped},
        {u"bücher.de/24", QuestionToSend::AsTyped},
        {u"müller@bücher.de", QuestionToSend::AsTyped},
    };
    for (const Case& c : cases) {
        WideText seen;
        const QuestionToSend sent = PrepareQuestion(c.question, [&](const WideText& name, std::string* ascii) {
            seen = name;
            *ascii = "xn--converted";
            return true;
        });
        const std::u16string question = c.question;
        EXPECT_EQ(c.form, sent.form) << std::string(question.begin(), question.end());
        // Only a name to convert reaches the conversion, whole and unchanged.
        EXPECT_EQ(c.form == QuestionToSend::AsciiForm ? question : u"", seen);
        EXPECT_EQ(c.form == QuestionToSend::AsciiForm ? "xn--converted" : "", sent.ascii);
    }
}

TEST(InternationalName, SendsNothingWhenTheConversionGivesNoAsciiForm)
{
    struct Case {
        const char* what;
        bool converted;
        std::string ascii;
        QuestionToSend::Form form;
    };
    const Case cases[] = {
        {"converted", true, "xn--bcher-kva.de", QuestionToSend::AsciiForm},
        {"refused", false, "", QuestionToSend::NoAsciiForm},
        {"empty form", true, "", QuestionToSend::NoAsciiForm},
        {"form beyond ASCII", true, "b\xC3\xBC" "cher.de", QuestionToSend::NoAsciiForm},
        {"form with a zero", true, std::string("a\0b.de", 6), QuestionToSend::NoAsciiForm},
    };
    for (const Case& c : cases) {
        const QuestionToSend sent = PrepareQuestion(u"bücher.de", [&](const WideText&, std::string* ascii) {
            *ascii = c.ascii;
            return c.converted;
        });
        EXPECT_EQ(c.form, sent.form) << c.what;
        EXPECT_EQ(c.form == QuestionToSend::AsciiForm ? c.ascii : "", sent.ascii) << c.what;
    }
}
