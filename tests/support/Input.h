// Real input for window tests: the mouse and keyboard through SendInput, so that the windows get
// the messages a user's hands produce, through the queue.
#pragma once

#include "framework/Afx.h"

// Moves the mouse to a screen point; true once the cursor is there.
bool MoveMouseTo(POINT screen);
void PressMouse(bool rightButton = false);
void ReleaseMouse(bool rightButton = false);
// Moves to a screen point, and presses and releases a button there.
void ClickAt(POINT screen, bool rightButton = false);
// Presses and releases a key, with Shift held when asked.
void PressKey(WORD key, bool shift = false);
// The middle of a window, in screen coordinates.
POINT ScreenCenter(HWND window);
