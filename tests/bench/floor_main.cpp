// floor.exe: the floor for start-up. The same start-up steps as Quorrin.exe
// (COM and OLE in a single-threaded apartment, the common controls,
// RichEd32 from the system folder), Quorrin's own
// templates and link options, and a main window that does only the floor's
// work.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>

#include "resources/resource_ids.h"
#include "tests/bench/floor.h"

extern "C" void FloorStart() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&classes);
    HMODULE richEdit = FloorSystemLibrary("RichEd32.dll", 0);
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, FloorMainProc,
                    0);
    OleUninitialize();
    FreeLibrary(richEdit);
    ExitProcess(0);
}
