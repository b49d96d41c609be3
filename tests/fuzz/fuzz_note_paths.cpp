// Fuzz target: where notes are kept and how their file names are formed,
// from whatever the platform reports as module path and user name and
// whatever key a lookup left behind.
//
// Input: one flags byte, then exe path '|' user name '|' key. Flags bits 0-1
// add 0 to 3 to the exe path's length to give the size of the buffer it came
// in (0: a cut-off, unterminated path); bit 2: GetUserNameW failed; bit 3:
// the exe lies in a folder of 240 characters more, past MAX_PATH. Path bytes
// become UTF-16 units: ASCII as it is, 80-BF Cyrillic, C0-DF lone surrogate
// halves, E0-FF units whose low byte is that of a backslash. Every buffer is
// a heap block of exactly the size the code is told, so ASan catches any
// read or write past it.
#include "notes/note_names.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what, const std::wstring& detail) {
    std::string shown;
    for (wchar_t c : detail) {
        shown += c < 0x80 ? static_cast<char>(c) : '?';
    }
    std::fprintf(stderr, "fuzz_note_paths: %s: [%s]\n", what, shown.c_str());
    std::abort();
}

template <typename Char>
std::unique_ptr<Char[]> Block(size_t size) {
    std::unique_ptr<Char[]> block(new Char[size]);
    std::memset(block.get(), 0, size * sizeof(Char));
    return block;
}

template <typename Char>
size_t BoundedLength(const Char* text, size_t limit) {
    size_t length = 0;
    while (length < limit && text[length] != 0) {
        ++length;
    }
    return length;
}

std::wstring Widen(const std::string& bytes) {
    std::wstring wide;
    for (char c : bytes) {
        const int b = static_cast<unsigned char>(c);
        wide += static_cast<wchar_t>(b < 0x80 ? b : b < 0xC0 ? 0x0400 + b : b < 0xE0 ? 0xD800 + b : (b << 8) | 0x5C);
    }
    return wide;
}

std::wstring Ascii(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

bool StartsWith(const std::wstring& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), Ascii(prefix)) == 0;
}

bool IsKeyByte(char c) {
    return std::strchr("0123456789ABCDEFabcdefxX-", c) != nullptr && c != '\0';
}

// The folder ComposeNotesFolder ought to form, or "" when it ought to refuse.
std::wstring PlainFolder(const std::wstring& exe, uint32_t bufferSize, const wchar_t* user) {
    if (exe.empty() || exe.size() >= bufferSize || exe.size() >= kExePathSize ||
        exe.find(L'\0') != std::wstring::npos || user == nullptr) {
        return L"";
    }
    const size_t slash = exe.rfind(L'\\');
    const std::wstring name(user);
    if (slash == std::wstring::npos || name.empty() || name.size() >= kUserNameSize ||
        name.find_first_of(L"\\/:") != std::wstring::npos ||
        name.find_first_not_of(L'.') == std::wstring::npos) {
        return L"";
    }
    const std::wstring folder = exe.substr(0, slash + 1) + L"Quorrin Notes\\" + name;
    if (folder.size() <= kMaxPlainFolderLength || StartsWith(folder, "\\\\?\\") ||
        StartsWith(folder, "\\\\.\\")) {
        return folder;
    }
    if (StartsWith(folder, "\\\\")) {
        return L"\\\\?\\UNC\\" + folder.substr(2);
    }
    const wchar_t drive = folder[0] | 0x20;
    if (folder.size() >= 3 && drive >= L'a' && drive <= L'z' && folder[1] == L':' &&
        folder[2] == L'\\') {
        return L"\\\\?\\" + folder;
    }
    return folder;
}

// Forms a path in the folder into an exact block of size units and checks it
// against want ("" when it ought to be refused).
template <typename Compose>
void CheckPath(const char* what, Compose compose, const std::wstring& want, size_t size) {
    std::unique_ptr<wchar_t[]> path = Block<wchar_t>(size);
    const bool ok = compose(path.get(), size);
    const bool fits = !want.empty() && want.size() < size;
    const std::wstring got(path.get(), BoundedLength(path.get(), size));
    if (got.size() >= size) {
        Fail("path not terminated in its buffer", got);
    }
    if (ok != fits || got != (fits ? want : L"")) {
        Fail(what, got + L" / " + want);
    }
}

