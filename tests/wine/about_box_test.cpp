// The About box, run modally as the product runs it. It is inspected when
// it becomes active and then sent Esc's IDCANCEL and the close command; a
// message hook notes whether the close command still found the box alive,
// since only WM_CLOSE may end it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "about/about_box.h"
#include "app/app_state.h"
#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "tests/wine/dialog_harness.h"

namespace {

const int kIconControls[] = {IDC_ABOUT_HAND, IDC_ABOUT_QUESTION, IDC_ABOUT_EXCLAMATION,
                             IDC_ABOUT_ASTERISK};
const LPCSTR kSystemIcons[] = {IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK};

// What the hooks saw of one About box. Filled inside the modal loop and
// checked after it, where an assertion may safely fail.
struct AboutSeen {
    HWND box = nullptr;
    HWND owner = nullptr;
    std::string name, version, description;
    HFONT font = nullptr;
    LOGFONTA logFont = {};
    HICON icons[4] = {};
    int dpi = 0;
    bool closeArrivedAlive = false;
};
AboutSeen Seen;

void Inspect(HWND window) {
    Seen.box = window;
    Seen.owner = GetWindow(window, GW_OWNER);
    Seen.name = ControlText(window, IDC_ABOUT_NAME);
    Seen.version = ControlText(window, IDC_ABOUT_VERSION);
    Seen.description = ControlText(window, IDC_ABOUT_DESCRIPTION);
    Seen.font =
        reinterpret_cast<HFONT>(SendDlgItemMessageA(window, IDC_ABOUT_NAME, WM_GETFONT, 0, 0));
    GetObjectA(Seen.font, sizeof Seen.logFont, &Seen.logFont);
    HDC dc = GetDC(window);
    Seen.dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    for (int i = 0; i < 4; ++i) {
        Seen.icons[i] = reinterpret_cast<HICON>(
            SendDlgItemMessageA(window, kIconControls[i], STM_GETICON, 0, 0));
    }
}

// A box that IDCANCEL had ended is destroyed before the close command is
// taken from the queue, so that command is never seen for it.
LRESULT CALLBACK NoteCloseArrival(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && message->message == WM_CLOSE && message->hwnd == Seen.box &&
        Seen.box != nullptr && IsWindow(Seen.box)) {
        Seen.closeArrivedAlive = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Each About box that opens is inspected, then sent Esc's IDCANCEL and the
// close command.
class AboutBoxTest : public testing::Test {
protected:
    void SetUp() override {
        Seen = AboutSeen();
        getMessage_ =
            SetWindowsHookExA(WH_GETMESSAGE, NoteCloseArrival, nullptr, GetCurrentThreadId());
        ASSERT_NE(getMessage_, nullptr);
    }
    void TearDown() override {
        UnhookWindowsHookEx(getMessage_);
        PumpMessages();
    }
    INT_PTR RunAboutBox(HWND owner) {
        Seen = AboutSeen();
        ModalAnswerer answer("About Quorrin", {IDCANCEL, ModalAnswerer::kClose}, Inspect);
        return DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutProc, 0);
    }
    // The system command, as the main window's menu sends it.
    INT_PTR SystemCommand(HWND dialog, WPARAM command) {
        Seen = AboutSeen();
        ModalAnswerer answer("About Quorrin", {IDCANCEL, ModalAnswerer::kClose}, Inspect);
        return MainDialogProc(dialog, WM_SYSCOMMAND, command, 0);
    }
    HHOOK getMessage_ = nullptr;
};

TEST_F(AboutBoxTest, ShowsNameVersionAndDescription) {
    ASSERT_EQ(RunAboutBox(nullptr), 0);
    ASSERT_NE(Seen.box, nullptr);
    EXPECT_EQ(Seen.name, "Quorrin");
    EXPECT_EQ(Seen.version, "Version 2.0.2");
    EXPECT_EQ(Seen.description, "View descriptions for Windows Errors");
}

// The display scale a run is made under (QUORRIN_DPI, set with the
// prefix's LogPixels), and the title's pixel height there: the same nine
// points at each.
int ExpectedDpi() {
    const char* named = getenv("QUORRIN_DPI");
    return named != nullptr ? atoi(named) : 96;
}

TEST_F(AboutBoxTest, NameIsInABoldVerdanaOfItsOwn) {
    struct Scale {
        int dpi;
        LONG height;
    };
    const Scale kScales[] = {{96, -12}, {120, -15}, {144, -18}, {192, -24}};
    ASSERT_EQ(RunAboutBox(nullptr), 0);
    ASSERT_NE(Seen.font, nullptr);
    ASSERT_EQ(Seen.dpi, ExpectedDpi()) << "the display is not at the DPI this run is for";
    const Scale* scale = nullptr;
    for (const Scale& each : kScales) {
        scale = each.dpi == Seen.dpi ? &each : scale;
    }
    ASSERT_NE(scale, nullptr) << Seen.dpi;
    EXPECT_EQ(Seen.logFont.lfWeight, 700);
    EXPECT_EQ(Seen.logFont.lfHeight, scale->height);
    EXPECT_STREQ(Seen.logFont.lfFaceName, "Verdana");
    EXPECT_EQ(Seen.logFont.lfItalic, 0);
    EXPECT_EQ(Seen.logFont.lfCharSet, 0);
}

TEST_F(AboutBoxTest, EachIconControlHoldsItsOwnSystemIcon) {
    ASSERT_EQ(RunAboutBox(nullptr), 0);
    ASSERT_NE(Seen.box, nullptr);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(kIconControls[i]);
        // LR_SHARED hands back the one cached handle of each system icon.
        HANDLE expected = LoadImageA(nullptr, kSystemIcons[i], IMAGE_ICON, 32, 32, LR_SHARED);
        ASSERT_NE(expected, nullptr);
        EXPECT_EQ(Seen.icons[i], expected);
        // 32 x 32 at every display scale: the icons are not scaled with it.
        ICONINFO info = {};
        BITMAP mask = {};
        ASSERT_TRUE(GetIconInfo(Seen.icons[i], &info));
        GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, 32);
        EXPECT_EQ(mask.bmHeight, info.hbmColor != nullptr ? 32 : 64);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        for (int j = 0; j < i; ++j) {
            EXPECT_NE(Seen.icons[i], Seen.icons[j]);
        }
    }
}

