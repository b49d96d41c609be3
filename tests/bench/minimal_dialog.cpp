// The floor for start-up and memory: one empty modal dialog, built by the
// same toolchain and with the same link options as Quorrin.exe. Words on
// the command line add Quorrin's start-up steps one by one, so that the
// bench can tell where the difference goes:
//   com       ole32 and CoInitializeEx
//   controls  comctl32 and InitCommonControlsEx
//   richedit  LoadLibraryA("RichEd32")
// The libraries are loaded here rather than imported, so that without any
// word the program loads nothing more than the empty dialog needs.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstring>

static INT_PTR CALLBACK MinimalProc(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        EndDialog(window, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    typedef HRESULT(WINAPI * ComStart)(void*, DWORD);
    typedef BOOL(WINAPI * ControlsStart)(const INITCOMMONCONTROLSEX*);
    if (strstr(commandLine, "com") != nullptr) {
        auto start = reinterpret_cast<ComStart>(reinterpret_cast<void*>(
            GetProcAddress(LoadLibraryA("ole32.dll"), "CoInitializeEx")));
        if (start != nullptr) {
            start(nullptr, COINIT_DISABLE_OLE1DDE);
        }
    }
    if (strstr(commandLine, "controls") != nullptr) {
        auto start = reinterpret_cast<ControlsStart>(reinterpret_cast<void*>(
            GetProcAddress(LoadLibraryA("comctl32.dll"), "InitCommonControlsEx")));
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
        if (start != nullptr) {
            start(&classes);
        }
    }
    if (strstr(commandLine, "richedit") != nullptr) {
        LoadLibraryA("RichEd32");
    }
    DialogBoxParamA(instance, MAKEINTRESOURCEA(100), nullptr, MinimalProc, 0);
    ExitProcess(0);
}
