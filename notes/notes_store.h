// The notes store: the per-user NotesFolder next to the executable and the
// file operations on notes. Keys and paths are formed by note_names; this
// file adds the Win32 file system.
//
// Paths are Unicode and go to the W file functions, so the NotesFolder is
// the one the system shows whatever language the exe's folder and the user
// name are in; keys and note text stay ANSI.
//
// A save writes a temporary file in the NotesFolder and moves it over the
// note only when every byte is on disk, so a failed save leaves the old
// note exactly as it was. It makes the folder again when it was removed
// while Quorrin runs, and waits a moment for a note that another program
// holds open. Saves and deletes answer whether they worked, and
// a failure leaves its reason in GetLastError (0 when no system call failed);
// the note panels tell the person.
#pragma once

#include <windows.h>

#include "notes/note_names.h"

// Empty when notes are unavailable for this run (a path that does not fit,
// or no user name); then nothing is read, written or listed.
extern wchar_t NotesFolder[kNotesFolderSize];

// How the system's ANSI code page cuts texts into characters, read once.
const AnsiCodePage& SystemCodePage();

void PrepareNotesFolder();
// The same from a given executable path and user name (nullptr: unknown),
// and the user name as GetUserNameA spelled it (nullptr: none), whose
// folder earlier versions made; start-up passes what
// GetModuleFileNameW, GetUserNameW and GetUserNameA gave.
void PrepareNotesFolderFrom(const wchar_t* exePath, DWORD exePathLength, DWORD exeBufferSize,
                            const wchar_t* userName, const wchar_t* ansiUserName);

// path[kNotePathSize]. False when notes are unavailable or the key is not
// storable.
bool NotePath(const char* key, wchar_t* path);
bool NoteFileExists(const wchar_t* path);

// The file's bytes in a zero-filled GlobalAlloc block one byte longer than
// the size measured at opening, so it always ends in a zero. The caller
// releases it with GlobalFree. A file too large to hold in an editor is not
// read at all.
bool ReadWholeFile(const wchar_t* path, HGLOBAL* block, DWORD* count);

// Stores length bytes of text, and a zero byte after them, as the note of
// key; on success enables the given Delete button. On failure nothing
// changes, the old note included.
bool SaveNote(const char* key, const char* text, DWORD length, HWND deleteButton);

// Removes the note's file; a note that was already gone counts as removed.
bool DeleteNoteFile(const char* key);

typedef void (*NoteListCallback)(const char* key, void* context);
void ListNotes(NoteListCallback callback, void* context);
