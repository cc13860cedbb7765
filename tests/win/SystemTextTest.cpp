// The system's conversion of internationalised names to their ASCII form, as the program reaches it
// (IdnToAscii, late-bound).
#include <gtest/gtest.h>

#include <string>

#include "text/SystemText.h"

TEST(SystemText, ConvertsNamesOfEveryScriptAndRefusesThoseWithoutAForm)
{
    struct Case {
        const wchar_t* name;
        const char* ascii;  // null: no ASCII form
    };
    const std::wstring longLabel = L"\u00FC" + std::wstring(70, L'a') + L".de";
    const Case cases[] = {
        {L"b\u00FCcher.de", "xn--bcher-kva.de"},
        {L"B\u00DCCHER.DE", "xn--bcher-kva.de"},
        {L"\u043F\u0440\u0438\u043C\u0435\u0440.\u0440\u0444", "xn--e1afmkfd.xn--p1ai"},
        {L"\u65E5\u672C\u8A9E\u3002jp", "xn--wgv71a119e.jp"},
        {L"example.com", "example.com"},
        {L"b\u00FCcher..de", nullptr},     // an empty label
        {longLabel.c_str(), nullptr},       // a label longer than 63 characters
        {L"\u0378x.de", nullptr},          // a code point that Unicode has not assigned
        {L"", nullptr},
    };
    for (const Case& c : cases) {
        std::string ascii = "(none)";
        const bool converted = SystemNameToAscii(c.name, &ascii);
        EXPECT_EQ(c.ascii ? c.ascii : "(none)", ascii);
        EXPECT_EQ(c.ascii != nullptr, converted) << ascii;
    }
}