TEST_F(AboutBoxTest, EscIsIgnoredAndCloseEndsTheBoxWithZero) {
    EXPECT_EQ(RunAboutBox(nullptr), 0);
    ASSERT_NE(Seen.box, nullptr);
    EXPECT_TRUE(Seen.closeArrivedAlive) << "the box was gone before WM_CLOSE reached it";
    EXPECT_FALSE(IsWindow(Seen.box));
}

// Each opening makes one font and its closing deletes it again.
TEST_F(AboutBoxTest, FontIsDeletedWhenTheBoxCloses) {
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(RunAboutBox(nullptr), 0);
        ASSERT_NE(Seen.font, nullptr);
        EXPECT_EQ(GetObjectType(Seen.font), 0u);
    }
}

// The system-menu command About opens the box modally over the main window,
// and the command still goes on to default handling (FALSE).
TEST_F(AboutBoxTest, SystemCommandAboutOpensItOverTheMainWindow) {
    HWND dialog = OpenMainDialog();
    ASSERT_NE(dialog, nullptr);
    INT_PTR result = SystemCommand(dialog, IDM_ABOUT);
    HWND box = Seen.box;
    HWND owner = Seen.owner;
    bool ownerEnabledAfter = IsWindowEnabled(dialog) != FALSE;
    DestroyWindow(dialog);
    PumpMessages();

    EXPECT_EQ(result, FALSE);
    ASSERT_NE(box, nullptr) << "no About box became active";
    EXPECT_EQ(owner, dialog);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_TRUE(ownerEnabledAfter);
}

// The command value is compared whole: values that only share bits with 2
// do not open it.
TEST_F(AboutBoxTest, OnlyTheExactCommandValueOpensIt) {
    HWND dialog = OpenMainDialog();
    ASSERT_NE(dialog, nullptr);
    for (WPARAM command : {WPARAM{0x12}, WPARAM{0x102}, WPARAM{0x10002}}) {
        SystemCommand(dialog, command);
        EXPECT_EQ(Seen.box, nullptr) << command;
    }
    DestroyWindow(dialog);
    PumpMessages();
}

}  // namespace
