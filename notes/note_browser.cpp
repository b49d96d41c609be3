// The Note Browser's procedure. The list sorts itself (LVS_SORTASCENDING),
// so every key goes in at index 0 and lands in its place.
//
// A selection arrives as LVN_ITEMCHANGING with the new state "selected and
// focused", and shows that item's note. While the editor holds unsaved
// changes every change of selection or focus in the list is refused, the
// old item's as well as the new one's, so the selection stays on the edited
// note; the question comes once the list has finished with the click or
// key, and only an answer other than Cancel selects the item asked for.
// Otherwise no change is refused: FALSE, and DWLP_MSGRESULT left alone.
#include "notes/note_browser.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "app/app_state.h"
#include "lookup/input_interpretation.h"
#include "notes/note_editor.h"
#include "notes/note_panel.h"
#include "notes/notes_store.h"
#include "resources/resource_ids.h"

// Valid while the browser is open: the key and row of the item last selected.
static char BrowserKey[kNoteKeySize];
static int BrowserIndex;

static HWND BrowserSave;
static HWND BrowserDelete;
static HWND BrowserEditor;
static HWND BrowserList;

// Posted with the index of the item whose selection was refused for the
// unsaved changes; true while one is on its way.
static const UINT kAskBeforeSelecting = WM_APP + 1;
static bool SelectionAsked;

