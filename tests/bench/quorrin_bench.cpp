// In-process benchmarks over the real dialogs: lookup, Note Browser, Save
// Note, and private bytes over 10,000 lookups. The process is prepared as
// Quorrin's start routine prepares it. One thread only: under the emulated
// Wine a second thread can end the process.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/start_up.h"
#include "lookup/input_interpretation.h"
#include "lookup/result_display.h"
#include "notes/note_browser.h"
#include "notes/note_editor.h"
#include "notes/note_panel.h"
#include "notes/notes_store.h"
#include "resources/resource_ids.h"
#include "tests/bench/bench_stats.h"
#include "tests/wine/dialog_harness.h"

namespace {

std::string ExeDirectory() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path);
    return text.substr(0, text.rfind('\\') + 1);
}

double PrivateKiB() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PrivateUsage != 0 ? static_cast<double>(counters.PrivateUsage) / 1024.0
                                      : CommittedPrivateKiB(GetCurrentProcess());
}

double PagefileKiB() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PagefileUsage) / 1024.0;
}

// Points the store at <exe dir>bench-notes\<name>\Quorrin Notes\bench.
std::string UseNotesFolder(const std::string& name) {
    std::string root = ExeDirectory() + "bench-notes\\";
    CreateDirectoryA(root.c_str(), nullptr);
    std::string caseFolder = root + name + "\\";
    CreateDirectoryA(caseFolder.c_str(), nullptr);
    std::string exe = caseFolder + "Quorrin.exe";
    PrepareNotesFolderFrom(exe.c_str(), static_cast<DWORD>(exe.size()), MAX_PATH + 1, "bench");
    return NotesFolder;
}

int CountNotes(const std::string& folder) {
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.qnote").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    do {
        ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

void WriteFileBytes(const std::string& path, const char* bytes, DWORD count) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes, count, &written, nullptr);
    CloseHandle(file);
}

// ---- Lookup ---------------------------------------------------------------

struct LookupCase {
    const char* typed;
    std::vector<double> product, baseline;
};

void SetTyped(HWND main, const char* text) {
    SetDlgItemTextA(main, IDC_ERROR_FIELD, text);
}

void LookUpShown(HWND main, const char* typed) {
    SetTyped(main, typed);
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_LOOKUP, 0), 0);
}

double TimeLookup(HWND main, const char* typed) {
    SetTyped(main, typed);
    double start = NowMs();
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_LOOKUP, 0), 0);
    return NowMs() - start;
}

