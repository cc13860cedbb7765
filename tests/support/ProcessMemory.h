// How much memory this process holds, for checks that it does not grow.
#pragma once

#include <windows.h>

// The committed private memory of this process, summed over its address space (Wine's process
// memory counters do not follow the heap).
SIZE_T PrivateBytes();
