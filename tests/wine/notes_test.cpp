// The notes store and the main window's note panel, driven through the
// real dialog: lookups, Save Note, Delete Note and its "Confirm Delete"
// question, and the files they leave on disk.
#include <richedit.h>

#include <cstring>
#include <functional>
#include <string>

#include "app/app_state.h"
#include "notes/note_editor.h"
#include "notes/notes_store.h"
#include "resources/resource_ids.h"
#include "tests/wine/dialog_harness.h"
#include "tests/wine/main_window_test.h"
#include "tests/wine/notes_test_support.h"

namespace {

const char kQuestion[] = "Are you sure you want to delete the note for error: ";

class NotePanelTest : public MainWindowTest {
protected:
    bool SaveEnabled() { return Enabled(IDC_SAVE_NOTE); }
    bool DeleteEnabled() { return Enabled(IDC_DELETE_NOTE); }
    // Presses Delete Note and answers the question with answer.
    std::string DeleteAnswering(int answer) {
        AnsweredBox box = Answer("Confirm Delete", answer, [this] { Press(IDC_DELETE_NOTE); });
        EXPECT_TRUE(box.answered);
        EXPECT_TRUE(box.yesAndNo);
        EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_EXCLAMATION));
        return box.text;
    }
};

TEST(NotesFolder, IsCreatedAtStartUpBesideTheExeForTheLogonUser) {
    wchar_t user[kUserNameSize] = {};
    DWORD size = kUserNameSize;
    ASSERT_TRUE(GetUserNameW(user, &size));
    std::wstring wideExpected = Wide(TestExeDirectory()) + L"Quorrin Notes\\" + user;
    std::string expected = Narrow(wideExpected);
    RemoveDirectoryW(wideExpected.c_str());
    HWND dialog = OpenMainDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(std::wstring(NotesFolder), wideExpected);
    DWORD attributes = GetFileAttributesW(wideExpected.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);

    // "abc" under 80070005 is exactly the text and one zero byte.
    std::string note = expected + "\\80070005.qnote";
    DeleteFileA(note.c_str());
    SetDlgItemTextA(dialog, IDC_ERROR_FIELD, "0x80070005");
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LOOKUP, 0), 0);
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_SAVE_NOTE)));
    SetDlgItemTextA(dialog, IDC_NOTE_EDITOR, "abc");
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SAVE_NOTE, 0), 0);
    EXPECT_EQ(ReadBytes(note), std::string("abc\0", 4));
    DeleteFileA(note.c_str());
    DestroyWindow(dialog);
}

TEST_F(NotePanelTest, SavesRewriteTheWholeFile) {
    const struct {
        const char* text;
        std::string bytes;
    } saves[] = {{"a longer first note", std::string("a longer first note\0", 20)},
                 {"short", std::string("short\0", 6)},
                 {"", std::string(1, '\0')}};
    Lookup("5");
    for (const auto& save : saves) {
        SCOPED_TRACE(save.text);
        TypeNote(save.text);
        Press(IDC_SAVE_NOTE);
        EXPECT_EQ(ReadBytes(Note("5")), save.bytes);
        EXPECT_TRUE(DeleteEnabled());
    }
    // Nothing but the note is left behind: no temporary files.
    EXPECT_EQ(ListTree(Folder() + "\\"), "5.qnote\n");
}

