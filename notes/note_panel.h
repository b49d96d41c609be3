// The main window's note panel: the note editor, Save Note and Delete
// Note, always belonging to the MainKey captured by the last lookup.
#pragma once

#include <windows.h>

void ShowMainNote(const char* key);
void SaveMainNote(HWND mainWindow);
void DeleteMainNote(HWND mainWindow);

// Saves the editor's text as the note of key (SaveNote) unless saveButton is
// disabled; a save that failed is told to the person in a "Save Note" box
// over owner. True when saved.
bool SaveAndReportNote(HWND owner, const char* key, HWND editor, HWND saveButton,
                       HWND deleteButton);

// Asks "Are you sure you want to delete the note for error: <key>" and, on
// Yes, deletes the note file. True only when the file is really gone; a
// failed delete has been reported to the person by then.
bool ConfirmAndDeleteNote(HWND owner, const char* key);
