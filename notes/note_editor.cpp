#include "notes/note_editor.h"

#include <commctrl.h>
#include <richedit.h>

#include "notes/note_names.h"
#include "notes/notes_store.h"

namespace {

struct StreamSource {
    const char* text;
    size_t remaining;
};

// Hands the text over in the chunks the control asks for. The control
// converts each chunk on its own, so a chunk never ends inside a character
// of the ANSI code page, nor between a CR and its LF (Wine stores a pair
// split across two chunks as two line breaks).
DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG* given) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    size_t count = requested > 0
                       ? StreamChunkLength(source->text, source->remaining,
                                           static_cast<size_t>(requested), SystemCodePage())
                       : 0;
    memcpy(buffer, source->text, count);
    source->text += count;
    source->remaining -= count;
    *given = static_cast<LONG>(count);
    return 0;
}

}  // namespace

// The control would post WM_CLOSE to its dialog on Esc; it never sees it.
static LRESULT CALLBACK EscapeFilterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR) {
    if ((message == WM_KEYDOWN || message == WM_CHAR) && wParam == VK_ESCAPE) {
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, EscapeFilterProc, id);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void IgnoreEscape(HWND control) {
    SetWindowSubclass(control, EscapeFilterProc, 0, 0);
}

void PrepareNoteEditor(HWND editor) {
    SendMessageA(editor, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    IgnoreEscape(editor);
}

// True when the control took every byte of the text.
static bool SetEditorText(HWND editor, const char* text, size_t length) {
    StreamSource source = {text, length};
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadChunk;
    SendMessageA(editor, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    return source.remaining == 0 && stream.dwError == 0;
}

void EmptyEditor(HWND editor) {
    SendMessageA(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
}

// True when the system's code page has a character for every byte of text.
static bool IsCodePageText(const char* text, size_t length) {
    return length == 0 || MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text,
                                              static_cast<int>(length), nullptr, 0) != 0;
}

// Reads the note file at path into the editor. True when a save of what the
// editor then holds gives the file back byte for byte. False, with the
// editor emptied, when the file could not be read or the editor did not
// take all of it; false, with the text shown, when a save would change it:
// bytes after the text's zero, bytes that are no character of the code page
// (the editor shows them as another character), or a leading EF BB BF (the
// editor drops it and reads the rest as UTF-8).
static bool LoadNoteIntoEditor(HWND editor, const wchar_t* path) {
    HGLOBAL block = nullptr;
    DWORD count = 0;
    if (!ReadWholeFile(path, &block, &count)) {
        EmptyEditor(editor);
        return false;
    }
    const auto* bytes = static_cast<const unsigned char*>(block);
    const auto* text = static_cast<const char*>(block);
    size_t length = NoteTextLength(bytes, count);
    bool plain = IsPlainNoteFile(bytes, count, length) && IsCodePageText(text, length);
    bool whole = SetEditorText(editor, text, length);
    GlobalFree(block);
    // A control that stopped taking the stream holds only part of the note;
    // shown with Save enabled, a save would cut the note to that part.
    if (!whole) {
        EmptyEditor(editor);
    }
    return whole && plain;
}

void ShowNoteFor(const char* key, HWND editor, HWND saveButton, HWND deleteButton) {
    wchar_t path[kNotePathSize];
    if (!NotePath(key, path)) {
        EmptyEditor(editor);
        EnableWindow(saveButton, FALSE);
        EnableWindow(deleteButton, FALSE);
        return;
    }
    if (!NoteFileExists(path)) {
        EnableWindow(deleteButton, FALSE);
        EnableWindow(saveButton, TRUE);
        EmptyEditor(editor);
        return;
    }
    bool saveable = LoadNoteIntoEditor(editor, path);
    EnableWindow(deleteButton, TRUE);
    EnableWindow(saveButton, saveable ? TRUE : FALSE);
}