TEST_F(NotePanelTest, ButtonsFollowTheStateTable) {
    // Window created: both disabled, editor empty.
    EXPECT_FALSE(SaveEnabled());
    EXPECT_FALSE(DeleteEnabled());
    // Success without a note: Save only.
    Lookup("5");
    EXPECT_TRUE(SaveEnabled());
    EXPECT_FALSE(DeleteEnabled());
    // Save: Delete enabled, editor unchanged.
    TypeNote("first");
    Press(IDC_SAVE_NOTE);
    EXPECT_TRUE(DeleteEnabled());
    EXPECT_EQ(Editor(), "first");
    // 0x5 shares the key 5 and so the note; the emptied editor's change is
    // dropped.
    Answer("Save Note", IDNO, [this] {
        TypeNote("");
        Lookup("0x5");
    });
    EXPECT_STREQ(MainKey, "5");
    EXPECT_EQ(Editor(), "first");
    EXPECT_TRUE(SaveEnabled());
    EXPECT_TRUE(DeleteEnabled());
    // A failed lookup disables both although 0x note files could exist.
    WriteBytes(Note("3E8"), std::string("kept\0", 5));
    Lookup("3E8");
    EXPECT_FALSE(SaveEnabled());
    EXPECT_FALSE(DeleteEnabled());
    EXPECT_EQ(Editor(), "");
    Lookup("0x");
    EXPECT_FALSE(SaveEnabled());
    EXPECT_FALSE(DeleteEnabled());
}

// Each action that would empty, replace or close a note editor asks first
// when its text has unsaved changes, and does as the answer says: Yes saves
// and goes on, No drops the changes and goes on, Cancel keeps the text, the
// selection and the window as they were, with the focus in the editor.
// Where nothing changed nothing is asked.
TEST_F(NotePanelTest, UnsavedChangesAreAskedAboutBeforeTheyAreDropped) {
    bool browsed = false;
    struct Action {
        const char* name;
        bool inBrowser;
        std::function<void()> run;
        std::function<bool()> done;
    };
    const Action actions[] = {
        {"lookup", false, [this] { Lookup("6"); },
         [this] { return std::string(MainKey) == "6" && Editor() == "six"; }},
        {"Browse Notes", false,
         [this, &browsed] {
             ModalAnswerer browser("Note Browser", ModalAnswerer::kClose);
             SendMessageA(Main(), WM_SYSCOMMAND, IDM_BROWSE_NOTES, 0);
             browsed = browser.Join();
         },
         // The main editor shows the note as stored.
         [this, &browsed] { return browsed && Editor() + '\0' == ReadBytes(Note("5")); }},
        {"closing the main window", false,
         [this] {
             SendMessageA(Main(), WM_CLOSE, 0, 0);
             // A close ends COM; the tests go on with it.
             if (!IsWindowVisible(Main())) {
                 CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
             }
         },
         [this] { return !IsWindowVisible(Main()); }},
        {"another note", true,
         [this] {
             MainWindowDriver::Select("6");
             PumpMessages();
         },
         [this] { return SelectedKey() == "6" && BrowserEditor() == "six"; }},
        {"closing the Note Browser", true, [this] { SendMessageA(Browser(), WM_CLOSE, 0, 0); },
         [this] { return !IsWindowVisible(Browser()); }},
    };
    for (const Action& action : actions) {
        for (int answer : {0, IDYES, IDNO, IDCANCEL}) {
            SCOPED_TRACE(testing::Message() << action.name << ", answer " << answer);
            ASSERT_TRUE(Open("unsaved"));
            browsed = false;
            WriteNote("5", "five");
            WriteNote("6", "six");
            Lookup("5");
            HWND editor = GetDlgItem(Main(), IDC_NOTE_EDITOR);
            if (action.inBrowser) {
                ASSERT_NE(OpenBrowser(), nullptr);
                ASSERT_TRUE(MainWindowDriver::Select("5"));
                editor = GetDlgItem(Browser(), IDC_BROWSER_EDITOR);
            }
            // Answer 0: nothing changed, so nothing may be asked.
            if (answer != 0) {
                SetWindowTextA(editor, "edited");
            }
            AnsweredBox box = Answer("Save Note", answer, action.run);
            EXPECT_EQ(box.answered, answer != 0);
            if (box.answered) {
                EXPECT_EQ(box.text, "Do you want to save the changes to the note for error: 5?");
                EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_EXCLAMATION));
                EXPECT_TRUE(box.yesAndNo);
            }
            EXPECT_EQ(ReadBytes(Note("5")), answer == IDYES ? std::string("edited\0", 7)
                                                            : std::string("five\0", 5));
            EXPECT_EQ(action.done(), answer != IDCANCEL);
            if (answer == IDCANCEL) {
                EXPECT_EQ(WindowText(editor), "edited");
                EXPECT_EQ(GetFocus(), editor);
                EXPECT_STREQ(MainKey, "5");
                if (action.inBrowser) {
                    EXPECT_EQ(SelectedKey(), "5");
                }
            }
        }
    }
}

