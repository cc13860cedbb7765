// Common platform includes for the framework and the window code: the ANSI Win32 API, Windows
// sockets, the rich edit and common controls headers.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
