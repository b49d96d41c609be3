// The Note Browser over the real templates: its list, selection, saving and
// deleting, and how it keeps the main window's note panel in step.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "notes/note_browser.h"
#include "notes/notes_store.h"
#include "resources/resource_ids.h"
#include "tests/wine/dialog_harness.h"
#include "tests/wine/notes_test_support.h"

namespace {

const char kQuestion[] = "Are you sure you want to delete the note for error: ";

class NoteBrowserTest : public testing::Test {
protected:
    void SetUp() override {
        main_ = OpenMainDialog();
        ASSERT_NE(main_, nullptr);
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        caseFolder_ = FreshCaseFolder("browser-" + name);
        folder_ = UseCaseNotesFolder(caseFolder_);
        ASSERT_NE(folder_, "");
    }
    void TearDown() override {
        if (browser_ != nullptr) {
            DestroyWindow(browser_);
        }
        DestroyWindow(main_);
        PumpMessages();
    }
    void Open() {
        browser_ = CreateDialogParamA(Instance, MAKEINTRESOURCEA(IDD_BROWSER), main_,
                                      NoteBrowserProc, 0);
        ASSERT_NE(browser_, nullptr);
        list_ = GetDlgItem(browser_, IDC_BROWSER_LIST);
    }
    std::string Note(const char* key) { return folder_ + "\\" + key + ".qnote"; }
    void Write(const char* key, const std::string& text) {
        WriteBytes(Note(key), text + std::string(1, '\0'));
    }
    std::vector<std::string> Keys() {
        std::vector<std::string> keys;
        int count = static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[64] = {};
            LVITEMA item = {};
            item.iSubItem = 0;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&item));
            keys.push_back(text);
        }
        return keys;
    }
    void Select(const char* key) {
        std::vector<std::string> keys = Keys();
        for (size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] == key) {
                LVITEMA item = {};
                item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
                item.state = LVIS_SELECTED | LVIS_FOCUSED;
                SendMessageA(list_, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
                return;
            }
        }
        ADD_FAILURE() << "no item " << key;
    }
    void Press(HWND dialog, int id) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    void MainLookup(const char* text) {
        SetDlgItemTextA(main_, IDC_ERROR_FIELD, text);
        Press(main_, IDC_LOOKUP);
    }
    std::string Editor() { return ControlText(browser_, IDC_BROWSER_EDITOR); }
    bool SaveEnabled() { return ControlEnabled(browser_, IDC_BROWSER_SAVE); }
    bool DeleteEnabled() { return ControlEnabled(browser_, IDC_BROWSER_DELETE); }
    void DeleteAnswering(int answer, const char* key) {
        ModalAnswerer box("Confirm Delete", answer);
        Press(browser_, IDC_BROWSER_DELETE);
        ASSERT_TRUE(box.Join());
        EXPECT_EQ(box.MessageText(), std::string(kQuestion) + key);
        EXPECT_TRUE(box.HasButton(IDYES) && box.HasButton(IDNO));
    }

    HWND main_ = nullptr;
    HWND browser_ = nullptr;
    HWND list_ = nullptr;
    std::string caseFolder_;
    std::string folder_;
};

