// Tests of the file-system-free part of the notes store: key storability, the
// NotesFolder and the paths formed from it, the keys taken from found file
// names, the text held in a note file's bytes, and the rich-edit stream chunks.
//
// Buffers handed to the code under test are sized exactly (or carry a guard
// byte) so that the sanitizers catch any read or write past what the caller
// said it owns.
#include "notes/note_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kGuard = 'Z';

struct FolderResult {
    bool ok;
    std::string folder;
    size_t firstLevel;
};

// Calls ComposeNotesFolder as the start-up code does after GetModuleFileNameA,
// and checks that nothing is written past folder[kPathSize].
FolderResult ComposeFolder(const char* exePath, uint32_t exePathLength, uint32_t exeBufferSize,
                           const char* userName,
                           const AnsiCodePage& codePage = SingleByteCodePage()) {
    std::vector<char> folder(kPathSize + 1, kGuard);
    size_t firstLevel = 99;
    bool ok = ComposeNotesFolder(exePath, exePathLength, exeBufferSize, userName, codePage,
                                 folder.data(), &firstLevel);
    EXPECT_EQ(folder[kPathSize], kGuard) << "wrote past the folder buffer";
    EXPECT_NE(std::memchr(folder.data(), '\0', kPathSize), nullptr) << "folder not terminated";
    return {ok, std::string(folder.data()), firstLevel};
}

// The exe path as a complete, untruncated GetModuleFileNameA result.
FolderResult ComposeFolder(const std::string& exePath, const char* userName,
                           const AnsiCodePage& codePage = SingleByteCodePage()) {
    std::vector<char> buffer(kPathSize, '\0');
    EXPECT_LT(exePath.size(), kPathSize);
    std::memcpy(buffer.data(), exePath.data(), exePath.size());
    return ComposeFolder(buffer.data(), static_cast<uint32_t>(exePath.size()),
                         static_cast<uint32_t>(kPathSize), userName, codePage);
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
// NotesFolder = exe directory + "Quorrin Notes" + "\" + user name, at most
// kMaxNotesFolderLength characters, or nothing at all.

TEST(NotesFolder, ComposesFromExeDirectoryAndUserName) {
    struct Case {
        const char* exePath;
        const char* userName;
        const char* folder;
        const char* firstLevel;
    };
    const Case cases[] = {
        {"D:\\Tools\\x.exe", "ann", "D:\\Tools\\Quorrin Notes\\ann", "D:\\Tools\\Quorrin Notes"},
        {"C:\\x.exe", "ann", "C:\\Quorrin Notes\\ann", "C:\\Quorrin Notes"},
        {"C:\\a\\b\\c.exe", "Bob", "C:\\a\\b\\Quorrin Notes\\Bob", "C:\\a\\b\\Quorrin Notes"},
        {"\\\\server\\share\\q.exe", "ann", "\\\\server\\share\\Quorrin Notes\\ann",
         "\\\\server\\share\\Quorrin Notes"},
        {"C:\\dir.v2\\x.exe", "ann", "C:\\dir.v2\\Quorrin Notes\\ann", "C:\\dir.v2\\Quorrin Notes"},
        {"C:\\Tools\\x.exe", "Ann Smith", "C:\\Tools\\Quorrin Notes\\Ann Smith",
         "C:\\Tools\\Quorrin Notes"},
        {"C:\\Tools\\x.exe", "ann.", "C:\\Tools\\Quorrin Notes\\ann.", "C:\\Tools\\Quorrin Notes"},
        {"C:\\Tools\\x.exe", ".ann", "C:\\Tools\\Quorrin Notes\\.ann", "C:\\Tools\\Quorrin Notes"},
        {"C:\\Tools\\x.exe", "a", "C:\\Tools\\Quorrin Notes\\a", "C:\\Tools\\Quorrin Notes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.exePath) + " / " + c.userName);
        FolderResult r = ComposeFolder(c.exePath, c.userName);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.folder, c.folder);
        EXPECT_EQ(r.firstLevel, std::strlen(c.firstLevel));
        EXPECT_EQ(r.folder.substr(0, r.firstLevel), c.firstLevel);
    }
}

TEST(NotesFolder, RefusesUnusableUserNames) {
    struct Case {
        const char* name;
        const char* userName;
    };
    const Case cases[] = {
        {"not obtained", nullptr},
        {"empty", ""},
        {"one dot", "."},
        {"two dots", ".."},
        {"three dots", "..."},
        {"backslash", "a\\b"},
        {"climbing backslash", "..\\x"},
        {"leading backslash", "\\ann"},
        {"slash", "a/b"},
        {"trailing slash", "ann/"},
        {"colon", "a:b"},
        {"drive", "c:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FolderResult r = ComposeFolder("D:\\Tools\\x.exe", c.userName);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.folder, "");
        EXPECT_EQ(r.firstLevel, 0u);
    }
}

TEST(NotesFolder, RefusesExePathWithoutBackslash) {
    const char* const paths[] = {"x.exe", "C:x.exe", "C:/Tools/x.exe"};
    for (const char* path : paths) {
        SCOPED_TRACE(path);
        FolderResult r = ComposeFolder(path, "ann");
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.folder, "");
        EXPECT_EQ(r.firstLevel, 0u);
    }
}

TEST(NotesFolder, RefusesTruncatedOrFailedModulePath) {
    const std::string exe = "D:\\Tools\\x.exe";
    const uint32_t length = static_cast<uint32_t>(exe.size());
    struct Case {
        const char* name;
        uint32_t reportedLength;
        uint32_t bufferSize;
        bool ok;
    };
    const Case cases[] = {
        {"one byte to spare", length, length + 1, true},
        {"fills the buffer", length, length, false},
        {"longer than the buffer", length, length - 1, false},
        {"failed call", 0, static_cast<uint32_t>(kPathSize), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The buffer holds what GetModuleFileNameA wrote: no zero when it filled it.
        std::vector<char> buffer(c.bufferSize, kGuard);
        size_t copied = std::min<size_t>(exe.size(), c.bufferSize);
        std::memcpy(buffer.data(), exe.data(), copied);
        if (copied < buffer.size()) {
            buffer[copied] = '\0';
        }
        FolderResult r = ComposeFolder(buffer.data(), c.reportedLength, c.bufferSize, "ann");
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.folder, c.ok ? "D:\\Tools\\Quorrin Notes\\ann" : "");
    }
}

TEST(NotesFolder, RefusesFullModuleBufferOfLongestPath) {
    std::vector<char> buffer(kPathSize, 'p');
    buffer[2] = '\\';
    FolderResult r = ComposeFolder(buffer.data(), static_cast<uint32_t>(kPathSize),
                                   static_cast<uint32_t>(kPathSize), "ann");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.folder, "");
}

