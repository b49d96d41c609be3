// Putting a note's text into a rich edit note editor, and what the editor
// holds that is not saved yet. Text goes in through EM_STREAMIN as plain
// text, never WM_SETTEXT, which would parse a note that begins with
// "{\rtf" as rich text.
#pragma once

#include <windows.h>

#include <cstddef>

// Lifts the editor's text limit, so that no note is cut; has it report
// every change (EN_CHANGE); and keeps Esc from closing its window.
void PrepareNoteEditor(HWND editor);
void EmptyEditor(HWND editor);

// A multi-line edit or rich edit in a dialog closes the dialog when Esc is
// pressed in it. This keeps that key from the control, so that Esc does
// nothing there, as everywhere else in Quorrin's windows.
void IgnoreEscape(HWND control);

// Unsaved changes: the text was changed by the person (typed, pasted, cut,
// deleted) since Quorrin last put a note into the editor, saved it or
// emptied it. Kept in the control's own modify flag, which the window
// sets on every EN_CHANGE: Wine's rich edit leaves it unset after a cut.
// Quorrin's own fills clear it again once they are done.
void NoteTextChanged(HWND editor);
void MarkNoteUnchanged(HWND editor);
// Only a note that Save Note can store has changes to lose.
bool HasUnsavedChanges(HWND editor, HWND saveButton);

// The rule both note panels follow when a key is selected: the note's text
// with Save and Delete enabled; a note the editor cannot give back byte for
// byte shown with Save disabled, and an unreadable one not shown with Save
// disabled, so that no save can overwrite either; no note, Save alone; a
// key that cannot be stored, neither.
void ShowNoteFor(const char* key, HWND editor, HWND saveButton, HWND deleteButton);

// True when codePage (CP_ACP: the system's) stores the UTF-16 text exactly:
// converted as the control converts it and back, it comes back the same,
// with no look-alike, "?" or lost surrogate on the way.
bool CodePageStoresText(UINT codePage, const wchar_t* text, size_t length);

// The editor's text as a note file holds it: in the system's code page,
// line breaks as CR LF, then one zero byte, in a block from the process
// heap. exact is false when the code page lacks some of its characters;
// bytes are then the code page's spelling of them, as the control's own
// WM_GETTEXT gives it.
struct NoteBytes {
    char* bytes;
    DWORD length;  // without the zero
    bool exact;
};
// The text is fetched once, as Unicode. False, with the reason in
// GetLastError (0 when none is known), when it could not be fetched whole.
bool ReadEditorText(HWND editor, NoteBytes* text);
void FreeNoteBytes(NoteBytes* text);
