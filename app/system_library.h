// Loading the system libraries Quorrin uses itself, shared by start-up (the
// rich edit) and the lookup (WinINet's message texts).
#pragma once

#include <windows.h>

// True once the loader searches the system folder only; start-up sets it
// before any library is loaded.
extern bool SystemFolderOnly;

// Loads the library name (with its extension) from the system folder by its
// full path, never from the exe's folder; flags as for LoadLibraryExA.
// nullptr when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name, DWORD flags);