TEST(NotesFolder, RefusesLengthThatDisagreesWithText) {
    // Reported length 14, but the text ends after "D:\To".
    char buffer[kPathSize] = "D:\\To\0ls\\x.exe";
    FolderResult r = ComposeFolder(buffer, 14, static_cast<uint32_t>(kPathSize), "ann");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.folder, "");
}

TEST(NotesFolder, LengthLimitWithDeepExeDirectory) {
    const size_t fixedPart = std::strlen("C:\\") + std::strlen("\\Quorrin Notes\\ann");
    struct Case {
        size_t folderLength;
        bool ok;
    };
    const Case cases[] = {{kMaxNotesFolderLength - 1, true},
                          {kMaxNotesFolderLength, true},
                          {kMaxNotesFolderLength + 1, false},
                          {kMaxNotesFolderLength + 20, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folderLength);
        ASSERT_GT(c.folderLength, fixedPart);
        std::string directory = "C:\\" + std::string(c.folderLength - fixedPart, 'd') + "\\";
        FolderResult r = ComposeFolder(directory + "q.exe", "ann");
        EXPECT_EQ(r.ok, c.ok);
        if (c.ok) {
            EXPECT_EQ(r.folder, directory + "Quorrin Notes\\ann");
            EXPECT_EQ(r.folder.size(), c.folderLength);
        } else {
            EXPECT_EQ(r.folder, "");
            EXPECT_EQ(r.firstLevel, 0u);
        }
    }
}

TEST(NotesFolder, LengthLimitWithLongUserName) {
    const std::string firstLevel = "D:\\Tools\\Quorrin Notes";
    struct Case {
        size_t folderLength;
        bool ok;
    };
    const Case cases[] = {{kMaxNotesFolderLength, true},
                          {kMaxNotesFolderLength + 1, false},
                          {firstLevel.size() + 1 + 256, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folderLength);
        std::string user(c.folderLength - firstLevel.size() - 1, 'u');
        FolderResult r = ComposeFolder("D:\\Tools\\x.exe", user.c_str());
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.folder, c.ok ? firstLevel + "\\" + user : "");
        EXPECT_EQ(r.firstLevel, c.ok ? firstLevel.size() : 0u);
    }
}

TEST(NotesFolder, UnterminatedUserNameIsNotReadBeyondWhatCouldFit) {
    // Exactly as many bytes as the scan may need, none of them a zero.
    std::vector<char> user(kMaxNotesFolderLength + 1, 'u');
    FolderResult r = ComposeFolder("C:\\x.exe", user.data());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.folder, "");
}

