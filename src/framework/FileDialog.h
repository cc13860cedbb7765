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

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    CString GetPathName() const { return CString(m_file.c_str()); }

    OPENFILENAMEA m_ofn;

private:
    BOOL m_bOpenFileDialog;
    std::string m_defaultExtension;
    std::string m_filter;
    std::string m_file;
};
