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
constexpr size_t kExtensionLength = sizeof(kNoteExtension) - 1;
constexpr size_t kMaxKeyLength = kNoteKeySize - 1;
constexpr char kListingTail[] = "\\*.qnote";
constexpr char kTemporaryStem[] = "\\qn~";
constexpr char kTemporaryExtension[] = ".tmp";
constexpr char kLongPrefix[] = "\\\\?\\";
constexpr char kLongUncPrefix[] = "\\\\?\\UNC\\";
// Larger notes are refused rather than read: the editor could not hold them.
constexpr uint64_t kLargestNote = 64u * 1024u * 1024u;

// Index of the first zero in text, or limit when none comes before it.
template <typename Char>
size_t BoundedLength(const Char* text, size_t limit) {
    size_t length = 0;
    while (length < limit && text[length] != 0) {
        ++length;
    }
    return length;
}

bool IsKeyCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') ||
           c == 'x' || c == 'X' || c == '-';
}

const unsigned char* Bytes(const char* text) {
    return reinterpret_cast<const unsigned char*>(text);
}

wchar_t LowerAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// A path being formed in a buffer whose room was checked beforehand (Fits);
// ASCII parts are widened as they go in.
struct PathWriter {
    wchar_t* path;
    size_t size;
    size_t length;

    bool Fits(size_t more) const { return length + more < size; }
    void Ascii(const char* text) {
        for (; *text != '\0'; ++text) {
            path[length++] = static_cast<wchar_t>(static_cast<unsigned char>(*text));
        }
    }
    void Wide(const wchar_t* text, size_t count) {
        memcpy(path + length, text, count * sizeof(wchar_t));
        length += count;
    }
    void End() { path[length] = L'\0'; }
};

// True when text starts with the ASCII text prefix.
bool StartsWith(const wchar_t* text, size_t length, const char* prefix) {
    size_t prefixLength = strlen(prefix);
    if (length < prefixLength) {
        return false;
    }
    for (size_t i = 0; i < prefixLength; ++i) {
        if (text[i] != static_cast<wchar_t>(prefix[i])) {
            return false;
        }
    }
    return true;
}

// How a path of this form is written without MAX_PATH's limit: the prefix
// to put in front and how many of its own characters it replaces. A path
// already in the \\?\ or \\.\ form stays as it is, and so does a relative
// one, which GetModuleFileNameW never gives.
const char* LongFormPrefix(const wchar_t* path, size_t length, size_t* replaced) {
    *replaced = 0;
    if (StartsWith(path, length, kLongPrefix) || StartsWith(path, length, "\\\\.\\")) {
        return "";
    }
    if (StartsWith(path, length, "\\\\")) {
        *replaced = 2;
        return kLongUncPrefix;
    }
    if (length >= 3 && path[1] == L':' && path[2] == L'\\' && LowerAscii(path[0]) >= L'a' &&
        LowerAscii(path[0]) <= L'z') {
        return kLongPrefix;
    }
    return "";
}

// A user name is appended as one path level, so it must not climb out of or
// step across levels: no separators, no drive colon, not "." or "..".
bool IsUsableUserName(const wchar_t* userName, size_t length) {
    if (length == 0) {
        return false;
    }
    bool onlyDots = true;
    for (size_t i = 0; i < length; ++i) {
        wchar_t c = userName[i];
        if (c == L'\\' || c == L'/' || c == L':') {
            return false;
        }
        if (c != L'.') {
            onlyDots = false;
        }
    }
    return !onlyDots;
}

// Length of the directory part of path, up to and including its last
// backslash; 0 when there is none.
size_t DirectoryLength(const wchar_t* path, size_t length) {
    size_t directoryLength = 0;
    for (size_t i = 0; i < length; ++i) {
        if (path[i] == L'\\') {
            directoryLength = i + 1;
        }
    }
    return directoryLength;
}

// Length of folder when it is a usable, terminated text, else 0.
size_t UsableFolderLength(const wchar_t* folder) {
    if (folder == nullptr) {
        return 0;
    }
    size_t length = BoundedLength(folder, kNotesFolderSize);
    return length < kNotesFolderSize ? length : 0;
}

