// Tests of the file-system-free part of the notes store: key storability, the
// NotesFolder and the paths formed from it (UTF-16, in any language, in the
// \\?\ form where they would pass MAX_PATH), the keys taken from found file
// names, the text held in a note file's bytes, and the rich-edit stream chunks.
//
// Buffers handed to the code under test are sized exactly (or carry a guard
// byte) so that the sanitizers catch any read or write past what the caller
// said it owns.
#include "notes/note_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

const char kGuard = 'Z';  // also a wchar_t guard: L'Z'

struct FolderResult {
    bool ok;
    std::wstring folder;
    size_t firstLevel;
};

// Calls ComposeNotesFolder as the start-up code does after GetModuleFileNameW,
// and checks that nothing is written past folder[kNotesFolderSize].
FolderResult ComposeFolder(const wchar_t* exePath, uint32_t exePathLength, uint32_t exeBufferSize,
                           const wchar_t* userName) {
    std::vector<wchar_t> folder(kNotesFolderSize + 1, kGuard);
    size_t firstLevel = 99;
    bool ok = ComposeNotesFolder(exePath, exePathLength, exeBufferSize, userName, folder.data(),
                                 &firstLevel);
    EXPECT_EQ(folder[kNotesFolderSize], kGuard) << "wrote past the folder buffer";
    EXPECT_NE(std::find(folder.begin(), folder.end() - 1, L'\0'), folder.end() - 1)
        << "folder not terminated";
    return {ok, std::wstring(folder.data()), firstLevel};
}

// The exe path as a complete, untruncated GetModuleFileNameW result.
FolderResult ComposeFolder(const std::wstring& exePath, const wchar_t* userName) {
    std::vector<wchar_t> buffer(kExePathSize, L'\0');
    EXPECT_LT(exePath.size(), kExePathSize);
    std::copy(exePath.begin(), exePath.end(), buffer.begin());
    return ComposeFolder(buffer.data(), static_cast<uint32_t>(exePath.size()),
                         static_cast<uint32_t>(kExePathSize), userName);
}

