// The Note Browser over the real templates: its list, selection, saving and
// deleting, and how it keeps the main window's note panel in step.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "notes/note_browser.h"
#include "resources/resource_ids.h"
#include "tests/wine/dialog_harness.h"
#include "tests/wine/main_window_test.h"
#include "tests/wine/notes_test_support.h"

namespace {

const char kQuestion[] = "Are you sure you want to delete the note for error: ";

class NoteBrowserTest : public MainWindowTest {
protected:
    void Open() { ASSERT_NE(OpenBrowser(), nullptr); }
    void Write(const char* key, const std::string& text) { WriteNote(key, text); }
    void MainLookup(const char* text) { Lookup(text); }
    std::string Editor() { return BrowserEditor(); }
    bool SaveEnabled() { return ControlEnabled(Browser(), IDC_BROWSER_SAVE); }
    bool DeleteEnabled() { return ControlEnabled(Browser(), IDC_BROWSER_DELETE); }
    void Select(const char* key) { ASSERT_TRUE(MainWindowDriver::Select(key)) << "no item " << key; }
    HWND List() { return GetDlgItem(Browser(), IDC_BROWSER_LIST); }
    void DeleteAnswering(int answer, const char* key) {
        AnsweredBox box =
            Answer("Confirm Delete", answer, [this] { Press(Browser(), IDC_BROWSER_DELETE); });
        ASSERT_TRUE(box.answered);
        EXPECT_EQ(box.text, std::string(kQuestion) + key);
        EXPECT_TRUE(box.yesAndNo);
    }
};

TEST_F(NoteBrowserTest, ListsEveryNoteInAscendingOrderWithNothingSelected) {
    Write("5", "five");
    Write("80070005", "denied");
    Write("12029", "no connection");
    Open();
    EXPECT_EQ(Keys(), (std::vector<std::string>{"12029", "5", "80070005"}));
    EXPECT_EQ(SendMessageA(List(), LVM_GETSELECTEDCOUNT, 0, 0), 0);
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

// Filled in bulk, the list is whole once it shows: it counts and names its
// items as before, scrolls over all of them but never sideways, and paints
// the text of the first one on the screen.
TEST_F(NoteBrowserTest, ListPaintsItsItemsAfterTheFill) {
    std::vector<std::string> written;
    for (int i = 100; i < 160; ++i) {
        written.push_back(std::to_string(i));
        Write(written.back().c_str(), "n");
    }
    Open();
    ShowWindow(Browser(), SW_SHOW);
    RedrawWindow(Browser(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN |
                                                  RDW_UPDATENOW);
    EXPECT_EQ(Keys(), written);
    SCROLLINFO scroll = {};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(List(), SB_VERT, &scroll)) << "no scroll bar over 60 items";
    EXPECT_GE(scroll.nMax, 59);
    // The one column fits beside the vertical scroll bar: nothing to scroll
    // sideways.
    EXPECT_EQ(GetWindowLongA(List(), GWL_STYLE) & WS_HSCROLL, 0);
    RECT client = {};
    GetClientRect(List(), &client);
    EXPECT_LE(SendMessageA(List(), LVM_GETCOLUMNWIDTH, 0, 0), client.right);

    RECT item = {};
    item.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageA(List(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)));
    ASSERT_GT(item.right - item.left, 0);
    ASSERT_GT(item.bottom - item.top, 0);
    HDC dc = GetDC(List());
    COLORREF background = GetPixel(dc, item.right - 1, item.top);
    int drawn = 0;
    for (int y = item.top; y < item.bottom; ++y) {
        for (int x = item.left; x < item.right; ++x) {
            drawn += GetPixel(dc, x, y) != background ? 1 : 0;
        }
    }
    ReleaseDC(List(), dc);
    EXPECT_GT(drawn, 0) << "the first item's text is not on the screen";
}

TEST_F(NoteBrowserTest, SkipsWhatIsNotANoteAndTouchesNothing) {
    Write("5", "five");
    Write("5.old", "an old copy");
    Write("12345678901234567890", "too long");
    Write("a b", "space");
    WriteBytes(Folder() + "\\.qnote", std::string(1, '\0'));
    WriteBytes(Folder() + "\\qn~1A2B.tmp", "partial");
    WriteBytes(Folder() + "\\6.QNOTE", std::string("six\0", 4));
    CreateDirectoryA((Folder() + "\\7.qnote").c_str(), nullptr);
    std::string before = ListTree(Folder() + "\\");
    Open();
    EXPECT_EQ(Keys(), (std::vector<std::string>{"5", "6"}));
    EXPECT_EQ(ListTree(Folder() + "\\"), before);
}

TEST_F(NoteBrowserTest, SelectingShowsEachNoteAndEnablesBothButtons) {
    Write("5", "five");
    Write("12029", "no connection");
    Open();
    Select("5");
    EXPECT_EQ(Editor(), "five");
    EXPECT_TRUE(SaveEnabled());
    EXPECT_TRUE(DeleteEnabled());
    Select("12029");
    EXPECT_EQ(Editor(), "no connection");
    // Save now belongs to the second note only.
    SetDlgItemTextA(Browser(), IDC_BROWSER_EDITOR, "timed out");
    Press(Browser(), IDC_BROWSER_SAVE);
    EXPECT_EQ(ReadBytes(Note("12029")), std::string("timed out\0", 10));
    EXPECT_EQ(ReadBytes(Note("5")), std::string("five\0", 5));
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
        SetDlgItemTextA(Browser(), IDC_BROWSER_EDITOR, "saved from the browser");
        Press(Browser(), IDC_BROWSER_SAVE);
        EXPECT_EQ(ReadBytes(Note(c.file)), std::string("saved from the browser\0", 23));
        EXPECT_EQ(Field(IDC_NOTE_EDITOR), "saved from the browser");
        EXPECT_TRUE(Enabled(IDC_SAVE_NOTE));
        EXPECT_TRUE(Enabled(IDC_DELETE_NOTE));
        CloseBrowser();
    }
}