// The bare call RunLookup must make for this number.
double TimeBareFormat(const Interpretation& number) {
    double start = NowMs();
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS;
    HMODULE module = nullptr;
    if (number.source == MessageSource::WinInetModule) {
        module = LoadLibraryExA("Wininet.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        flags |= FORMAT_MESSAGE_FROM_HMODULE;
    } else {
        flags |= FORMAT_MESSAGE_FROM_SYSTEM;
    }
    char* message = nullptr;
    FormatMessageA(flags, module, number.code, 0, reinterpret_cast<LPSTR>(&message), 1, nullptr);
    LocalFree(message);
    if (module != nullptr) {
        FreeLibrary(module);
    }
    return NowMs() - start;
}

double TimeSetText(int field, const char* text) {
    double start = NowMs();
    SendMessageA(FieldTable[field], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    return NowMs() - start;
}

// Where one lookup of 5 goes on the shown main window: the steps RunLookup
// takes, each timed alone, medians over a few dozen rounds.
void BreakDownLookup(HWND main) {
    LookUpShown(main, "5");
    char description[512] = {};
    GetWindowTextA(FieldTable[kDescriptionField], description, sizeof description);
    char status[32] = {}, code[32] = {}, facility[64] = {};
    GetWindowTextA(FieldTable[kStatusField], status, sizeof status);
    GetWindowTextA(FieldTable[kCodeField], code, sizeof code);
    GetWindowTextA(FieldTable[kFacilityField], facility, sizeof facility);
    std::vector<double> format, describe, split, note, select, clear;
    char fiveKey[kNoteKeySize] = "5";
    Interpretation five = InterpretInput(fiveKey);
    for (int round = 0; round < 40; ++round) {
        format.push_back(TimeBareFormat(five));
        describe.push_back(TimeSetText(kDescriptionField, description));
        split.push_back(TimeSetText(kStatusField, status) + TimeSetText(kCodeField, code) +
                        TimeSetText(kFacilityField, facility));
        double start = NowMs();
        ShowMainNote("5");
        note.push_back(NowMs() - start);
        start = NowMs();
        SendMessageA(FieldTable[kErrorField], EM_SETSEL, 0, -1);
        select.push_back(NowMs() - start);
        clear.push_back(TimeSetText(kStatusField, "") + TimeSetText(kCodeField, "") +
                        TimeSetText(kFacilityField, "") + TimeSetText(kDescriptionField, "") +
                        TimeSetText(kNoteEditorField, ""));
    }
    char info[400];
    sprintf(info, "lookup 5, step by step (medians, ms): FormatMessageA %.3f, description %.2f, "
                  "status+code+facility %.2f, note panel %.2f, selection %.2f; "
                  "clearing all five fields %.2f",
            Median(format), Median(describe), Median(split), Median(note), Median(select),
            Median(clear));
    PrintInfo(info);
}

void BenchLookup(HWND main, int total) {
    UseNotesFolder("lookup");
    std::vector<LookupCase> cases = {{"5", {}, {}}, {"0x80070005", {}, {}}, {"12029", {}, {}},
                                     {"3E8", {}, {}}};
    std::vector<Interpretation> numbers;
    for (auto& c : cases) {
        char key[kNoteKeySize] = {};
        lstrcpynA(key, c.typed, sizeof key);
        numbers.push_back(InterpretInput(key));
        TimeLookup(main, c.typed);  // warm-up, and a check of what it shows
        char shown[256] = {};
        GetDlgItemTextA(main, IDC_DESCRIPTION, shown, sizeof shown);
        char info[400];
        wsprintfA(info, "lookup %s shows: %.60s", c.typed, shown);
        PrintInfo(info);
    }
    BreakDownLookup(main);
    char memoryInfo[160];
    sprintf(memoryInfo, "own memory before lookups: private %.0f KiB, pagefile %.0f KiB",
            PrivateKiB(), PagefileKiB());
    PrintInfo(memoryInfo);
    double before = PrivateKiB();
    double pagefileBefore = PagefileKiB();
    // Timed rounds alternate with the baseline; the rest of the lookups
    // only feed the memory figure, which keeps the run short.
    const int kTimedRounds = 150;
    int done = 0;
    for (int round = 0; done < total; ++round) {
        for (size_t i = 0; i < cases.size() && done < total; ++i, ++done) {
            if (round < kTimedRounds) {
                cases[i].product.push_back(TimeLookup(main, cases[i].typed));
                cases[i].baseline.push_back(TimeBareFormat(numbers[i]));
            } else {
                TimeLookup(main, cases[i].typed);
            }
            if (done % 1000 == 999) {
                fprintf(stderr, "  (%d lookups)\n", done + 1);
            }
        }
    }
    double after = PrivateKiB();
    sprintf(memoryInfo, "over %d lookups, PagefileUsage as Wine reports it went from %.0f to "
                        "%.0f KiB", total, pagefileBefore, PagefileKiB());
    PrintInfo(memoryInfo);
    for (auto& c : cases) {
        char figure[64];
        wsprintfA(figure, "Lookup %s", c.typed);
        PrintRow(figure, "ms", c.product, c.baseline, "<= 1.5");
    }
    char memoryFigure[80];
    sprintf(memoryFigure, "Private bytes after %d lookups (in process)", total);
    PrintRow(memoryFigure, "KiB", {after}, {before},
             "- (baseline: before)");
}

// ---- Note Browser -----------------------------------------------------------

// Keys in no particular order, so the sorted list does real work.
std::string KeyFor(int i) {
    char key[16];
    wsprintfA(key, "%X", static_cast<unsigned>(i + 1) * 2654435761u);
    return key;
}

std::string NotesFolderWith(int count) {
    char name[32];
    wsprintfA(name, "browser-%d", count);
    std::string folder = UseNotesFolder(name);
    if (CountNotes(folder) != count) {
        for (int i = 0; i < count; ++i) {
            std::string text = "note " + KeyFor(i);
            WriteFileBytes(folder + "\\" + KeyFor(i) + ".qnote", text.c_str(),
                           static_cast<DWORD>(text.size() + 1));
        }
    }
    return folder;
}

HWND OpenBrowser(HWND main, double* ms) {
    double start = NowMs();
    HWND browser =
        CreateDialogParamA(Instance, MAKEINTRESOURCEA(IDD_BROWSER), main, NoteBrowserProc, 0);
    *ms = NowMs() - start;
    return browser;
}

double TimeBareWalk(const std::string& folder) {
    double start = NowMs();
    CountNotes(folder);
    return NowMs() - start;
}

void CollectKey(const char* key, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(key);
}

double InsertAll(HWND list, const std::vector<std::string>& keys, bool atEnd) {
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    double start = NowMs();
    int index = 0;
    for (const auto& key : keys) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = atEnd ? index++ : 0;
        item.pszText = const_cast<char*>(key.c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    return NowMs() - start;
}

// Where the opening time goes, on the browser's own list: the listing and
// key parsing alone, sorted inserts largest first (as the product feeds
// them), the same inserts in folder order, and with sorting switched off.
void BreakDownBrowser(HWND main, int count) {
    std::vector<std::string> keys;
    double start = NowMs();
    ListNotes(CollectKey, &keys);
    double listing = NowMs() - start;
    double ms = 0;
    HWND browser = OpenBrowser(main, &ms);
    HWND list = GetDlgItem(browser, IDC_BROWSER_LIST);
    // Hidden, as during WM_INITDIALOG: on a shown list every insert repaints.
    ShowWindow(browser, SW_HIDE);
    PumpMessages();
    double walked = InsertAll(list, keys, false);
    std::vector<std::string> largestFirst = keys;
    std::sort(largestFirst.begin(), largestFirst.end(),
              [](const std::string& a, const std::string& b) {
                  return lstrcmpA(a.c_str(), b.c_str()) > 0;
              });
    double sorted = InsertAll(list, largestFirst, false);
    LONG style = GetWindowLongA(list, GWL_STYLE);
    SetWindowLongA(list, GWL_STYLE, style & ~LVS_SORTASCENDING);
    double unsorted = InsertAll(list, keys, true);
    DestroyWindow(browser);
    PumpMessages();
    char info[360];
    sprintf(info, "browser %d notes: open %.1f ms; listing+keys %.1f ms, sorted inserts largest "
                  "first %.1f ms (in folder order %.1f ms; unsorted list %.1f ms)",
            count, ms, listing, sorted, walked, unsorted);
    PrintInfo(info);
}

void BenchBrowser(HWND main) {
    const int counts[] = {0, 1000, 10000};
    const int runs[] = {9, 5, 3};
    for (int c = 0; c < 3; ++c) {
        std::string folder = NotesFolderWith(counts[c]);
        std::vector<double> product, baseline;
        for (int r = 0; r < runs[c]; ++r) {
            double ms = 0;
            HWND browser = OpenBrowser(main, &ms);
            int shown = static_cast<int>(
                SendDlgItemMessageA(browser, IDC_BROWSER_LIST, LVM_GETITEMCOUNT, 0, 0));
            DestroyWindow(browser);
            PumpMessages();
            if (shown != counts[c]) {
                char info[100];
                wsprintfA(info, "browser listed %d of %d notes", shown, counts[c]);
                PrintInfo(info);
            }
            product.push_back(ms);
            baseline.push_back(TimeBareWalk(folder));
        }
        char figure[64];
        wsprintfA(figure, "Note Browser open, %d notes", counts[c]);
        PrintRow(figure, "ms", product, baseline, "-");
        if (counts[c] > 0) {
            BreakDownBrowser(main, counts[c]);
        }
    }
}

// ---- Save Note --------------------------------------------------------------

// Few long lines: many short lines are very slow to clear in Wine's rich edit.
std::string NoteText(size_t size) {
    const size_t kLine = size >= 65536 ? 65534 : 254;
    std::string text;
    while (text.size() < size) {
        size_t room = size - text.size();
        if (room > kLine + 2) {
            // Words, not one unbroken run: wrapping a line with no break
            // opportunity is far slower in Wine's rich edit.
            for (size_t i = 0; i < kLine; ++i) {
                text += i % 8 == 7 ? ' ' : static_cast<char>('a' + i % 26);
            }
            text += "\r\n";
        } else {
            text.append(room, 'z');
        }
    }
    return text;
}

double TimeBareSave(const std::string& folder, const std::string& bytes, bool flush = false) {
    std::string temporary = folder + "\\bare.tmp";
    std::string target = folder + "\\bare.qnote";
    double start = NowMs();
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (flush) {
        FlushFileBuffers(file);
    }
    CloseHandle(file);
    MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
    return NowMs() - start;
}

void BenchSave(HWND main) {
    std::string folder = UseNotesFolder("save");
    // A hidden editor of the same class with wrapping off: SaveNote only
    // reads the text, and wrapping 1 MiB in Wine's rich edit under the
    // emulator takes minutes before anything is measured.
    HWND editor = CreateWindowExA(0, "RichEdit20A", "",
                                  WS_CHILD | ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL,
                                  0, 0, 300, 100, main, nullptr, Instance, nullptr);
    PrepareNoteEditor(editor);
    SendMessageA(editor, EM_SETTARGETDEVICE, 0, 1);
    HWND deleteButton = GetDlgItem(main, IDC_DELETE_NOTE);
    const size_t sizes[] = {1024, 1024 * 1024};
    const int runs[] = {25, 7};
    for (int s = 0; s < 2; ++s) {
        std::string text = NoteText(sizes[s]);
        double filling = NowMs();
        SetWindowTextA(editor, text.c_str());
        fprintf(stderr, "  (filling the editor with %u bytes took %.0f ms)\n",
                static_cast<unsigned>(text.size()), NowMs() - filling);
        std::string bytes = text + std::string(1, '\0');
        std::vector<double> product, baseline;
        for (int r = 0; r < runs[s]; ++r) {
            double start = NowMs();
            bool ok = SaveNote("BE4C", editor, deleteButton);
            product.push_back(NowMs() - start);
            baseline.push_back(TimeBareSave(folder, bytes));
            if (!ok) {
                PrintInfo("a save failed");
            }
        }
        // Only the editor's text is read by the product; how long that takes.
        std::vector<char> buffer(text.size() + 2);
        double start = NowMs();
        SendMessageA(editor, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
        double getText = NowMs() - start;
        std::vector<double> flushed;
        for (int r = 0; r < runs[s]; ++r) {
            flushed.push_back(TimeBareSave(folder, bytes, true));
        }
        HANDLE found = CreateFileA((folder + "\\BE4C.qnote").c_str(), GENERIC_READ,
                                   FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD saved = GetFileSize(found, nullptr);
        CloseHandle(found);
        char info[200];
        sprintf(info, "save %u bytes: file holds %lu bytes; WM_GETTEXT alone %.2f ms; "
                      "bare save with FlushFileBuffers, median %.2f ms",
                static_cast<unsigned>(bytes.size()), saved, getText, Median(flushed));
        PrintInfo(info);
        char figure[64];
        wsprintfA(figure, "Save Note %s", s == 0 ? "1 KiB" : "1 MiB");
        PrintRow(figure, "ms", product, baseline, "<= 1.5");
        EmptyEditor(editor);
    }
    DestroyWindow(editor);
}

}  // namespace

int main(int argc, char** argv) {
    if (!PrepareProcess()) {
        return 2;
    }
    std::string only = argc > 1 ? argv[1] : "all";
    HWND main = OpenMainDialog();
    if (main == nullptr) {
        fprintf(stderr, "the main window could not be created\n");
        return 2;
    }
    int lookups = argc > 2 ? atoi(argv[2]) : 10000;
    if (only == "all" || only == "save") {
        BenchSave(main);
    }
    if (only == "all" || only == "browser") {
        BenchBrowser(main);
    }
    if (only == "all" || only == "lookup") {
        BenchLookup(main, lookups);
    }
    DestroyWindow(main);
    PumpMessages();
    return 0;
}
