// The main window's note panel, and the questions and failure reports that
// the Note Browser shares with it. A save or delete that fails at the file
// level is told in a box with the error icon, so that no failure passes for
// success, and the box says why in the system's own words: a folder the
// user may not write to, a full disk, a note another program holds open.
#include "notes/note_panel.h"

#include <cstring>

#include "app/app_state.h"
#include "notes/note_editor.h"
#include "notes/notes_store.h"

// Room for the first line, a blank line and the system's text of an error.
static const size_t kReportSize = 1024;

// Appends a blank line and the system's own words for error to the text of
// used bytes in text[kReportSize]. Nothing is appended when no error is
// known, or the system has no words for it (or none that fit).
static void AppendSystemText(char* text, size_t used, DWORD error) {
    static const char kBlankLine[] = "\r\n\r\n";
    const size_t start = used + sizeof kBlankLine - 1;
    if (error == ERROR_SUCCESS || start + 1 >= kReportSize) {
        return;
    }
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text + start,
                                  static_cast<DWORD>(kReportSize - start), nullptr);
    // The system's texts end in a line break, which would leave an empty
    // line at the foot of the box. No trail byte of a double-byte character
    // is a space, CR or LF, so trimming bytes cuts no character.
    while (length > 0 && (text[start + length - 1] == '\r' || text[start + length - 1] == '\n' ||
                          text[start + length - 1] == ' ')) {
        --length;
    }
    if (length == 0) {
        text[used] = '\0';
        return;
    }
    memcpy(text + used, kBlankLine, sizeof kBlankLine - 1);
    text[start + length] = '\0';
}

// A message box with the error icon: prefix followed by the key, and then
// why, as GetLastError told it when the save or delete failed.
static void ReportNoteFailure(HWND owner, const char* caption, const char* prefix,
                              const char* key, DWORD error) {
    char text[kReportSize] = {};
    lstrcpynA(text, prefix, kReportSize);
    size_t used = strlen(text);
    lstrcpynA(text + used, key, static_cast<int>(kReportSize - used));
    AppendSystemText(text, strlen(text), error);
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
    ReportNoteFailure(owner, "Save Note", "Could not save the note for error: ", key,
                      GetLastError());
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
        ReportNoteFailure(owner, "Delete Note", "Could not delete the note for error: ", key,
                          GetLastError());
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
