// CString's platform parts: string-table loading and formatting.
#include "framework/String.h"

#include <cstdarg>
#include <cstdio>

#include "framework/Afx.h"

bool CString::LoadString(unsigned id)
{
    // A string-table entry is stored as a counted UTF-16 text in block id/16, slot id%16;
    // reading the block directly gives its exact length with no fixed-size buffer.
    m_text.clear();
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
    m_text.resize(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(entry + 1), length, &m_text[0],
                        bytes, nullptr, nullptr);
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
    m_text.assign(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(&m_text[0], m_text.size(), format, args);
    m_text.resize(static_cast<size_t>(length));
    va_end(args);
}
