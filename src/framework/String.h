// CString: the framework's 8-bit, length-counted text. Bytes after a zero byte are kept, so
// the length is the count of bytes, not the position of the first zero.
#pragma once

#include <string>

#include "framework/Afx.h"

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const char* text, int length) : m_text(text, static_cast<size_t>(length)) {}
    CString(std::string text) : m_text(std::move(text)) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    const char* GetString() const { return m_text.c_str(); }
    operator const char*() const { return m_text.c_str(); }
    const std::string& Str() const { return m_text; }
    std::string& Str() { return m_text; }

    CString& operator=(const char* text) { m_text = text ? text : ""; return *this; }
    CString& operator+=(const char* text) { m_text += text ? text : ""; return *this; }
    CString& operator+=(const CString& other) { m_text += other.m_text; return *this; }
    bool operator==(const char* text) const { return m_text == (text ? text : ""); }
    bool operator!=(const char* text) const { return !(*this == text); }

    // Loads a string-table entry of the program's module; an unknown ID gives the empty text.
    bool LoadString(unsigned id);
    // printf-style formatting of a text from the string table or elsewhere.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

private:
    std::string m_text;
};
