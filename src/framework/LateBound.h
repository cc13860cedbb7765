// LateBound: a function of a system library that the program needs only once the user opens one of
// its dialogs (the common dialogs, the shell, the common controls). Loading those libraries takes
// longer than showing the main window, so each is loaded the first time one of its functions is
// asked for, from the system folder.
#pragma once

#include <windows.h>

// The function `name` of the system library `library`, loading the library if it is not loaded
// yet; null when either is missing. Callers keep the result: each call loads the library again.
template <typename Function>
Function LateBound(const char* library, const char* name)
{
    HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without its loader update does not know the flag: there the library is found as
    // the program's own imports are.
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) module = LoadLibraryA(library);
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
