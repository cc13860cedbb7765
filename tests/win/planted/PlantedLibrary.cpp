// A library that a test plants beside a copy of the program under a system library's name, as
// someone who wants the program to run their code would: it does nothing itself.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
