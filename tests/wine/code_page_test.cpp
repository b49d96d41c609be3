// Notes in the system's ANSI code page, whichever it is. ctest runs these
// tests once in the ordinary run (1252) and once more under each of the
// locales whose code pages Quorrin's users have: Japanese 932, Simplified
// Chinese 936, Korean 949, Traditional Chinese 950, Cyrillic 1251 and UTF-8
// 65001. QUORRIN_ACP names the code page a run expects, and every test first
// checks it, so a run that fell back to 1252 fails instead of passing.
//
// The texts are made of whatever characters the running code page has, found
// by converting and converting back, so no byte values are assumed here.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "notes/notes_store.h"
#include "resources/resource_ids.h"
#include "tests/wine/dialog_harness.h"
#include "tests/wine/main_window_test.h"
#include "tests/wine/notes_test_support.h"

namespace {

UINT ExpectedCodePage() {
    const char* named = getenv("QUORRIN_ACP");
    return named != nullptr ? static_cast<UINT>(strtoul(named, nullptr, 10)) : 1252u;
}

// The ANSI bytes of one character, or "" when the code page has none for it.
std::string AnsiCharacter(const wchar_t* wide, int wideLength) {
    char bytes[8] = {};
    BOOL lost = FALSE;
    bool utf8 = GetACP() == CP_UTF8;
    int length = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, wideLength,
                                     bytes, sizeof bytes, nullptr, utf8 ? nullptr : &lost);
    if (length <= 0 || lost) {
        return "";
    }
    wchar_t back[4] = {};
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, length, back, 4) != wideLength ||
        std::wstring(back, static_cast<size_t>(wideLength)) !=
            std::wstring(wide, static_cast<size_t>(wideLength))) {
        return "";
    }
    return std::string(bytes, static_cast<size_t>(length));
}

// Characters of the running code page: Latin, Cyrillic, kana, CJK, Hangul
// and, where the code page has it, one outside the Basic Multilingual Plane.
std::vector<std::string> CodePageCharacters() {
    std::vector<std::string> characters;
    const struct {
        wchar_t first;
        wchar_t last;
    } ranges[] = {{0x20, 0x7E},     {0xA0, 0xFF},     {0x410, 0x44F},  {0x3041, 0x3093},
                  {0x30A1, 0x30F6}, {0x4E00, 0x4EFF}, {0x8868, 0x8868}, {0x8A31, 0x8A31},
                  {0xAC00, 0xAC7F}};
    for (const auto& range : ranges) {
        for (wchar_t c = range.first; c <= range.last; ++c) {
            std::string bytes = AnsiCharacter(&c, 1);
            if (!bytes.empty()) {
                characters.push_back(bytes);
            }
        }
    }
    const wchar_t grinning[] = {0xD83D, 0xDE00};
    std::string bytes = AnsiCharacter(grinning, 2);
    if (!bytes.empty()) {
        characters.push_back(bytes);
    }
    return characters;
}

// The characters whose second byte is the backslash, such as 表 and ソ in
// 932 or 許 and 功 in 950; none in single-byte code pages, 949 or UTF-8.
std::vector<std::string> BackslashTrailCharacters() {
    std::vector<std::string> characters;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        if (!IsDBCSLeadByte(static_cast<BYTE>(lead))) {
            continue;
        }
        char bytes[2] = {static_cast<char>(lead), '\\'};
        wchar_t wide[2] = {};
        if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2) == 1 &&
            AnsiCharacter(wide, 1) == std::string(bytes, 2)) {
            characters.push_back(std::string(bytes, 2));
        }
    }
    return characters;
}

bool IsMultiByte(const std::string& character) {
    return character.size() > 1;
}

// At least size bytes: long lines of the code page's characters with every
// 4096-byte edge inside a character of two or more bytes, where the code
// page has such characters.
std::string LargeNote(const std::vector<std::string>& characters, size_t size) {
    std::vector<std::string> wide;
    for (const std::string& c : characters) {
        if (IsMultiByte(c)) {
            wide.push_back(c);
        }
    }
    std::string text;
    unsigned state = 2463534242u;
    while (text.size() < size) {
        size_t edge = (text.size() / 4096 + 1) * 4096;
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        if (!wide.empty() && text.size() + 8 >= edge) {
            // Single bytes up to the byte before the edge, then a character
            // across it.
            while (text.size() + 1 < edge) {
                text += 'a';
            }
            text += wide[state % wide.size()];
        } else if (state % 97 == 0) {
            text += "\r\n";
        } else {
            text += characters[state % characters.size()];
        }
    }
    return text;
}

class CodePageTest : public MainWindowTest {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), ExpectedCodePage()) << "this run is not under the code page it tests";
        MainWindowTest::SetUp();
        characters_ = CodePageCharacters();
        ASSERT_GT(characters_.size(), 95u) << "no characters beyond ASCII";
    }
    // Opens the Note Browser and selects its only note.
    void BrowseTheOneNote() {
        ASSERT_NE(OpenBrowser(), nullptr);
        ASSERT_EQ(Keys().size(), 1u);
        ASSERT_TRUE(Select(Keys()[0].c_str()));
    }

    std::vector<std::string> characters_;
};

