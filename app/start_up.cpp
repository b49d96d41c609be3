// Start-up steps, in the order the start routine takes them. Their results
// are not looked at: a main window that cannot be created shows itself as
// DialogBoxParamA's -1, which the start routine reports.
#include "app/start_up.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/app_state.h"

static HMODULE RichEditLibrary;

bool PrepareProcess() {
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

    RichEditLibrary = LoadLibraryA("RichEd32");
    return RichEditLibrary != nullptr;
}

void ReleaseProcess() {
    FreeLibrary(RichEditLibrary);
    RichEditLibrary = nullptr;
}