// The UTF-16 spelling of an ASCII text.
std::wstring W(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// ---------------------------------------------------------------------------
// A key may name a file only when it is 1 to 15 characters of 0-9 A-F a-f x X -.

TEST(KeyStorability, AcceptsOnlyKeyCharactersAndLengths) {
    struct Case {
        const char* name;
        const char* key;
        bool storable;
    };
    const Case cases[] = {
        {"digits", "0123456789", true},
        {"upper hex letters", "ABCDEF", true},
        {"lower hex letters", "abcdef", true},
        {"lower x", "x", true},
        {"upper X", "X", true},
        {"minus", "-", true},
        {"hex with prefix", "0x80070005", true},
        {"negative decimal", "-2147024891", true},
        {"15 characters", "123456789012345", true},
        {"empty", "", false},
        {"16 characters", "1234567890123456", false},
        {"20 characters", "12345678901234567890", false},
        {"dot", "1.5", false},
        {"dot dot", "..", false},
        {"backslash", "a\\b", false},
        {"climbing path", "..\\..\\x", false},
        {"slash", "a/b", false},
        {"colon", "a:b", false},
        {"space", "a b", false},
        {"lower g", "1g", false},
        {"upper G", "1G", false},
        {"byte 0x80", "1\x80", false},
        {"byte 0xFF", "\xFF" "1", false},
        {"star", "1*", false},
        {"question mark", "1?", false},
        {"other letter", "y", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsStorableKey(c.key), c.storable);
    }
}

TEST(KeyStorability, NullKeyIsNotStorable) {
    EXPECT_FALSE(IsStorableKey(nullptr));
}

TEST(KeyStorability, ReadsNoFurtherThanAFullKeyBuffer) {
    // A key buffer without its zero: sixteen valid characters, exactly sized.
    std::vector<char> key(kNoteKeySize, '1');
    EXPECT_FALSE(IsStorableKey(key.data()));
}

// ---------------------------------------------------------------------------
// NotesFolder = exe directory + "Quorrin Notes" + "\" + user name: exactly that
// up to kMaxPlainFolderLength characters, in the \\?\ form beyond.

TEST(NotesFolder, ComposesFromExeDirectoryAndUserName) {
    struct Case {
        const wchar_t* exePath;
        const wchar_t* userName;
        const wchar_t* folder;
        const wchar_t* firstLevel;
    };
    const Case cases[] = {
        {L"D:\\Tools\\x.exe", L"ann", L"D:\\Tools\\Quorrin Notes\\ann", L"D:\\Tools\\Quorrin Notes"},
        {L"C:\\x.exe", L"ann", L"C:\\Quorrin Notes\\ann", L"C:\\Quorrin Notes"},
        {L"C:\\a\\b\\c.exe", L"Bob", L"C:\\a\\b\\Quorrin Notes\\Bob", L"C:\\a\\b\\Quorrin Notes"},
        {L"\\\\server\\share\\q.exe", L"ann", L"\\\\server\\share\\Quorrin Notes\\ann",
         L"\\\\server\\share\\Quorrin Notes"},
        {L"C:\\dir.v2\\x.exe", L"ann", L"C:\\dir.v2\\Quorrin Notes\\ann", L"C:\\dir.v2\\Quorrin Notes"},
        {L"C:\\Tools\\x.exe", L"Ann Smith", L"C:\\Tools\\Quorrin Notes\\Ann Smith",
         L"C:\\Tools\\Quorrin Notes"},
        {L"C:\\Tools\\x.exe", L"ann.", L"C:\\Tools\\Quorrin Notes\\ann.", L"C:\\Tools\\Quorrin Notes"},
        {L"C:\\Tools\\x.exe", L".ann", L"C:\\Tools\\Quorrin Notes\\.ann", L"C:\\Tools\\Quorrin Notes"},
        {L"C:\\Tools\\x.exe", L"a", L"C:\\Tools\\Quorrin Notes\\a", L"C:\\Tools\\Quorrin Notes"},
        // Names in any language are kept as the system spells them: Иван,
        // Łódź, a character beyond the Basic Multilingual Plane, and 表 and
        // ソ, whose second byte in code page 932 is that of a backslash.
        {L"C:\\\x0418\x0432\x0430\x043D\\x.exe", L"\x041C\x0430\x0440\x0438\x044F",
         L"C:\\\x0418\x0432\x0430\x043D\\Quorrin Notes\\\x041C\x0430\x0440\x0438\x044F",
         L"C:\\\x0418\x0432\x0430\x043D\\Quorrin Notes"},
        {L"C:\\\x0141\x00F3\x0064\x017A\\x.exe", L"ann",
         L"C:\\\x0141\x00F3\x0064\x017A\\Quorrin Notes\\ann",
         L"C:\\\x0141\x00F3\x0064\x017A\\Quorrin Notes"},
        {L"C:\\a\xD835\xDC00" L"b\\x.exe", L"\xD835\xDC00", L"C:\\a\xD835\xDC00" L"b\\Quorrin Notes\\\xD835\xDC00",
         L"C:\\a\xD835\xDC00" L"b\\Quorrin Notes"},
        {L"D:\\\x8868\\\x30BD\x30D5\x30C8.exe", L"\x8868" L"dev",
         L"D:\\\x8868\\Quorrin Notes\\\x8868" L"dev", L"D:\\\x8868\\Quorrin Notes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.exePath) + L" / " + c.userName));
        FolderResult r = ComposeFolder(c.exePath, c.userName);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.folder, c.folder);
        EXPECT_EQ(r.firstLevel, std::wcslen(c.firstLevel));
        EXPECT_EQ(r.folder.substr(0, r.firstLevel), c.firstLevel);
    }
}

TEST(NotesFolder, RefusesUnusableUserNames) {
    struct Case {
        const char* name;
        const wchar_t* userName;
    };
    const Case cases[] = {
        {"not obtained", nullptr},
        {"empty", L""},
        {"one dot", L"."},
        {"two dots", L".."},
        {"three dots", L"..."},
        {"backslash", L"a\\b"},
        {"climbing backslash", L"..\\x"},
        {"leading backslash", L"\\ann"},
        {"slash", L"a/b"},
        {"trailing slash", L"ann/"},
        {"colon", L"a:b"},
        {"drive", L"c:"},
        {"backslash after a wide character", L"\x8868\\x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FolderResult r = ComposeFolder(L"D:\\Tools\\x.exe", c.userName);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.folder, L"");
        EXPECT_EQ(r.firstLevel, 0u);
    }
}

// The ANSI spelling of a user name names the folder of earlier versions
// only where it is a real other name: not the same, not cut to nothing,
// and not "?" for every character the code page lacks.
TEST(NotesFolder, EarlierFolderOnlyForAnotherRealSpelling) {
    const struct {
        const wchar_t* userName;
        const wchar_t* ansiSpelling;
        bool earlier;
    } cases[] = {{L"\x141ukasz", L"Lukasz", true},  // Łukasz
                 {L"\x8868" L"dev", L"\x8868" L"de", true},  // 表dev cut by Wine
                 {L"\x418\x432\x430\x43D", L"????", false},  // Иван
                 {L"\x141\x43C", L"L?", false},
                 {L"ann", L"ann", false},
                 {L"ann", L"", false},
                 {L"ann", nullptr, false},
                 {nullptr, L"ann", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(IsEarlierUserFolderName(c.userName, c.ansiSpelling), c.earlier);
    }
}

TEST(NotesFolder, RefusesExePathWithoutBackslash) {
    const wchar_t* const paths[] = {L"x.exe", L"C:x.exe", L"C:/Tools/x.exe"};
    for (const wchar_t* path : paths) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(path)));
        FolderResult r = ComposeFolder(path, L"ann");
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.folder, L"");
        EXPECT_EQ(r.firstLevel, 0u);
    }
}

