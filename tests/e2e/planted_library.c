/* A library that someone else put beside Quorrin.exe, under the names of
   the system libraries that Quorrin loads (RichEd32.dll, RichEd20.dll,
   Wininet.dll). Loaded as code, it leaves a file "<its own path>.ran" to
   show that its DllMain ran; read as data, its message table answers
   12029 with a text of its own. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    char path[MAX_PATH + 8] = "";
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameA(instance, path, MAX_PATH) < MAX_PATH) {
        lstrcatA(path, ".ran");
        CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
    return TRUE;
}
