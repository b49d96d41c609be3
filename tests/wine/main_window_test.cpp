// The main window's frame: system menu commands, On Top, Esc and close.
#include "tests/wine/main_window_test.h"

#include <vector>

#include "about/about_box.h"
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

// The static texts and button captions of a window whose text, in the
// control's own font, does not fit inside the control: cut off on screen.
std::vector<std::string> CutOffCaptions(HWND window) {
    std::vector<std::string> cut;
    for (HWND control = GetWindow(window, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        char kind[32] = {};
        GetClassNameA(control, kind, sizeof kind);
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        const bool text = lstrcmpiA(kind, "Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
        const bool caption = lstrcmpiA(kind, "Button") == 0;
        const std::string shown = WindowText(control);
        if (!(text || caption) || shown.empty() || !IsWindowVisible(control)) {
            continue;
        }
        RECT client = {};
        GetClientRect(control, &client);
        RECT needed = {0, 0, client.right, 0};
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
        // A static wraps at word breaks; a push button's caption is one line.
        DrawTextA(dc, shown.c_str(), -1, &needed,
                  DT_CALCRECT | (text ? DT_WORDBREAK | DT_NOPREFIX : DT_SINGLELINE));
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        if (needed.right > client.right || needed.bottom > client.bottom) {
            cut.push_back(shown);
        }
    }
    return cut;
}

// At 150% nothing of the three windows is cut off, with a result shown.
// Disabled in the main run, which is at 96 DPI: wine.display_scale_144 runs
// it with the display at 144. At 96 the layout is the template's as it
// stands, and Wine's stand-in for Verdana is a pixel too wide for
// "Facility:" there. (A skipped test would end the process under qemu, as
// a failed one does.)
TEST_F(MainWindowTest, DISABLED_NoCaptionIsCutOffAt144Dpi) {
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 144);
    ReleaseDC(nullptr, screen);
    Lookup("0x80070005");
    EXPECT_EQ(CutOffCaptions(Main()), std::vector<std::string>());
    ASSERT_NE(OpenBrowser(), nullptr);
    EXPECT_EQ(CutOffCaptions(Browser()), std::vector<std::string>());
    HWND about = CreateDialogParamA(Instance, MAKEINTRESOURCEA(IDD_ABOUT), Main(), AboutProc, 0);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(CutOffCaptions(about), std::vector<std::string>());
    SendMessageA(about, WM_CLOSE, 0, 0);
    DestroyWindow(about);
}

// Esc in any field of either window, the multi-line ones included (an edit
// or rich edit posts WM_CLOSE to its dialog on Esc), leaves both open.
TEST_F(MainWindowTest, EscInAnyFieldLeavesBothWindowsOpen) {
    ASSERT_NE(OpenBrowser(), nullptr);
    const struct {
        bool inBrowser;
        int id;
    } fields[] = {{false, IDC_ERROR_FIELD},
                  {false, IDC_DESCRIPTION},
                  {false, IDC_NOTE_EDITOR},
                  {true, IDC_BROWSER_LIST},
                  {true, IDC_BROWSER_EDITOR}};
    for (const auto& field : fields) {
        SCOPED_TRACE(field.id);
        HWND dialog = field.inBrowser ? Browser() : Main();
        HWND control = GetDlgItem(dialog, field.id);
        SetFocus(control);
        PostMessageA(control, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageA(control, WM_CHAR, VK_ESCAPE, 0x00010001);
        PostMessageA(control, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        // Through the dialog manager, as the modal loop hands keys over.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(dialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        EXPECT_TRUE(IsWindowVisible(Main()));
        EXPECT_TRUE(IsWindowVisible(Browser()));
    }
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
