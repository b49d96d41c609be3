// The start routine, the process entry itself: prepare the process, run the
// main window modally, and end the process.
//
// The exe is linked without the C runtime's start-up code (-nostartfiles):
// Quorrin reads no command line, keeps no C runtime state and has no static
// constructors, so the entry point is this routine, with no arguments, and
// it never returns. Leaving that code out halves the size of the exe.
//
// Start-up checks one thing only: a main window that cannot be created at
// all (DialogBoxParamA gives -1, for example when the rich-edit class is
// missing) is told to the person and ends with exit code 1 rather than a
// silent success. Every other start-up result stays unchecked.
#include <windows.h>
#include <objbase.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/start_up.h"
#include "resources/resource_ids.h"

extern "C" void QuorrinStart() {
    PrepareProcess();
    INT_PTR result = DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                     MainDialogProc, 0);
    if (result == -1) {
        MessageBoxA(nullptr, "Quorrin could not open its window.", "Quorrin",
                    MB_OK | MB_ICONERROR);
        CoUninitialize();
        ReleaseProcess();
        ExitProcess(1);
    }
    ReleaseProcess();
    ExitProcess(0);
}
