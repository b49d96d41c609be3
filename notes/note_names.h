// Names and texts of the notes store that need no file system: which keys may
// name a note, where the NotesFolder is, how a note's path, the temporary
// file's path and the listing pattern are formed, which found file names are
// notes, how much of a note file's bytes is its text, and how a note is cut
// into rich-edit stream chunks.
//
// Paths are UTF-16 (wchar_t, as the W file functions take them), so a user
// name or folder in any language names the same folder the system shows.
// Note text and keys stay 8-bit: keys are ASCII, and a note's bytes are the
// editor's ANSI text. Nothing here depends on the width of wchar_t: a path is
// only searched for backslashes and copied, and no UTF-16 unit of another
// character equals the backslash, so the native tests run on 32-bit wchar_t.
//
// Kept free of <windows.h> so it builds and is tested on any host; the Win32
// file operations are layered on top of these functions.
//
// Every routine writes only into the buffer it is given and never past the
// size it is told. A routine that fails leaves an empty text behind rather
// than a truncated one, so a half-formed path can never reach the file system.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lookup/input_interpretation.h"
#include "notes/code_page.h"

// The executable's path as GetModuleFileNameW gives it: an exe whose path
// is MAX_PATH characters or more cannot be started without long-path
// support, and for one started all the same notes are off.
constexpr size_t kExePathSize = 261;       // MAX_PATH + 1
constexpr size_t kUserNameSize = 257;      // UNLEN + 1
// The longest NotesFolder whose note paths fit in MAX_PATH as they are:
// "\" + a 15-character key + ".qnote" makes at most 259 characters. A longer
// folder, and every path in it, takes the \\?\ form, which has no such limit.
constexpr size_t kMaxPlainFolderLength = 237;
// Room for the long form's "\\?\UNC\", the exe's directory, "Quorrin Notes",
// "\" and the user name, and its terminating zero.
constexpr size_t kNotesFolderSize = 8 + kExePathSize + 13 + 1 + kUserNameSize;
// Room for any path formed in the NotesFolder: a note, the temporary file or
// the listing pattern.
constexpr size_t kNotePathSize = kNotesFolderSize + 32;
// The room for a file name that a listing reports (MAX_PATH).
constexpr size_t kFoundNameSize = 260;
constexpr char kNoteExtension[] = ".qnote";

// True when key is 1 to 15 characters, each one of 0-9, A-F, a-f, x, X or -.
// Only such keys are turned into file names: anything else could leave the
// NotesFolder or name something that is not a plain note file.
bool IsStorableKey(const char* key);

// Forms the NotesFolder: the executable's directory (up to and including the
// last backslash of exePath) + "Quorrin Notes" + "\" + userName, taken as
// \\?\ (or \\?\UNC\ for a \\server\share path) when it is longer than
// kMaxPlainFolderLength, and exactly as it is otherwise.
// exePath/exePathLength: what GetModuleFileNameW gave into a buffer of
// exeBufferSize characters. userName: nullptr when GetUserNameW failed.
// On success writes the folder (zero-terminated) into folder[kNotesFolderSize]
// and the length of its first level ("...\Quorrin Notes") into
// *firstLevelLength, and returns true. On failure writes an empty text and 0
// and returns false.
bool ComposeNotesFolder(const wchar_t* exePath, uint32_t exePathLength, uint32_t exeBufferSize,
                        const wchar_t* userName, wchar_t* folder, size_t* firstLevelLength);

// True when ansiSpelling, the user name as the ANSI GetUserNameA spelled it
// (with look-alike letters where the code page lacks a character), names
// another folder than userName: a different name, with no "?" in it, where
// earlier versions may have kept the user's notes.
bool IsEarlierUserFolderName(const wchar_t* userName, const wchar_t* ansiSpelling);

// path = folder + "\" + key + ".qnote". False, with an empty path, when the
// key is not storable, the folder is empty, or the result does not fit.
bool ComposeNotePath(const wchar_t* folder, const char* key, wchar_t* path, size_t pathSize);

// path = folder + "\qn~" + four upper-case hex digits of unique + ".tmp",
// named as GetTempFileName names its files; that call takes no folder over
// MAX_PATH.
// False, with an empty path, when the folder is empty or it does not fit.
bool ComposeTemporaryPath(const wchar_t* folder, uint32_t unique, wchar_t* path,
                          size_t pathSize);

// pattern = folder + "\*.qnote". False, with an empty pattern, when the folder
// is empty or the result does not fit.
bool ComposeListingPattern(const wchar_t* folder, wchar_t* pattern, size_t patternSize);

// Takes the key out of a file name found by the listing (in a buffer of
// kFoundNameSize characters): the name without its final ".qnote" (any letter
// case). True and the key in key[kNoteKeySize] only when that key is
// storable; otherwise false and an empty key.
bool KeyFromNoteFileName(const wchar_t* fileName, char* key);

// True when a note file of this many bytes can be read into an editor. The
// size is the whole 64-bit size: a note of 4 GiB + 10 bytes is not 10 bytes.
bool IsHoldableNoteSize(uint64_t size);

// Length of the note text held in count bytes of a note file: up to the first
// zero byte, or all of them when there is none.
size_t NoteTextLength(const unsigned char* bytes, size_t count);

// True when an editor given the text (the first textLength of count bytes,
// as NoteTextLength measured) gives back the file as it is, as far as the
// bytes tell: nothing but zero bytes follows the text, and the text does
// not begin with EF BB BF, which a rich edit takes for UTF-8's byte-order
// mark and drops. Only the bytes after the text are walked. Whether every
// character belongs to the code page is for the system to say.
bool IsPlainNoteFile(const unsigned char* bytes, size_t count, size_t textLength);

// How many of the remaining bytes of text to hand to a rich edit control that
// asked for up to requested bytes (EM_STREAMIN). The control converts each
// chunk on its own, so a chunk ends only between two characters of codePage,
// and never between the CR and LF of a pair. Only a request too small for
// one whole character gets part of it, so that the stream never stalls.
size_t StreamChunkLength(const char* text, size_t remaining, size_t requested,
                         const AnsiCodePage& codePage);