TEST(NotesFolder, RefusesTruncatedOrFailedModulePath) {
    const std::wstring exe = L"D:\\Tools\\x.exe";
    const uint32_t length = static_cast<uint32_t>(exe.size());
    struct Case {
        const char* name;
        uint32_t reportedLength;
        uint32_t bufferSize;
        bool ok;
    };
    const Case cases[] = {
        {"one character to spare", length, length + 1, true},
        {"fills the buffer", length, length, false},
        {"longer than the buffer", length, length - 1, false},
        {"failed call", 0, static_cast<uint32_t>(kExePathSize), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The buffer holds what GetModuleFileNameW wrote: no zero when it filled it.
        std::vector<wchar_t> buffer(c.bufferSize, kGuard);
        size_t copied = std::min<size_t>(exe.size(), c.bufferSize);
        std::copy(exe.begin(), exe.begin() + static_cast<std::ptrdiff_t>(copied), buffer.begin());
        if (copied < buffer.size()) {
            buffer[copied] = L'\0';
        }
        FolderResult r = ComposeFolder(buffer.data(), c.reportedLength, c.bufferSize, L"ann");
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.folder, c.ok ? L"D:\\Tools\\Quorrin Notes\\ann" : L"");
    }
}

TEST(NotesFolder, RefusesFullModuleBufferOfLongestPath) {
    std::vector<wchar_t> buffer(kExePathSize, L'p');
    buffer[2] = L'\\';
    FolderResult r = ComposeFolder(buffer.data(), static_cast<uint32_t>(kExePathSize),
                                   static_cast<uint32_t>(kExePathSize), L"ann");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.folder, L"");
}

TEST(NotesFolder, RefusesLengthThatDisagreesWithText) {
    // Reported length 14, but the text ends after "D:\To".
    const wchar_t buffer[] = L"D:\\To\0ls\\x.exe";
    FolderResult r = ComposeFolder(buffer, 14, static_cast<uint32_t>(kExePathSize), L"ann");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.folder, L"");
}

