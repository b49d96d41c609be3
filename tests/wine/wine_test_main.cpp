// Entry point of the in-process tests. It prepares the process with the
// start routine's own PrepareProcess (COM, common controls, the rich-edit
// library), so that the real templates can be created; the manifest is
// linked in too.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "app/start_up.h"
#include "tests/wine/dialog_harness.h"

// A message box no test waits for fails the test that raised it, and is
// answered with Cancel, No or OK, whichever it has, so the run goes on.
static void FailUnexpectedBox(HWND box) {
    ADD_FAILURE() << "a message box nobody answered: \"" << WindowText(box)
                  << "\": " << ControlText(box, 0xFFFF);
    for (int answer : {IDCANCEL, IDNO, IDOK}) {
        if (HWND button = GetDlgItem(box, answer)) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            break;
        }
    }
}

int main(int argc, char** argv) {
    // Unbuffered, so that a failure's message is out before anything else
    // can go wrong in the process.
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (!PrepareProcess()) {
        fprintf(stderr, "RichEd32 could not be loaded\n");
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    ModalAnswerer::OnUnexpected(FailUnexpectedBox);
    int result = RUN_ALL_TESTS();
    ReleaseProcess();
    return result;
}
