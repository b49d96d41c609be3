// Start-up steps, in the order the start routine takes them. Their results
// are not looked at: a main window that cannot be created shows itself as
// DialogBoxParamA's -1, which the start routine reports.
//
// Before anything else the process tells the loader to search only the
// system folder for whatever is loaded later by name, for the reason given
// in app/system_library.cpp.
//
// The thread that owns the windows is a single-threaded apartment: the rich
// edit's copy, cut and paste go through the OLE clipboard, which does
// nothing in the multithreaded one. OLE itself is started too, since on
// Windows a rich edit can be a drop target, and so drag text, only then.
// It is ended only after the main window and its editors are gone.
#include "app/start_up.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>

#include "app/app_state.h"
#include "app/system_library.h"

// From Windows 8 (and Windows 7 with KB2533623) on; the headers for the
// systems Quorrin supports do not declare them.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif
typedef BOOL(WINAPI* SetDefaultDllDirectoriesProc)(DWORD directoryFlags);

static HMODULE RichEditLibrary;

static void SearchSystemFolderOnly() {
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    // Through a generic function pointer, so that the cast to the real type
    // is not taken for a mismatch.
    auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesProc>(
        reinterpret_cast<void (*)()>(found));
    SystemFolderOnly =
        setDirectories != nullptr && setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

bool PrepareProcess() {
    SearchSystemFolderOnly();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    OleInitialize(nullptr);
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
    OleUninitialize();
    FreeLibrary(RichEditLibrary);
    RichEditLibrary = nullptr;
}
