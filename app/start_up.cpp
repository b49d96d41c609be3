// Start-up steps, in the order the start routine takes them. Their results
// are not looked at: a main window that cannot be created shows itself as
// DialogBoxParamA's -1, which the start routine reports.
//
// Quorrin is run from folders that others can write to (Downloads, shares,
// sticks), and Windows looks for a library named without a path in the
// exe's own folder first. So the libraries Quorrin loads itself come from
// the system folder by their full path, and before anything else the
// process tells the loader to search only there for whatever is loaded
// later by name.
#include "app/start_up.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstring>

#include "app/app_state.h"

// From Windows 8 (and Windows 7 with KB2533623) on; the headers for the
// systems Quorrin supports do not declare them.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif
typedef BOOL(WINAPI* SetDefaultDllDirectoriesProc)(DWORD directoryFlags);

static HMODULE RichEditLibrary;
// True once the loader searches the system folder only.
static bool SystemFolderOnly;

static void SearchSystemFolderOnly() {
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    // Through a generic function pointer, so that the cast to the real type
    // is not taken for a mismatch.
    auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesProc>(
        reinterpret_cast<void (*)()>(found));
    SystemFolderOnly =
        setDirectories != nullptr && setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

HMODULE LoadSystemLibrary(const char* name, DWORD flags) {
    char path[MAX_PATH + 1] = {};
    UINT length = GetSystemDirectoryA(path, sizeof path);
    size_t nameLength = strlen(name);
    if (length == 0 || length + 1 + nameLength >= sizeof path) {
        return nullptr;
    }
    path[length] = '\\';
    memcpy(path + length + 1, name, nameLength + 1);
    // Where the loader still searches the exe's folder, the altered search
    // starts a code library's own imports from its folder, the system one.
    // Data files have no imports.
    if (!SystemFolderOnly && (flags & LOAD_LIBRARY_AS_DATAFILE) == 0) {
        flags |= LOAD_WITH_ALTERED_SEARCH_PATH;
    }
    return LoadLibraryExA(path, nullptr, flags);
}

bool PrepareProcess() {
    SearchSystemFolderOnly();
    CoInitializeEx(nullptr, COINIT_DISABLE_OLE1DDE);
    Instance = GetModuleHandleA(nullptr);
    ProcessHeap = GetProcessHeap();

    auto* classes = static_cast<INITCOMMONCONTROLSEX*>(
        HeapAlloc(ProcessHeap, HEAP_ZERO_MEMORY, sizeof(INITCOMMONCONTROLSEX)));
    if (classes != nullptr) {
        classes->dwSize = sizeof(INITCOMMONCONTROLSEX);
        classes->dwICC = ICC_WIN95_CLASSES | ICC_USEREX_CLASSES;
        InitCommonControlsEx(classes);
        HeapFree(ProcessHeap, 0, classes);
    }

    RichEditLibrary = LoadSystemLibrary("RichEd32.dll", 0);
    return RichEditLibrary != nullptr;
}

void ReleaseProcess() {
    FreeLibrary(RichEditLibrary);
    RichEditLibrary = nullptr;
}