static void InsertKey(const char* key, void*) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = 0;
    item.iSubItem = 0;
    item.pszText = const_cast<char*>(key);
    SendMessageA(BrowserList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// The keys of one listing, gathered before any goes into the list.
struct KeyBatch {
    char (*keys)[kNoteKeySize];
    size_t count;
    size_t capacity;
    bool failed;
};

// Far beyond any notes folder; keeps the byte count well inside 32 bits.
static const size_t kMaxBatchKeys = 1u << 24;

static void GatherKey(const char* key, void* context) {
    auto* batch = static_cast<KeyBatch*>(context);
    if (batch->failed) {
        return;
    }
    if (batch->count == batch->capacity) {
        if (batch->capacity > kMaxBatchKeys / 2) {
            batch->failed = true;
            return;
        }
        size_t capacity = batch->capacity == 0 ? 256 : batch->capacity * 2;
        void* grown = batch->keys == nullptr
                          ? HeapAlloc(ProcessHeap, 0, capacity * kNoteKeySize)
                          : HeapReAlloc(ProcessHeap, 0, batch->keys, capacity * kNoteKeySize);
        if (grown == nullptr) {
            batch->failed = true;
            return;
        }
        batch->keys = static_cast<char(*)[kNoteKeySize]>(grown);
        batch->capacity = capacity;
    }
    lstrcpynA(batch->keys[batch->count], key, kNoteKeySize);
    ++batch->count;
}

static int CompareDescending(const void* left, const void* right) {
    return lstrcmpA(static_cast<const char*>(right), static_cast<const char*>(left));
}

// A sorted list places each new item by walking its items from the top until
// it meets one that sorts at or after it. Keys walked straight from the
// folder make that walk quadratic; fed largest first, each key stops at the
// first item. The list still sorts by itself, so its order does not depend
// on this; if memory runs short the keys go in as the folder gives them.
// While it is filled the list is told not to redraw: it would otherwise
// lay itself out again after every insert. It is redrawn once at the end,
// and its one column is then sized to fill the width beside the scroll bar.
static void FillNoteList() {
    SendMessageA(BrowserList, WM_SETREDRAW, FALSE, 0);
    KeyBatch batch = {nullptr, 0, 0, false};
    ListNotes(GatherKey, &batch);
    if (batch.failed) {
        ListNotes(InsertKey, nullptr);
    } else {
        qsort(batch.keys, batch.count, kNoteKeySize, CompareDescending);
        for (size_t i = 0; i < batch.count; ++i) {
            InsertKey(batch.keys[i], nullptr);
        }
    }
    if (batch.keys != nullptr) {
        HeapFree(ProcessHeap, 0, batch.keys);
    }
    SendMessageA(BrowserList, WM_SETREDRAW, TRUE, 0);
    // Sized only now: the list adds its vertical scroll bar when redraw is
    // back on, and a column sized before that is wider than what is left.
    SendMessageA(BrowserList, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
    InvalidateRect(BrowserList, nullptr, TRUE);
}

static void InitBrowser(HWND window) {
    SelectionAsked = false;
    BrowserSave = GetDlgItem(window, IDC_BROWSER_SAVE);
    BrowserDelete = GetDlgItem(window, IDC_BROWSER_DELETE);
    BrowserEditor = GetDlgItem(window, IDC_BROWSER_EDITOR);
    BrowserList = GetDlgItem(window, IDC_BROWSER_LIST);
    PrepareNoteEditor(BrowserEditor);

    SendMessageA(BrowserList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    SendMessageA(BrowserList, LVM_SETITEMCOUNT, 500, LVSICF_NOINVALIDATEALL);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = 0;
    column.iSubItem = 0;
    SendMessageA(BrowserList, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    FillNoteList();
}

// The text of a row into a NoteKey buffer, zero-filled and always ended.
static bool ReadRowKey(int row, char* key) {
    memset(key, 0, kNoteKeySize);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = 0;
    item.pszText = key;
    item.cchTextMax = kNoteKeySize;
    bool ok = SendMessageA(BrowserList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
    key[kNoteKeySize - 1] = '\0';
    return ok;
}

static void SelectItem(int index) {
    BrowserIndex = index;
    ReadRowKey(index, BrowserKey);
    ShowNoteFor(BrowserKey, BrowserEditor, BrowserSave, BrowserDelete);
}

static BOOL HandleNotify(HWND window, const NMHDR* header) {
    if (header->idFrom != IDC_BROWSER_LIST) {
        return TRUE;
    }
    if (header->code != LVN_ITEMCHANGING) {
        return TRUE;
    }
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if (HasUnsavedChanges(BrowserEditor, BrowserSave)) {
        if ((change->uNewState & LVIS_SELECTED) != 0 && !SelectionAsked) {
            SelectionAsked = true;
            PostMessageA(window, kAskBeforeSelecting, static_cast<WPARAM>(change->iItem), 0);
        }
        SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    if (change->uNewState == (LVIS_SELECTED | LVIS_FOCUSED)) {
        SelectItem(change->iItem);
    }
    return FALSE;
}

// The main window shows the note of the MainKey as the browser saved it.
static void FollowSaveInMain() {
    if (EqualNoCase(MainKey, BrowserKey)) {
        ShowMainNote(MainKey);
    }
}

static void SaveBrowserNote(HWND browser) {
    if (SaveAndReportNote(browser, BrowserKey, BrowserEditor, BrowserSave, BrowserDelete)) {
        FollowSaveInMain();
    }
}

// Asks about the editor's unsaved changes; false when the person chose to
// go on editing.
static bool SettleBrowserNote(HWND browser) {
    UnsavedChanges changes =
        SaveOrDropChanges(browser, BrowserKey, BrowserEditor, BrowserSave, BrowserDelete);
    if (changes == UnsavedChanges::kSaved) {
        FollowSaveInMain();
    }
    return changes != UnsavedChanges::kKept;
}

// The selection refused for unsaved changes, made once they are settled.
static void AskBeforeSelecting(HWND browser, int index) {
    SelectionAsked = false;
    if (!SettleBrowserNote(browser) ||
        index >= static_cast<int>(SendMessageA(BrowserList, LVM_GETITEMCOUNT, 0, 0))) {
        return;
    }
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(BrowserList, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageA(BrowserList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

// The row whose text is key: the selected row when it still holds it, else
// whichever row does; -1 when no row does. After a deletion the row at
// BrowserIndex is gone, and the index may belong to another key by then.
static int FindKeyRow(const char* key) {
    char text[kNoteKeySize];
    if (BrowserIndex >= 0 && ReadRowKey(BrowserIndex, text) && strcmp(text, key) == 0) {
        return BrowserIndex;
    }
    int count = static_cast<int>(SendMessageA(BrowserList, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        if (ReadRowKey(row, text) && strcmp(text, key) == 0) {
            return row;
        }
    }
    return -1;
}

static void DeleteBrowserNote(HWND browser) {
    // Nothing changes on screen unless the file is really gone.
    if (!ConfirmAndDeleteNote(browser, BrowserKey)) {
        return;
    }
    EmptyEditor(BrowserEditor);
    EnableWindow(BrowserDelete, FALSE);
    if (EqualNoCase(MainKey, BrowserKey)) {
        EmptyEditor(FieldTable[kNoteEditorField]);
        EnableWindow(DeleteNoteButton, FALSE);
    }
    int row = FindKeyRow(BrowserKey);
    if (row >= 0) {
        SendMessageA(BrowserList, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    }
    if (SendMessageA(BrowserList, LVM_GETITEMCOUNT, 0, 0) == 0) {
        EnableWindow(BrowserSave, FALSE);
    }
    SetFocus(BrowserList);
}

INT_PTR CALLBACK NoteBrowserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitBrowser(window);
        return TRUE;
    case WM_NOTIFY:
        return HandleNotify(window, reinterpret_cast<const NMHDR*>(lParam));
    case kAskBeforeSelecting:
        AskBeforeSelecting(window, static_cast<int>(wParam));
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0) {
            if (LOWORD(wParam) == IDC_BROWSER_SAVE) {
                SaveBrowserNote(window);
            } else if (LOWORD(wParam) == IDC_BROWSER_DELETE) {
                DeleteBrowserNote(window);
            }
        } else if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == IDC_BROWSER_EDITOR) {
            NoteTextChanged(BrowserEditor);
        }
        return TRUE;
    case WM_CLOSE:
        if (SettleBrowserNote(window)) {
            EndDialog(window, 0);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void ShowNoteBrowser(HWND owner) {
    DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_BROWSER), owner, NoteBrowserProc, 0);
}
