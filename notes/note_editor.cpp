#include "notes/note_editor.h"

#include <richedit.h>

#include <cstdint>
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
// Everything else goes to the control's own procedure, its class's: the
// controls given this one have no other.
static LRESULT CALLBACK IgnoreEscapeProc(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
    if ((message == WM_KEYDOWN || message == WM_CHAR) && wParam == VK_ESCAPE) {
        return 0;
    }
    auto own = reinterpret_cast<WNDPROC>(GetClassLongA(window, GCL_WNDPROC));
    return CallWindowProcA(own, window, message, wParam, lParam);
}

void IgnoreEscape(HWND control) {
    SetWindowLongA(control, GWL_WNDPROC, reinterpret_cast<LONG>(IgnoreEscapeProc));
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

// The most bytes one UTF-16 unit takes in the system's code page: UTF-8
// takes three (a surrogate pair, two units, takes four), a double-byte code
// page two.
static size_t MostBytesPerUnit() {
    const AnsiCodePage& codePage = SystemCodePage();
    if (codePage.utf8) {
        return 3;
    }
    for (bool lead : codePage.leadByte) {
        if (lead) {
            return 2;
        }
    }
    return 1;
}

// True when every unit is ASCII, which every ANSI code page stores as
// itself. Read four units at a time: this runs over every note saved.
static bool IsAscii(const wchar_t* text, size_t length) {
    uint64_t any = 0;
    size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        uint64_t four;
        memcpy(&four, text + i, sizeof four);
        any |= four;
    }
    for (; i < length; ++i) {
        any |= static_cast<uint16_t>(text[i]);
    }
    return (any & 0xFF80FF80FF80FF80ull) == 0;
}

// The length of the pieces the text is checked in: small enough for the
// stack, and never between the two halves of a surrogate pair.
static const size_t kPieceUnits = 512;

bool CodePageStoresText(UINT codePage, const wchar_t* text, size_t length) {
    // Each character converts on its own, so the text is checked piece by
    // piece: converted as the control converts it, best fit included, and
    // back. Look-alikes, "?" and UTF-8's U+FFFD for a lone surrogate do
    // not come back as they went.
    char bytes[kPieceUnits * 4];
    wchar_t back[kPieceUnits];
    size_t done = 0;
    while (done < length) {
        size_t units = length - done < kPieceUnits ? length - done : kPieceUnits;
        if (units == kPieceUnits && text[done + units - 1] >= 0xD800 &&
            text[done + units - 1] <= 0xDBFF) {
            --units;
        }
        const wchar_t* piece = text + done;
        if (!IsAscii(piece, units)) {
            int size = WideCharToMultiByte(codePage, 0, piece, static_cast<int>(units), bytes,
                                           sizeof bytes, nullptr, nullptr);
            if (size <= 0 || MultiByteToWideChar(codePage, 0, bytes, size, back, kPieceUnits) !=
                                 static_cast<int>(units) ||
                memcmp(back, piece, units * sizeof(wchar_t)) != 0) {
                return false;
            }
        }
        done += units;
    }
    return true;
}

// The code page's bytes of length units of text, as the control's own
// WM_GETTEXT gives them, and the zero after them.
static bool ToNoteBytes(const wchar_t* text, size_t length, NoteBytes* note) {
    const size_t room = length * MostBytesPerUnit();
    if (room >= 0x7FFFFFF0) {
        SetLastError(ERROR_SUCCESS);
        return false;
    }
    note->bytes = static_cast<char*>(HeapAlloc(ProcessHeap, 0, room + 1));
    if (note->bytes == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    int size = length == 0 ? 0
                           : WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length),
                                                 note->bytes, static_cast<int>(room), nullptr,
                                                 nullptr);
    if (length > 0 && size <= 0) {
        FreeNoteBytes(note);
        SetLastError(ERROR_SUCCESS);
        return false;
    }
    note->bytes[size] = '\0';
    note->length = static_cast<DWORD>(size);
    note->exact = CodePageStoresText(CP_ACP, text, length);
    return true;
}

bool ReadEditorText(HWND editor, NoteBytes* text) {
    *text = {nullptr, 0, true};
    GETTEXTLENGTHEX how = {GTL_NUMCHARS | GTL_PRECISE | GTL_USECRLF, 1200};
    LRESULT counted = SendMessageA(editor, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0);
    if (counted < 0 || counted >= 0x3FFFFFF0) {
        SetLastError(ERROR_SUCCESS);
        return false;
    }
    // Room for one character more than counted: a control that gives more
    // has not been fetched whole, and a part is never written over a note.
    const size_t room = static_cast<size_t>(counted) + 2;
    auto* wide = static_cast<wchar_t*>(HeapAlloc(ProcessHeap, 0, room * sizeof(wchar_t)));
    if (wide == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    GETTEXTEX fetch = {};
    fetch.cb = static_cast<DWORD>(room * sizeof(wchar_t));
    fetch.flags = GT_USECRLF;
    fetch.codepage = 1200;
    LRESULT copied = SendMessageA(editor, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&fetch),
                                  reinterpret_cast<LPARAM>(wide));
    SetLastError(ERROR_SUCCESS);
    bool whole = copied >= 0 && copied <= counted &&
                 ToNoteBytes(wide, static_cast<size_t>(copied), text);
    DWORD error = GetLastError();
    HeapFree(ProcessHeap, 0, wide);
    SetLastError(error);
    return whole;
}

void FreeNoteBytes(NoteBytes* text) {
    if (text->bytes != nullptr) {
        HeapFree(ProcessHeap, 0, text->bytes);
    }
    text->bytes = nullptr;
    text->length = 0;
}
