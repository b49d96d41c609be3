#include "notes/note_panel.h"

#include <cstring>

#include "app/main_window.h"
#include "notes/note_editor.h"
#include "notes/notes_store.h"

void ShowMainNote(const char* key) {
    ShowNoteFor(key, FieldTable[kNoteEditorField], SaveNoteButton, DeleteNoteButton);
}

// Saves under the MainKey of the last lookup, whatever the field holds now.
void SaveMainNote(HWND mainWindow) {
    if (!SaveNote(MainKey, FieldTable[kNoteEditorField], DeleteNoteButton)) {
        ReportNoteFailure(mainWindow, "Save Note", "Could not save the note for error: ", MainKey);
    }
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
