// Names and texts of the notes store; see note_names.h.
//
// Inputs come from the platform (module path, user name, found file names) or
// from the note editor, so nothing here assumes a text is terminated within
// the buffer it came in: every scan for the end of a text is bounded by the
// most the caller's buffer can hold or the most the result may use.
#include "note_names.h"

#include <cstring>

namespace {

constexpr char kFolderName[] = "Quorrin Notes";
constexpr size_t kFolderNameLength = sizeof(kFolderName) - 1;
constexpr size_t kExtensionLength = sizeof(kNoteExtension) - 1;
constexpr size_t kMaxKeyLength = kNoteKeySize - 1;
constexpr char kListingTail[] = "\\*.qnote";
constexpr size_t kListingTailLength = sizeof(kListingTail) - 1;
// Larger notes are refused rather than read: the editor could not hold them.
constexpr uint64_t kLargestNote = 64u * 1024u * 1024u;

// Index of the first zero in text, or limit when none comes before it.
size_t BoundedLength(const char* text, size_t limit) {
    size_t length = 0;
    while (length < limit && text[length] != '\0') {
        ++length;
    }
    return length;
}

bool IsKeyCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') ||
           c == 'x' || c == 'X' || c == '-';
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

const unsigned char* Bytes(const char* text) {
    return reinterpret_cast<const unsigned char*>(text);
}

// A user name is appended as one path level, so it must not climb out of or
// step across levels: no separators, no drive colon, not "." or "..". The
// scan steps over whole characters, since the second byte of a double-byte
// character may be 0x5C.
bool IsUsableUserName(const char* userName, size_t length, const AnsiCodePage& codePage) {
    if (length == 0) {
        return false;
    }
    bool onlyDots = true;
    for (size_t i = 0; i < length;) {
        size_t step = CharacterLength(codePage, Bytes(userName + i), length - i);
        char c = userName[i];
        if (c == '\\' || c == '/' || c == ':') {
            return false;
        }
        if (c != '.') {
            onlyDots = false;
        }
        i += step;
    }
    return !onlyDots;
}

// Length of the directory part of path, up to and including its last
// backslash that is a character of its own; 0 when there is none.
size_t DirectoryLength(const char* path, size_t length, const AnsiCodePage& codePage) {
    size_t directoryLength = 0;
    for (size_t i = 0; i < length;) {
        size_t step = CharacterLength(codePage, Bytes(path + i), length - i);
        if (path[i] == '\\') {
            directoryLength = i + 1;
        }
        i += step;
    }
    return directoryLength;
}

// Length of folder when it is a usable, terminated text, else 0.
size_t UsableFolderLength(const char* folder) {
    if (folder == nullptr) {
        return 0;
    }
    size_t length = BoundedLength(folder, kPathSize);
    return length < kPathSize ? length : 0;
}

}  // namespace

bool IsStorableKey(const char* key) {
    if (key == nullptr) {
        return false;
    }
    size_t length = BoundedLength(key, kNoteKeySize);
    if (length == 0 || length > kMaxKeyLength) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        if (!IsKeyCharacter(key[i])) {
            return false;
        }
    }
    return true;
}

bool ComposeNotesFolder(const char* exePath, uint32_t exePathLength, uint32_t exeBufferSize,
                        const char* userName, const AnsiCodePage& codePage, char* folder,
                        size_t* firstLevelLength) {
    if (folder == nullptr) {
        return false;
    }
    folder[0] = '\0';
    if (firstLevelLength == nullptr) {
        return false;
    }
    *firstLevelLength = 0;

    // GetModuleFileNameA reports a cut-off path by filling the whole buffer,
    // and older systems then leave it unterminated; 0 means it failed.
    if (exePath == nullptr || exePathLength == 0 || exePathLength >= exeBufferSize) {
        return false;
    }
    // A zero inside the reported length means the two disagree; trust neither.
    if (BoundedLength(exePath, exePathLength) != exePathLength) {
        return false;
    }
    size_t directoryLength = DirectoryLength(exePath, exePathLength, codePage);
    // Without a backslash the folder would be relative to whatever the current
    // directory happens to be; better no notes than notes in a random place.
    if (directoryLength == 0) {
        return false;
    }

    if (userName == nullptr) {
        return false;
    }
    // Scanning one past the longest name that could still fit is enough to
    // reject the rest without reading beyond a shorter name's buffer.
    size_t userLength = BoundedLength(userName, kMaxNotesFolderLength + 1);
    // Wine's GetUserNameA returns as many bytes as the name has characters,
    // so a name can end in half a character; appending "\" to a lone lead
    // byte would make one character of the two and lose the separator.
    userLength = WholeCharactersLength(codePage, Bytes(userName), userLength);
    if (!IsUsableUserName(userName, userLength, codePage)) {
        return false;
    }

    size_t firstLevel = directoryLength + kFolderNameLength;
    size_t total = firstLevel + 1 + userLength;
    if (total > kMaxNotesFolderLength) {
        return false;
    }

    memcpy(folder, exePath, directoryLength);
    memcpy(folder + directoryLength, kFolderName, kFolderNameLength);
    folder[firstLevel] = '\\';
    memcpy(folder + firstLevel + 1, userName, userLength);
    folder[total] = '\0';
    *firstLevelLength = firstLevel;
    return true;
}

