// Entry point of the in-process tests. It prepares the process exactly as
// Quorrin's start routine does (common controls, the rich-edit library), so
// that the real templates can be created; the manifest is linked in too.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/wine/dialog_harness.h"

int main(int argc, char** argv) {
    // Unbuffered, so that a failure's message is out before anything else
    // can go wrong in the process.
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (!PrepareProcessForDialogs()) {
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
