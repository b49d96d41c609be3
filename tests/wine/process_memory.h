// Committed private memory of a process, region by region over its whole
// address space: what PrivateUsage counts on Windows. Wine 8 leaves
// PrivateUsage at 0, and fills PagefileUsage from the Unix process's
// anonymous memory, which under an emulator is mostly the emulator's own.
#pragma once

#include <windows.h>

inline SIZE_T CommittedPrivateBytes(HANDLE process) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    const char* address = nullptr;
    while (VirtualQueryEx(process, address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) {
            break;  // the top of the address space
        }
        address = next;
    }
    return total;
}