bool ComposeNotePath(const char* folder, const char* key, char* path, size_t pathSize) {
    if (path == nullptr || pathSize == 0) {
        return false;
    }
    path[0] = '\0';
    size_t folderLength = UsableFolderLength(folder);
    if (folderLength == 0 || !IsStorableKey(key)) {
        return false;
    }
    size_t keyLength = BoundedLength(key, kNoteKeySize);
    size_t total = folderLength + 1 + keyLength + kExtensionLength;
    if (total >= pathSize) {
        return false;
    }
    memcpy(path, folder, folderLength);
    path[folderLength] = '\\';
    memcpy(path + folderLength + 1, key, keyLength);
    memcpy(path + folderLength + 1 + keyLength, kNoteExtension, kExtensionLength);
    path[total] = '\0';
    return true;
}

bool ComposeListingPattern(const char* folder, char* pattern, size_t patternSize) {
    if (pattern == nullptr || patternSize == 0) {
        return false;
    }
    pattern[0] = '\0';
    size_t folderLength = UsableFolderLength(folder);
    if (folderLength == 0) {
        return false;
    }
    size_t total = folderLength + kListingTailLength;
    if (total >= patternSize) {
        return false;
    }
    memcpy(pattern, folder, folderLength);
    memcpy(pattern + folderLength, kListingTail, kListingTailLength);
    pattern[total] = '\0';
    return true;
}

bool KeyFromNoteFileName(const char* fileName, char* key) {
    if (key == nullptr) {
        return false;
    }
    key[0] = '\0';
    if (fileName == nullptr) {
        return false;
    }
    // Found names live in a MAX_PATH buffer; a longer one cannot be a note.
    size_t nameLength = BoundedLength(fileName, kPathSize);
    if (nameLength <= kExtensionLength || nameLength >= kPathSize) {
        return false;
    }
    size_t keyLength = nameLength - kExtensionLength;
    // The file system matches names without regard to case, so a note saved
    // by another tool as "5.QNOTE" is still the note of key 5.
    for (size_t i = 0; i < kExtensionLength; ++i) {
        if (LowerAscii(fileName[keyLength + i]) != kNoteExtension[i]) {
            return false;
        }
    }
    if (keyLength > kMaxKeyLength) {
        return false;
    }
    char candidate[kNoteKeySize] = {};
    memcpy(candidate, fileName, keyLength);
    if (!IsStorableKey(candidate)) {
        return false;
    }
    memcpy(key, candidate, keyLength + 1);
    return true;
}

bool IsHoldableNoteSize(uint64_t size) {
    return size <= kLargestNote;
}

size_t NoteTextLength(const unsigned char* bytes, size_t count) {
    if (bytes == nullptr || count == 0) {
        return 0;
    }
    const void* zero = memchr(bytes, 0, count);
    if (zero == nullptr) {
        return count;
    }
    return static_cast<size_t>(static_cast<const unsigned char*>(zero) - bytes);
}

bool IsPlainNoteFile(const unsigned char* bytes, size_t count, size_t textLength) {
    if (bytes == nullptr || textLength > count) {
        return count == 0;
    }
    static const unsigned char kByteOrderMark[] = {0xEF, 0xBB, 0xBF};
    if (textLength >= sizeof kByteOrderMark &&
        memcmp(bytes, kByteOrderMark, sizeof kByteOrderMark) == 0) {
        return false;
    }
    for (size_t i = textLength; i < count; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

size_t StreamChunkLength(const char* text, size_t remaining, size_t requested,
                         const AnsiCodePage& codePage) {
    if (text == nullptr) {
        return 0;
    }
    size_t length = remaining < requested ? remaining : requested;
    if (length == 0 || length == remaining) {
        return length;
    }
    // Every chunk starts on a character, so walking from its start finds the
    // last character that ends within it.
    size_t whole = 0;
    while (whole < length) {
        size_t step = CharacterLength(codePage, Bytes(text + whole), remaining - whole);
        if (whole + step > length) {
            break;
        }
        whole += step;
    }
    if (whole > 0) {
        length = whole;
    }
    // Wine's rich edit turns a CR at the end of one chunk and the LF opening
    // the next into two line breaks, so keep the pair together.
    if (text[length - 1] == '\r' && text[length] == '\n') {
        // A one-byte chunk can only come from a one-byte request (the LF that
        // follows means more than one byte remains), so the pair cannot go
        // whole; the CR goes alone rather than stalling the stream.
        if (length > 1) {
            --length;
        }
    }
    return length;
}