// Up to 237 characters every note path fits in MAX_PATH as it is, and the
// folder is the one of every earlier version; beyond, the \\?\ form takes
// the same folder past MAX_PATH (\\?\UNC\ for a share).
TEST(NotesFolder, DeepFolderTakesTheLongForm) {
    const std::string tail = "\\Quorrin Notes\\ann";
    struct Case {
        const char* root;
        size_t folderLength;
        const char* longForm;
        size_t replaced;
    };
    const Case cases[] = {{"C:\\", kMaxPlainFolderLength - 1, "", 0},
                          {"C:\\", kMaxPlainFolderLength, "", 0},
                          {"C:\\", kMaxPlainFolderLength + 1, "\\\\?\\", 0},
                          {"d:\\", kMaxPlainFolderLength + 20, "\\\\?\\", 0},
                          {"\\\\server\\share\\", kMaxPlainFolderLength, "", 0},
                          {"\\\\server\\share\\", kMaxPlainFolderLength + 1, "\\\\?\\UNC\\", 2},
                          {"\\\\?\\C:\\", kMaxPlainFolderLength + 1, "", 0},
                          {"\\\\?\\UNC\\server\\share\\", kMaxPlainFolderLength + 1, "", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.root << " " << c.folderLength);
        size_t fixedPart = std::strlen(c.root) + tail.size();
        ASSERT_GT(c.folderLength, fixedPart);
        std::string directory = c.root + std::string(c.folderLength - fixedPart, 'd');
        FolderResult r = ComposeFolder(W(directory + "\\q.exe"), L"ann");
        ASSERT_TRUE(r.ok);
        std::string folder = c.longForm + directory.substr(c.replaced) + tail;
        EXPECT_EQ(r.folder, W(folder));
        EXPECT_EQ(r.firstLevel, folder.size() - std::strlen("\\ann"));
    }
}

TEST(NotesFolder, LongestUserNameIsKeptAndALongerOneRefused) {
    const std::string firstLevel = "D:\\Tools\\Quorrin Notes";
    std::wstring longest(kUserNameSize - 1, L'u');
    FolderResult r = ComposeFolder(L"D:\\Tools\\x.exe", longest.c_str());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.folder, W("\\\\?\\" + firstLevel + "\\") + longest);
    EXPECT_EQ(r.firstLevel, firstLevel.size() + 4);

    // Exactly as many characters as the scan may need, none of them a zero.
    std::vector<wchar_t> unterminated(kUserNameSize, L'u');
    r = ComposeFolder(L"C:\\x.exe", unterminated.data());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.folder, L"");
}

TEST(NotesFolder, MissingOutputsFailWithoutWriting) {
    const wchar_t* exe = L"D:\\Tools\\x.exe";
    const uint32_t length = static_cast<uint32_t>(std::wcslen(exe));
    size_t firstLevel = 99;
    EXPECT_FALSE(ComposeNotesFolder(exe, length, static_cast<uint32_t>(kExePathSize), L"ann",
                                    nullptr, &firstLevel));
    EXPECT_EQ(firstLevel, 99u);

    wchar_t folder[kNotesFolderSize];
    std::fill(folder, folder + kNotesFolderSize, kGuard);
    EXPECT_FALSE(ComposeNotesFolder(exe, length, static_cast<uint32_t>(kExePathSize), L"ann",
                                    folder, nullptr));
    EXPECT_EQ(folder[0], L'\0');
}

// ---------------------------------------------------------------------------
// NotePath = folder + "\" + key + ".qnote", only for storable keys, never cut.

const wchar_t kFolder[] = L"D:\\Tools\\Quorrin Notes\\ann";

// A folder of exactly kMaxPlainFolderLength characters, the longest there is
// in the plain form.
std::wstring LongestPlainFolder() {
    std::string folder = "C:\\";
    folder += std::string(kMaxPlainFolderLength - folder.size() - std::strlen("\\Quorrin Notes\\ann"),
                          'd');
    return W(folder + "\\Quorrin Notes\\ann");
}

// A folder in the long form, as long as there can be.
std::wstring LongestFolder() {
    return L"\\\\?\\UNC\\" + std::wstring(kExePathSize - 2, L'd') + L"\\Quorrin Notes\\" +
           std::wstring(kUserNameSize - 1, L'u');
}

