// Runs the shipped program as its own process, as a user starts it, with more environment
// variables if a test needs them (a code page, for one), and ends it the way the test chooses.
#pragma once

#include <functional>
#include <string>

#include <windows.h>

// The program built beside the tests (Wine maps drive Z: to the Unix root).
extern const wchar_t kProgram[];

// Starts `program` with `arguments` and the variables of `environment` ("NAME=value" lines), waits
// for its main window, hands the window to `act`, then waits for the program to end. An `act` that
// does not end the program ends it with a close (the close box saves the settings). A program that
// does not end within ten seconds is killed. Returns whether the window came up and the program
// ended by itself.
bool RunProgram(const std::wstring& program, const std::wstring& arguments, const std::wstring& environment,
                const std::function<void(HWND)>& act);
