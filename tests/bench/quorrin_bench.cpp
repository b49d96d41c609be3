// quorrin_bench: Quorrin's real dialogs against the floor (floor.h), in this
// one process and in the same run, each figure alternating the two:
//
//   lookup   every kind of input on the shown main window, and where one
//            lookup of 5 goes, step by step
//   browser  opening the Note Browser over 0, 100, 1,000 and 10,000 notes,
//            until its list is painted; the bare folder walk beside it
//   save     Save Note of 1 KiB and 1 MiB against a durable write
//   window   creating the main window, Quorrin's WM_INITDIALOG against none
//
//   quorrin_bench [lookup|browser|save|window|all]
//
// Figures are printed as ROW lines (bench_stats.h) for tools/bench's table,
// explanations as INFO lines. One thread only: under the emulated Wine a
// second thread can end the process.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/start_up.h"
#include "lookup/input_interpretation.h"
#include "notes/note_browser.h"
#include "notes/note_panel.h"
#include "notes/notes_store.h"
#include "resources/resource_ids.h"
#include "tests/bench/bench_stats.h"
#include "tests/bench/floor.h"
#include "tests/wine/dialog_harness.h"
#include "tests/wine/main_window_driver.h"
#include "tests/wine/notes_test_support.h"

namespace {

MainWindowDriver quorrin;

void Info(const std::string& text) {
    PrintInfo(text.c_str());
}

__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
    char text[400];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

// Points both Quorrin's store and the floor at a fresh notes folder.
void UseFolder(const std::string& name) {
    quorrin.Open("bench-" + name);
    lstrcpynA(FloorNotesFolder, quorrin.Folder().c_str(), sizeof FloorNotesFolder);
}

HWND OpenFloorMain() {
    return CreateDialogParamA(Instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, FloorMainProc, 0);
}

// ---- Lookup ---------------------------------------------------------------

double TimeEnter(HWND window, const char* typed) {
    SetDlgItemTextA(window, IDC_ERROR_FIELD, typed);
    PumpMessages();
    double start = NowMs();
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_LOOKUP, 0), 0);
    UpdateWindow(window);
    return NowMs() - start;
}

// What the two windows show, to check that both did the same work.
std::string Shown(HWND window) {
    std::string shown;
    for (int id = IDC_STATUS; id <= IDC_NOTE_EDITOR; ++id) {
        shown += ControlText(window, id) + "|";
    }
    shown += ControlEnabled(window, IDC_SAVE_NOTE) ? "S" : "s";
    shown += ControlEnabled(window, IDC_DELETE_NOTE) ? "D" : "d";
    return shown;
}

double TimeSetText(HWND window, int id, const char* text) {
    double start = NowMs();
    SetDlgItemTextA(window, id, text);
    return NowMs() - start;
}

// Where one lookup of 5 goes: the steps RunLookup takes, each timed alone.
void BreakDownLookup(HWND window) {
    TimeEnter(window, "5");
    std::string description = ControlText(window, IDC_DESCRIPTION);
    std::vector<double> format, describe, split, note, select;
    for (int round = 0; round < 30; ++round) {
        double start = NowMs();
        char* message = nullptr;
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                           FORMAT_MESSAGE_FROM_SYSTEM,
                       nullptr, 5, 0, reinterpret_cast<LPSTR>(&message), 1, nullptr);
        LocalFree(message);
        format.push_back(NowMs() - start);
        describe.push_back(TimeSetText(window, IDC_DESCRIPTION, description.c_str()));
        split.push_back(TimeSetText(window, IDC_STATUS, "Failure") +
                        TimeSetText(window, IDC_CODE, "5") +
                        TimeSetText(window, IDC_FACILITY, "Windows (Non COM)"));
        start = NowMs();
        ShowMainNote("5");
        note.push_back(NowMs() - start);
        start = NowMs();
        SendDlgItemMessageA(window, IDC_ERROR_FIELD, EM_SETSEL, 0, -1);
        select.push_back(NowMs() - start);
    }
    Info(Format("lookup of 5 step by step (medians, ms): FormatMessageA %.3f, description %.2f, "
                "status+code+facility %.2f, note panel %.2f, selection %.3f",
                Median(format), Median(describe), Median(split), Median(note), Median(select)));
}

