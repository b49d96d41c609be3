#include "app/app_state.h"

HINSTANCE Instance;
HANDLE ProcessHeap;
HWND FieldTable[kFieldCount];
HWND SaveNoteButton;
HWND DeleteNoteButton;
char MainKey[kNoteKeySize];
