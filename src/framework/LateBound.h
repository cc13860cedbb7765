// LateBound: a function of a system library that the program needs only once the user opens one of
// its dialogs (the common dialogs, the shell, the common controls). Loading those libraries takes
// longer than showing the main window, so each is loaded the first time one of its functions is
// asked for. System libraries are loaded from the system folder only: a library of the same name
// beside the program is never taken.
#pragma once

#include <windows.h>

#include <cstring>

// The system library `library` from the system folder; null when it is missing there.
inline HMODULE LoadSystemLibrary(const char* library)
{
    HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    // Windows 7 without its loader update does not know the flag: the full path does the same.
    char path[MAX_PATH];
    const UINT folder = GetSystemDirectoryA(path, MAX_PATH);
    if (!folder || folder + 1 + strlen(library) >= MAX_PATH) return nullptr;
    path[folder] = '\\';
    strcpy(path + folder + 1, library);
    return LoadLibraryA(path);
}

// The function `name` of the system library `library`, loading the library if it is not loaded
// yet; null when either is missing. Callers keep the result: each call loads the library again.
template <typename Function>
Function LateBound(const char* library, const char* name)
{
    HMODULE module = LoadSystemLibrary(library);
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
