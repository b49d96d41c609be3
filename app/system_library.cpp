// Quorrin is run from folders that others can write to (Downloads, shares,
// sticks), and Windows looks for a library named without a path in the
// exe's own folder first. So the libraries Quorrin loads itself come from
// the system folder by their full path.
#include "app/system_library.h"

#include <windows.h>

#include <cstring>

bool SystemFolderOnly;

HMODULE LoadSystemLibrary(const char* name, DWORD flags) {
    char path[MAX_PATH + 1] = {};
    UINT length = GetSystemDirectoryA(path, sizeof path);
    size_t nameLength = strlen(name);
    if (length == 0 || length + 1 + nameLength >= sizeof path) {
        return nullptr;
    }
    path[length] = '\\';
    memcpy(path + length + 1, name, nameLength + 1);
    // Where the loader still searches the exe's folder, the altered search
    // starts a code library's own imports from its folder, the system one.
    // Data files have no imports.
    if (!SystemFolderOnly && (flags & LOAD_LIBRARY_AS_DATAFILE) == 0) {
        flags |= LOAD_WITH_ALTERED_SEARCH_PATH;
    }
    return LoadLibraryExA(path, nullptr, flags);
}
