// The main window's note panel, and the questions and failure reports that
// the Note Browser shares with it. A save or delete that fails at the file
// level is told in a box with the error icon, so that no failure passes for
// success.
#include "notes/note_panel.h"

#include <cstring>

#include "app/app_state.h"
#include "notes/note_editor.h"
#include "notes/notes_store.h"

// A message box with the error icon: prefix followed by the key.
static void ReportNoteFailure(HWND owner, const char* caption, const char* prefix,
                              const char* key) {
    char text[96] = {};
    lstrcpynA(text, prefix, sizeof text);
    size_t used = strlen(text);
    lstrcpynA(text + used, key, static_cast<int>(sizeof text - used));
    MessageBoxA(owner, text, caption, MB_OK | MB_ICONERROR);
}

void ShowMainNote(const char* key) {
    ShowNoteFor(key, FieldTable[kNoteEditorField], SaveNoteButton, DeleteNoteButton);
}

bool SaveAndReportNote(HWND owner, const char* key, HWND editor, HWND saveButton,
                       HWND deleteButton) {
    // A disabled Save Note saves nothing, however its command arrives: it
    // guards a note that a save would change.
    if (!IsWindowEnabled(saveButton)) {
        return false;
    }
    if (SaveNote(key, editor, deleteButton)) {
        return true;
    }
    ReportNoteFailure(owner, "Save Note", "Could not save the note for error: ", key);
    return false;
}

// Saves under the MainKey of the last lookup, whatever the field holds now.
void SaveMainNote(HWND mainWindow) {
    SaveAndReportNote(mainWindow, MainKey, FieldTable[kNoteEditorField], SaveNoteButton,
                      DeleteNoteButton);
}

bool ConfirmAndDeleteNote(HWND owner, const char* key) {
    static const char kQuestion[] = "Are you sure you want to delete the note for error: ";
    char question[88] = {};
    lstrcpynA(question, kQuestion, sizeof question);
    size_t used = strlen(question);
    lstrcpynA(question + used, key, static_cast<int>(sizeof question - used));
    if (MessageBoxA(owner, question, "Confirm Delete", MB_YESNO | MB_ICONWARNING) != IDYES) {
        return false;
    }
    if (!DeleteNoteFile(key)) {
        ReportNoteFailure(owner, "Delete Note", "Could not delete the note for error: ", key);
        return false;
    }
    return true;
}

void DeleteMainNote(HWND mainWindow) {
    // The editor and buttons change only once the file is really gone.
    if (!ConfirmAndDeleteNote(mainWindow, MainKey)) {
        return;
    }
    EmptyEditor(FieldTable[kNoteEditorField]);
    EnableWindow(DeleteNoteButton, FALSE);
}
