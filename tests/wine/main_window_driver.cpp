#include "tests/wine/main_window_driver.h"

#include <commctrl.h>

#include "app/app_state.h"
#include "notes/note_browser.h"
#include "notes/notes_store.h"
#include "resources/resource_ids.h"
#include "tests/wine/dialog_harness.h"
#include "tests/wine/notes_test_support.h"

bool MainWindowDriver::Open(const std::string& name) {
    Close();
    main_ = OpenMainDialog();
    if (main_ == nullptr) {
        return false;
    }
    // Start-up pointed the store at the exe's own folder; each driver moves
    // it to a folder of its own.
    caseFolder_ = FreshCaseFolder(name);
    folder_ = UseCaseNotesFolder(caseFolder_);
    return !folder_.empty();
}

void MainWindowDriver::Close() {
    CloseBrowser();
    if (main_ != nullptr) {
        DestroyWindow(main_);
        main_ = nullptr;
        PumpMessages();
    }
}

std::string MainWindowDriver::Note(const char* key) const {
    return folder_ + "\\" + key + ".qnote";
}

void MainWindowDriver::WriteNote(const char* key, const std::string& text) const {
    WriteBytes(Note(key), text + std::string(1, '\0'));
}

void MainWindowDriver::Lookup(const char* text) {
    SetDlgItemTextA(main_, IDC_ERROR_FIELD, text);
    Press(IDC_LOOKUP);
}

void MainWindowDriver::TypeNote(const char* text) {
    SetDlgItemTextA(main_, IDC_NOTE_EDITOR, text);
}

void MainWindowDriver::Press(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string MainWindowDriver::Field(int id) const {
    return ControlText(main_, id);
}

std::string MainWindowDriver::Editor() const {
    return Field(IDC_NOTE_EDITOR);
}

bool MainWindowDriver::Enabled(int id) const {
    return ControlEnabled(main_, id);
}

AnsweredBox MainWindowDriver::Answer(const char* caption, int command,
                                     const std::function<void()>& action) {
    ModalAnswerer answerer(caption, command);
    action();
    AnsweredBox box;
    box.answered = answerer.Join();
    box.text = answerer.MessageText();
    box.icon = answerer.Icon();
    box.yesAndNo = answerer.HasButton(IDYES) && answerer.HasButton(IDNO);
    return box;
}

HWND MainWindowDriver::OpenBrowser() {
    CloseBrowser();
    browser_ = CreateDialogParamA(Instance, MAKEINTRESOURCEA(IDD_BROWSER), main_, NoteBrowserProc,
                                  0);
    return browser_;
}

void MainWindowDriver::CloseBrowser() {
    if (browser_ != nullptr) {
        DestroyWindow(browser_);
        browser_ = nullptr;
        PumpMessages();
    }
}

std::vector<std::string> MainWindowDriver::Keys() const {
    std::vector<std::string> keys;
    HWND list = GetDlgItem(browser_, IDC_BROWSER_LIST);
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        LVITEMA item = {};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
        keys.push_back(text);
    }
    return keys;
}

bool MainWindowDriver::Select(const char* key) {
    std::vector<std::string> keys = Keys();
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == key) {
            LVITEMA item = {};
            item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            item.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendDlgItemMessageA(browser_, IDC_BROWSER_LIST, LVM_SETITEMSTATE, i,
                                reinterpret_cast<LPARAM>(&item));
            return true;
        }
    }
    return false;
}

std::string MainWindowDriver::SelectedKey() const {
    int row = static_cast<int>(SendDlgItemMessageA(browser_, IDC_BROWSER_LIST, LVM_GETNEXTITEM,
                                                   static_cast<WPARAM>(-1), LVNI_SELECTED));
    return row >= 0 ? Keys()[static_cast<size_t>(row)] : "";
}

std::string MainWindowDriver::BrowserEditor() const {
    return ControlText(browser_, IDC_BROWSER_EDITOR);
}