// A found file name: any key it yields must be storable and the name's stem.
std::string KeyOf(const std::wstring& fileName) {
    if (fileName.size() >= kFoundNameSize) {
        return "";
    }
    std::unique_ptr<wchar_t[]> name = Block<wchar_t>(kFoundNameSize);
    fileName.copy(name.get(), fileName.size());
    std::unique_ptr<char[]> key = Block<char>(kNoteKeySize);
    const bool ok = KeyFromNoteFileName(name.get(), key.get());
    const std::string got(key.get(), BoundedLength(key.get(), kNoteKeySize));
    if (got.size() >= kNoteKeySize) {
        Fail("key from a file name not terminated", fileName);
    }
    if (!ok) {
        if (!got.empty()) {
            Fail("a refused file name left a key behind", fileName);
        }
        return "";
    }
    std::wstring extension = fileName.substr(got.size());
    for (wchar_t& c : extension) {
        c = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    }
    if (!IsStorableKey(key.get()) || fileName.compare(0, got.size(), Ascii(got)) != 0 ||
        extension != Ascii(kNoteExtension)) {
        Fail("file name gave a key that is not its storable stem + .qnote", fileName);
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
    std::wstring exe = Widen(rest.substr(0, bar1));
    const std::wstring user = Widen(
        bar1 == std::string::npos ? "" : rest.substr(bar1 + 1, bar2 == std::string::npos ? bar2 : bar2 - bar1 - 1));
    const std::string keyPart = bar2 == std::string::npos ? "" : rest.substr(bar2 + 1);
    if ((flags & 8u) != 0) {
        const size_t slash = exe.rfind(L'\\');
        exe.insert(slash == std::wstring::npos ? 0 : slash + 1, std::wstring(240, L'd') + L"\\");
    }

    // The module path as GetModuleFileNameW leaves it: the reported length,
    // then a terminator only if the buffer had room for one.
    const uint32_t exeLength = static_cast<uint32_t>(exe.size());
    const uint32_t exeBufferSize = exeLength + (flags & 3u);
    std::unique_ptr<wchar_t[]> exeBuffer = Block<wchar_t>(exeBufferSize == 0 ? 1 : exeBufferSize);
    exe.copy(exeBuffer.get(), exe.size());
    std::unique_ptr<wchar_t[]> userBuffer = Block<wchar_t>(user.size() + 1);
    user.copy(userBuffer.get(), user.size());
    const wchar_t* userName = (flags & 4u) != 0 ? nullptr : userBuffer.get();

    std::unique_ptr<wchar_t[]> folderBuffer = Block<wchar_t>(kNotesFolderSize);
    size_t firstLevel = 12345;
    const bool folderOk = ComposeNotesFolder(exeBuffer.get(), exeLength, exeBufferSize, userName,
                                             folderBuffer.get(), &firstLevel);
    const std::wstring folder(folderBuffer.get(), BoundedLength(folderBuffer.get(), kNotesFolderSize));
    if (folder.size() >= kNotesFolderSize) {
        Fail("folder not terminated in its buffer", folder);
    }
    const std::wstring wantFolder = PlainFolder(exe, exeBufferSize, userName);
    if (folderOk != !wantFolder.empty() || folder != wantFolder) {
        Fail("NotesFolder differs from the plain reading", folder + L" / " + wantFolder);
    }
    if (folderOk) {
        const std::wstring tail = L"\\" + std::wstring(userName);
        if (firstLevel + tail.size() != folder.size() || folder.compare(firstLevel, tail.size(), tail) != 0 ||
            folder.compare(firstLevel - 13, 13, L"Quorrin Notes") != 0) {
            Fail("first level is not ...\\Quorrin Notes", folder);
        }
    } else if (firstLevel != 0) {
        Fail("a refused NotesFolder left a first-level length", folder);
    }

    // The key in the 16-byte NoteKey buffer: 16 bytes without a zero must be
    // refused without a read past the buffer.
    std::unique_ptr<char[]> key = Block<char>(kNoteKeySize);
    std::memcpy(key.get(), keyPart.data(), keyPart.size() < kNoteKeySize ? keyPart.size() : kNoteKeySize);
    const size_t keyLength = BoundedLength(key.get(), kNoteKeySize);
    bool plainStorable = keyLength >= 1 && keyLength <= kNoteKeySize - 1;
    for (size_t i = 0; i < keyLength; ++i) {
        plainStorable = plainStorable && IsKeyByte(key[i]);
    }
    if (IsStorableKey(key.get()) != plainStorable) {
        Fail("IsStorableKey differs from the plain reading", Widen(std::string(key.get(), keyLength)));
    }

    // The real folder, or a stand-in of the fuzzer's choosing when none could
    // be formed, so the paths are exercised either way; sizes at the edges.
    const std::wstring base =
        folderOk ? folder : exe.substr(0, BoundedLength(exe.c_str(), kNotesFolderSize - 1));
    const std::wstring keyText = Ascii(std::string(key.get(), keyLength));
    const std::wstring notePath = base.empty() || !plainStorable ? L"" : base + L"\\" + keyText + L".qnote";
    const uint32_t unique = keyLength > 0 ? static_cast<unsigned char>(key[0]) * 257u : 0u;
    char digits[5] = {};
    std::snprintf(digits, sizeof digits, "%04X", unique & 0xFFFFu);
    const std::wstring temporaryPath = base.empty() ? L"" : base + L"\\qn~" + Ascii(digits) + L".tmp";
    const std::wstring pattern = base.empty() ? L"" : base + L"\\*.qnote";
    const struct {
        const char* what;
        const std::wstring& want;
        int kind;
    } paths[] = {{"note path", notePath, 0}, {"temporary path", temporaryPath, 1},
                 {"listing pattern", pattern, 2}};
    for (const auto& p : paths) {
        auto compose = [&](wchar_t* out, size_t outSize) {
            return p.kind == 0   ? ComposeNotePath(base.c_str(), key.get(), out, outSize)
                   : p.kind == 1 ? ComposeTemporaryPath(base.c_str(), unique, out, outSize)
                                 : ComposeListingPattern(base.c_str(), out, outSize);
        };
        const size_t needed = p.want.size() + 1;
        CheckPath(p.what, compose, p.want, kNotePathSize);
        CheckPath(p.what, compose, p.want, needed);
        if (needed > 1) {
            CheckPath(p.what, compose, p.want, needed - 1);
        }
    }

    if (plainStorable) {
        const std::string stem(key.get(), keyLength);
        if (KeyOf(Ascii(stem) + L".qnote") != stem || KeyOf(Ascii(stem) + L".QNOTE") != stem) {
            Fail("a storable key does not come back from its file name", Ascii(stem));
        }
    }
    KeyOf(Widen(keyPart.substr(0, keyPart.find('\0'))));
    return 0;
}
