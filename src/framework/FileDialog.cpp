// CFileDialog over GetOpenFileName/GetSaveFileName.
#include "framework/FileDialog.h"

#include "framework/LateBound.h"

#include <cderr.h>

namespace {
// Room for the longest path the dialog may hand back.
const size_t kPathBuffer = 32768;
}

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_ofn{}, m_bOpenFileDialog(openFileDialog), m_defaultExtension(defaultExtension ? defaultExtension : ""),
      m_filter(filter ? filter : ""), m_file(kPathBuffer, '\0')
{
    for (char& c : m_filter)
        if (c == '|') c = '\0';
    if (fileName) {
        size_t length = std::min(strlen(fileName), kPathBuffer - 1);
        m_file.replace(0, length, fileName, length);
    }
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = &m_file[0];
    m_ofn.nMaxFile = static_cast<DWORD>(m_file.size());
    m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal()
{
    static const auto openFile = LateBound<decltype(&GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
    static const auto saveFile = LateBound<decltype(&GetSaveFileNameA)>("comdlg32.dll", "GetSaveFileNameA");
    static const auto lastError = LateBound<decltype(&CommDlgExtendedError)>("comdlg32.dll", "CommDlgExtendedError");
    // Without a parent the picker belongs to the window the user is working in.
    if (!m_ofn.hwndOwner) m_ofn.hwndOwner = GetActiveWindow();
    const auto choose = m_bOpenFileDialog ? openFile : saveFile;
    if (!choose || !lastError) {
        m_dwError = CDERR_INITIALIZATION;
        return -1;
    }
    if (choose(&m_ofn)) return IDOK;
    // A picker that was cancelled leaves no error behind.
    m_dwError = lastError();
    return m_dwError ? -1 : IDCANCEL;
}
