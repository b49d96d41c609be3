// quorrin_soak: long use of the real dialogs inside one process, watching
// the handle count and the private bytes of the process.
//
//   quorrin_soak               10,000 lookups, 1,000 saves and deletes,
//                              200 openings each of the Note Browser and
//                              the About box
//   quorrin_soak --short       1,000 / 100 / 20
//   quorrin_soak --leak-check  proves each counter moves when the program
//                              leaks on purpose, and that the growth check
//                              then fails
//   quorrin_soak --plant-heap-error
//                              frees a heap block twice on purpose, for the
//                              heap check's own test
//   --trace N                  also prints the counters every N rounds
//
// Each phase runs its first tenth as a warm-up, takes a baseline, runs the
// rest and compares. Growth beyond 0 handles or 256 KiB of private bytes
// fails (exit code 1). The process is prepared by the start routine's own
// PrepareProcess, and the dialogs are driven by the in-process tests'
// MainWindowDriver.
//
// Modal boxes are answered through a WH_CBT hook on this thread (the
// dialog harness's ModalAnswerer); no second thread is started.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "about/about_box.h"
#include "app/start_up.h"
#include "notes/note_browser.h"
#include "resources/resource_ids.h"
#include "tests/wine/dialog_harness.h"
#include "tests/wine/main_window_driver.h"
#include "tests/wine/notes_test_support.h"
#include "tests/wine/process_memory.h"

namespace {

const DWORD kHandleAllowance = 0;
const SIZE_T kPrivateAllowance = 256 * 1024;

struct Counters {
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
    SIZE_T pagefileBytes = 0;
};

typedef BOOL(WINAPI* HandleCountFunction)(HANDLE, PDWORD);
typedef LONG(WINAPI* SystemInformationFunction)(ULONG, PVOID, ULONG, PULONG);

// Wine 8 answers GetProcessHandleCount with 0 and leaves PrivateUsage at 0.
// Then the handle count comes from the system handle table (which Wine's
// server keeps), and the private bytes from the committed private regions
// of the address space, which is what PrivateUsage counts on Windows.
// PagefileUsage is printed too, but does not decide: Wine takes it from the
// Unix process's anonymous memory, and where 32-bit Wine runs under an
// emulator that includes the emulator's own heap, which grows with
// translated code while the program's heaps stay the same.
const char* handleSource = "GetProcessHandleCount";
const char* privateSource = "PrivateUsage";

// This process's entries in the system handle table; -1 when unavailable.
long HandlesInSystemTable() {
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    static SystemInformationFunction query = reinterpret_cast<SystemInformationFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"),
                                               "NtQuerySystemInformation")));
    if (query == nullptr) {
        return -1;
    }
    const ULONG kSystemHandleInformation = 16;
    const LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    for (ULONG size = 1u << 16; size <= (1u << 26); size *= 2) {
        void* buffer = HeapAlloc(GetProcessHeap(), 0, size);
        if (buffer == nullptr) {
            return -1;
        }
        ULONG needed = 0;
        LONG status = query(kSystemHandleInformation, buffer, size, &needed);
        if (status == kInfoLengthMismatch) {
            HeapFree(GetProcessHeap(), 0, buffer);
            continue;
        }
        long count = -1;
        if (status == 0) {
            ULONG entries = *static_cast<ULONG*>(buffer);
            const Entry* entry = reinterpret_cast<const Entry*>(static_cast<char*>(buffer) + 4);
            count = 0;
            for (ULONG i = 0; i < entries; ++i) {
                if (entry[i].ownerPid == GetCurrentProcessId()) {
                    ++count;
                }
            }
        }
        HeapFree(GetProcessHeap(), 0, buffer);
        return count;
    }
    return -1;
}

bool ReadCounters(Counters* counters) {
    static HandleCountFunction handleCount = reinterpret_cast<HandleCountFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"),
                                               "GetProcessHandleCount")));
    counters->handles = 0;
    if (handleCount != nullptr) {
        handleCount(GetCurrentProcess(), &counters->handles);
    }
    if (counters->handles == 0) {
        long counted = HandlesInSystemTable();
        if (counted <= 0) {
            return false;
        }
        counters->handles = static_cast<DWORD>(counted);
        handleSource = "system handle table";
    }
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(GetCurrentProcess(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                              sizeof memory)) {
        return false;
    }
    counters->pagefileBytes = memory.PagefileUsage;
    counters->privateBytes = memory.PrivateUsage;
    if (counters->privateBytes == 0) {
        counters->privateBytes = CommittedPrivateBytes(GetCurrentProcess());
        privateSource = "committed private regions";
    }
    return counters->privateBytes != 0;
}

long long Kib(long long bytes) { return bytes / 1024; }