// Starts a path in the NotesFolder: the folder, with room for more
// characters after it; false, with an empty path, when it does not fit.
bool StartInFolder(const wchar_t* folder, size_t more, wchar_t* path, size_t pathSize,
                   PathWriter* writer) {
    if (path == nullptr || pathSize == 0) {
        return false;
    }
    path[0] = L'\0';
    size_t folderLength = UsableFolderLength(folder);
    *writer = {path, pathSize, 0};
    if (folderLength == 0 || !writer->Fits(folderLength + more)) {
        return false;
    }
    writer->Wide(folder, folderLength);
    return true;
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

bool ComposeNotesFolder(const wchar_t* exePath, uint32_t exePathLength, uint32_t exeBufferSize,
                        const wchar_t* userName, wchar_t* folder, size_t* firstLevelLength) {
    if (folder == nullptr) {
        return false;
    }
    folder[0] = L'\0';
    if (firstLevelLength == nullptr) {
        return false;
    }
    *firstLevelLength = 0;

    // GetModuleFileNameW reports a cut-off path by filling the whole buffer,
    // and older systems then leave it unterminated; 0 means it failed.
    if (exePath == nullptr || exePathLength == 0 || exePathLength >= exeBufferSize ||
        exePathLength >= kExePathSize) {
        return false;
    }
    // A zero inside the reported length means the two disagree; trust neither.
    if (BoundedLength(exePath, exePathLength) != exePathLength) {
        return false;
    }
    size_t directoryLength = DirectoryLength(exePath, exePathLength);
    // Without a backslash the folder would be relative to whatever the current
    // directory happens to be; better no notes than notes in a random place.
    if (directoryLength == 0 || userName == nullptr) {
        return false;
    }
    // One past the longest name there is: a longer or unterminated one is
    // refused without reading beyond its buffer.
    size_t userLength = BoundedLength(userName, kUserNameSize);
    if (userLength >= kUserNameSize || !IsUsableUserName(userName, userLength)) {
        return false;
    }

    size_t firstLevel = directoryLength + sizeof kFolderName - 1;
    size_t plainLength = firstLevel + 1 + userLength;
    size_t replaced = 0;
    const char* prefix =
        plainLength > kMaxPlainFolderLength ? LongFormPrefix(exePath, directoryLength, &replaced)
                                            : "";
    PathWriter writer = {folder, kNotesFolderSize, 0};
    if (!writer.Fits(strlen(prefix) - replaced + plainLength)) {
        return false;
    }
    writer.Ascii(prefix);
    writer.Wide(exePath + replaced, directoryLength - replaced);
    writer.Ascii(kFolderName);
    *firstLevelLength = writer.length;
    writer.Ascii("\\");
    writer.Wide(userName, userLength);
    writer.End();
    return true;
}

bool IsEarlierUserFolderName(const wchar_t* userName, const wchar_t* ansiSpelling) {
    if (userName == nullptr || ansiSpelling == nullptr) {
        return false;
    }
    const size_t length = BoundedLength(ansiSpelling, kUserNameSize);
    if (length == 0 || length >= kUserNameSize) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        if (ansiSpelling[i] == L'?') {
            return false;
        }
    }
    return BoundedLength(userName, kUserNameSize) != length ||
           memcmp(userName, ansiSpelling, length * sizeof(wchar_t)) != 0;
}

bool ComposeNotePath(const wchar_t* folder, const char* key, wchar_t* path, size_t pathSize) {
    PathWriter writer;
    // A storable key is terminated within its buffer.
    const bool storable = IsStorableKey(key);
    const size_t keyLength = storable ? BoundedLength(key, kNoteKeySize) : 0;
    if (!StartInFolder(folder, 1 + keyLength + kExtensionLength, path, pathSize, &writer)) {
        return false;
    }
    if (!storable) {
        path[0] = L'\0';
        return false;
    }
    writer.Ascii("\\");
    writer.Ascii(key);
    writer.Ascii(kNoteExtension);
    writer.End();
    return true;
}

bool ComposeTemporaryPath(const wchar_t* folder, uint32_t unique, wchar_t* path,
                          size_t pathSize) {
    PathWriter writer;
    const size_t more = sizeof kTemporaryStem - 1 + 4 + sizeof kTemporaryExtension - 1;
    if (!StartInFolder(folder, more, path, pathSize, &writer)) {
        return false;
    }
    static const char kHexDigits[] = "0123456789ABCDEF";
    char digits[5] = {};
    for (int i = 0; i < 4; ++i) {
        digits[i] = kHexDigits[(unique >> (12 - 4 * i)) & 0xFu];
    }
    writer.Ascii(kTemporaryStem);
    writer.Ascii(digits);
    writer.Ascii(kTemporaryExtension);
    writer.End();
    return true;
}

bool ComposeListingPattern(const wchar_t* folder, wchar_t* pattern, size_t patternSize) {
    PathWriter writer;
    if (!StartInFolder(folder, sizeof kListingTail - 1, pattern, patternSize, &writer)) {
        return false;
    }
    writer.Ascii(kListingTail);
    writer.End();
    return true;
}

bool KeyFromNoteFileName(const wchar_t* fileName, char* key) {
    if (key == nullptr) {
        return false;
    }
    key[0] = '\0';
    if (fileName == nullptr) {
        return false;
    }
    // Found names live in a MAX_PATH buffer; a longer one cannot be a note.
    size_t nameLength = BoundedLength(fileName, kFoundNameSize);
    if (nameLength <= kExtensionLength || nameLength >= kFoundNameSize) {
        return false;
    }
    size_t keyLength = nameLength - kExtensionLength;
    // The file system matches names without regard to case, so a note saved
    // by another tool as "5.QNOTE" is still the note of key 5.
    for (size_t i = 0; i < kExtensionLength; ++i) {
        if (LowerAscii(fileName[keyLength + i]) != static_cast<wchar_t>(kNoteExtension[i])) {
            return false;
        }
    }
    if (keyLength > kMaxKeyLength) {
        return false;
    }
    // Only ASCII can be a key character; anything wider is no key.
    char candidate[kNoteKeySize] = {};
    for (size_t i = 0; i < keyLength; ++i) {
        uint32_t unit = static_cast<uint32_t>(fileName[i]);
        if (unit == 0 || unit > 0x7F) {
            return false;
        }
        candidate[i] = static_cast<char>(fileName[i]);
    }
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
