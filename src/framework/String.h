// CString: the framework's 8-bit, length-counted text. Bytes after a zero byte are kept, so
// the length is the count of bytes, not the position of the first zero. Copies share one buffer,
// which no CString ever changes (a change makes a new one), as the classic framework's strings
// share theirs: an answer of many megabytes goes between the dialog, the history and the view
// without being copied.
#pragma once

#include <memory>
#include <string>

#include "framework/Afx.h"

class CString {
public:
    CString() = default;
    CString(const char* text) : CString(std::string(text ? text : "")) {}
    CString(const char* text, int length) : CString(std::string(text, static_cast<size_t>(length))) {}
    CString(std::string text) : m_text(std::make_shared<const std::string>(std::move(text))) {}
    // Shares `text` (null: the empty text).
    explicit CString(std::shared_ptr<const std::string> text) : m_text(std::move(text)) {}

    int GetLength() const { return static_cast<int>(Str().size()); }
    bool IsEmpty() const { return Str().empty(); }
    void Empty() { m_text.reset(); }
    const char* GetString() const { return Str().c_str(); }
    operator const char*() const { return GetString(); }
    const std::string& Str() const;
    // The buffer, for a holder that keeps the text as it is.
    std::shared_ptr<const std::string> Shared() const { return m_text; }

    CString& operator=(const char* text) { return *this = CString(text); }
    CString& operator+=(const char* text) { return *this = CString(Str() + (text ? text : "")); }
    CString& operator+=(const CString& other) { return *this = CString(Str() + other.Str()); }
    bool operator==(const char* text) const { return Str() == (text ? text : ""); }
    bool operator!=(const char* text) const { return !(*this == text); }

    // Loads a string-table entry of the program's module; an unknown ID gives the empty text.
    bool LoadString(unsigned id);
    // printf-style formatting of a text from the string table or elsewhere.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

private:
    // Null for the empty text.
    std::shared_ptr<const std::string> m_text;
};