TEST_F(NoteBrowserTest, ListsEveryNoteInAscendingOrderWithNothingSelected) {
    Write("5", "five");
    Write("80070005", "denied");
    Write("12029", "no connection");
    Open();
    EXPECT_EQ(Keys(), (std::vector<std::string>{"12029", "5", "80070005"}));
    EXPECT_EQ(SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    EXPECT_FALSE(SaveEnabled());
    EXPECT_FALSE(DeleteEnabled());
    EXPECT_EQ(Editor(), "");
}

// More notes than the browser gathers in one go, in scrambled order and
// mixed spellings: every one is listed exactly once, in the list's order.
TEST_F(NoteBrowserTest, ListsAFullFolderOnceEachInOrder) {
    std::vector<std::string> written;
    const char* const kSpellings[] = {"%X", "%x", "0x%X", "-%u"};
    for (unsigned i = 0; i < 700; ++i) {
        char key[16];
        wsprintfA(key, kSpellings[i % 4], (i + 1) * 2654435761u % 100000007u);
        written.push_back(key);
        Write(key, key);
    }
    Open();
    std::vector<std::string> listed = Keys();
    ASSERT_EQ(listed.size(), written.size());
    for (size_t i = 1; i < listed.size(); ++i) {
        EXPECT_LE(lstrcmpA(listed[i - 1].c_str(), listed[i].c_str()), 0) << i;
    }
    std::sort(listed.begin(), listed.end());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(listed, written);
}

TEST_F(NoteBrowserTest, SkipsWhatIsNotANoteAndTouchesNothing) {
    Write("5", "five");
    Write("5.old", "an old copy");
    Write("12345678901234567890", "too long");
    Write("a b", "space");
    WriteBytes(folder_ + "\\.qnote", std::string(1, '\0'));
    WriteBytes(folder_ + "\\qn~1A2B.tmp", "partial");
    WriteBytes(folder_ + "\\6.QNOTE", std::string("six\0", 4));
    CreateDirectoryA((folder_ + "\\7.qnote").c_str(), nullptr);
    std::string before = ListTree(folder_ + "\\");
    Open();
    EXPECT_EQ(Keys(), (std::vector<std::string>{"5", "6"}));
    EXPECT_EQ(ListTree(folder_ + "\\"), before);
}

TEST_F(NoteBrowserTest, SelectingShowsEachNoteAndEnablesBothButtons) {
    Write("5", "five");
    Write("12029", "no connection");
    Open();
    Select("5");
    EXPECT_EQ(Editor(), "five");
    EXPECT_STREQ(BrowserKey, "5");
    EXPECT_TRUE(SaveEnabled());
    EXPECT_TRUE(DeleteEnabled());
    Select("12029");
    EXPECT_EQ(Editor(), "no connection");
    EXPECT_STREQ(BrowserKey, "12029");
}

TEST_F(NoteBrowserTest, UnreadableNoteIsShownEmptyWithSaveDisabled) {
    Write("5", "locked away");
    Open();
    HANDLE lock = CreateFileA(Note("5").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Select("5");
    EXPECT_EQ(Editor(), "");
    EXPECT_FALSE(SaveEnabled());
    EXPECT_TRUE(DeleteEnabled());
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(Note("5")), std::string("locked away\0", 12));
}

TEST_F(NoteBrowserTest, SavingTheMainKeysNoteUpdatesTheMainPanel) {
    // The main window's key in another letter case, and after a lookup that
    // failed: the MainKey keeps the typed text either way.
    const struct {
        const char* typed;
        const char* file;
    } cases[] = {{"8007000e", "8007000E"}, {"3E8", "3e8"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Write(c.file, "before");
        MainLookup(c.typed);
        Open();
        Select(c.file);
        SetDlgItemTextA(browser_, IDC_BROWSER_EDITOR, "saved from the browser");
        Press(browser_, IDC_BROWSER_SAVE);
        EXPECT_EQ(ReadBytes(Note(c.file)), std::string("saved from the browser\0", 23));
        EXPECT_EQ(ControlText(main_, IDC_NOTE_EDITOR), "saved from the browser");
        EXPECT_TRUE(ControlEnabled(main_, IDC_SAVE_NOTE));
        EXPECT_TRUE(ControlEnabled(main_, IDC_DELETE_NOTE));
        DestroyWindow(browser_);
        browser_ = nullptr;
    }
}

TEST_F(NoteBrowserTest, DeletingTheMainKeysNoteClearsTheMainPanelOnly) {
    Write("5", "five");
    Write("6", "six");
    MainLookup("5");
    ASSERT_EQ(ControlText(main_, IDC_NOTE_EDITOR), "five");
    Open();
    Select("6");
    DeleteAnswering(IDYES, "6");
    EXPECT_FALSE(FileExists(Note("6")));
    EXPECT_EQ(ControlText(main_, IDC_NOTE_EDITOR), "five");
    EXPECT_TRUE(ControlEnabled(main_, IDC_DELETE_NOTE));
    EXPECT_EQ(Keys(), (std::vector<std::string>{"5"}));

    Select("5");
    DeleteAnswering(IDNO, "5");
    EXPECT_TRUE(FileExists(Note("5")));
    EXPECT_EQ(Editor(), "five");
    DeleteAnswering(IDYES, "5");
    EXPECT_FALSE(FileExists(Note("5")));
    EXPECT_EQ(ControlText(main_, IDC_NOTE_EDITOR), "");
    EXPECT_FALSE(ControlEnabled(main_, IDC_DELETE_NOTE));
    EXPECT_TRUE(ControlEnabled(main_, IDC_SAVE_NOTE));
    // The last item went, and Save with it.
    EXPECT_TRUE(Keys().empty());
    EXPECT_FALSE(SaveEnabled());
    EXPECT_FALSE(DeleteEnabled());
    EXPECT_EQ(Editor(), "");
}

TEST_F(NoteBrowserTest, SaveAfterADeletionWritesTheDeletedKeyAgain) {
    Write("5", "five");
    Write("6", "six");
    Open();
    Select("5");
    DeleteAnswering(IDYES, "5");
    ASSERT_TRUE(SaveEnabled());
    SetDlgItemTextA(browser_, IDC_BROWSER_EDITOR, "back again");
    Press(browser_, IDC_BROWSER_SAVE);
    EXPECT_EQ(ReadBytes(Note("5")), std::string("back again\0", 11));
    EXPECT_EQ(Keys(), (std::vector<std::string>{"6"}));
    EXPECT_TRUE(DeleteEnabled());
}

// Delete, Save back without a row, Delete again: the second deletion finds
// no row of its key, and the row that took the old index stays.
TEST_F(NoteBrowserTest, SecondDeleteOfTheSameKeyLeavesOtherRows) {
    Write("5", "five");
    Write("6", "six");
    Write("7", "seven");
    Open();
    Select("6");
    DeleteAnswering(IDYES, "6");
    ASSERT_EQ(Keys(), (std::vector<std::string>{"5", "7"}));
    Press(browser_, IDC_BROWSER_SAVE);
    ASSERT_TRUE(FileExists(Note("6")));
    DeleteAnswering(IDYES, "6");
    EXPECT_FALSE(FileExists(Note("6")));
    EXPECT_EQ(Keys(), (std::vector<std::string>{"5", "7"}));
    EXPECT_TRUE(FileExists(Note("7")));
    EXPECT_STREQ(BrowserKey, "6");
}

TEST_F(NoteBrowserTest, FailedSaveAndDeleteAreReportedAndChangeNothing) {
    Write("5", "five");
    Open();
    Select("5");
    HANDLE lock = CreateFileA(Note("5").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    SetDlgItemTextA(browser_, IDC_BROWSER_EDITOR, "new text");
    ModalAnswerer saveBox("Save Note", IDOK);
    Press(browser_, IDC_BROWSER_SAVE);
    ASSERT_TRUE(saveBox.Join());
    EXPECT_EQ(saveBox.MessageText(), "Could not save the note for error: 5");
    EXPECT_EQ(saveBox.Icon(), LoadIconA(nullptr, IDI_HAND));
    EXPECT_TRUE(DeleteEnabled());

    ModalAnswerer deleteBox("Delete Note", IDOK);
    DeleteAnswering(IDYES, "5");
    ASSERT_TRUE(deleteBox.Join());
    EXPECT_EQ(deleteBox.MessageText(), "Could not delete the note for error: 5");
    EXPECT_EQ(Editor(), "new text");
    EXPECT_TRUE(SaveEnabled());
    EXPECT_TRUE(DeleteEnabled());
    EXPECT_EQ(Keys(), (std::vector<std::string>{"5"}));

    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(Note("5")), std::string("five\0", 5));
}

TEST_F(NoteBrowserTest, SelectionIsNeverRefused) {
    Write("5", "five");
    Open();
    NMLISTVIEW change = {};
    change.hdr.hwndFrom = list_;
    change.hdr.idFrom = IDC_BROWSER_LIST;
    change.hdr.code = LVN_ITEMCHANGING;
    change.iItem = 0;
    change.uChanged = LVIF_STATE;
    for (UINT state : {0u, 1u, 2u, 3u}) {
        SCOPED_TRACE(state);
        change.uNewState = state;
        SetWindowLongPtrA(browser_, DWLP_MSGRESULT, 0);
        EXPECT_EQ(NoteBrowserProc(browser_, WM_NOTIFY, IDC_BROWSER_LIST,
                                  reinterpret_cast<LPARAM>(&change)),
                  FALSE);
        EXPECT_EQ(GetWindowLongPtrA(browser_, DWLP_MSGRESULT), 0);
    }
}

// Modal, as the main window runs it: Esc's IDCANCEL is ignored and only
// WM_CLOSE ends the browser, with 0.
TEST_F(NoteBrowserTest, BrowseNotesOpensItModallyAndOnlyCloseEndsIt) {
    EscThenClose answer("Note Browser");
    ASSERT_TRUE(answer.Hooked());
    EXPECT_EQ(DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_BROWSER), main_, NoteBrowserProc, 0),
              0);
    EXPECT_EQ(MainDialogProc(main_, WM_SYSCOMMAND, IDM_BROWSE_NOTES, 0), FALSE);
    EXPECT_EQ(FindWindowA(nullptr, "Note Browser"), nullptr);
}

}  // namespace
