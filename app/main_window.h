// The main window (dialog 1000): its procedure and the state it owns for
// the whole run. The lookup and notes code read and write this state
// directly; there is one window and one thread.
#pragma once

#include <windows.h>

#include "lookup/input_interpretation.h"

enum FieldIndex {
    kErrorField,
    kStatusField,
    kCodeField,
    kFacilityField,
    kDescriptionField,
    kNoteEditorField,
    kFieldCount
};

extern HINSTANCE Instance;
extern HANDLE ProcessHeap;
extern HMODULE RichEditLibrary;
extern HWND FieldTable[kFieldCount];  // controls 1001 to 1006, in that order
extern HWND SaveNoteButton;
extern HWND DeleteNoteButton;
extern WNDPROC PreviousErrorFieldProc;
extern bool OnTop;
extern char MainKey[kMainKeySize];

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
