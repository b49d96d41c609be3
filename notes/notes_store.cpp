#include "notes/notes_store.h"

#include <cstring>

wchar_t NotesFolder[kNotesFolderSize];

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

// The length of the NotesFolder's first level, "...\Quorrin Notes".
static size_t NotesFolderFirstLevel;

static bool IsFolder(const wchar_t* path) {
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// ERROR_SUCCESS when the folder was made or is there already.
static DWORD MakeFolder(const wchar_t* path) {
    if (CreateDirectoryW(path, nullptr)) {
        return ERROR_SUCCESS;
    }
    DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS ? ERROR_SUCCESS : error;
}

// Makes both levels of the NotesFolder; ERROR_SUCCESS, or why the first
// level that could not be made could not.
static DWORD MakeNotesFolder() {
    wchar_t separator = NotesFolder[NotesFolderFirstLevel];
    NotesFolder[NotesFolderFirstLevel] = L'\0';
    DWORD error = MakeFolder(NotesFolder);
    NotesFolder[NotesFolderFirstLevel] = separator;
    return error != ERROR_SUCCESS ? error : MakeFolder(NotesFolder);
}

void PrepareNotesFolderFrom(const wchar_t* exePath, DWORD exePathLength, DWORD exeBufferSize,
                            const wchar_t* userName, const wchar_t* ansiUserName) {
    if (!ComposeNotesFolder(exePath, exePathLength, exeBufferSize, userName, NotesFolder,
                            &NotesFolderFirstLevel)) {
        NotesFolder[0] = L'\0';
        NotesFolderFirstLevel = 0;
        return;
    }
    // Earlier versions named the user's folder as GetUserNameA spells the
    // name, with look-alike letters where the code page has none. Where only
    // that folder exists the notes stay in it, unmoved, so that an earlier
    // copy on the same stick still finds them.
    if (IsEarlierUserFolderName(userName, ansiUserName) && !IsFolder(NotesFolder)) {
        wchar_t earlier[kNotesFolderSize];
        size_t firstLevel = 0;
        if (ComposeNotesFolder(exePath, exePathLength, exeBufferSize, ansiUserName, earlier,
                               &firstLevel) &&
            IsFolder(earlier)) {
            memcpy(NotesFolder, earlier, sizeof NotesFolder);
            NotesFolderFirstLevel = firstLevel;
            return;
        }
    }
    // Any failure shows up at the first save, which tries again.
    MakeNotesFolder();
}

void PrepareNotesFolder() {
    wchar_t exePath[kExePathSize] = {};
    DWORD length = GetModuleFileNameW(nullptr, exePath, kExePathSize);
    wchar_t userName[kUserNameSize] = {};
    DWORD userSize = kUserNameSize;
    bool haveUser = GetUserNameW(userName, &userSize) != FALSE;
    userName[kUserNameSize - 1] = L'\0';
    // The ANSI spelling, in the buffer earlier versions gave it, as the
    // file system names a folder made with it.
    char ansiName[kUserNameSize] = {};
    DWORD ansiSize = kUserNameSize;
    wchar_t ansiUserName[kUserNameSize] = {};
    bool haveAnsi = GetUserNameA(ansiName, &ansiSize) != FALSE &&
                    MultiByteToWideChar(CP_ACP, 0, ansiName, -1, ansiUserName,
                                        static_cast<int>(kUserNameSize)) > 0;
    PrepareNotesFolderFrom(exePath, length, kExePathSize, haveUser ? userName : nullptr,
                           haveAnsi ? ansiUserName : nullptr);
}

bool NotePath(const char* key, wchar_t* path) {
    path[0] = L'\0';
    return NotesFolder[0] != L'\0' && ComposeNotePath(NotesFolder, key, path, kNotePathSize);
}

bool NoteFileExists(const wchar_t* path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool ReadWholeFile(const wchar_t* path, HGLOBAL* block, DWORD* count) {
    *block = nullptr;
    *count = 0;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
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

// Ends a failing step: the reason stays in GetLastError for the report
// (ERROR_SUCCESS when no system call failed).
static bool Fail(DWORD error) {
    SetLastError(error);
    return false;
}

// Keeps the error of the first step that failed: that is the one to tell.
static bool Checked(BOOL result, bool ok, DWORD* error) {
    if (!result && ok) {
        *error = GetLastError();
    }
    return ok && result != FALSE;
}

// How many temporary names a save tries before it gives up.
static const int kTemporaryNameTries = 16;

// Creates a temporary file in the NotesFolder that did not exist before:
// CREATE_NEW never opens a file, hard link or symbolic link that someone
// put at that name, nor the temporary file of another running copy. The
// first name comes from this process's id (qn~XXXX.tmp from its low 16
// bits); a name that is taken is passed over for another. The name is
// formed here rather than by GetTempFileName, which takes no folder longer
// than MAX_PATH.
static HANDLE CreateTemporaryFile(wchar_t* temporary) {
    UINT unique = GetCurrentProcessId() & 0xFFFFu;
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        if (!ComposeTemporaryPath(NotesFolder, unique, temporary, kNotePathSize)) {
            Fail(ERROR_SUCCESS);
            break;
        }
        HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
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
    temporary[0] = L'\0';
    return INVALID_HANDLE_VALUE;
}

// Writes all count bytes. Wine's WriteFile on a full disk may write part
// and report success; the write of the rest then fails with the reason.
static BOOL WriteAll(HANDLE file, const char* bytes, DWORD count) {
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(file, bytes, count, &written, nullptr)) {
            return FALSE;
        }
        if (written == 0 || written > count) {
            SetLastError(ERROR_SUCCESS);
            return FALSE;
        }
        bytes += written;
        count -= written;
    }
    return TRUE;
}

// Virus scanners, search indexers and sync tools open a file that was just
// written for a moment. A step that meets such a handle is tried again for
// about a second before it fails with the reason.
static const DWORD kHeldWaitMs = 1000;
static const DWORD kHeldRetryMs = 50;

template <typename Step>
static BOOL RetryWhileHeld(Step step) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (step()) {
            return TRUE;
        }
        DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) ||
            GetTickCount() - start >= kHeldWaitMs) {
            SetLastError(error);
            return FALSE;
        }
        Sleep(kHeldRetryMs);
    }
}

