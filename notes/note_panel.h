// The main window's note panel: the note editor, Save Note and Delete
// Note, always belonging to the MainKey captured by the last lookup.
#pragma once

#include <windows.h>

void ShowMainNote(const char* key);
void SaveMainNote(HWND mainWindow);
void DeleteMainNote(HWND mainWindow);

// Saves the editor's text as the note of key (SaveNote) unless saveButton is
// disabled. Text that the system's code page cannot store is saved only
// when the person says so, and then shown again as the file holds it. A
// save that failed is told to the person in a "Save Note" box over owner.
// True when saved.
bool SaveAndReportNote(HWND owner, const char* key, HWND editor, HWND saveButton,
                       HWND deleteButton);

// What became of an editor's unsaved changes before an action that would
// empty, replace or close it.
enum class UnsavedChanges { kNone, kSaved, kDropped, kKept };

// Asks over owner whether to save the unsaved changes of the note of key,
// with Yes, No and Cancel. Yes saves as Save Note does; No leaves the file
// alone and the editor unchanged in its eyes. kKept (Cancel, or a save that
// failed or was declined): the action must not happen, and the editor has
// the focus again.
UnsavedChanges SaveOrDropChanges(HWND owner, const char* key, HWND editor, HWND saveButton,
                                 HWND deleteButton);

// Asks "Are you sure you want to delete the note for error: <key>" and, on
// Yes, deletes the note file. True only when the file is really gone; a
// failed delete has been reported to the person by then.
bool ConfirmAndDeleteNote(HWND owner, const char* key);