TEST(NotePath, ComposesFolderKeyAndExtension) {
    struct Case {
        const char* key;
        const wchar_t* path;
    };
    const Case cases[] = {
        {"80070005", L"D:\\Tools\\Quorrin Notes\\ann\\80070005.qnote"},
        {"5", L"D:\\Tools\\Quorrin Notes\\ann\\5.qnote"},
        {"-2147024891", L"D:\\Tools\\Quorrin Notes\\ann\\-2147024891.qnote"},
        {"0xABCdef", L"D:\\Tools\\Quorrin Notes\\ann\\0xABCdef.qnote"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        wchar_t path[kNotePathSize];
        ASSERT_TRUE(ComposeNotePath(kFolder, c.key, path, kNotePathSize));
        EXPECT_EQ(std::wstring(path), c.path);
    }
}

TEST(NotePath, RefusesKeysThatAreNotStorable) {
    const char* const keys[] = {"..", "a:b", "..\\..\\x", "", "1234567890123456", "5.old",
                                "a/b", "*", "1 2", nullptr};
    for (const char* key : keys) {
        SCOPED_TRACE(key == nullptr ? "null" : key);
        wchar_t path[kNotePathSize];
        std::fill(path, path + kNotePathSize, kGuard);
        EXPECT_FALSE(ComposeNotePath(kFolder, key, path, kNotePathSize));
        EXPECT_EQ(path[0], L'\0');
    }
}

TEST(NotePath, RefusesMissingEmptyOrUnterminatedFolder) {
    std::vector<wchar_t> unterminated(kNotesFolderSize, L'f');
    const wchar_t* const folders[] = {nullptr, L"", unterminated.data()};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        std::vector<wchar_t> path(kNotePathSize * 2, kGuard);
        EXPECT_FALSE(ComposeNotePath(folders[i], "5", path.data(), path.size()));
        EXPECT_EQ(path[0], L'\0');
    }
}

TEST(NotePath, LongestKeyInLongestPlainFolderFitsMaxPath) {
    const std::wstring folder = LongestPlainFolder();
    ASSERT_EQ(folder.size(), kMaxPlainFolderLength);
    const char key[] = "0x8007000500000";
    ASSERT_EQ(std::strlen(key), kNoteKeySize - 1);

    wchar_t path[kNotePathSize];
    ASSERT_TRUE(ComposeNotePath(folder.c_str(), key, path, kNotePathSize));
    EXPECT_EQ(std::wstring(path), folder + L"\\" + W(key) + L".qnote");
    EXPECT_EQ(std::wcslen(path), 259u);  // MAX_PATH with its zero
}

TEST(NotePath, BufferSizeBoundary) {
    struct Case {
        std::wstring folder;
        const char* key;
    };
    const Case cases[] = {
        {kFolder, "5"},
        {kFolder, "80070005"},
        {LongestPlainFolder(), "123456789012345"},
        {LongestFolder(), "123456789012345"},
    };
    for (const Case& c : cases) {
        const std::wstring expected = c.folder + L"\\" + W(c.key) + L".qnote";
        const size_t needed = expected.size() + 1;
        SCOPED_TRACE(needed);
        ASSERT_LE(needed, kNotePathSize);

        // Exactly enough room.
        std::vector<wchar_t> fits(needed + 1, kGuard);
        ASSERT_TRUE(ComposeNotePath(c.folder.c_str(), c.key, fits.data(), needed));
        EXPECT_EQ(std::wstring(fits.data()), expected);
        EXPECT_EQ(fits[needed], kGuard);

        // One short: nothing but the empty text, and nothing past the end.
        std::vector<wchar_t> tooSmall(needed, kGuard);
        EXPECT_FALSE(ComposeNotePath(c.folder.c_str(), c.key, tooSmall.data(), needed - 1));
        EXPECT_EQ(tooSmall[0], L'\0');
        EXPECT_EQ(std::count(tooSmall.begin() + 1, tooSmall.end(), kGuard),
                  static_cast<std::ptrdiff_t>(needed - 1))
            << "a partial path was written";
    }
}

TEST(NotePath, ZeroSizedBufferIsNotTouched) {
    wchar_t guard = kGuard;
    EXPECT_FALSE(ComposeNotePath(kFolder, "5", &guard, 0));
    EXPECT_EQ(guard, kGuard);
    EXPECT_FALSE(ComposeNotePath(kFolder, "5", nullptr, kNotePathSize));
}

