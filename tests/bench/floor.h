// The floor: the same visible work as Quorrin, done the way a plain program
// would do it, over Quorrin's own dialog templates. Each benchmark figure is
// Quorrin's time divided by the floor's, measured in the same run, so a
// ratio near 1 means Quorrin is as quick as its work allows.
//
// floor.exe runs FloorMainProc with the same start-up steps as Quorrin.exe
// (COM, the common controls, RichEd32 from the system folder) and nothing
// else; quorrin_bench runs
// the same procedures in process, beside the real dialogs.
#pragma once

#include <windows.h>

// LoadLibraryExA of the library name by its full path in the system folder,
// as Quorrin loads RichEd32 and Wininet.dll.
HMODULE FloorSystemLibrary(const char* name, DWORD flags);

// Dialog 1000: WM_INITDIALOG does nothing, Enter runs FloorLookup, close
// ends it.
INT_PTR CALLBACK FloorMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Reads the field, calls FormatMessageA (from Wininet.dll for 12000-12174),
// sets the same texts, buttons and selection Quorrin sets, and looks for the
// note file in FloorNotesFolder.
void FloorLookup(HWND window);

// Dialog 3000: the list set up with the same styles, then filled with the
// keys of FloorNotesFolder, one plain insert per key as the folder gives
// them.
INT_PTR CALLBACK FloorBrowserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A durable save: the editor's text read out the same way Quorrin reads it,
// written to a temporary file, flushed, and moved over path.
bool FloorSave(HWND editor, const char* path);

// The notes folder the floor looks in; the bench points it where Quorrin's
// store points.
extern char FloorNotesFolder[MAX_PATH + 1];
