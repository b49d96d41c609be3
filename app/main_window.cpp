// The main window's dialog procedure. It only dispatches: each message is
// handled by a small routine here or in the subsystem that owns the work.
//
// Every WM_SYSCOMMAND returns FALSE so that move, minimise and close keep
// their default handling; our own commands 0, 1 and 2 are compared exactly,
// never masked with 0xFFF0, which would turn 1 and 2 into 0. Every
// WM_COMMAND returns TRUE, so the IDCANCEL that Esc produces does nothing;
// the multi-line fields, which would close the window on Esc themselves,
// never see that key.
//
// What the person typed into the note editor is not dropped without a
// question: a lookup (which empties or replaces the editor), Browse Notes
// and closing the window first ask whether to save unsaved changes.
#include "app/main_window.h"

#include <objbase.h>

#include "about/about_box.h"
#include "app/app_state.h"
#include "app/error_field.h"
#include "lookup/result_display.h"
#include "notes/note_browser.h"
#include "notes/note_editor.h"
#include "notes/note_panel.h"
#include "notes/notes_store.h"
#include "resources/resource_ids.h"

static bool OnTop;

static void AddSystemMenuCommands(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    InsertMenuA(menu, 0, MF_BYPOSITION | MF_STRING, IDM_ON_TOP, "On Top");
    InsertMenuA(menu, 1, MF_BYPOSITION | MF_STRING, IDM_BROWSE_NOTES, "Browse Notes");
    InsertMenuA(menu, 2, MF_BYPOSITION | MF_STRING, IDM_ABOUT, "About");
    InsertMenuA(menu, 3, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    DrawMenuBar(window);
}

static void InitMainDialog(HWND window) {
    // One main window a run, and it starts in normal stacking.
    OnTop = false;
    HICON icon = LoadIconA(nullptr, IDI_HAND);
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    for (int i = 0; i < kFieldCount; ++i) {
        FieldTable[i] = GetDlgItem(window, IDC_ERROR_FIELD + i);
    }
    SaveNoteButton = GetDlgItem(window, IDC_SAVE_NOTE);
    DeleteNoteButton = GetDlgItem(window, IDC_DELETE_NOTE);
    PrepareNoteEditor(FieldTable[kNoteEditorField]);
    IgnoreEscape(FieldTable[kDescriptionField]);

    PrepareNotesFolder();
    AddSystemMenuCommands(window);
    InstallErrorFieldFilter(FieldTable[kErrorField]);
}

static void ToggleOnTop(HWND window) {
    OnTop = !OnTop;
    SetWindowPos(window, OnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
    ModifyMenuA(GetSystemMenu(window, FALSE), 0,
                MF_BYPOSITION | MF_STRING | (OnTop ? MF_CHECKED : MF_UNCHECKED), IDM_ON_TOP,
                "On Top");
    DrawMenuBar(window);
}

// Asks about the note editor's unsaved changes before an action would drop
// them; kKept when the person chose to go on editing instead.
static UnsavedChanges SettleMainNote(HWND window) {
    return SaveOrDropChanges(window, MainKey, FieldTable[kNoteEditorField], SaveNoteButton,
                             DeleteNoteButton);
}

// The browser shows the notes as stored, and keeps the main window's note
// in step with its saves: the main editor holds no changes meanwhile.
static void BrowseNotes(HWND window) {
    UnsavedChanges changes = SettleMainNote(window);
    if (changes == UnsavedChanges::kKept) {
        return;
    }
    if (changes == UnsavedChanges::kDropped) {
        ShowMainNote(MainKey);
    }
    ShowNoteBrowser(window);
}

static void HandleSystemCommand(HWND window, WPARAM command) {
    switch (command) {
    case IDM_ON_TOP:
        ToggleOnTop(window);
        break;
    case IDM_BROWSE_NOTES:
        BrowseNotes(window);
        break;
    case IDM_ABOUT:
        ShowAboutBox(window);
        break;
    default:
        break;
    }
}

static void HandleCommand(HWND window, WORD id) {
    switch (id) {
    case IDC_SAVE_NOTE:
        SaveMainNote(window);
        break;
    case IDC_DELETE_NOTE:
        DeleteMainNote(window);
        break;
    case IDC_LOOKUP:
        if (SettleMainNote(window) != UnsavedChanges::kKept) {
            RunLookup();
            SetFocus(FieldTable[kErrorField]);
        }
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        InitMainDialog(window);
        return TRUE;
    case WM_SYSCOMMAND:
        HandleSystemCommand(window, wParam);
        return FALSE;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0) {
            HandleCommand(window, LOWORD(wParam));
        } else if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == IDC_NOTE_EDITOR) {
            NoteTextChanged(FieldTable[kNoteEditorField]);
        }
        return TRUE;
    case WM_CLOSE:
        if (SettleMainNote(window) != UnsavedChanges::kKept) {
            CoUninitialize();
            EndDialog(window, 0);
        }
        return TRUE;
    default:
        return FALSE;
    }
}