void BenchLookup() {
    UseFolder("lookup");
    HWND floor = OpenFloorMain();
    const char* const kInputs[] = {"5", "0x80070005", "12029", "3E8", "", "0x"};
    const char* const kNames[] = {"Lookup 5", "Lookup 0x80070005", "Lookup 12029 (WinINet)",
                                  "Lookup 3E8 (no message)", "Lookup of the empty field",
                                  "Lookup of a bare 0x"};
    const int kInputCount = 6;
    std::vector<double> product[kInputCount], base[kInputCount];
    for (int round = 0; round < 41; ++round) {
        for (int i = 0; i < kInputCount; ++i) {
            // Both windows go through the same inputs in the same order, so
            // each starts from the same state; who goes first alternates.
            double a = 0, b = 0;
            if (round % 2 == 0) {
                a = TimeEnter(quorrin.Main(), kInputs[i]);
                b = TimeEnter(floor, kInputs[i]);
            } else {
                b = TimeEnter(floor, kInputs[i]);
                a = TimeEnter(quorrin.Main(), kInputs[i]);
            }
            // The first round only warms up.
            if (round > 0) {
                product[i].push_back(a);
                base[i].push_back(b);
            } else if (Shown(quorrin.Main()) != Shown(floor)) {
                Info(std::string("the floor shows otherwise for ") + kNames[i] + ": " +
                     Shown(quorrin.Main()).substr(0, 60) + " / " + Shown(floor).substr(0, 60));
            }
        }
    }
    for (int i = 0; i < kInputCount; ++i) {
        PrintRow(kNames[i], "ms", product[i], base[i], "ratio<=1.2");
    }
    BreakDownLookup(quorrin.Main());
    DestroyWindow(floor);
    PumpMessages();
}

// ---- Note Browser -----------------------------------------------------------

