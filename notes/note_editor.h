// Putting a note's text into a rich edit note editor. Text goes in through
// EM_STREAMIN as plain text, never WM_SETTEXT, which would parse a note
// that begins with "{\rtf" as rich text.
#pragma once

#include <windows.h>

// Lifts the editor's text limit, so that no note is cut.
void PrepareNoteEditor(HWND editor);
// True when the control took every byte of the text.
bool SetEditorText(HWND editor, const char* text, size_t length);
void EmptyEditor(HWND editor);

// Reads the note file at path into the editor. False, with the editor
// emptied, when the file could not be read or the editor did not take all
// of it.
bool LoadNoteIntoEditor(HWND editor, const char* path);

// The rule both note panels follow when a key is selected: the note's text
// with Save and Delete enabled; an unreadable note with Save disabled, so
// that an empty save cannot overwrite it; no note, Save alone; a key that
// cannot be stored, neither.
void ShowNoteFor(const char* key, HWND editor, HWND saveButton, HWND deleteButton);
