// How much memory and how many GDI objects this process holds, for checks that they do not grow.
#pragma once

#include <windows.h>

// The committed private memory of this process, summed over its address space (Wine's process
// memory counters do not follow the heap).
SIZE_T PrivateBytes();
// The GDI objects (fonts, brushes, bitmaps, device contexts...) that this process holds, every one
// made by the program or by the system's controls for it.
int GdiObjectCount();