// Prints one phase's figures; true when the growth is within the allowance.
bool WithinAllowance(const char* phase, int warmUp, int total, const Counters& before,
                     const Counters& after) {
    long long handleGrowth = static_cast<long long>(after.handles) - before.handles;
    long long privateGrowth =
        static_cast<long long>(after.privateBytes) - static_cast<long long>(before.privateBytes);
    bool ok = handleGrowth <= static_cast<long long>(kHandleAllowance) &&
              privateGrowth <= static_cast<long long>(kPrivateAllowance);
    long long pagefileGrowth = static_cast<long long>(after.pagefileBytes) -
                               static_cast<long long>(before.pagefileBytes);
    printf("%-22s %6d (warm-up %d)  handles %lu -> %lu (%+lld)  private %lld -> %lld KiB "
           "(%+lld KiB)  %s  [pagefile %+lld KiB]\n",
           phase, total, warmUp, static_cast<unsigned long>(before.handles),
           static_cast<unsigned long>(after.handles), handleGrowth,
           Kib(static_cast<long long>(before.privateBytes)),
           Kib(static_cast<long long>(after.privateBytes)), Kib(privateGrowth),
           ok ? "ok" : "GROWTH", Kib(pagefileGrowth));
    if (handleGrowth > static_cast<long long>(kHandleAllowance)) {
        printf("FAIL: %s: the handle count grew by %lld (allowed %lu)\n", phase, handleGrowth,
               static_cast<unsigned long>(kHandleAllowance));
    }
    if (privateGrowth > static_cast<long long>(kPrivateAllowance)) {
        printf("FAIL: %s: private bytes grew by %lld KiB (allowed %lld KiB)\n", phase,
               Kib(privateGrowth), Kib(static_cast<long long>(kPrivateAllowance)));
    }
    return ok;
}

int failures = 0;

void Failure(const char* what, int round) {
    // Only the first few are printed; the count decides.
    if (++failures <= 5) {
        printf("FAIL: %s (round %d)\n", what, round);
    }
}

MainWindowDriver window;

// One round of each phase.
void LookupRound(int round) {
    static const char* const kInputs[] = {"5", "0x80070005", "12029", "3E8", "0x"};
    const char* input = kInputs[round % 5];
    window.Lookup(input);
    PumpMessages();
    // A known number shows its code; an unknown or incomplete one leaves
    // the code empty.
    bool known = strcmp(input, "0x") != 0 && strcmp(input, "3E8") != 0;
    if (known == window.Field(IDC_CODE).empty()) {
        Failure("a lookup did not show what it should", round);
    }
}

void SaveDeleteRound(int round) {
    static const char* const kKeys[] = {"5", "80070005", "12029"};
    const char* key = kKeys[round % 3];
    window.Lookup(key);
    char text[64];
    wsprintfA(text, "note %d\r\nfor %s", round, key);
    window.TypeNote(text);
    {
        ModalAnswerer refused("Save Note", IDOK);
        window.Press(IDC_SAVE_NOTE);
        if (refused.Join() || !FileExists(window.Note(key))) {
            Failure("a save did not write the note", round);
        }
    }
    {
        ModalAnswerer confirm("Confirm Delete", IDYES);
        ModalAnswerer refused("Delete Note", IDOK);
        window.Press(IDC_DELETE_NOTE);
        if (!confirm.Join() || refused.Join() || FileExists(window.Note(key))) {
            Failure("a delete did not remove the note", round);
        }
    }
    PumpMessages();
}

void BrowserRound(int round) {
    AnsweredBox box = MainWindowDriver::Answer("Note Browser", ModalAnswerer::kClose,
                                               [] { ShowNoteBrowser(window.Main()); });
    if (!box.answered) {
        Failure("the Note Browser did not open", round);
    }
    PumpMessages();
}

void AboutRound(int round) {
    AnsweredBox box = MainWindowDriver::Answer("About Quorrin", ModalAnswerer::kClose,
                                               [] { ShowAboutBox(window.Main()); });
    if (!box.answered) {
        Failure("the About box did not open", round);
    }
    PumpMessages();
}

typedef void (*Round)(int round);

int traceEvery = 0;

void Trace(int round) {
    if (traceEvery <= 0 || round % traceEvery != 0) {
        return;
    }
    Counters now;
    ReadCounters(&now);
    printf("  round %6d: handles %lu, private %lld KiB, pagefile %lld KiB\n", round,
           static_cast<unsigned long>(now.handles), Kib(static_cast<long long>(now.privateBytes)),
           Kib(static_cast<long long>(now.pagefileBytes)));
}

// Runs total rounds; the first tenth is the warm-up before the baseline.
bool RunPhase(const char* name, Round round, int total) {
    int warmUp = total / 10;
    int i = 0;
    for (; i < warmUp; ++i) {
        round(i);
    }
    Counters before;
    if (!ReadCounters(&before)) {
        printf("FAIL: the counters cannot be read\n");
        return false;
    }
    for (; i < total; ++i) {
        Trace(i);
        round(i);
    }
    Counters after;
    ReadCounters(&after);
    return WithinAllowance(name, warmUp, total, before, after);
}

