// The main window's frame: system menu commands, On Top, Esc and close.
#include "tests/wine/main_window_test.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "tests/wine/dialog_harness.h"

namespace {

std::string MenuText(HMENU menu, UINT position) {
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST_F(MainWindowTest, SystemMenuStartsWithTheThreeCommandsAndASeparator) {
    HMENU menu = GetSystemMenu(Main(), FALSE);
    ASSERT_NE(menu, nullptr);
    ASSERT_GE(GetMenuItemCount(menu), 5);

    struct Expected {
        UINT id;
        const char* text;
    };
    const Expected commands[] = {{0, "On Top"}, {1, "Browse Notes"}, {2, "About"}};
    for (UINT position = 0; position < 3; ++position) {
        SCOPED_TRACE(position);
        EXPECT_EQ(GetMenuItemID(menu, static_cast<int>(position)), commands[position].id);
        EXPECT_EQ(MenuText(menu, position), commands[position].text);
        EXPECT_EQ(GetMenuState(menu, position, MF_BYPOSITION) & (MF_SEPARATOR | MF_CHECKED), 0u);
    }
    EXPECT_NE(GetMenuState(menu, 3, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    // The standard commands follow, untouched.
    EXPECT_GE(GetMenuItemID(menu, 4), static_cast<UINT>(SC_SIZE));
}

TEST_F(MainWindowTest, OnTopTogglesTopmostAndItsCheckMark) {
    HMENU menu = GetSystemMenu(Main(), FALSE);
    const bool expectations[] = {true, false};
    for (bool topmost : expectations) {
        SCOPED_TRACE(topmost);
        SendMessageA(Main(), WM_SYSCOMMAND, IDM_ON_TOP, 0);
        EXPECT_EQ((GetWindowLongA(Main(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, topmost);
        EXPECT_EQ((GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED) != 0, topmost);
        EXPECT_EQ(MenuText(menu, 0), "On Top");
        EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(IDM_ON_TOP));
    }
}

TEST_F(MainWindowTest, EverySystemCommandIsPassedOnAndEveryCommandIsTaken) {
    // FALSE lets the dialog manager give move, minimise and close their
    // default handling; TRUE for WM_COMMAND means IDCANCEL does nothing.
    EXPECT_EQ(MainDialogProc(Main(), WM_SYSCOMMAND, 0x7777, 0), FALSE);
    EXPECT_EQ(MainDialogProc(Main(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0), TRUE);
    EXPECT_EQ(MainDialogProc(Main(), WM_COMMAND, MAKEWPARAM(IDC_ERROR_FIELD, EN_CHANGE), 0), TRUE);
    EXPECT_EQ(MainDialogProc(Main(), WM_TIMER, 0, 0), FALSE);
}

// Runs the window modally, as the product does: Esc's IDCANCEL must be
// ignored, and only WM_CLOSE may end it, with 0.
TEST(MainWindowModal, EscIsIgnoredAndCloseEndsTheDialogWithZero) {
    ModalAnswerer answer("Quorrin", {IDCANCEL, ModalAnswerer::kClose});
    INT_PTR result =
        DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    EXPECT_TRUE(answer.Join());
    EXPECT_EQ(result, 0);
}

}  // namespace
