// CBootstrapFolder: files in the user's local application data.
#include "rdap/BootstrapFolder.h"

#include <windows.h>
#include <shlobj.h>

#include "framework/LateBound.h"

namespace {
// A saved file is a bootstrap file of tens of kilobytes; anything far larger is not ours.
constexpr DWORD kMaxSavedSize = 16u << 20;

std::int64_t FileTimeValue(const FILETIME& time)
{
    return (static_cast<std::int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}
}  // namespace

std::string BootstrapFolderPath()
{
    static const auto folderPath = LateBound<decltype(&SHGetFolderPathA)>("shell32.dll", "SHGetFolderPathA");
    char base[MAX_PATH];
    if (!folderPath || folderPath(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base) != S_OK) return "";
    return std::string(base) + "\\Tarquelin\\Whois\\RDAP\\";
}

BootstrapSource& ProgramBootstrap()
{
    static CBootstrapFolder folder;
    static BootstrapSource source(folder);
    return source;
}

bool CBootstrapFolder::Load(const std::string& name, std::string* text, std::chrono::seconds* age)
{
    const std::string folder = BootstrapFolderPath();
    if (folder.empty()) return false;
    HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME written, now;
    const DWORD size = GetFileSize(file, nullptr);
    bool read = GetFileTime(file, nullptr, nullptr, &written) && size != INVALID_FILE_SIZE && size <= kMaxSavedSize;
    if (read) {
        text->assign(size, '\0');
        DWORD got = 0;
        read = size == 0 || (ReadFile(file, &(*text)[0], size, &got, nullptr) && got == size);
    }
    CloseHandle(file);
    if (!read) return false;
    GetSystemTimeAsFileTime(&now);
    // File times count 100-nanosecond steps; a file from the future counts as new.
    const std::int64_t steps = FileTimeValue(now) - FileTimeValue(written);
    *age = std::chrono::seconds(steps > 0 ? steps / 10000000 : 0);
    return true;
}

void CBootstrapFolder::Save(const std::string& name, const std::string& text)
{
    const std::string folder = BootstrapFolderPath();
    if (folder.empty()) return;
    // Each level of the folder, made where it is missing.
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    const std::string path = folder + name, fresh = path + ".new";
    HANDLE file = CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    const bool whole = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    CloseHandle(file);
    if (!whole || !MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) DeleteFileA(fresh.c_str());
}