// Leaks on purpose and checks that both counters see it, and that the
// growth check then fails.
int LeakCheck() {
    Counters before;
    if (!ReadCounters(&before)) {
        printf("FAIL: the counters cannot be read\n");
        return 1;
    }
    const int kLeakedHandles = 4;
    for (int i = 0; i < kLeakedHandles; ++i) {
        CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    Counters afterHandles;
    ReadCounters(&afterHandles);
    // Many small blocks, like a message buffer never given back, each
    // touched so that its pages are really taken.
    const SIZE_T kBlockBytes = 256;
    const SIZE_T kLeakedBytes = 1024 * 1024;
    for (SIZE_T leaked = 0; leaked < kLeakedBytes; leaked += kBlockBytes) {
        void* block = HeapAlloc(GetProcessHeap(), 0, kBlockBytes);
        if (block != nullptr) {
            memset(block, 0x5A, kBlockBytes);
        }
    }
    Counters afterBytes;
    ReadCounters(&afterBytes);

    int status = 0;
    long long handleGrowth = static_cast<long long>(afterHandles.handles) - before.handles;
    long long byteGrowth = static_cast<long long>(afterBytes.privateBytes) -
                           static_cast<long long>(afterHandles.privateBytes);
    printf("leaked %d handles: the handle count (%s) moved by %+lld\n", kLeakedHandles,
           handleSource, handleGrowth);
    printf("leaked %lld KiB: private bytes (%s) moved by %+lld KiB\n",
           Kib(static_cast<long long>(kLeakedBytes)), privateSource, Kib(byteGrowth));
    if (handleGrowth < kLeakedHandles) {
        printf("FAIL: the handle count does not show leaked handles\n");
        status = 1;
    }
    // At least three quarters of the block must show.
    if (byteGrowth < static_cast<long long>(kLeakedBytes * 3 / 4)) {
        printf("FAIL: private bytes do not show a leaked heap block\n");
        status = 1;
    }
    if (WithinAllowance("on-purpose leak", 0, 1, before, afterBytes)) {
        printf("FAIL: the growth check passed a leak\n");
        status = 1;
    } else {
        printf("the growth check caught the leak, as it should\n");
    }
    printf(status == 0 ? "leak check: ok\n" : "leak check: FAILED\n");
    return status;
}

// Frees one heap block twice: an error Wine's heap checking must report,
// which shows that the heap check can fail.
int PlantHeapError() {
    void* block = HeapAlloc(GetProcessHeap(), 0, 24);
    if (block == nullptr) {
        return 2;
    }
    HeapFree(GetProcessHeap(), 0, block);
    BOOL again = HeapFree(GetProcessHeap(), 0, block);
    printf("freed a heap block twice; the second free returned %d\n", again);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    bool shortForm = false;
    bool leakCheck = false;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--short") == 0) {
            shortForm = true;
        } else if (strcmp(argv[i], "--leak-check") == 0) {
            leakCheck = true;
        } else if (strcmp(argv[i], "--plant-heap-error") == 0) {
            return PlantHeapError();
        } else if (strcmp(argv[i], "--trace") == 0 && i + 1 < argc) {
            traceEvery = atoi(argv[++i]);
        } else {
            fprintf(stderr, "usage: quorrin_soak [--short | --leak-check] [--trace N]\n");
            return 2;
        }
    }

    if (!PrepareProcess()) {
        printf("FAIL: RichEd32 could not be loaded\n");
        return 2;
    }
    if (leakCheck) {
        return LeakCheck();
    }

    // Notes of this run only, in a fresh folder.
    if (!window.Open("soak")) {
        printf("FAIL: the main window or its notes folder could not be made\n");
        return 2;
    }

    int lookups = shortForm ? 1000 : 10000;
    int saves = shortForm ? 100 : 1000;
    int openings = shortForm ? 20 : 200;
    printf("soak (%s): %d lookups, %d saves and deletes, %d openings each of the Note "
           "Browser and the About box\n",
           shortForm ? "short" : "full", lookups, saves, openings);
    Counters first;
    if (!ReadCounters(&first)) {
        printf("FAIL: the counters cannot be read\n");
        return 2;
    }
    printf("counters: handles from %s, private bytes from %s\n", handleSource, privateSource);

    bool ok = RunPhase("lookups", LookupRound, lookups);
    ok = RunPhase("saves and deletes", SaveDeleteRound, saves) && ok;
    // A few notes for the browser to list.
    for (const char* key : {"3E8", "1"}) {
        window.WriteNote(key, "listed in the browser");
    }
    ok = RunPhase("Note Browser openings", BrowserRound, openings) && ok;
    ok = RunPhase("About box openings", AboutRound, openings) && ok;

    window.Close();
    if (failures > 0) {
        printf("FAIL: %d rounds did not behave as they should\n", failures);
        ok = false;
    }
    printf(ok ? "soak: ok\n" : "soak: FAILED\n");
    return ok ? 0 : 1;
}