TEST_F(CodePageTest, TypedNoteIsSavedWhole) {
    std::string text;
    for (size_t i = 0; i < characters_.size(); i += characters_.size() / 40) {
        text += characters_[i];
    }
    for (const std::string& c : BackslashTrailCharacters()) {
        text += c;
    }
    text += "\r\nend";
    Lookup("5");
    TypeNote(text.c_str());
    ASSERT_EQ(Editor(), text);
    Press(IDC_SAVE_NOTE);
    EXPECT_EQ(ReadBytes(Note("5")), text + std::string(1, '\0'));
    EXPECT_TRUE(Enabled(IDC_DELETE_NOTE));
}

// Long enough for ten 4096-byte stream chunks, each edge inside a character.
TEST_F(CodePageTest, LargeNoteOpensAndSavesBackByteForByte) {
    const std::string text = LargeNote(characters_, 40 * 1024 + 100);
    const std::string bytes = text + std::string(1, '\0');
    WriteBytes(Note("5"), bytes);

    Lookup("5");
    ASSERT_TRUE(Enabled(IDC_SAVE_NOTE));
    EXPECT_TRUE(Editor() == text) << "the note shows changed";
    Press(IDC_SAVE_NOTE);
    std::string saved = ReadBytes(Note("5"));
    EXPECT_EQ(saved.size(), bytes.size());
    EXPECT_TRUE(saved == bytes) << "the main window's save changed the note";

    BrowseTheOneNote();
    ASSERT_TRUE(ControlEnabled(Browser(), IDC_BROWSER_SAVE));
    Press(Browser(), IDC_BROWSER_SAVE);
    saved = ReadBytes(Note("5"));
    EXPECT_EQ(saved.size(), bytes.size());
    EXPECT_TRUE(saved == bytes) << "the Note Browser's save changed the note";
}

// The notes folder beside an exe and for a user whose names hold characters
// ending in the backslash's byte, or any characters beyond ASCII where the
// code page has none of those.
TEST_F(CodePageTest, NotesFolderKeepsItsPlaceWhateverTheNames) {
    std::vector<std::string> odd = BackslashTrailCharacters();
    for (const std::string& c : characters_) {
        if (odd.size() >= 3) {
            break;
        }
        if (static_cast<unsigned char>(c[0]) >= 0x80) {
            odd.push_back(c);
        }
    }
    ASSERT_GE(odd.size(), 3u);
    const std::string exe = CaseFolder() + odd[0] + odd[1] + ".exe";
    const std::string user = odd[2] + "ab" + odd[0];
    const std::wstring wideExe = Wide(exe);
    PrepareNotesFolderFrom(wideExe.c_str(), static_cast<DWORD>(wideExe.size()), kExePathSize,
                           Wide(user).c_str(), nullptr);
    // The folder the ANSI names spell is the one the store made.
    const std::string expected = CaseFolder() + "Quorrin Notes\\" + user;
    ASSERT_EQ(std::wstring(NotesFolder), Wide(expected));
    DWORD attributes = GetFileAttributesA(expected.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);

    Lookup("80070005");
    ASSERT_TRUE(Enabled(IDC_SAVE_NOTE));
    TypeNote(user.c_str());
    Press(IDC_SAVE_NOTE);
    EXPECT_EQ(ReadBytes(expected + "\\80070005.qnote"), user + std::string(1, '\0'));
    EXPECT_EQ(ListTree(expected + "\\"), "80070005.qnote\n");
}

// A note written under 1252, "caf" E9 " au lait": where E9 starts a longer
// character that a space cannot end (932, 936, 949, 950, UTF-8), its bytes
// are no text here, and neither window lets a save replace them with what
// the editor made of them; in a single-byte code page it stays editable.
TEST_F(CodePageTest, NoteOfAnotherCodePageIsSavedOverOnlyWhereItIsText) {
    const std::string bytes("caf\xE9 au lait\0", 13);
    CPINFO info = {};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
    const bool text = info.MaxCharSize == 1;
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), 12, nullptr, 0) != 0,
              text);
    WriteBytes(Note("5"), bytes);
    Lookup("5");
    EXPECT_EQ(Enabled(IDC_SAVE_NOTE), text);
    EXPECT_TRUE(Enabled(IDC_DELETE_NOTE));
    Press(IDC_SAVE_NOTE);
    BrowseTheOneNote();
    EXPECT_EQ(ControlEnabled(Browser(), IDC_BROWSER_SAVE), text);
    EXPECT_TRUE(ControlEnabled(Browser(), IDC_BROWSER_DELETE));
    Press(Browser(), IDC_BROWSER_SAVE);
    EXPECT_EQ(ReadBytes(Note("5")), bytes);
}

}  // namespace
