// CFileDialog: the platform's Open and Save As dialogs.
#pragma once

#include <string>

#include "framework/Wnd.h"

#include <commdlg.h>

class CFileDialog {
public:
    // `filter` lists name and pattern pairs separated by "|" and ending in "||",
    // e.g. "Text files|*.txt|All files|*.*||".
    CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                const char* filter, CWnd* parent = nullptr);

    // IDOK when the user chose a file, IDCANCEL when they did not, -1 when the picker itself failed
    // (a proposed name it rejects, say); GetError then gives the platform's reason.
    INT_PTR DoModal();
    CString GetPathName() const { return CString(m_file.c_str()); }
    DWORD GetError() const { return m_dwError; }

    OPENFILENAMEA m_ofn;

private:
    BOOL m_bOpenFileDialog;
    std::string m_defaultExtension;
    std::string m_filter;
    std::string m_file;
    DWORD m_dwError = 0;
};
