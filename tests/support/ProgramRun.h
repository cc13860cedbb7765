// Runs the shipped program in a process of its own, as a user starts it.
#pragma once

#include <functional>
#include <string>

#include <windows.h>

// The program built beside the tests (Wine maps drive Z: to the Unix root).
extern const wchar_t kProgram[];

// Starts `program` with `variable` ("NAME=value", or empty) added to this process's environment,
// waits for its main window and hands it to `act`, then closes the window (the close box saves the
// settings) and waits for the program to end; one that has not ended within ten seconds is killed.
// True when the window came up and the program ended by itself.
bool RunProgram(const std::wstring& program, const std::wstring& variable, const std::function<void(HWND)>& act);
