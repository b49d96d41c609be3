// The main window's note panel: the note editor, Save Note and Delete
// Note, always belonging to the MainKey captured by the last lookup.
#pragma once

#include <windows.h>

void ShowMainNote(const char* key);
void SaveMainNote(HWND mainWindow);
void DeleteMainNote(HWND mainWindow);

// "Are you sure you want to delete the note for error: " + key, into a
// buffer of size bytes.
void ComposeDeleteQuestion(const char* key, char* question, size_t size);
