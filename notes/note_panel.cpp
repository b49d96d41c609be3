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
// Room for a question: its words around a key of at most 15 characters.
static const size_t kQuestionSize = 160;

// text = before + key + after, cut to size bytes.
static void ComposeKeyText(char* text, size_t size, const char* before, const char* key,
                           const char* after) {
    lstrcpynA(text, before, static_cast<int>(size));
    size_t used = strlen(text);
    lstrcpynA(text + used, key, static_cast<int>(size - used));
    used = strlen(text);
    lstrcpynA(text + used, after, static_cast<int>(size - used));
}

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
    ComposeKeyText(text, kReportSize, prefix, key, "");
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
    // The editor holds Unicode, a note the code page's bytes: a character
    // the code page lacks would be written as a look-alike or "?".
    NoteBytes text;
    if (!ReadEditorText(editor, &text)) {
        ReportNoteFailure(owner, "Save Note", "Could not save the note for error: ", key,
                          GetLastError());
        return false;
    }
    if (!text.exact) {
        char question[kQuestionSize] = {};
        ComposeKeyText(question, sizeof question, "Some characters of the note for error: ", key,
                       " cannot be stored in this system's code page and would be changed."
                       "\r\n\r\nSave it anyway?");
        if (MessageBoxA(owner, question, "Save Note",
                        MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
            FreeNoteBytes(&text);
            return false;
        }
    }
    const bool saved = SaveNote(key, text.bytes, text.length, deleteButton);
    const DWORD error = GetLastError();
    FreeNoteBytes(&text);
    if (!saved) {
        ReportNoteFailure(owner, "Save Note", "Could not save the note for error: ", key, error);
        return false;
    }
    MarkNoteUnchanged(editor);
    // What is on screen is then what is on disk.
    if (!text.exact) {
        ShowNoteFor(key, editor, saveButton, deleteButton);
    }
    return true;
}

UnsavedChanges SaveOrDropChanges(HWND owner, const char* key, HWND editor, HWND saveButton,
                                 HWND deleteButton) {
    if (!HasUnsavedChanges(editor, saveButton)) {
        return UnsavedChanges::kNone;
    }
    char question[kQuestionSize] = {};
    ComposeKeyText(question, sizeof question,
                   "Do you want to save the changes to the note for error: ", key, "?");
    switch (MessageBoxA(owner, question, "Save Note", MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        if (SaveAndReportNote(owner, key, editor, saveButton, deleteButton)) {
            return UnsavedChanges::kSaved;
        }
        break;
    case IDNO:
        MarkNoteUnchanged(editor);
        return UnsavedChanges::kDropped;
    default:
        break;
    }
    SetFocus(editor);
    return UnsavedChanges::kKept;
}

// Saves under the MainKey of the last lookup, whatever the field holds now.
void SaveMainNote(HWND mainWindow) {
    SaveAndReportNote(mainWindow, MainKey, FieldTable[kNoteEditorField], SaveNoteButton,
                      DeleteNoteButton);
}

bool ConfirmAndDeleteNote(HWND owner, const char* key) {
    char question[kQuestionSize] = {};
    ComposeKeyText(question, sizeof question, "Are you sure you want to delete the note for error: ",
                   key, "");
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
    // The pressed button is disabled now, and a disabled control cannot
    // keep the keyboard focus.
    SetFocus(FieldTable[kNoteEditorField]);
}
