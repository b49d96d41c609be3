// The floor for start-up and memory: one empty modal dialog, built by the
// same toolchain and with the same link options as Quorrin.exe.
#include <windows.h>

static INT_PTR CALLBACK MinimalProc(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        EndDialog(window, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    DialogBoxParamA(instance, MAKEINTRESOURCEA(100), nullptr, MinimalProc, 0);
    ExitProcess(0);
}