// Whether a save would change characters, asked of the code page by number,
// so that one run covers them all: only what a code page lacks is lost.
TEST(CodePageStoresText, OnlyCharactersTheCodePageLacksAreLost) {
    const struct {
        UINT codePage;
        const wchar_t* text;
        bool stored;
    } cases[] = {{1252, L"\x41F\x440\x438\x432\x435\x442", false},  // Привет
                 {1252, L"\x141ukasz", false},                          // Łukasz
                 {1252, L"ok \x2192 done", false},                       // →
                 {1252, L"\xD83D\xDE00", false},                         // an emoji
                 {1252, L"Zo\xEB", true},
                 {1252, L"two\r\nlines", true},
                 {1252, L"", true},
                 {1251, L"\x41F\x440\x438\x432\x435\x442", true},
                 {1251, L"Zo\xEB", false},
                 {932, L"\x65E5\x672C\x8A9E \x8868\x30BD", true},  // 日本語 表ソ
                 {65001, L"\x41F \x141 \x2192 \xD83D\xDE00 \x8868", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.codePage << " " << &c - cases);
        EXPECT_EQ(CodePageStoresText(c.codePage, c.text, wcslen(c.text)), c.stored);
    }
}

// A note that a virus scanner or indexer holds open for a moment (300 ms)
// is saved and deleted all the same, and a notes folder that was removed
// while Quorrin ran is made again by the next save.
TEST_F(NotePanelTest, SaveAndDeleteWaitForAMomentaryHandleAndMakeTheFolder) {
    Lookup("5");
    RemoveDirectoryA(Folder().c_str());
    RemoveDirectoryA((CaseFolder() + "Quorrin Notes").c_str());
    ASSERT_FALSE(FileExists(CaseFolder() + "Quorrin Notes"));
    TypeNote("made again");
    Press(IDC_SAVE_NOTE);
    EXPECT_EQ(ReadBytes(Note("5")), std::string("made again\0", 11));

    for (int button : {IDC_SAVE_NOTE, IDC_DELETE_NOTE}) {
        SCOPED_TRACE(button);
        TypeNote("held");
        HANDLE holder = HoldElsewhere(Note("5"), 300);
        ASSERT_NE(holder, nullptr);
        ModalAnswerer confirm("Confirm Delete", IDYES);
        Press(button);
        WaitForSingleObject(holder, INFINITE);
        CloseHandle(holder);
        EXPECT_EQ(ReadBytes(Note("5")), button == IDC_SAVE_NOTE ? std::string("held\0", 5) : "");
    }
    EXPECT_FALSE(FileExists(Note("5")));
}

TEST_F(NotePanelTest, SaveUsesTheKeyOfTheLastLookupNotTheField) {
    Lookup("5");
    SetDlgItemTextA(Main(), IDC_ERROR_FIELD, "6");
    TypeNote("for five");
    Press(IDC_SAVE_NOTE);
    EXPECT_EQ(ReadBytes(Note("5")), std::string("for five\0", 9));
    EXPECT_FALSE(FileExists(Note("6")));
}

TEST_F(NotePanelTest, DeleteAnsweredNoKeepsEverything) {
    WriteBytes(Note("5"), std::string("keep me\0", 8));
    Lookup("5");
    ASSERT_EQ(Editor(), "keep me");
    EXPECT_EQ(DeleteAnswering(IDNO), std::string(kQuestion) + "5");
    EXPECT_EQ(Editor(), "keep me");
    EXPECT_TRUE(SaveEnabled());
    EXPECT_TRUE(DeleteEnabled());
    EXPECT_EQ(ReadBytes(Note("5")), std::string("keep me\0", 8));
}