// ---------------------------------------------------------------------------
// The temporary file = folder + "\qn~" + four hex digits + ".tmp"; the listing
// pattern = folder + "\*.qnote".

TEST(FolderPaths, TemporaryFileAndListingPattern) {
    const std::wstring folders[] = {kFolder, LongestPlainFolder(), LongestFolder()};
    for (const std::wstring& folder : folders) {
        SCOPED_TRACE(folder.size());
        const struct {
            uint32_t unique;
            const wchar_t* name;
        } names[] = {{0x1A2B, L"\\qn~1A2B.tmp"}, {0x5, L"\\qn~0005.tmp"},
                     {0xFFFF, L"\\qn~FFFF.tmp"}, {0x10000, L"\\qn~0000.tmp"}};
        for (const auto& n : names) {
            wchar_t path[kNotePathSize];
            ASSERT_TRUE(ComposeTemporaryPath(folder.c_str(), n.unique, path, kNotePathSize));
            EXPECT_EQ(std::wstring(path), folder + n.name);
        }
        wchar_t pattern[kNotePathSize];
        ASSERT_TRUE(ComposeListingPattern(folder.c_str(), pattern, kNotePathSize));
        EXPECT_EQ(std::wstring(pattern), folder + L"\\*.qnote");
    }
}

TEST(FolderPaths, BufferSizeBoundaryAndMissingFolder) {
    const struct {
        const char* name;
        std::function<bool(const wchar_t*, wchar_t*, size_t)> compose;
        std::wstring tail;
    } kinds[] = {
        {"temporary", [](const wchar_t* f, wchar_t* p, size_t n) {
             return ComposeTemporaryPath(f, 0xBEEF, p, n);
         }, L"\\qn~BEEF.tmp"},
        {"pattern", ComposeListingPattern, L"\\*.qnote"},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const std::wstring expected = kFolder + kind.tail;
        const size_t needed = expected.size() + 1;
        std::vector<wchar_t> fits(needed, kGuard);
        ASSERT_TRUE(kind.compose(kFolder, fits.data(), needed));
        EXPECT_EQ(std::wstring(fits.data()), expected);

        std::vector<wchar_t> tooSmall(needed, kGuard);
        EXPECT_FALSE(kind.compose(kFolder, tooSmall.data(), needed - 1));
        EXPECT_EQ(tooSmall[0], L'\0');
        EXPECT_EQ(std::count(tooSmall.begin() + 1, tooSmall.end(), kGuard),
                  static_cast<std::ptrdiff_t>(needed - 1));

        for (const wchar_t* folder : {static_cast<const wchar_t*>(nullptr), L""}) {
            wchar_t path[kNotePathSize];
            std::fill(path, path + kNotePathSize, kGuard);
            EXPECT_FALSE(kind.compose(folder, path, kNotePathSize));
            EXPECT_EQ(path[0], L'\0');
        }
    }
}

// ---------------------------------------------------------------------------
// A found file is a note when its name is a storable key + ".qnote" (any case).

TEST(NoteFileNames, KeyIsNameWithoutFinalExtension) {
    struct Case {
        const wchar_t* fileName;
        bool listed;
        const char* key;
    };
    const Case cases[] = {
        {L"5.qnote", true, "5"},
        {L"5.QNOTE", true, "5"},
        {L"5.QNote", true, "5"},
        {L"80070005.qnote", true, "80070005"},
        {L"12029.qnote", true, "12029"},
        {L"0x-AbC.qnote", true, "0x-AbC"},
        {L"123456789012345.qnote", true, "123456789012345"},
        {L"1234567890123456.qnote", false, ""},
        {L"12345678901234567890.qnote", false, ""},
        {L"5.old.qnote", false, ""},
        {L"5..qnote", false, ""},
        {L".qnote", false, ""},
        {L"qnote", false, ""},
        {L"5qnote", false, ""},
        {L"", false, ""},
        {L"a b.qnote", false, ""},
        {L"qn~1234.tmp", false, ""},
        {L"5.qnote.bak", false, ""},
        {L"abc.qnote.tmp", false, ""},
        {L"5.qnotes", false, ""},
        {L"5.qnot", false, ""},
        {L"5.txt", false, ""},
        {L"5", false, ""},
        {L"g.qnote", false, ""},
        {L"5\x00E9.qnote", false, ""},
        // Wide characters whose low byte is a key character are no keys.
        {L"\x0135.qnote", false, ""},
        {L"1\x4E41.qnote", false, ""},
        {L"\x0665.qnote", false, ""},
        {L"5.qnot\x0165", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.fileName)));
        char key[kNoteKeySize + 1];
        std::memset(key, kGuard, sizeof key);
        EXPECT_EQ(KeyFromNoteFileName(c.fileName, key), c.listed);
        EXPECT_STREQ(key, c.key);
        EXPECT_EQ(key[kNoteKeySize], kGuard);
    }
}