TEST(NotesFolder, MissingOutputsFailWithoutWriting) {
    const char* exe = "D:\\Tools\\x.exe";
    const uint32_t length = static_cast<uint32_t>(std::strlen(exe));
    size_t firstLevel = 99;
    EXPECT_FALSE(ComposeNotesFolder(exe, length, static_cast<uint32_t>(kPathSize), "ann",
                                    SingleByteCodePage(), nullptr, &firstLevel));
    EXPECT_EQ(firstLevel, 99u);

    char folder[kPathSize];
    std::memset(folder, kGuard, sizeof folder);
    EXPECT_FALSE(ComposeNotesFolder(exe, length, static_cast<uint32_t>(kPathSize), "ann",
                                    SingleByteCodePage(), folder, nullptr));
    EXPECT_EQ(folder[0], '\0');
}

// ---------------------------------------------------------------------------
// NotePath = folder + "\" + key + ".qnote", only for storable keys, never cut.

const char kFolder[] = "D:\\Tools\\Quorrin Notes\\ann";

// A folder of exactly kMaxNotesFolderLength characters, the longest there is.
std::string LongestFolder() {
    std::string folder = "C:\\";
    folder += std::string(kMaxNotesFolderLength - folder.size() - std::strlen("\\Quorrin Notes\\ann"),
                          'd');
    folder += "\\Quorrin Notes\\ann";
    return folder;
}