TEST_F(NotePanelTest, DeleteAnsweredYesRemovesTheFileAndSaveStoresAgain) {
    WriteBytes(Note("80070005"), std::string("gone soon\0", 10));
    Lookup("80070005");
    EXPECT_EQ(DeleteAnswering(IDYES), std::string(kQuestion) + "80070005");
    EXPECT_FALSE(FileExists(Note("80070005")));
    EXPECT_EQ(Editor(), "");
    EXPECT_TRUE(SaveEnabled());
    EXPECT_FALSE(DeleteEnabled());
    // Not the pressed button, now disabled: the focus stays in the window.
    EXPECT_EQ(GetFocus(), GetDlgItem(Main(), IDC_NOTE_EDITOR));
    Press(IDC_SAVE_NOTE);
    EXPECT_EQ(ReadBytes(Note("80070005")), std::string(1, '\0'));
    EXPECT_TRUE(DeleteEnabled());
}

// Every note file shows its text up to the first zero. One that a save
// would not give back byte for byte is shown with Save disabled in both
// windows, and no press of Save writes it.
TEST_F(NotePanelTest, NoteFilesReadAsTheirTextUpToTheFirstZero) {
    const struct {
        std::string bytes;
        const char* text;  // nullptr: whatever the editor makes of it
        bool saveable;
    } files[] = {{"", "", true},
                 {"no final zero", "no final zero", true},
                 {std::string("text\0\0\0", 7), "text", true},
                 {"{\\rtf1 x}", "{\\rtf1 x}", true},
                 {std::string("cut\0here\0", 9), "cut", false},
                 {std::string("\xEF\xBB\xBF" "ab\xE9 cd\0", 10), nullptr, false}};
    for (const auto& file : files) {
        SCOPED_TRACE(testing::Message() << "file " << &file - files);
        WriteBytes(Note("5"), file.bytes);
        Lookup("5");
        if (file.text != nullptr) {
            EXPECT_EQ(Editor(), file.text);
        }
        EXPECT_EQ(SaveEnabled(), file.saveable);
        EXPECT_TRUE(DeleteEnabled());
        ASSERT_NE(OpenBrowser(), nullptr);
        ASSERT_TRUE(Select("5"));
        EXPECT_EQ(ControlEnabled(Browser(), IDC_BROWSER_SAVE), file.saveable);
        EXPECT_TRUE(ControlEnabled(Browser(), IDC_BROWSER_DELETE));
        if (!file.saveable) {
            Press(Browser(), IDC_BROWSER_SAVE);
            CloseBrowser();
            Press(IDC_SAVE_NOTE);
            EXPECT_EQ(ReadBytes(Note("5")), file.bytes);
        }
        CloseBrowser();
    }
}

// A file or link that someone put at the save's temporary name, here a hard
// link to a file outside the notes folder, is neither written through nor
// removed; the save takes another name.
TEST_F(NotePanelTest, FileAtTheTemporaryNameIsLeftAsItWas) {
    const std::string outside = CaseFolder() + "outside.txt";
    WriteBytes(outside, "not a note");
    wchar_t wideTemporary[kNotePathSize] = {};
    ASSERT_TRUE(ComposeTemporaryPath(NotesFolder, GetCurrentProcessId() & 0xFFFFu, wideTemporary,
                                     kNotePathSize));
    const std::string temporary = Narrow(wideTemporary);
    ASSERT_TRUE(CreateHardLinkA(temporary.c_str(), outside.c_str(), nullptr));
    Lookup("5");
    TypeNote("the note");
    Press(IDC_SAVE_NOTE);
    EXPECT_EQ(ReadBytes(Note("5")), std::string("the note\0", 9));
    EXPECT_EQ(ReadBytes(outside), "not a note");
    EXPECT_EQ(ReadBytes(temporary), "not a note");
}