TEST(NoteFileNames, NullNameIsNotListed) {
    char key[kNoteKeySize];
    std::memset(key, kGuard, sizeof key);
    EXPECT_FALSE(KeyFromNoteFileName(nullptr, key));
    EXPECT_EQ(key[0], '\0');
    EXPECT_FALSE(KeyFromNoteFileName(L"5.qnote", nullptr));
}

TEST(NoteFileNames, UnterminatedNameIsNotReadPastItsBuffer) {
    std::vector<wchar_t> name(kFoundNameSize, L'1');
    char key[kNoteKeySize];
    EXPECT_FALSE(KeyFromNoteFileName(name.data(), key));
    EXPECT_EQ(key[0], '\0');
}

// ---------------------------------------------------------------------------
// A note file's text runs to its first zero byte or the end of its bytes.

// A note's size is read whole: the low 32 bits of 4 GiB + 10 are 10.
TEST(NoteSize, OnlyNotesAnEditorCanHoldAreRead) {
    const uint64_t kMiB = 1024u * 1024u;
    const uint64_t kGiB = 1024u * kMiB;
    struct Case {
        uint64_t size;
        bool holdable;
    };
    const Case cases[] = {{0, true},
                          {10, true},
                          {64 * kMiB, true},
                          {64 * kMiB + 1, false},
                          {4 * kGiB - 1, false},
                          {4 * kGiB, false},
                          {4 * kGiB + 10, false},
                          {UINT64_MAX, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(IsHoldableNoteSize(c.size), c.holdable);
    }
}

// The text's length, and whether an editor given that text gives the file
// back: only zero bytes after it, and no leading EF BB BF.
TEST(NoteText, RunsToFirstZeroOrEnd) {
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        size_t length;
        bool plain;
    };
    const Case cases[] = {
        {"one zero byte (saved empty editor)", {0}, 0, true},
        {"text with its zero", {'a', 'b', 'c', 0}, 3, true},
        {"no final zero", {'a', 'b', 'c'}, 3, true},
        {"zero in the middle", {'a', 'b', 0, 'c', 'd'}, 2, false},
        {"zero first", {0, 'a', 'b'}, 0, false},
        {"several trailing zeros", {'a', 'b', 'c', 0, 0, 0, 0}, 3, true},
        {"high bytes kept", {0x80, 'a', 0xFF, 0xE9}, 4, true},
        {"high bytes then zero", {0xFF, 0x80, 0, 0xFF}, 2, false},
        {"line breaks kept", {'a', '\r', '\n', 'b', 0}, 4, true},
        {"zeros, then a byte at the end", {'a', 0, 0, 0, 1}, 1, false},
        {"UTF-8 byte-order mark first", {0xEF, 0xBB, 0xBF, 'a', 0xE9, 0}, 5, false},
        {"byte-order mark alone", {0xEF, 0xBB, 0xBF}, 3, false},
        {"its first two bytes only", {0xEF, 0xBB, 0}, 2, true},
        {"byte-order mark after the start", {'a', 0xEF, 0xBB, 0xBF, 0}, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Exactly sized copy so a read past count is caught.
        std::vector<unsigned char> bytes(c.bytes);
        size_t length = NoteTextLength(bytes.data(), bytes.size());
        EXPECT_EQ(length, c.length);
        EXPECT_EQ(IsPlainNoteFile(bytes.data(), bytes.size(), length), c.plain);
    }
    EXPECT_TRUE(IsPlainNoteFile(nullptr, 0, 0));
}

TEST(NoteText, EmptyFileIsEmptyText) {
    EXPECT_EQ(NoteTextLength(nullptr, 0), 0u);
    const unsigned char unused = 'a';
    EXPECT_EQ(NoteTextLength(&unused, 0), 0u);
}

TEST(NoteText, CountsOnlyTheGivenBytes) {
    const unsigned char bytes[] = {'a', 'b', 'c', 'd', 0};
    EXPECT_EQ(NoteTextLength(bytes, 2), 2u);
}

// ---------------------------------------------------------------------------
// Stream chunks never end in the CR of a CR LF pair when the control can take
// one byte fewer.

// The exactly sized bytes of a text, without a terminating zero.
std::vector<char> Bytes(const std::string& text) {
    return std::vector<char>(text.begin(), text.end());
}

TEST(StreamChunks, ChunkLengths) {
    struct Case {
        const char* name;
        std::string text;
        size_t requested;
        size_t length;
    };
    const Case cases[] = {
        {"all fits", "abc", 10, 3},
        {"all fits exactly", "abc", 3, 3},
        {"plain split", "abcdef", 4, 4},
        {"CR LF straddles the boundary", "ab\r\ncd", 3, 2},
        {"CR LF ends the chunk", "ab\r\ncd", 4, 4},
        {"CR LF starts the chunk", "\r\nab", 2, 2},
        {"CR at end of data", "ab\r", 3, 3},
        {"CR at end of data, larger request", "ab\r", 8, 3},
        {"lone CR before a letter", "ab\rcd", 3, 3},
        {"lone LF at the boundary", "ab\ncd", 3, 3},
        {"CR CR LF straddles", "a\r\r\nb", 3, 2},
        {"LF CR at the boundary", "a\n\rb", 3, 3},
        {"request of one on CR LF", "\r\n", 1, 1},
        {"request of one on a letter", "ab", 1, 1},
        {"request of two on CR LF", "\r\nx", 2, 2},
        {"request of two straddling", "a\r\n", 2, 1},
        {"nothing requested", "abc", 0, 0},
        {"nothing remaining", "", 5, 0},
        {"high bytes are ordinary", "\x80\xFF\r\n", 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<char> bytes = Bytes(c.text);
        EXPECT_EQ(StreamChunkLength(bytes.data(), bytes.size(), c.requested, SingleByteCodePage()),
                  c.length);
    }
}

TEST(StreamChunks, NullTextGivesNothing) {
    EXPECT_EQ(StreamChunkLength(nullptr, 0, 10, SingleByteCodePage()), 0u);
}

TEST(StreamChunks, WholeStreamKeepsPairsTogetherAndProgresses) {
    const std::string texts[] = {
        "line one\r\nline two\r\n\r\nend",
        "\r\n\r\n\r\n\r\n",
        "\r\r\n\n\r\n\r",
        "no breaks at all",
        "a\rb\nc\r\nd",
    };
    for (const std::string& text : texts) {
        std::vector<char> bytes = Bytes(text);
        for (size_t requested = 1; requested <= 9; ++requested) {
            SCOPED_TRACE(testing::Message() << "text " << testing::PrintToString(text)
                                            << ", requested " << requested);
            size_t offset = 0;
            size_t calls = 0;
            while (offset < bytes.size()) {
                size_t remaining = bytes.size() - offset;
                size_t chunk = StreamChunkLength(bytes.data() + offset, remaining, requested,
                                                 SingleByteCodePage());
                ASSERT_GE(chunk, 1u) << "stream stalled at " << offset;
                ASSERT_LE(chunk, requested);
                ASSERT_LE(chunk, remaining);
                size_t end = offset + chunk;
                if (requested >= 2 && end < bytes.size()) {
                    EXPECT_FALSE(bytes[end - 1] == '\r' && bytes[end] == '\n')
                        << "CR LF split at " << end;
                }
                offset = end;
                ASSERT_LE(++calls, bytes.size());
            }
            EXPECT_EQ(offset, bytes.size());
        }
    }
}

}  // namespace
