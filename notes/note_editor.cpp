#include "notes/note_editor.h"

#include <commctrl.h>
#include <richedit.h>

#include <cstring>

#include "app/app_state.h"
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
    SendMessageA(editor, EM_SETEVENTMASK, 0, ENM_CHANGE);
    IgnoreEscape(editor);
}

void NoteTextChanged(HWND editor) {
    SendMessageA(editor, EM_SETMODIFY, TRUE, 0);
}

void MarkNoteUnchanged(HWND editor) {
    SendMessageA(editor, EM_SETMODIFY, FALSE, 0);
}

bool HasUnsavedChanges(HWND editor, HWND saveButton) {
    return IsWindowEnabled(saveButton) && SendMessageA(editor, EM_GETMODIFY, 0, 0) != 0;
}

// True when the control took every byte of the text.
static bool SetEditorText(HWND editor, const char* text, size_t length) {
    StreamSource source = {text, length};
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadChunk;
    SendMessageA(editor, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    MarkNoteUnchanged(editor);
    return source.remaining == 0 && stream.dwError == 0;
}

void EmptyEditor(HWND editor) {
    SendMessageA(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    MarkNoteUnchanged(editor);
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

// The text through codePage and back, compared with itself. UTF-8 takes no
// flags: it has no look-alikes, and refuses to report a default character.
static bool RoundTripsThrough(UINT codePage, const wchar_t* text, int length) {
    const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8);
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL defaulted = FALSE;
    BOOL* reportDefault = utf8 ? nullptr : &defaulted;
    int size = WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, nullptr,
                                   reportDefault);
    if (size <= 0 || defaulted) {
        return false;
    }
    // One block: the bytes, then the text converted back.
    const size_t byteRoom = (static_cast<size_t>(size) + 1) & ~static_cast<size_t>(1);
    auto* bytes = static_cast<char*>(
        HeapAlloc(ProcessHeap, 0, byteRoom + static_cast<size_t>(length) * sizeof(wchar_t)));
    if (bytes == nullptr) {
        return false;
    }
    auto* back = reinterpret_cast<wchar_t*>(bytes + byteRoom);
    bool same = WideCharToMultiByte(codePage, flags, text, length, bytes, size, nullptr,
                                    reportDefault) == size &&
                !defaulted &&
                MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, size, back, length) ==
                    length &&
                memcmp(back, text, static_cast<size_t>(length) * sizeof(wchar_t)) == 0;
    HeapFree(ProcessHeap, 0, bytes);
    return same;
}

bool CodePageStoresText(UINT codePage, const wchar_t* text, size_t length) {
    size_t ascii = 0;
    while (ascii < length && text[ascii] < 0x80) {
        ++ascii;
    }
    if (ascii == length) {
        return true;
    }
    return length < 0x3FFFFFF0 && RoundTripsThrough(codePage, text, static_cast<int>(length));
}

EditorText CheckEditorText(HWND editor) {
    GETTEXTLENGTHEX how = {GTL_NUMCHARS | GTL_PRECISE | GTL_USECRLF, 1200};
    LRESULT counted = SendMessageA(editor, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0);
    if (counted < 0 || counted >= 0x3FFFFFF0) {
        SetLastError(ERROR_SUCCESS);
        return EditorText::kUnknown;
    }
    // Room for one character more than counted: a control that gives more
    // has not been fetched whole, and the rest would go unchecked.
    const size_t room = static_cast<size_t>(counted) + 2;
    auto* text = static_cast<wchar_t*>(HeapAlloc(ProcessHeap, 0, room * sizeof(wchar_t)));
    if (text == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return EditorText::kUnknown;
    }
    GETTEXTEX fetch = {};
    fetch.cb = static_cast<DWORD>(room * sizeof(wchar_t));
    fetch.flags = GT_USECRLF;
    fetch.codepage = 1200;
    LRESULT copied = SendMessageA(editor, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&fetch),
                                  reinterpret_cast<LPARAM>(text));
    EditorText result = EditorText::kUnknown;
    if (copied >= 0 && copied <= counted) {
        result = CodePageStoresText(CP_ACP, text, static_cast<size_t>(copied))
                     ? EditorText::kStored
                     : EditorText::kChanged;
    }
    HeapFree(ProcessHeap, 0, text);
    SetLastError(ERROR_SUCCESS);
    return result;
}
