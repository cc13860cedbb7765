// "&Save...": the answer on display as a text file with CR LF line ends.
#include "app/WhoisDlg.h"
#include "framework/ErrorText.h"
#include "framework/FileDialog.h"
#include "rdap/RdapQuestion.h"
#include "text/SystemText.h"
#include "text/Utf8.h"
#include "view/LineEnds.h"

#include <vector>

namespace {
// The permissions of an existing file, as the platform hands them over; empty when it cannot.
std::vector<BYTE> Permissions(const std::string& path)
{
    DWORD size = 0;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<BYTE> security(size);
    if (!size || !GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, security.data(), size, &size)) security.clear();
    return security;
}

// Puts the file `written` in the place of `path` in one rename, so that the old file is there until
// the new one is. An existing file keeps what was set on it: its attributes (hidden, say) and its
// permissions. (The system's ReplaceFile carries them over on Windows, but Wine's carries nothing
// over, and when it fails it leaves a file of its own in the user's folder.) Returns the reason of a
// failure, or "".
std::string PutInPlace(const char* written, const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const std::vector<BYTE> security = attributes == INVALID_FILE_ATTRIBUTES ? std::vector<BYTE>() : Permissions(path);
    if (!MoveFileExA(written, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return LastErrorText();
    if (!security.empty()) SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, const_cast<BYTE*>(security.data()));
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path.c_str(), attributes);
    return "";
}

// Writes `bytes` to a new file beside `path` and only then puts it in place of `path`, so that an
// existing file is not lost when the write fails. Returns the reason of a failure, or "".
std::string WriteReplacing(const std::string& path, const std::string& bytes)
{
    std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "who", 0, temporary)) return LastErrorText();
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string reason;
    if (file == INVALID_HANDLE_VALUE) {
        reason = LastErrorText();
    } else {
        DWORD written = 0;
        BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        if (!wrote || written != bytes.size()) reason = wrote ? "Not every byte could be written." : LastErrorText();
        if (!CloseHandle(file) && reason.empty()) reason = LastErrorText();
        if (reason.empty()) reason = PutInPlace(temporary, path);
    }
    if (!reason.empty()) DeleteFileA(temporary);
    return reason;
}

// The question as a file name: characters that no file name may hold become "_".
std::string ProposedName(const std::string& question)
{
    std::string name = question;
    for (char& c : name)
        if (strchr("\\/:*?\"<>|", c) || static_cast<unsigned char>(c) < 0x20) c = '_';
    return name;
}
}  // namespace

void CWhoisDlg::OnSave()
{
    // An RDAP answer can also be written as the JSON it came as: the file type chooses.
    const bool json = !m_strJson.IsEmpty();
    // The file dialog takes the ANSI code page: a character it lacks is proposed as "_".
    std::string question;
    WideToAnsi(Utf8ToWide(m_strQuestion.Str()), &question);
    CFileDialog dialog(FALSE, "txt", ProposedName(question).c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       json ? "Text files|*.txt|RDAP JSON|*.json|All files|*.*||" : "Text files|*.txt|All files|*.*||", this);
    const INT_PTR chosen = dialog.DoModal();
    if (chosen == -1) {
        CString text;
        text.Format("The Save As dialog failed (common dialog error 0x%04lX): the answer was not saved.",
                    static_cast<unsigned long>(dialog.GetError()));
        AfxMessageBox(text, MB_ICONEXCLAMATION);
    }
    if (chosen != IDOK) return;
    std::string path = dialog.GetPathName().Str();
    const std::string type = AsciiLower(path.substr(path.size() - std::min<size_t>(5, path.size())));
    const bool asJson = json && (dialog.m_ofn.nFilterIndex == 2 || type == ".json");
    std::string reason = WriteReplacing(path, asJson ? std::string(m_strJson.Str()) : WithCrLfLineEnds(m_strAnswer.Str()));
    if (!reason.empty()) AfxMessageBox(("The answer could not be saved to " + path + ".\n\n" + reason).c_str(), MB_ICONEXCLAMATION);
}
