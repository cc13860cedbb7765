// CString's shared empty text and its platform parts: string-table loading and formatting.
#include "framework/String.h"

#include <cstdarg>
#include <cstdio>

#include "framework/Afx.h"

const std::string& CString::Str() const
{
    static const std::string empty;
    return m_text ? *m_text : empty;
}

bool CString::LoadString(unsigned id)
{
    // A string-table entry is stored as a counted UTF-16 text in block id/16, slot id%16;
    // reading the block directly gives its exact length with no fixed-size buffer.
    Empty();
    HINSTANCE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id / 16 + 1), MAKEINTRESOURCEA(6));
    if (!info) return false;
    const WORD* entry = static_cast<const WORD*>(LockResource(LoadResource(module, info)));
    if (!entry) return false;
    for (unsigned slot = 0; slot < id % 16; ++slot) entry += 1 + *entry;
    int length = *entry;
    if (length == 0) return false;
    int bytes = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(entry + 1), length,
                                    nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(entry + 1), length, &text[0], bytes, nullptr,
                        nullptr);
    *this = CString(std::move(text));
    return true;
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) length = 0;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    va_end(args);
    *this = CString(std::move(text));
}
