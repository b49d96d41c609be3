// The start routine: prepare the process, run the main window modally, and
// end the process.
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

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
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
