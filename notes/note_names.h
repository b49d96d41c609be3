// Names and texts of the notes store that need no file system: which keys may
// name a note, where the NotesFolder is, how a note's path and the listing
// pattern are formed, which found file names are notes, how much of a note
// file's bytes is its text, and how a note is cut into rich-edit stream chunks.
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

constexpr size_t kPathSize = 261;          // MAX_PATH + 1
// Leaves room for "\" + a 15-character key + ".qnote" within 259 characters.
constexpr size_t kMaxNotesFolderLength = 237;
constexpr char kNoteExtension[] = ".qnote";

// True when key is 1 to 15 characters, each one of 0-9, A-F, a-f, x, X or -.
// Only such keys are turned into file names: anything else could leave the
// NotesFolder or name something that is not a plain note file.
bool IsStorableKey(const char* key);

// Forms the NotesFolder: the executable's directory (up to and including the
// last backslash of exePath) + "Quorrin Notes" + "\" + userName. Both texts
// are read character by character in codePage, so the second byte of a
// double-byte character is never taken for a backslash; a character cut
// short at the end of the user name is left out.
// exePath/exePathLength: what GetModuleFileNameA gave into a buffer of
// exeBufferSize bytes. userName: nullptr when GetUserNameA failed.
// On success writes the folder (zero-terminated) into folder[kPathSize] and
// the length of its first level ("...\Quorrin Notes") into *firstLevelLength,
// and returns true. On failure writes an empty text and 0 and returns false.
bool ComposeNotesFolder(const char* exePath, uint32_t exePathLength, uint32_t exeBufferSize,
                        const char* userName, const AnsiCodePage& codePage, char* folder,
                        size_t* firstLevelLength);

// path = folder + "\" + key + ".qnote". False, with an empty path, when the
// key is not storable, the folder is empty, or the result does not fit.
bool ComposeNotePath(const char* folder, const char* key, char* path, size_t pathSize);

// pattern = folder + "\*.qnote". False, with an empty pattern, when the folder
// is empty or the result does not fit.
bool ComposeListingPattern(const char* folder, char* pattern, size_t patternSize);

// Takes the key out of a file name found by the listing: the name without its
// final ".qnote" (any letter case). True and the key in key[kNoteKeySize] only
// when that key is storable; otherwise false and an empty key.
bool KeyFromNoteFileName(const char* fileName, char* key);

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
