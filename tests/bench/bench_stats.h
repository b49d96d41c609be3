// Timing and reporting helpers shared by the bench programs. Each figure is
// printed as one tab-separated ROW line that tools/bench turns into a table:
// ROW <figure> <unit> <median> <min> <baseline median> <baseline min> <target>
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tests/wine/process_memory.h"

inline double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

inline double Minimum(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

inline void PrintRow(const char* figure, const char* unit, const std::vector<double>& measured,
                     const std::vector<double>& baseline, const char* target) {
    printf("ROW\t%s\t%s\t%.4f\t%.4f\t%.4f\t%.4f\t%s\n", figure, unit, Median(measured),
           Minimum(measured), Median(baseline), Minimum(baseline), target);
    fflush(stdout);
}

inline double CommittedPrivateKiB(HANDLE process) {
    return static_cast<double>(CommittedPrivateBytes(process)) / 1024.0;
}

inline void PrintInfo(const char* text) {
    printf("INFO\t%s\n", text);
    fflush(stdout);
}
