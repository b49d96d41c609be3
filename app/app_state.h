// What the main window shares with the lookup, the notes and the About box
// for the whole run: the instance, the process heap, the main window's
// result fields and note buttons, and the MainKey. There is one main window
// and one thread, so these are plain globals, set once while the main
// window initialises (the MainKey by every lookup).
#pragma once

#include <windows.h>

#include "lookup/input_interpretation.h"

// The field table: controls 1001 to 1006, in that order.
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
extern HWND FieldTable[kFieldCount];
extern HWND SaveNoteButton;
extern HWND DeleteNoteButton;
// The text captured by the last lookup; the note panel belongs to it.
extern char MainKey[kNoteKeySize];
