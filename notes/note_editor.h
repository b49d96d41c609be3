// Putting a note's text into a rich edit note editor. Text goes in through
// EM_STREAMIN as plain text, never WM_SETTEXT, which would parse a note
// that begins with "{\rtf" as rich text.
#pragma once

#include <windows.h>

// Lifts the editor's text limit, so that no note is cut, and keeps Esc from
// closing its window.
void PrepareNoteEditor(HWND editor);
void EmptyEditor(HWND editor);

// A multi-line edit or rich edit in a dialog closes the dialog when Esc is
// pressed in it. This keeps that key from the control, so that Esc does
// nothing there, as everywhere else in Quorrin's windows.
void IgnoreEscape(HWND control);

// The rule both note panels follow when a key is selected: the note's text
// with Save and Delete enabled; a note the editor cannot give back byte for
// byte shown with Save disabled, and an unreadable one not shown with Save
// disabled, so that no save can overwrite either; no note, Save alone; a
// key that cannot be stored, neither.
void ShowNoteFor(const char* key, HWND editor, HWND saveButton, HWND deleteButton);
