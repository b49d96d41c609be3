// RunLookup fills the main window's result fields from one typed number.
//
// The message comes from FormatMessageA with language 0, so the platform's
// own language search decides the wording; nothing here knows any texts.
// WinINet numbers are looked up in Wininet.dll loaded as a data file for
// this one lookup only, from the system folder (a Wininet.dll beside the
// exe is never read), and every block taken from the platform is given
// back before RunLookup returns.
#include "lookup/result_display.h"

#include <windows.h>

#include <cstring>

#include "app/app_state.h"
#include "app/system_library.h"
#include "lookup/hresult_split.h"
#include "lookup/input_interpretation.h"
#include "notes/note_editor.h"
#include "notes/note_panel.h"

// The description texts of the three failure situations.
static const char kIncompleteNumberText[] = "Please enter a complete error number";
static const char kNoInfoText[] = "Could not find info for this error number";

static void SetFieldText(int field, const char* text) {
    SendMessageA(FieldTable[field], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Empties the five result fields in their order, but gives the description
// the failure text at once rather than emptying it first: a multi-line
// edit lays itself out and repaints for every text it is given.
static void ClearResultFields(const char* description) {
    SetFieldText(kStatusField, "");
    SetFieldText(kCodeField, "");
    SetFieldText(kFacilityField, "");
    SetFieldText(kDescriptionField, description);
    EmptyEditor(FieldTable[kNoteEditorField]);
}

static void ShowFailure(const char* text) {
    ClearResultFields(text);
    EnableWindow(SaveNoteButton, FALSE);
    EnableWindow(DeleteNoteButton, FALSE);
}

// The message text for code, allocated by the platform (LocalFree it), or
// nullptr when the table has none. A WinINet module that cannot be loaded
// has no texts either: FormatMessageA with a null module would search the
// exe itself instead.
static char* FetchMessage(const Interpretation& number, HMODULE* wininet) {
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS;
    HMODULE module = nullptr;
    if (number.source == MessageSource::WinInetModule) {
        module = LoadSystemLibrary("Wininet.dll", LOAD_LIBRARY_AS_DATAFILE);
        *wininet = module;
        if (module == nullptr) {
            return nullptr;
        }
        flags |= FORMAT_MESSAGE_FROM_HMODULE;
    } else {
        flags |= FORMAT_MESSAGE_FROM_SYSTEM;
    }
    char* message = nullptr;
    DWORD length = FormatMessageA(flags, module, number.code, 0,
                                  reinterpret_cast<LPSTR>(&message), 1, nullptr);
    if (length == 0) {
        LocalFree(message);
        return nullptr;
    }
    return message;
}

static void ShowSplit(uint32_t code) {
    uint32_t hr = HresultFromWin32(code);
    char number[16] = {};
    wsprintfA(number, "%ld", static_cast<long>(HresultCode(hr)));
    SetFieldText(kCodeField, number);
    SetFieldText(kStatusField, HresultSeverity(hr) != 0 ? "Failure" : "Success");
    const char* facility = FindFacilityName(HresultFacility(hr));
    SetFieldText(kFacilityField, facility != nullptr ? facility : "");
}

void RunLookup() {
    HWND field = FieldTable[kErrorField];
    memset(MainKey, 0, sizeof MainKey);
    if (SendMessageA(field, WM_GETTEXTLENGTH, 0, 0) == 0) {
        ShowFailure(kIncompleteNumberText);
        return;
    }
    // At most the first 15 characters; the last byte stays zero whatever
    // the control does with its limit.
    SendMessageA(field, WM_GETTEXT, sizeof MainKey, reinterpret_cast<LPARAM>(MainKey));
    MainKey[sizeof MainKey - 1] = '\0';

    Interpretation number = InterpretInput(MainKey);
    if (number.incomplete) {
        ShowFailure(kIncompleteNumberText);
        SendMessageA(field, EM_SETSEL, 2, -1);
        return;
    }

    HMODULE wininet = nullptr;
    char* message = FetchMessage(number, &wininet);
    if (message == nullptr) {
        ShowFailure(kNoInfoText);
        if (wininet != nullptr) {
            FreeLibrary(wininet);
        }
        return;
    }
    SetFieldText(kDescriptionField, message);
    ShowSplit(number.code);
    LocalFree(message);
    if (wininet != nullptr) {
        FreeLibrary(wininet);
    }

    ShowMainNote(MainKey);
    SendMessageA(field, EM_SETSEL, 0, -1);
}
