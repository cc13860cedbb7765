// The shipped program's file as Windows sees it: the version texts that the file's properties show,
// the application manifest as the system's loader reads it, and the libraries a start loads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "framework/Afx.h"
#include "support/ProgramRun.h"

#include <tlhelp32.h>

namespace {
const wchar_t kVersion[] = WHOIS_VERSION;

std::wstring Text(const std::vector<BYTE>& info, const std::wstring& path)
{
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || !value) return L"(missing)";
    return static_cast<const wchar_t*>(value);
}

std::wstring FourPartVersion(DWORD high, DWORD low)
{
    return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." +
           std::to_wstring(HIWORD(low)) + L"." + std::to_wstring(LOWORD(low));
}

TEST(ProgramFile, VersionResourceNamesTheProductItsMakerAndVersion)
{
    DWORD size = GetFileVersionInfoSizeW(kProgram, nullptr);
    ASSERT_NE(0u, size) << "no version resource in the program, error " << GetLastError();
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(kProgram, 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(std::wstring(kVersion) + L".0", FourPartVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
    EXPECT_EQ(std::wstring(kVersion) + L".0", FourPartVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);

    // Readers find the texts under the language and code page that the translation table names.
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    wchar_t block[40];
    swprintf(block, 40, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    const struct {
        const wchar_t* name;
        std::wstring expected;
    } cases[] = {
        {L"ProductName", L"Tarquelin whois"},
        {L"ProductVersion", kVersion},
        {L"FileVersion", kVersion},
        {L"FileDescription", L"Tarquelin whois, a WHOIS client"},
        {L"CompanyName", L"Tarquelin"},
        {L"LegalCopyright", L"Copyright \u00A9 Tarquelin"},
        {L"OriginalFilename", L"whois.exe"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, Text(info, block + std::wstring(c.name))) << c.name;
}

TEST(ProgramFile, ManifestRunsWithTheUsersRightsOnWindows7To11)
{
    ACTCTXW request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = kProgram;
    request.lpResourceName = MAKEINTRESOURCEW(1);  // the manifest the loader applies at process start
    HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(INVALID_HANDLE_VALUE, context) << "the manifest does not load, error " << GetLastError();

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel = {};
    EXPECT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &runLevel,
                             sizeof runLevel, nullptr));
    EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, runLevel.RunLevel);
    EXPECT_EQ(0u, runLevel.UiAccess);

    DWORD index = 1;
    std::vector<BYTE> buffer(4096);
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxW(0, context, &index, AssemblyDetailedInformationInActivationContext, buffer.data(),
                             buffer.size(), &written));
    auto* assembly = reinterpret_cast<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
    std::wstring identity = assembly->lpAssemblyEncodedAssemblyIdentity;
    EXPECT_NE(std::wstring::npos, identity.find(L"version=\"" + std::wstring(kVersion) + L".0\"")) << identity;

    // Element sizes differ between header versions, so the Windows 10 and 11 entry is found by its bytes.
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, buffer.data(),
                             buffer.size(), &written));
    EXPECT_EQ(4u, *reinterpret_cast<DWORD*>(buffer.data()));
    const GUID windows10 = {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}};
    bool found = false;
    for (SIZE_T at = 0; at + sizeof windows10 <= written && !found; ++at)
        found = std::memcmp(buffer.data() + at, &windows10, sizeof windows10) == 0;
    EXPECT_TRUE(found) << "the manifest does not name Windows 10 and 11";
    ReleaseActCtx(context);
}

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), towlower);
    return text;
}

// The modules loaded in the process `id`: their paths by their names, all in lower case.
std::map<std::wstring, std::wstring> LoadedModules(DWORD id)
{
    std::map<std::wstring, std::wstring> names;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id);
    if (snapshot == INVALID_HANDLE_VALUE) return names;
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32FirstW(snapshot, &module); more; more = Module32NextW(snapshot, &module))
        names[Lower(module.szModule)] = Lower(module.szExePath);
    CloseHandle(snapshot);
    return names;
}

// The libraries of the dialogs the user opens later (the common dialogs, the shell, the common
// controls) take longer to load than the main window takes to show: a start waits for none of them.
TEST(ProgramFile, TheWindowComesUpWithoutTheLibrariesOfTheDialogsNotYetOpened)
{
    std::map<std::wstring, std::wstring> loaded;
    EXPECT_TRUE(RunProgram(kProgram, L"", [&](HWND window) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        loaded = LoadedModules(id);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);  // Escape: nothing is saved
    })) << "the program did not end";

    ASSERT_TRUE(loaded.count(L"riched20.dll")) << "the window with its answer view never came up";
    for (const wchar_t* library : {L"comdlg32.dll", L"shell32.dll", L"comctl32.dll"})
        EXPECT_EQ(0u, loaded.count(library)) << "loaded at start: " << std::string(library, library + wcslen(library));
}

// A library planted beside the program under the rich edit's name (in a downloads folder, say) is
// never loaded: the rich edit comes from the system folder.
TEST(ProgramFile, ALibraryPlantedBesideTheProgramIsNotLoadedInPlaceOfTheSystemsOwn)
{
    wchar_t folder[MAX_PATH], system[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring program = folder + std::wstring(L"whois.exe"), planted = folder + std::wstring(L"RICHED20.DLL");
    ASSERT_TRUE(CopyFileW(kProgram, program.c_str(), FALSE) && CopyFileW(L"Z:" PLANTED_LIBRARY, planted.c_str(), FALSE));
    std::wstring richEdit;
    EXPECT_TRUE(RunProgram(program, L"", [&](HWND window) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        richEdit = LoadedModules(id)[L"riched20.dll"];
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);  // Escape: nothing is saved
    })) << "the window with its answer view never came up";
    EXPECT_EQ(Lower(system) + L"\\riched20.dll", richEdit);
    DeleteFileW(program.c_str());
    DeleteFileW(planted.c_str());
}
}  // namespace