TEST_F(NoteBrowserTest, DeletingTheMainKeysNoteClearsTheMainPanelOnly) {
    Write("5", "five");
    Write("6", "six");
    MainLookup("5");
    ASSERT_EQ(Field(IDC_NOTE_EDITOR), "five");
    Open();
    Select("6");
    DeleteAnswering(IDYES, "6");
    EXPECT_FALSE(FileExists(Note("6")));
    EXPECT_EQ(Field(IDC_NOTE_EDITOR), "five");
    EXPECT_TRUE(Enabled(IDC_DELETE_NOTE));
    EXPECT_EQ(Keys(), (std::vector<std::string>{"5"}));

    Select("5");
    DeleteAnswering(IDNO, "5");
    EXPECT_TRUE(FileExists(Note("5")));
    EXPECT_EQ(Editor(), "five");
    DeleteAnswering(IDYES, "5");
    EXPECT_FALSE(FileExists(Note("5")));
    EXPECT_EQ(Field(IDC_NOTE_EDITOR), "");
    EXPECT_FALSE(Enabled(IDC_DELETE_NOTE));
    EXPECT_TRUE(Enabled(IDC_SAVE_NOTE));
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
    SetDlgItemTextA(Browser(), IDC_BROWSER_EDITOR, "back again");
    Press(Browser(), IDC_BROWSER_SAVE);
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
    Press(Browser(), IDC_BROWSER_SAVE);
    ASSERT_TRUE(FileExists(Note("6")));
    DeleteAnswering(IDYES, "6");
    EXPECT_FALSE(FileExists(Note("6")));
    EXPECT_EQ(Keys(), (std::vector<std::string>{"5", "7"}));
    EXPECT_TRUE(FileExists(Note("7")));
    // The key stays the deleted one until another item is selected.
    Press(Browser(), IDC_BROWSER_SAVE);
    EXPECT_TRUE(FileExists(Note("6")));
    EXPECT_EQ(Keys(), (std::vector<std::string>{"5", "7"}));
}

TEST_F(NoteBrowserTest, FailedSaveAndDeleteAreReportedAndChangeNothing) {
    Write("5", "five");
    Open();
    Select("5");
    HANDLE lock = CreateFileA(Note("5").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    SetDlgItemTextA(Browser(), IDC_BROWSER_EDITOR, "new text");
    AnsweredBox saveBox =
        Answer("Save Note", IDOK, [this] { Press(Browser(), IDC_BROWSER_SAVE); });
    ASSERT_TRUE(saveBox.answered);
    EXPECT_EQ(saveBox.text, LockedSaveReport(Note("5"), "5"));
    EXPECT_EQ(saveBox.icon, LoadIconA(nullptr, IDI_HAND));
    EXPECT_TRUE(DeleteEnabled());

    ModalAnswerer deleteBox("Delete Note", IDOK);
    DeleteAnswering(IDYES, "5");
    ASSERT_TRUE(deleteBox.Join());
    EXPECT_EQ(deleteBox.MessageText(), LockedDeleteReport(Note("5"), "5"));
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
    change.hdr.hwndFrom = List();
    change.hdr.idFrom = IDC_BROWSER_LIST;
    change.hdr.code = LVN_ITEMCHANGING;
    change.iItem = 0;
    change.uChanged = LVIF_STATE;
    for (UINT state : {0u, 1u, 2u, 3u}) {
        SCOPED_TRACE(state);
        change.uNewState = state;
        SetWindowLongPtrA(Browser(), DWLP_MSGRESULT, 0);
        EXPECT_EQ(NoteBrowserProc(Browser(), WM_NOTIFY, IDC_BROWSER_LIST,
                                  reinterpret_cast<LPARAM>(&change)),
                  FALSE);
        EXPECT_EQ(GetWindowLongPtrA(Browser(), DWLP_MSGRESULT), 0);
    }
}

// Modal, as the main window runs it: Esc's IDCANCEL is ignored and only
// WM_CLOSE ends the browser, with 0.
TEST_F(NoteBrowserTest, BrowseNotesOpensItModallyAndOnlyCloseEndsIt) {
    {
        ModalAnswerer answer("Note Browser", {IDCANCEL, ModalAnswerer::kClose});
        EXPECT_EQ(
            DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_BROWSER), Main(), NoteBrowserProc, 0),
            0);
        EXPECT_TRUE(answer.Join());
    }
    ModalAnswerer answer("Note Browser", {IDCANCEL, ModalAnswerer::kClose});
    EXPECT_EQ(MainDialogProc(Main(), WM_SYSCOMMAND, IDM_BROWSE_NOTES, 0), FALSE);
    EXPECT_TRUE(answer.Join());
    EXPECT_EQ(FindWindowA(nullptr, "Note Browser"), nullptr);
}

}  // namespace
