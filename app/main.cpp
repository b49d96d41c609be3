// The start routine: prepare COM, the common controls and the rich-edit
// library, run the main window modally, and end the process.
//
// Start-up checks one thing only: a main window that cannot be created at
// all (DialogBoxParamA gives -1, for example when the rich-edit class is
// missing) is told to the person and ends with exit code 1 rather than a
// silent success. Every other start-up result stays unchecked.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/main_window.h"
#include "resources/resource_ids.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
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
    INT_PTR result = DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                     MainDialogProc, 0);
    if (result == -1) {
        MessageBoxA(nullptr, "Quorrin could not open its window.", "Quorrin",
                    MB_OK | MB_ICONERROR);
        CoUninitialize();
        FreeLibrary(RichEditLibrary);
        ExitProcess(1);
    }
    FreeLibrary(RichEditLibrary);
    ExitProcess(0);
}