TEST(NotePath, ComposesFolderKeyAndExtension) {
    struct Case {
        const char* key;
        const char* path;
    };
    const Case cases[] = {
        {"80070005", "D:\\Tools\\Quorrin Notes\\ann\\80070005.qnote"},
        {"5", "D:\\Tools\\Quorrin Notes\\ann\\5.qnote"},
        {"-2147024891", "D:\\Tools\\Quorrin Notes\\ann\\-2147024891.qnote"},
        {"0xABCdef", "D:\\Tools\\Quorrin Notes\\ann\\0xABCdef.qnote"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        char path[kPathSize];
        ASSERT_TRUE(ComposeNotePath(kFolder, c.key, path, sizeof path));
        EXPECT_STREQ(path, c.path);
    }
}

TEST(NotePath, RefusesKeysThatAreNotStorable) {
    const char* const keys[] = {"..", "a:b", "..\\..\\x", "", "1234567890123456", "5.old",
                                "a/b", "*", "1 2"};
    for (const char* key : keys) {
        SCOPED_TRACE(key);
        char path[kPathSize];
        std::memset(path, kGuard, sizeof path);
        EXPECT_FALSE(ComposeNotePath(kFolder, key, path, sizeof path));
        EXPECT_EQ(path[0], '\0');
    }
    char path[kPathSize];
    std::memset(path, kGuard, sizeof path);
    EXPECT_FALSE(ComposeNotePath(kFolder, nullptr, path, sizeof path));
    EXPECT_EQ(path[0], '\0');
}

TEST(NotePath, RefusesMissingOrEmptyFolder) {
    const char* const folders[] = {nullptr, ""};
    for (const char* folder : folders) {
        SCOPED_TRACE(folder == nullptr ? "null" : "empty");
        char path[kPathSize];
        std::memset(path, kGuard, sizeof path);
        EXPECT_FALSE(ComposeNotePath(folder, "5", path, sizeof path));
        EXPECT_EQ(path[0], '\0');
    }
}

TEST(NotePath, LongestKeyInLongestFolderFitsMaxPath) {
    const std::string folder = LongestFolder();
    ASSERT_EQ(folder.size(), kMaxNotesFolderLength);
    const char key[] = "0x8007000500000";
    ASSERT_EQ(std::strlen(key), kNoteKeySize - 1);

    std::vector<char> path(kPathSize + 1, kGuard);
    ASSERT_TRUE(ComposeNotePath(folder.c_str(), key, path.data(), kPathSize));
    const std::string result(path.data());
    EXPECT_EQ(result.size(), kPathSize - 2);  // 259 characters + zero
    EXPECT_EQ(result, folder + "\\" + key + ".qnote");
    EXPECT_EQ(result.compare(0, folder.size() + 1, folder + "\\"), 0);
    EXPECT_EQ(result.compare(result.size() - 6, 6, ".qnote"), 0);
    EXPECT_EQ(path[kPathSize], kGuard);
}

TEST(NotePath, BufferSizeBoundary) {
    struct Case {
        std::string folder;
        const char* key;
    };
    const Case cases[] = {
        {kFolder, "5"},
        {kFolder, "80070005"},
        {LongestFolder(), "123456789012345"},
    };
    for (const Case& c : cases) {
        const std::string expected = c.folder + "\\" + c.key + ".qnote";
        const size_t needed = expected.size() + 1;
        SCOPED_TRACE(expected);

        // Exactly enough room.
        std::vector<char> fits(needed + 1, kGuard);
        ASSERT_TRUE(ComposeNotePath(c.folder.c_str(), c.key, fits.data(), needed));
        EXPECT_EQ(std::string(fits.data()), expected);
        EXPECT_EQ(fits[needed], kGuard);

        // One byte short: nothing but the empty text, and nothing past the end.
        std::vector<char> tooSmall(needed, kGuard);
        EXPECT_FALSE(ComposeNotePath(c.folder.c_str(), c.key, tooSmall.data(), needed - 1));
        EXPECT_EQ(tooSmall[0], '\0');
        EXPECT_EQ(std::count(tooSmall.begin() + 1, tooSmall.end(), kGuard),
                  static_cast<std::ptrdiff_t>(needed - 1))
            << "a partial path was written";
    }
}

TEST(NotePath, ZeroSizedBufferIsNotTouched) {
    char guard = kGuard;
    EXPECT_FALSE(ComposeNotePath(kFolder, "5", &guard, 0));
    EXPECT_EQ(guard, kGuard);
    EXPECT_FALSE(ComposeNotePath(kFolder, "5", nullptr, kPathSize));
}

TEST(NotePath, UnterminatedFolderIsRefused) {
    std::vector<char> folder(kPathSize, 'f');
    char path[kPathSize * 2];
    EXPECT_FALSE(ComposeNotePath(folder.data(), "5", path, sizeof path));
    EXPECT_EQ(path[0], '\0');
}

// ---------------------------------------------------------------------------
// Listing pattern = folder + "\*.qnote".

TEST(ListingPattern, AppendsWildcardAndExtension) {
    const std::string folders[] = {kFolder, LongestFolder()};
    for (const std::string& folder : folders) {
        SCOPED_TRACE(folder);
        std::vector<char> pattern(kPathSize + 1, kGuard);
        ASSERT_TRUE(ComposeListingPattern(folder.c_str(), pattern.data(), kPathSize));
        EXPECT_EQ(std::string(pattern.data()), folder + "\\*.qnote");
        EXPECT_EQ(pattern[kPathSize], kGuard);
    }
}

TEST(ListingPattern, BufferSizeBoundary) {
    const std::string expected = std::string(kFolder) + "\\*.qnote";
    const size_t needed = expected.size() + 1;

    std::vector<char> fits(needed, kGuard);
    ASSERT_TRUE(ComposeListingPattern(kFolder, fits.data(), needed));
    EXPECT_EQ(std::string(fits.data()), expected);

    std::vector<char> tooSmall(needed, kGuard);
    EXPECT_FALSE(ComposeListingPattern(kFolder, tooSmall.data(), needed - 1));
    EXPECT_EQ(tooSmall[0], '\0');
    EXPECT_EQ(std::count(tooSmall.begin() + 1, tooSmall.end(), kGuard),
              static_cast<std::ptrdiff_t>(needed - 1));
}

TEST(ListingPattern, RefusesMissingOrEmptyFolder) {
    const char* const folders[] = {nullptr, ""};
    for (const char* folder : folders) {
        SCOPED_TRACE(folder == nullptr ? "null" : "empty");
        char pattern[kPathSize];
        std::memset(pattern, kGuard, sizeof pattern);
        EXPECT_FALSE(ComposeListingPattern(folder, pattern, sizeof pattern));
        EXPECT_EQ(pattern[0], '\0');
    }
}

// ---------------------------------------------------------------------------
// A found file is a note when its name is a storable key + ".qnote" (any case).

TEST(NoteFileNames, KeyIsNameWithoutFinalExtension) {
    struct Case {
        const char* fileName;
        bool listed;
        const char* key;
    };
    const Case cases[] = {
        {"5.qnote", true, "5"},
        {"5.QNOTE", true, "5"},
        {"5.QNote", true, "5"},
        {"80070005.qnote", true, "80070005"},
        {"12029.qnote", true, "12029"},
        {"0x-AbC.qnote", true, "0x-AbC"},
        {"123456789012345.qnote", true, "123456789012345"},
        {"1234567890123456.qnote", false, ""},
        {"12345678901234567890.qnote", false, ""},
        {"5.old.qnote", false, ""},
        {"5..qnote", false, ""},
        {".qnote", false, ""},
        {"qnote", false, ""},
        {"5qnote", false, ""},
        {"", false, ""},
        {"a b.qnote", false, ""},
        {"~qn1234.tmp", false, ""},
        {"5.qnote.bak", false, ""},
        {"abc.qnote.tmp", false, ""},
        {"5.qnotes", false, ""},
        {"5.qnot", false, ""},
        {"5.txt", false, ""},
        {"5", false, ""},
        {"g.qnote", false, ""},
        {"5\xE9.qnote", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
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
    EXPECT_FALSE(KeyFromNoteFileName("5.qnote", nullptr));
}

TEST(NoteFileNames, UnterminatedNameIsNotReadPastMaxPath) {
    std::vector<char> name(kPathSize, '1');
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
