// The system's text conversions: MultiByteToWideChar for the ANSI code page, and IdnToAscii, which
// kernel32 has since Windows Vista and normaliz.dll before it (where it is installed at all).
#include "text/SystemText.h"

#include <windows.h>

#include "framework/LateBound.h"
#include "text/AnswerDecoder.h"

namespace {
// IdnToAscii's type, which the headers declare only for Windows Vista and later.
using IdnToAsciiFunction = int(WINAPI*)(DWORD flags, const wchar_t* unicode, int unicodeLength, wchar_t* ascii,
                                        int asciiLength);

IdnToAsciiFunction SystemIdnToAscii()
{
    static const IdnToAsciiFunction function = [] {
        const auto inKernel = LateBound<IdnToAsciiFunction>("kernel32.dll", "IdnToAscii");
        return inKernel ? inKernel : LateBound<IdnToAsciiFunction>("normaliz.dll", "IdnToAscii");
    }();
    return function;
}
}  // namespace

WideText AnsiToWide(std::string_view bytes)
{
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    WideText text(static_cast<size_t>(wideLength > 0 ? wideLength : 0), L'\0');
    if (wideLength > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), wideLength);
    return text;
}

bool WideToAnsi(const WideText& text, std::string* ansi)
{
    ansi->clear();
    if (text.empty()) return true;
    const int length = static_cast<int>(text.size());
    // No best fit: a character the code page lacks must not pass for a look-alike ("ä" for "a").
    const int ansiLength = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (ansiLength <= 0) return false;
    ansi->assign(static_cast<size_t>(ansiLength), '\0');
    BOOL lacking = FALSE;
    // Where the ANSI code page is UTF-8 the system refuses to say what it lacked: that is no ANSI form.
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, ansi->data(), ansiLength, nullptr,
                               &lacking) == ansiLength &&
           !lacking;
}

std::shared_ptr<const WideText> DecodedAnswerText(std::string_view answer, std::string_view host)
{
    return std::make_shared<const WideText>(DecodeAnswer(answer, host, AnsiToWide).text);
}

bool SystemNameToAscii(const WideText& name, std::string* ascii)
{
    const IdnToAsciiFunction toAscii = SystemIdnToAscii();
    if (!toAscii || name.empty()) return false;
    // No flags: unassigned code points have no form, and the question's check has already kept
    // out the ASCII characters a host name may not hold (Wine refuses every name with the flag
    // that would check them).
    const int length = static_cast<int>(name.size());
    const int asciiLength = toAscii(0, name.c_str(), length, nullptr, 0);
    if (asciiLength <= 0) return false;
    std::wstring form(static_cast<size_t>(asciiLength), L'\0');
    if (toAscii(0, name.c_str(), length, form.data(), asciiLength) != asciiLength) return false;
    std::string bytes;
    for (const wchar_t c : form) {
        if (c == 0 || c >= 0x80) return false;
        bytes.push_back(static_cast<char>(c));
    }
    *ascii = bytes;
    return true;
}