TEST_F(NotePanelTest, RichTextLookalikeRoundTripsUnchanged) {
    const std::string bytes("{\\rtf1 x}\0", 10);
    WriteBytes(Note("5"), bytes);
    Lookup("5");
    ASSERT_EQ(Editor(), "{\\rtf1 x}");
    Press(IDC_SAVE_NOTE);
    EXPECT_EQ(ReadBytes(Note("5")), bytes);
}

TEST_F(NotePanelTest, LargeNoteOfAllPrintableBytesRoundTripsByteForByte) {
    ASSERT_EQ(GetACP(), 1252u) << "the round trip is defined for code page 1252";
    // Few long lines: Wine's rich edit clears many short lines slowly.
    std::string line;
    for (int c = 0x20; c <= 0xFF; ++c) {
        line += static_cast<char>(c);
        line += '\t';
    }
    std::string text;
    while (text.size() < (1u << 20)) {
        text += line + line + line + line + "\r\n";
    }
    WriteBytes(Note("5"), text + std::string(1, '\0'));
    Lookup("5");
    ASSERT_TRUE(SaveEnabled()) << "every byte is text in 1252";
    Press(IDC_SAVE_NOTE);
    std::string saved = ReadBytes(Note("5"));
    ASSERT_EQ(saved.size(), text.size() + 1);
    EXPECT_TRUE(saved == text + std::string(1, '\0')) << "the bytes differ";
}

TEST_F(NotePanelTest, LoneLineBreaksComeBackAsCrLf) {
    WriteBytes(Note("5"), std::string("a\nb\rc\r\nd\0", 9));
    Lookup("5");
    Press(IDC_SAVE_NOTE);
    EXPECT_EQ(ReadBytes(Note("5")), std::string("a\r\nb\r\nc\r\nd\0", 11));
}

TEST_F(NotePanelTest, UnstorableKeysTouchNoFile) {
    const char* pasted[] = {"..\\..\\5", "a:b", ".", "..", "\\", "5.", "0x0x", "5 5", "/5"};
    std::string before = ListTree(CaseFolder());
    std::string parentBefore = ListTree(TestExeDirectory() + "notes-cases\\");
    int succeeded = 0;
    for (const char* text : pasted) {
        SCOPED_TRACE(text);
        Lookup(text);
        if (ControlText(Main(), IDC_STATUS) != "") {
            ++succeeded;
        }
        EXPECT_FALSE(SaveEnabled());
        EXPECT_FALSE(DeleteEnabled());
        EXPECT_EQ(Editor(), "");
    }
    // At least one of them reads as a number the system has a text for, so
    // the panel rule for a successful lookup was really exercised.
    EXPECT_GT(succeeded, 0);
    EXPECT_EQ(ListTree(CaseFolder()), before);
    EXPECT_EQ(ListTree(TestExeDirectory() + "notes-cases\\"), parentBefore);
}

