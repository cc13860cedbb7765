#include "support/ProcessMemory.h"

#include <winternl.h>

SIZE_T PrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* address = nullptr; VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    }
    return total;
}

int GdiObjectCount()
{
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(count);
    // Wine says 0 there. Its table of GDI objects is where Windows keeps it too, at the same place
    // in the process environment block, an entry of 24 bytes with the object's type at byte 14.
    const auto query = reinterpret_cast<decltype(&NtQueryInformationProcess)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION process{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, nullptr) != 0) return -1;
    const BYTE* table = *reinterpret_cast<const BYTE* const*>(reinterpret_cast<const BYTE*>(process.PebBaseAddress) + 0xF8);
    int count = 0;
    for (int entry = 0; table && entry < 0x10000; ++entry) count += table[entry * 24 + 14] != 0;
    return count;
}
