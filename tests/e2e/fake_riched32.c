/* A rich-edit library that registers no window class. Placed beside
   Quorrin.exe, it makes the main window impossible to create. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
