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

void ComposeDeleteQuestion(const char* key, char* question, size_t size) {
    static const char kQuestion[] = "Are you sure you want to delete the note for error: ";
    lstrcpynA(question, kQuestion, static_cast<int>(size));
    size_t used = strlen(question);
    lstrcpynA(question + used, key, static_cast<int>(size - used));
}

void DeleteMainNote(HWND mainWindow) {
    char question[88] = {};
    ComposeDeleteQuestion(MainKey, question, sizeof question);
    if (MessageBoxA(mainWindow, question, "Confirm Delete", MB_YESNO | MB_ICONWARNING) != IDYES) {
        return;
    }
    // The editor and buttons change only once the file is really gone.
    if (!DeleteNoteFile(MainKey)) {
        ReportNoteFailure(mainWindow, "Delete Note", "Could not delete the note for error: ",
                          MainKey);
        return;
    }
    EmptyEditor(FieldTable[kNoteEditorField]);
    EnableWindow(DeleteNoteButton, FALSE);
}