// An exe whose notes' paths would pass MAX_PATH: the folder takes the long
// form, and notes are saved, shown, listed and deleted there.
TEST_F(NotePanelTest, NotesWorkWhereTheirPathsPassMaxPath) {
    // An exe path of 250 characters, which Windows can start.
    const size_t depth = 250 - CaseFolder().size() - std::strlen("\\Quorrin.exe");
    ASSERT_LT(depth, 250u) << "the test's folder is too deep already";
    std::string deep = CaseFolder() + std::string(depth, 'd') + "\\";
    CreateDirectoryW(Wide(deep).c_str(), nullptr);
    std::wstring exe = Wide(deep + "Quorrin.exe");
    PrepareNotesFolderFrom(exe.c_str(), static_cast<DWORD>(exe.size()), kExePathSize, L"tester",
                           nullptr);
    const std::wstring note = L"\\\\?\\" + Wide(deep) + L"Quorrin Notes\\tester\\5.qnote";
    ASSERT_GT(note.size(), static_cast<size_t>(MAX_PATH));
    ASSERT_EQ(std::wstring(NotesFolder) + L"\\5.qnote", note);
    Lookup("5");
    TypeNote("deep");
    Press(IDC_SAVE_NOTE);
    EXPECT_EQ(ReadBytes(Narrow(note)), std::string("deep\0", 5));
    Answer("Save Note", IDNO, [this] {
        TypeNote("");
        Lookup("5");
    });
    EXPECT_EQ(Editor(), "deep");
    ASSERT_NE(OpenBrowser(), nullptr);
    EXPECT_EQ(Keys(), std::vector<std::string>{"5"});
    CloseBrowser();
    EXPECT_EQ(DeleteAnswering(IDYES), std::string(kQuestion) + "5");
    EXPECT_EQ(GetFileAttributesW(note.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ListTree(deep), "Quorrin Notes\\\nQuorrin Notes\\tester\\\n");
}

// A note another program holds open with share mode 0: it cannot be read,
// replaced or deleted. Nothing is overwritten and every failure is told,
// with the system's reason after a blank line.
TEST_F(NotePanelTest, LockedNoteIsNeitherOverwrittenNorSilentlyLost) {
    const std::string bytes("precious\0", 9);
    WriteBytes(Note("5"), bytes);
    Lookup("5");
    ASSERT_EQ(Editor(), "precious");
    HANDLE lock = CreateFileA(Note("5").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    TypeNote("replacement");
    AnsweredBox saveBox = Answer("Save Note", IDOK, [this] { Press(IDC_SAVE_NOTE); });
    ASSERT_TRUE(saveBox.answered);
    EXPECT_EQ(saveBox.text, LockedSaveReport(Note("5"), "5"));
    EXPECT_EQ(saveBox.icon, LoadIconA(nullptr, IDI_HAND));
    EXPECT_EQ(Editor(), "replacement");
    EXPECT_TRUE(DeleteEnabled());

    // Looked up while locked, the unsaved text dropped: shown empty, and
    // Save is off so that an empty save cannot replace it later.
    EXPECT_TRUE(Answer("Save Note", IDNO, [this] { Lookup("5"); }).answered);
    EXPECT_EQ(Editor(), "");
    EXPECT_FALSE(SaveEnabled());
    EXPECT_TRUE(DeleteEnabled());

    ModalAnswerer deleteBox("Delete Note", IDOK);
    EXPECT_EQ(DeleteAnswering(IDYES), std::string(kQuestion) + "5");
    ASSERT_TRUE(deleteBox.Join());
    EXPECT_EQ(deleteBox.MessageText(), LockedDeleteReport(Note("5"), "5"));
    EXPECT_TRUE(DeleteEnabled());

    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(Note("5")), bytes);
    EXPECT_EQ(ListTree(Folder() + "\\"), "5.qnote\n");
}

// A note of 4 GiB + 10 bytes (sparse, so it takes no room) is far too large
// for the editor, not a note of 10 bytes: nothing is shown, and Save stays
// off so that no save can replace it.
TEST_F(NotePanelTest, NoteOfFourGigabytesIsTooLargeToHold) {
    WriteBytes(Note("5"), "ten bytes!");
    HANDLE file = CreateFileA(Note("5").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = (1LL << 32) + 10;
    ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);

    Lookup("5");
    EXPECT_EQ(Editor(), "");
    EXPECT_FALSE(SaveEnabled());
    EXPECT_TRUE(DeleteEnabled());
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExA(Note("5").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeHigh, 1u);
    EXPECT_EQ(data.nFileSizeLow, 10u);
    DeleteFileA(Note("5").c_str());
}

// The editor's own stream callback, wrapped so that the control stops
// reading after the first chunk, as a control short of memory would.
WNDPROC editorProc = nullptr;
EDITSTREAMCALLBACK productCallback = nullptr;
int chunksGiven = 0;

DWORD CALLBACK FirstChunkOnly(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG* given) {
    if (chunksGiven++ > 0) {
        *given = 0;
        return 1;
    }
    return productCallback(cookie, buffer, requested, given);
}

LRESULT CALLBACK StoppingEditor(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == EM_STREAMIN) {
        EDITSTREAM stream = *reinterpret_cast<EDITSTREAM*>(lParam);
        productCallback = stream.pfnCallback;
        stream.pfnCallback = FirstChunkOnly;
        chunksGiven = 0;
        LRESULT result = CallWindowProcA(editorProc, window, message, wParam,
                                         reinterpret_cast<LPARAM>(&stream));
        reinterpret_cast<EDITSTREAM*>(lParam)->dwError = stream.dwError;
        return result;
    }
    return CallWindowProcA(editorProc, window, message, wParam, lParam);
}