// A folder removed while Quorrin runs (by a clean-up or sync tool) is made
// again; one that cannot be made gives its own reason, not the "path not
// found" of the temporary file.
static bool ReadyNotesFolder() {
    if (IsFolder(NotesFolder)) {
        return true;
    }
    DWORD error = MakeNotesFolder();
    return error == ERROR_SUCCESS || Fail(error);
}

// Writes all of bytes to a new temporary file in the NotesFolder and moves
// it over path. Any failure removes the temporary file this save created,
// and nothing else, and leaves path as it was.
static bool ReplaceFile(const wchar_t* path, const char* bytes, DWORD count) {
    wchar_t temporary[kNotePathSize];
    HANDLE file = CreateTemporaryFile(temporary);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD error = ERROR_SUCCESS;
    bool ok = Checked(WriteAll(file, bytes, count), true, &error);
    ok = Checked(FlushFileBuffers(file), ok, &error);
    ok = Checked(CloseHandle(file), ok, &error);
    if (ok) {
        ok = Checked(RetryWhileHeld([&] {
                         return MoveFileExW(temporary, path,
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
                     }),
                     ok, &error);
    }
    if (!ok) {
        DeleteFileW(temporary);
        return Fail(error);
    }
    return true;
}

bool SaveNote(const char* key, const char* text, DWORD length, HWND deleteButton) {
    wchar_t path[kNotePathSize];
    if (!NotePath(key, path)) {
        return Fail(ERROR_SUCCESS);
    }
    if (length >= 0x7FFFFFF0) {
        return Fail(ERROR_SUCCESS);
    }
    if (!ReadyNotesFolder() || !ReplaceFile(path, text, length + 1)) {
        return false;
    }
    EnableWindow(deleteButton, TRUE);
    return true;
}

bool DeleteNoteFile(const char* key) {
    wchar_t path[kNotePathSize];
    if (!NotePath(key, path)) {
        return Fail(ERROR_SUCCESS);
    }
    if (RetryWhileHeld([&] { return DeleteFileW(path); })) {
        return true;
    }
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || Fail(error);
}

void ListNotes(NoteListCallback callback, void* context) {
    wchar_t pattern[kNotePathSize];
    if (NotesFolder[0] == L'\0' || !ComposeListingPattern(NotesFolder, pattern, kNotePathSize)) {
        return;
    }
    WIN32_FIND_DATAW found;
    static_assert(sizeof found.cFileName == kFoundNameSize * sizeof(wchar_t), "found names");
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        char key[kNoteKeySize];
        found.cFileName[kFoundNameSize - 1] = L'\0';
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            KeyFromNoteFileName(found.cFileName, key)) {
            callback(key, context);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}
