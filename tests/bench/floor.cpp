#include "tests/bench/floor.h"

#include <commctrl.h>
#include <richedit.h>

#include <cstring>

#include "lookup/hresult_split.h"
#include "lookup/input_interpretation.h"
#include "resources/resource_ids.h"

char FloorNotesFolder[MAX_PATH + 1];

namespace {

void Fail(HWND window, const char* description, bool afterPrefix) {
    SetDlgItemTextA(window, IDC_STATUS, "");
    SetDlgItemTextA(window, IDC_CODE, "");
    SetDlgItemTextA(window, IDC_FACILITY, "");
    SetDlgItemTextA(window, IDC_DESCRIPTION, description);
    SetDlgItemTextA(window, IDC_NOTE_EDITOR, "");
    EnableWindow(GetDlgItem(window, IDC_SAVE_NOTE), FALSE);
    EnableWindow(GetDlgItem(window, IDC_DELETE_NOTE), FALSE);
    if (afterPrefix) {
        SendDlgItemMessageA(window, IDC_ERROR_FIELD, EM_SETSEL, 2, -1);
    }
}

}  // namespace

HMODULE FloorSystemLibrary(const char* name, DWORD flags) {
    char path[MAX_PATH + 1] = {};
    UINT length = GetSystemDirectoryA(path, MAX_PATH - 16);
    if (length == 0 || length >= MAX_PATH - 16) {
        return nullptr;
    }
    lstrcatA(path, "\\");
    lstrcatA(path, name);
    return LoadLibraryExA(path, nullptr, flags);
}

void FloorLookup(HWND window) {
    char key[kNoteKeySize] = {};
    if (GetDlgItemTextA(window, IDC_ERROR_FIELD, key, sizeof key) == 0) {
        Fail(window, "Please enter a complete error number", false);
        return;
    }
    Interpretation number = InterpretInput(key);
    if (number.incomplete) {
        Fail(window, "Please enter a complete error number", true);
        return;
    }
    HMODULE wininet = nullptr;
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                  FORMAT_MESSAGE_FROM_SYSTEM;
    if (number.source == MessageSource::WinInetModule) {
        wininet = FloorSystemLibrary("Wininet.dll", LOAD_LIBRARY_AS_DATAFILE);
        flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                FORMAT_MESSAGE_FROM_HMODULE;
    }
    char* message = nullptr;
    if (number.source == MessageSource::System || wininet != nullptr) {
        FormatMessageA(flags, wininet, number.code, 0, reinterpret_cast<LPSTR>(&message), 1,
                       nullptr);
    }
    if (message == nullptr) {
        Fail(window, "Could not find info for this error number", false);
    } else {
        SetDlgItemTextA(window, IDC_DESCRIPTION, message);
        uint32_t hr = HresultFromWin32(number.code);
        char code[16];
        wsprintfA(code, "%ld", static_cast<long>(HresultCode(hr)));
        SetDlgItemTextA(window, IDC_CODE, code);
        SetDlgItemTextA(window, IDC_STATUS, HresultSeverity(hr) != 0 ? "Failure" : "Success");
        const char* facility = FindFacilityName(HresultFacility(hr));
        SetDlgItemTextA(window, IDC_FACILITY, facility != nullptr ? facility : "");
        LocalFree(message);
        char path[MAX_PATH + 32];
        wsprintfA(path, "%s\\%s.qnote", FloorNotesFolder, key);
        bool note = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
        EnableWindow(GetDlgItem(window, IDC_DELETE_NOTE), note);
        EnableWindow(GetDlgItem(window, IDC_SAVE_NOTE), TRUE);
        if (!note) {
            SetDlgItemTextA(window, IDC_NOTE_EDITOR, "");
        }
        SendDlgItemMessageA(window, IDC_ERROR_FIELD, EM_SETSEL, 0, -1);
    }
    if (wininet != nullptr) {
        FreeLibrary(wininet);
    }
}

INT_PTR CALLBACK FloorMainProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_LOOKUP && HIWORD(wParam) == 0) {
            FloorLookup(window);
            SetFocus(GetDlgItem(window, IDC_ERROR_FIELD));
        }
        return TRUE;
    case WM_CLOSE:
        EndDialog(window, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

static void FillFloorList(HWND list) {
    char pattern[MAX_PATH + 16];
    wsprintfA(pattern, "%s\\*.qnote", FloorNotesFolder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        char* dot = strrchr(found.cFileName, '.');
        if (dot != nullptr) {
            *dot = '\0';
        }
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.pszText = found.cFileName;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

INT_PTR CALLBACK FloorBrowserProc(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        HWND list = GetDlgItem(window, IDC_BROWSER_LIST);
        SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                     LVS_EX_FULLROWSELECT);
        SendMessageA(list, LVM_SETITEMCOUNT, 500, LVSICF_NOINVALIDATEALL);
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH | LVCF_SUBITEM;
        SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        FillFloorList(list);
        SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
        return TRUE;
    }
    if (message == WM_CLOSE) {
        EndDialog(window, 0);
        return TRUE;
    }
    return FALSE;
}

bool FloorSave(HWND editor, const char* path) {
    GETTEXTLENGTHEX how = {GTL_NUMBYTES | GTL_PRECISE | GTL_USECRLF, CP_ACP};
    LRESULT length = SendMessageA(editor, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0);
    if (length < 0) {
        return false;
    }
    DWORD size = static_cast<DWORD>(length) + 1;
    HANDLE heap = GetProcessHeap();
    auto* text = static_cast<char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, size));
    if (text == nullptr) {
        return false;
    }
    DWORD count = static_cast<DWORD>(
                      SendMessageA(editor, WM_GETTEXT, size, reinterpret_cast<LPARAM>(text))) +
                  1;
    char temporary[MAX_PATH + 16];
    wsprintfA(temporary, "%s.tmp", path);
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE &&
              WriteFile(file, text, count, &written, nullptr) != FALSE && written == count;
    if (file != INVALID_HANDLE_VALUE) {
        ok = FlushFileBuffers(file) != FALSE && ok;
        ok = CloseHandle(file) != FALSE && ok;
    }
    HeapFree(heap, 0, text);
    return ok && MoveFileExA(temporary, path,
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}