TEST_F(NotePanelTest, NoteTheEditorTookOnlyPartOfIsNotShown) {
    const std::string text(3 * 4096, 'n');
    WriteBytes(Note("5"), text + std::string(1, '\0'));
    HWND editor = GetDlgItem(Main(), IDC_NOTE_EDITOR);
    editorProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StoppingEditor)));
    Lookup("5");
    SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editorProc));
    ASSERT_EQ(chunksGiven, 2) << "the stream was not cut after its first chunk";
    EXPECT_EQ(Editor().size(), 0u);
    EXPECT_FALSE(SaveEnabled());
    EXPECT_TRUE(DeleteEnabled());
    EXPECT_TRUE(ReadBytes(Note("5")) == text + std::string(1, '\0'));
}

// An editor that counts its text short, as Wine's does in characters where
// a double-byte code page needs bytes: the save is refused and told, and the
// note on disk stays whole.
LRESULT CALLBACK CountingShortEditor(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcA(editorProc, window, message, wParam, lParam);
    return message == EM_GETTEXTLENGTHEX ? result / 2 : result;
}

TEST_F(NotePanelTest, EditorThatCountsItsTextShortNeverHasAPartSaved) {
    const std::string bytes("the whole note\0", 15);
    WriteBytes(Note("5"), bytes);
    HWND editor = GetDlgItem(Main(), IDC_NOTE_EDITOR);
    // A key with a note, and a new key, whose refused save leaves Delete off.
    const struct {
        const char* key;
        bool hasNote;
    } keys[] = {{"5", true}, {"6", false}};
    for (const auto& k : keys) {
        const char* key = k.key;
        SCOPED_TRACE(key);
        {
            // The text the last round could not save is dropped.
            ModalAnswerer drop("Save Note", IDNO);
            Lookup(key);
        }
        TypeNote("a longer note that is counted at half its length");
        editorProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingShortEditor)));
        AnsweredBox box = Answer("Save Note", IDOK, [this] { Press(IDC_SAVE_NOTE); });
        SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editorProc));
        EXPECT_TRUE(box.answered);
        EXPECT_EQ(box.text, std::string("Could not save the note for error: ") + key);
        EXPECT_EQ(DeleteEnabled(), k.hasNote);
        EXPECT_EQ(FileExists(Note(key)), k.hasNote);
    }
    EXPECT_EQ(ReadBytes(Note("5")), bytes);
    EXPECT_EQ(ListTree(Folder() + "\\"), "5.qnote\n");
}

TEST_F(NotePanelTest, DeletingANoteThatIsAlreadyGoneCountsAsDeleted) {
    WriteBytes(Note("5"), std::string("x\0", 2));
    Lookup("5");
    DeleteFileA(Note("5").c_str());
    DeleteAnswering(IDYES);
    EXPECT_FALSE(DeleteEnabled());
    EXPECT_EQ(Editor(), "");
}

}  // namespace
