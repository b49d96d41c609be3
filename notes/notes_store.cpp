#include "notes/notes_store.h"

#include <richedit.h>

#include <cstring>

#include "app/app_state.h"

char NotesFolder[kPathSize];

const AnsiCodePage& SystemCodePage() {
    static AnsiCodePage codePage;
    static bool known = false;
    if (!known) {
        codePage = SingleByteCodePage();
        // IsDBCSLeadByte knows no lead bytes in UTF-8, whose characters
        // are up to four bytes long.
        codePage.utf8 = GetACP() == CP_UTF8;
        for (unsigned value = 0; value < 256; ++value) {
            codePage.leadByte[value] = IsDBCSLeadByte(static_cast<BYTE>(value)) != FALSE;
        }
        known = true;
    }
    return codePage;
}

void PrepareNotesFolderFrom(const char* exePath, DWORD exePathLength, DWORD exeBufferSize,
                            const char* userName) {
    size_t firstLevelLength = 0;
    if (!ComposeNotesFolder(exePath, exePathLength, exeBufferSize, userName, SystemCodePage(),
                            NotesFolder, &firstLevelLength)) {
        NotesFolder[0] = '\0';
        return;
    }
    char firstLevel[kPathSize] = {};
    memcpy(firstLevel, NotesFolder, firstLevelLength);
    // Existing folders are fine; any other failure shows up at the first save.
    CreateDirectoryA(firstLevel, nullptr);
    CreateDirectoryA(NotesFolder, nullptr);
}

void PrepareNotesFolder() {
    char exePath[kPathSize] = {};
    DWORD length = GetModuleFileNameA(nullptr, exePath, sizeof exePath);
    char userName[257] = {};
    DWORD userSize = sizeof userName;
    bool haveUser = GetUserNameA(userName, &userSize) != FALSE;
    userName[sizeof userName - 1] = '\0';
    PrepareNotesFolderFrom(exePath, length, sizeof exePath, haveUser ? userName : nullptr);
}

bool NotePath(const char* key, char* path) {
    path[0] = '\0';
    return NotesFolder[0] != '\0' && ComposeNotePath(NotesFolder, key, path, kPathSize);
}

bool NoteFileExists(const char* path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool ReadWholeFile(const char* path, HGLOBAL* block, DWORD* count) {
    *block = nullptr;
    *count = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    // The whole size: a note of 4 GiB + 10 bytes must not pass for 10 bytes,
    // shown with Save enabled, for a save to replace all of it.
    LARGE_INTEGER fileSize = {};
    bool ok = GetFileSizeEx(file, &fileSize) != FALSE && fileSize.QuadPart >= 0 &&
              IsHoldableNoteSize(static_cast<uint64_t>(fileSize.QuadPart));
    DWORD size = ok ? fileSize.LowPart : 0;
    HGLOBAL memory = nullptr;
    DWORD read = 0;
    if (ok) {
        memory = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size + 1);
        ok = memory != nullptr;
    }
    // Never more than the size measured: the zero after it stays, even if
    // another copy of Quorrin makes the file longer meanwhile.
    if (ok && size > 0) {
        ok = ReadFile(file, memory, size, &read, nullptr) != FALSE;
    }
    CloseHandle(file);
    if (!ok) {
        if (memory != nullptr) {
            GlobalFree(memory);
        }
        return false;
    }
    *block = memory;
    *count = read;
    return true;
}

// How many temporary names a save tries before it gives up.
static const int kTemporaryNameTries = 16;

// Creates a temporary file in the NotesFolder that did not exist before:
// CREATE_NEW never opens a file, hard link or symbolic link that someone
// put at that name, nor the temporary file of another running copy. The
// first name comes from this process's id (qn~XXXX.tmp from its low 16
// bits); a name that is taken is passed over for another. Given a number,
// GetTempFileNameA only forms the name; asked to find a free one, it would
// create and close a file for every save.
static HANDLE CreateTemporaryFile(char* temporary) {
    UINT unique = GetCurrentProcessId() & 0xFFFFu;
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        if (unique == 0) {
            unique = 1;  // 0 would make GetTempFileNameA create a file itself
        }
        if (GetTempFileNameA(NotesFolder, "qn~", unique, temporary) == 0) {
            break;
        }
        HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return file;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS &&
            error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) {
            break;
        }
        // Another copy whose id shares those bits walks the same names from
        // the same start; the clock sets the two apart.
        unique = (unique * 69069u + GetTickCount() + 1u) & 0xFFFFu;
    }
    temporary[0] = '\0';
    return INVALID_HANDLE_VALUE;
}

// Writes all of bytes to a new temporary file in the NotesFolder and moves
// it over path. Any failure removes the temporary file this save created,
// and nothing else, and leaves path as it was.
static bool ReplaceFile(const char* path, const char* bytes, DWORD count) {
    char temporary[kPathSize] = {};
    HANDLE file = CreateTemporaryFile(temporary);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, bytes, count, &written, nullptr) != FALSE && written == count;
    ok = FlushFileBuffers(file) != FALSE && ok;
    ok = CloseHandle(file) != FALSE && ok;
    if (ok) {
        ok = MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
             FALSE;
    }
    if (!ok) {
        DeleteFileA(temporary);
    }
    return ok;
}

bool SaveNote(const char* key, HWND editor, HWND deleteButton) {
    char path[kPathSize];
    if (!NotePath(key, path)) {
        return false;
    }
    // The length in bytes of the ANSI code page, line breaks as CR LF, as
    // WM_GETTEXT will give them. WM_GETTEXTLENGTH counts characters, which
    // in a double-byte code page is as little as half the bytes. Where the
    // control cannot count precisely it answers a larger figure.
    GETTEXTLENGTHEX how = {GTL_NUMBYTES | GTL_PRECISE | GTL_USECRLF, CP_ACP};
    LRESULT length = SendMessageA(editor, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0);
    if (length < 0 || length >= 0x7FFFFFF0) {
        return false;
    }
    // The buffer has room for one byte more than the text and its zero: a
    // control that copies more than it counted has cut the text short, and
    // one that ran out of room may answer 0 and leave no zero at all. Either
    // way that is a part of the note, and a part is never written over a
    // note. The zero must stand right after the bytes copied.
    DWORD counted = static_cast<DWORD>(length);
    DWORD size = counted + 2;
    auto* text = static_cast<char*>(HeapAlloc(ProcessHeap, HEAP_ZERO_MEMORY, size));
    if (text == nullptr) {
        return false;
    }
    DWORD copied =
        static_cast<DWORD>(SendMessageA(editor, WM_GETTEXT, size, reinterpret_cast<LPARAM>(text)));
    bool whole = copied <= counted && text[copied] == '\0' && (copied > 0 || text[0] == '\0');
    bool ok = whole && ReplaceFile(path, text, copied + 1);
    HeapFree(ProcessHeap, 0, text);
    if (ok) {
        EnableWindow(deleteButton, TRUE);
    }
    return ok;
}

bool DeleteNoteFile(const char* key) {
    char path[kPathSize];
    if (!NotePath(key, path)) {
        return false;
    }
    if (DeleteFileA(path)) {
        return true;
    }
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void ListNotes(NoteListCallback callback, void* context) {
    char pattern[kPathSize];
    if (NotesFolder[0] == '\0' || !ComposeListingPattern(NotesFolder, pattern, sizeof pattern)) {
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        char key[kNoteKeySize];
        found.cFileName[sizeof found.cFileName - 1] = '\0';
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            KeyFromNoteFileName(found.cFileName, key)) {
            callback(key, context);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}
