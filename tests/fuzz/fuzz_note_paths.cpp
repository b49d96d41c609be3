// Fuzz target: where notes are kept and how their file names are formed,
// from whatever the platform reports as module path and user name and
// whatever key a lookup left behind.
//
// Input: one flags byte, then exe path '|' user name '|' key. Flags bits 0-1
// add 0 to 3 to the exe path's length to give the size of the buffer it came
// in (0: a cut-off, unterminated path); bit 2: GetUserNameA failed; bits
// 3-4: the ANSI code page (single-byte, 932, 950, UTF-8). Every
// buffer is a heap block of exactly the size the code is told, so ASan
// catches any read or write past it.
#include "notes/code_page.h"
#include "notes/note_names.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr char kFolderTail[] = "Quorrin Notes\\";

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz_note_paths: %s: [%s]\n", what, detail.c_str());
    std::abort();
}

std::unique_ptr<char[]> Block(size_t size) {
    std::unique_ptr<char[]> block(new char[size]);
    std::memset(block.get(), 0, size);
    return block;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsKeyByte(char c) {
    return std::strchr("0123456789ABCDEFabcdefxX-", c) != nullptr && c != '\0';
}

AnsiCodePage CodePageFor(unsigned choice) {
    AnsiCodePage codePage = SingleByteCodePage();
    for (unsigned c = 0x81; c <= 0xFE; ++c) {
        codePage.leadByte[c] = (choice == 1 && (c <= 0x9F || (c >= 0xE0 && c <= 0xFC))) ||
                               choice == 2;
    }
    codePage.utf8 = choice == 3;
    return codePage;
}

// The single-byte characters of text, each one a character of its own in
// the code page; the bytes inside longer characters become 0x80.
std::string SingleByteCharacters(const std::string& text, const AnsiCodePage& codePage) {
    std::string plain(text.size(), '\x80');
    for (size_t i = 0; i < text.size();) {
        const size_t step = CharacterLength(
            codePage, reinterpret_cast<const unsigned char*>(text.data()) + i, text.size() - i);
        if (step == 1) {
            plain[i] = text[i];
        }
        i += step;
    }
    return plain;
}

// The folder ComposeNotesFolder ought to form, or "" when it ought to refuse.
std::string PlainFolder(const std::string& exe, uint32_t bufferSize, const char* user,
                        const AnsiCodePage& codePage) {
    if (exe.empty() || exe.size() >= bufferSize || exe.find('\0') != std::string::npos ||
        user == nullptr) {
        return "";
    }
    const size_t slash = SingleByteCharacters(exe, codePage).rfind('\\');
    std::string name(user);
    name.resize(WholeCharactersLength(
        codePage, reinterpret_cast<const unsigned char*>(name.data()), name.size()));
    const std::string plainName = SingleByteCharacters(name, codePage);
    if (slash == std::string::npos || name.empty() ||
        plainName.find_first_of("\\/:") != std::string::npos ||
        name.find_first_not_of('.') == std::string::npos) {
        return "";
    }
    const std::string folder = exe.substr(0, slash + 1) + kFolderTail + name;
    return folder.size() <= kMaxNotesFolderLength ? folder : "";
}

// Composes a note path into an exact block of pathSize bytes and checks it.
void CheckNotePath(const std::string& folder, const char* key, bool storable, size_t pathSize) {
    std::unique_ptr<char[]> path = Block(pathSize);
    const bool ok = ComposeNotePath(folder.c_str(), key, path.get(), pathSize);
    const std::string keyText(key, strnlen(key, kNoteKeySize));
    const std::string want = folder + "\\" + keyText + kNoteExtension;
    const bool fits = want.size() < pathSize;
    if (ok != (!folder.empty() && storable && fits)) {
        Fail("ComposeNotePath accepted the wrong case", want);
    }
    const std::string got(path.get(), strnlen(path.get(), pathSize));
    if (got.size() >= pathSize) {
        Fail("note path not terminated in its buffer", got);
    }
    if (!ok) {
        if (!got.empty()) {
            Fail("a refused note path is not empty", got);
        }
        return;
    }
    if (got.compare(0, folder.size() + 1, folder + "\\") != 0 || !EndsWith(got, kNoteExtension) ||
        got != want) {
        Fail("note path is not folder \\ key .qnote", got);
    }
}

void CheckPattern(const std::string& folder, size_t patternSize) {
    std::unique_ptr<char[]> pattern = Block(patternSize);
    const bool ok = ComposeListingPattern(folder.c_str(), pattern.get(), patternSize);
    const std::string want = folder + "\\*" + kNoteExtension;
    if (ok != (!folder.empty() && want.size() < patternSize)) {
        Fail("ComposeListingPattern accepted the wrong case", want);
    }
    const std::string got(pattern.get(), strnlen(pattern.get(), patternSize));
    if (got.size() >= patternSize) {
        Fail("pattern not terminated in its buffer", got);
    }
    if (ok ? got != want : !got.empty()) {
        Fail("listing pattern is not folder \\*.qnote", got);
    }
}

// A found file name: any key it yields must be storable and the name's stem.
std::string KeyOf(const std::string& fileName) {
    std::unique_ptr<char[]> name = Block(fileName.size() + 1);
    std::memcpy(name.get(), fileName.data(), fileName.size());
    std::unique_ptr<char[]> key = Block(kNoteKeySize);
    const bool ok = KeyFromNoteFileName(name.get(), key.get());
    const std::string got(key.get(), strnlen(key.get(), kNoteKeySize));
    if (got.size() >= kNoteKeySize) {
        Fail("key from a file name not terminated", got);
    }
    if (!ok) {
        if (!got.empty()) {
            Fail("a refused file name left a key behind", got);
        }
        return "";
    }
    if (!IsStorableKey(key.get()) || fileName.compare(0, got.size(), got) != 0) {
        Fail("file name gave a key that is not its storable stem", fileName);
    }
    std::string extension = fileName.substr(got.size());
    for (char& c : extension) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
    if (extension != kNoteExtension) {
        Fail("file name gave a key without ending in .qnote", fileName);
    }
    return got;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const unsigned flags = data[0];
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t bar1 = rest.find('|');
    const size_t bar2 = bar1 == std::string::npos ? std::string::npos : rest.find('|', bar1 + 1);
    const std::string exe = rest.substr(0, bar1);
    const std::string user =
        bar1 == std::string::npos ? "" : rest.substr(bar1 + 1, bar2 == std::string::npos ? bar2 : bar2 - bar1 - 1);
    const std::string keyPart = bar2 == std::string::npos ? "" : rest.substr(bar2 + 1);

    // The module path as GetModuleFileNameA leaves it: the reported length,
    // then a terminator only if the buffer had room for one.
    const uint32_t exeLength = static_cast<uint32_t>(exe.size());
    const uint32_t exeBufferSize = exeLength + (flags & 3u);
    std::unique_ptr<char[]> exeBuffer = Block(exeBufferSize == 0 ? 1 : exeBufferSize);
    std::memcpy(exeBuffer.get(), exe.data(), exe.size());
    std::unique_ptr<char[]> userBuffer = Block(user.size() + 1);
    std::memcpy(userBuffer.get(), user.data(), user.size());
    const char* userName = (flags & 4u) != 0 ? nullptr : userBuffer.get();

    std::unique_ptr<char[]> folderBuffer = Block(kPathSize);
    size_t firstLevel = 12345;
    const AnsiCodePage codePage = CodePageFor((flags >> 3) & 3u);
    const bool folderOk = ComposeNotesFolder(exeBuffer.get(), exeLength, exeBufferSize, userName,
                                             codePage, folderBuffer.get(), &firstLevel);
    const std::string folder(folderBuffer.get(), strnlen(folderBuffer.get(), kPathSize));
    if (folder.size() >= kPathSize) {
        Fail("folder not terminated in its buffer", folder);
    }
    const std::string wantFolder = PlainFolder(exe, exeBufferSize, userName, codePage);
    if (folderOk != !wantFolder.empty() || folder != wantFolder) {
        Fail("NotesFolder differs from the plain reading", folder + " / " + wantFolder);
    }
    if (folderOk) {
        if (folder.size() > kMaxNotesFolderLength) {
            Fail("NotesFolder longer than 237 characters", folder);
        }
        if (firstLevel + 1 > folder.size() || folder.size() - firstLevel - 1 > std::strlen(userName) ||
            folder.compare(0, firstLevel, wantFolder, 0, firstLevel) != 0 ||
            !EndsWith(folder.substr(0, firstLevel + 1), kFolderTail)) {
            Fail("first level is not ...\\Quorrin Notes", folder);
        }
    } else if (firstLevel != 0) {
        Fail("a refused NotesFolder left a first-level length", folder);
    }

    // The key in the 16-byte NoteKey buffer: 16 bytes without a zero must be
    // refused without a read past the buffer.
    std::unique_ptr<char[]> key = Block(kNoteKeySize);
    std::memcpy(key.get(), keyPart.data(), keyPart.size() < kNoteKeySize ? keyPart.size() : kNoteKeySize);
    const size_t keyLength = strnlen(key.get(), kNoteKeySize);
    const bool storable = IsStorableKey(key.get());
    bool plainStorable = keyLength >= 1 && keyLength <= kNoteKeySize - 1;
    for (size_t i = 0; i < keyLength; ++i) {
        plainStorable = plainStorable && IsKeyByte(key[i]);
    }
    if (storable != plainStorable) {
        Fail("IsStorableKey differs from the plain reading", std::string(key.get(), keyLength));
    }
    if (storable) {
        if (keyLength == 0 || keyLength > kNoteKeySize - 1 ||
            std::string(key.get(), keyLength).find_first_of("\\/:.") != std::string::npos) {
            Fail("a storable key holds a path character or has a bad length",
                 std::string(key.get(), keyLength));
        }
    }

    // The real folder, or a stand-in of the fuzzer's choosing when none could
    // be formed, so the paths are exercised either way; both sizes at the edge.
    const std::string baseFolder = folderOk ? folder : exe.substr(0, strnlen(exe.c_str(), kPathSize - 1));
    const size_t needed = baseFolder.size() + 1 + keyLength + std::strlen(kNoteExtension) + 1;
    CheckNotePath(baseFolder, key.get(), storable, kPathSize);
    CheckNotePath(baseFolder, key.get(), storable, needed);
    CheckNotePath(baseFolder, key.get(), storable, needed - 1);
    const size_t patternNeeded = baseFolder.size() + 2 + std::strlen(kNoteExtension) + 1;
    CheckPattern(baseFolder, kPathSize);
    CheckPattern(baseFolder, patternNeeded);
    CheckPattern(baseFolder, patternNeeded - 1);

    if (storable) {
        const std::string stem(key.get(), keyLength);
        if (KeyOf(stem + kNoteExtension) != stem || KeyOf(stem + ".QNOTE") != stem) {
            Fail("a storable key does not come back from its file name", stem);
        }
    }
    KeyOf(keyPart.substr(0, keyPart.find('\0')));
    return 0;
}