// Keys in no particular order, so the sorted list does real work.
std::string KeyFor(int i) {
    char key[16];
    wsprintfA(key, "%X", static_cast<unsigned>(i + 1) * 2654435761u);
    return key;
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

// A folder of count notes, kept between runs of the bench.
void UseNotesFolderWith(int count) {
    char name[32];
    wsprintfA(name, "browser-%d", count);
    std::string caseFolder = TestExeDirectory() + "notes-cases\\bench-" + name + "\\";
    CreateDirectoryA((TestExeDirectory() + "notes-cases").c_str(), nullptr);
    CreateDirectoryA(caseFolder.c_str(), nullptr);
    std::string folder = UseCaseNotesFolder(caseFolder);
    lstrcpynA(FloorNotesFolder, folder.c_str(), sizeof FloorNotesFolder);
    if (CountNotes(folder) != count) {
        for (int i = 0; i < count; ++i) {
            WriteBytes(folder + "\\" + KeyFor(i) + ".qnote", "note " + KeyFor(i) + '\0');
        }
    }
}

// Opens the browser with this procedure and waits until it has painted.
double TimeOpen(DLGPROC procedure, int* shown) {
    double start = NowMs();
    HWND browser = CreateDialogParamA(Instance, MAKEINTRESOURCEA(IDD_BROWSER), quorrin.Main(),
                                      procedure, 0);
    UpdateWindow(browser);
    double ms = NowMs() - start;
    *shown = static_cast<int>(
        SendDlgItemMessageA(browser, IDC_BROWSER_LIST, LVM_GETITEMCOUNT, 0, 0));
    DestroyWindow(browser);
    PumpMessages();
    return ms;
}

double TimeBareWalk() {
    double start = NowMs();
    CountNotes(FloorNotesFolder);
    return NowMs() - start;
}

void BenchBrowser() {
    quorrin.Open("bench-browser");
    const int counts[] = {0, 100, 1000, 10000};
    const int runs[] = {9, 7, 5, 3};
    double product1000 = 0, floor1000 = 0;
    for (int c = 0; c < 4; ++c) {
        UseNotesFolderWith(counts[c]);
        std::vector<double> product, base, walk;
        for (int r = 0; r < runs[c]; ++r) {
            int shownByQuorrin = 0, shownByFloor = 0;
            product.push_back(TimeOpen(NoteBrowserProc, &shownByQuorrin));
            base.push_back(TimeOpen(FloorBrowserProc, &shownByFloor));
            walk.push_back(TimeBareWalk());
            if (shownByQuorrin != counts[c] || shownByFloor != counts[c]) {
                Info(Format("browser listed %d and the floor %d of %d notes", shownByQuorrin,
                            shownByFloor, counts[c]));
            }
        }
        char figure[64];
        wsprintfA(figure, "Note Browser, %d notes", counts[c]);
        PrintRow(figure, "ms", product, base, counts[c] == 10000 ? "ratio<=0.1" : "-");
        Info(Format("the bare folder walk over %d notes: median %.2f ms", counts[c],
                    Median(walk)));
        if (counts[c] == 1000) {
            product1000 = Median(product);
            floor1000 = Median(base);
        } else if (counts[c] == 10000 && product1000 > 0 && floor1000 > 0) {
            PrintRow("Note Browser growth, 1,000 to 10,000 notes", "x",
                     {Median(product) / product1000}, {Median(base) / floor1000},
                     "value<=11");
        }
    }
}

// ---- Save Note --------------------------------------------------------------

// Few long lines of words: Wine's rich edit wraps and clears many short
// lines, or one unbroken run, very slowly.
std::string NoteText(size_t size) {
    const size_t kLine = size >= 65536 ? 65534 : 254;
    std::string text;
    while (text.size() < size) {
        size_t room = size - text.size();
        if (room > kLine + 2) {
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

void BenchSave() {
    UseFolder("save");
    // A hidden editor of the same class with wrapping off: the save only
    // reads the text, and wrapping 1 MiB in Wine's rich edit under the
    // emulator takes minutes before anything is measured.
    HWND editor = CreateWindowExA(0, "RichEdit20A", "",
                                  WS_CHILD | ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL,
                                  0, 0, 300, 100, quorrin.Main(), nullptr, Instance, nullptr);
    SendMessageA(editor, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    SendMessageA(editor, EM_SETTARGETDEVICE, 0, 1);
    HWND deleteButton = GetDlgItem(quorrin.Main(), IDC_DELETE_NOTE);
    HWND saveButton = GetDlgItem(quorrin.Main(), IDC_SAVE_NOTE);
    EnableWindow(saveButton, TRUE);
    const std::string floorPath = quorrin.Folder() + "\\F100.qnote";
    const size_t sizes[] = {1024, 1024 * 1024};
    const int runs[] = {41, 9};
    for (int s = 0; s < 2; ++s) {
        // One letter beyond ASCII: the check that the code page stores the
        // text then converts all of it, as it does for most notes outside
        // English.
        std::string text = NoteText(sizes[s]);
        text[0] = '\xE9';
        SetWindowTextA(editor, text.c_str());
        std::vector<double> product, base;
        for (int r = 0; r < runs[s]; ++r) {
            double start = NowMs();
            bool saved = SaveAndReportNote(quorrin.Main(), "BE4C", editor, saveButton,
                                           deleteButton);
            double a = NowMs() - start;
            start = NowMs();
            bool floorSaved = FloorSave(editor, floorPath.c_str());
            double b = NowMs() - start;
            if (!saved || !floorSaved) {
                Info("a save failed");
            }
            if (r > 0) {
                product.push_back(a);
                base.push_back(b);
            }
        }
        if (ReadBytes(quorrin.Note("BE4C")) != text + '\0' || ReadBytes(floorPath) != text + '\0') {
            Info("a saved note does not hold the editor's text");
        }
        // Reading the text out, which both do the same way.
        std::vector<double> getText;
        for (int r = 0; r < 9; ++r) {
            std::vector<char> buffer(text.size() + 2);
            double start = NowMs();
            SendMessageA(editor, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
            getText.push_back(NowMs() - start);
        }
        Info(Format("save of %u bytes: WM_GETTEXT alone %.3f ms",
                    static_cast<unsigned>(text.size() + 1), Median(getText)));
        PrintRow(s == 0 ? "Save Note 1 KiB" : "Save Note 1 MiB", "ms", product, base,
                 "ratio<=1.1");
    }
    DestroyWindow(editor);
}

// ---- Main window ------------------------------------------------------------

double TimeCreate(DLGPROC procedure) {
    double start = NowMs();
    HWND window =
        CreateDialogParamA(Instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, procedure, 0);
    UpdateWindow(window);
    double ms = NowMs() - start;
    DestroyWindow(window);
    PumpMessages();
    return ms;
}

void BenchWindow() {
    quorrin.Close();
    std::vector<double> product, base, folder;
    for (int r = 0; r < 15; ++r) {
        product.push_back(TimeCreate(MainDialogProc));
        base.push_back(TimeCreate(FloorMainProc));
        double start = NowMs();
        PrepareNotesFolder();
        folder.push_back(NowMs() - start);
    }
    Info(Format("main window created and painted in process: Quorrin %.2f ms, the floor %.2f ms; "
                "of Quorrin's WM_INITDIALOG, the notes folder alone %.2f ms",
                Median(product), Median(base), Median(folder)));
}

}  // namespace

int main(int argc, char** argv) {
    if (!PrepareProcess()) {
        fprintf(stderr, "RichEd32 could not be loaded\n");
        return 2;
    }
    std::string only = argc > 1 ? argv[1] : "all";
    if (only == "all" || only == "window") {
        BenchWindow();
    }
    if (only == "all" || only == "lookup") {
        BenchLookup();
    }
    if (only == "all" || only == "save") {
        BenchSave();
    }
    if (only == "all" || only == "browser") {
        BenchBrowser();
    }
    quorrin.Close();
    ReleaseProcess();
    return 0;
}
