// Start-up time and private bytes after start-up, of Quorrin.exe and of the
// floor program, started alternately in the same run: from the process's
// start until its main window is visible and takes input.
// Usage: launch_timer <runs> <exe> <caption> <floor exe> <floor caption>
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/bench/bench_stats.h"

namespace {

struct Launch {
    bool ok;
    double ms;
    double privateKiB;
    double pagefileKiB;
};

// Ready means found, visible, enabled, and its thread answers a message,
// i.e. the modal loop runs and would take input.
HWND ReadyWindow(const char* caption) {
    HWND window = FindWindowA("#32770", caption);
    if (window == nullptr || !IsWindowVisible(window) || !IsWindowEnabled(window)) {
        return nullptr;
    }
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) == 0) {
        return nullptr;
    }
    return window;
}

Launch Start(const char* exe, const char* caption) {
    Launch launch = {false, 0.0, 0.0, 0.0};
    char commandLine[MAX_PATH + 8] = {};
    if (lstrlenA(exe) > MAX_PATH) {
        return launch;
    }
    wsprintfA(commandLine, "\"%s\"", exe);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    double start = NowMs();
    if (!CreateProcessA(exe, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        fprintf(stderr, "could not start %s (%lu)\n", exe, GetLastError());
        return launch;
    }
    HWND window = nullptr;
    // Polling every millisecond; the wait itself is far shorter than a start.
    while ((window = ReadyWindow(caption)) == nullptr && NowMs() - start < 120000.0) {
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) {
            break;
        }
    }
    launch.ms = NowMs() - start;
    if (window != nullptr) {
        launch.ok = true;
        PROCESS_MEMORY_COUNTERS_EX counters = {};
        counters.cb = sizeof counters;
        HANDLE query = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                   process.dwProcessId);
        if (query != nullptr) {
            if (GetProcessMemoryInfo(query, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                     sizeof counters)) {
                launch.pagefileKiB = static_cast<double>(counters.PagefileUsage) / 1024.0;
                launch.privateKiB = counters.PrivateUsage != 0
                                        ? static_cast<double>(counters.PrivateUsage) / 1024.0
                                        : CommittedPrivateKiB(query);
            }
            CloseHandle(query);
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    // The next start must not find this window.
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 10000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return launch;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        fprintf(stderr, "usage: launch_timer runs exe caption floor-exe floor-caption\n");
        return 2;
    }
    int runs = atoi(argv[1]);
    std::vector<double> times, baseTimes, memory, baseMemory, pagefile, basePagefile;
    // One start of each first, unmeasured: it fills the file cache.
    Start(argv[2], argv[3]);
    Start(argv[4], argv[5]);
    for (int i = 0; i < runs; ++i) {
        Launch product = Start(argv[2], argv[3]);
        Launch base = Start(argv[4], argv[5]);
        if (!product.ok || !base.ok) {
            fprintf(stderr, "run %d: a window did not become ready\n", i);
            return 1;
        }
        times.push_back(product.ms);
        baseTimes.push_back(base.ms);
        memory.push_back(product.privateKiB);
        baseMemory.push_back(base.privateKiB);
        pagefile.push_back(product.pagefileKiB);
        basePagefile.push_back(base.pagefileKiB);
    }
    PrintRow("Start-up", "ms", times, baseTimes, "ratio<=1.05");
    PrintRow("Private bytes after start-up", "KiB", memory, baseMemory, "-");
    char info[300];
    sprintf(info, "after start-up, PagefileUsage as Wine reports it: %.0f KiB against %.0f KiB",
            Median(pagefile), Median(basePagefile));
    PrintInfo(info);
    return 0;
}
