// The About box: the name in a bold font of its own, the version, a line
// of description, the system's four message icons and two contact lines.
//
// The bold font lives exactly as long as the box: created on
// WM_INITDIALOG, deleted on WM_CLOSE. WM_CLOSE is the only way out;
// IDCANCEL (Esc) returns FALSE like every other message and so does not
// end the box.
#include "about/about_box.h"

#include "app/app_state.h"
#include "resources/resource_ids.h"

static HFONT AboutFont;

// The title is the one thing sized in pixels here, so it follows the DPI
// the box is drawn at: -12 at 96 DPI, the same 9 points at any other.
static int TitleHeight(HWND window) {
    int dpi = 96;
    if (HDC dc = GetDC(window)) {
        dpi = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(window, dc);
    }
    return -MulDiv(12, dpi > 0 ? dpi : 96, 96);
}

static void InitAboutBox(HWND window) {
    LOGFONTA description = {};
    description.lfHeight = TitleHeight(window);
    description.lfWeight = FW_BOLD;
    lstrcpynA(description.lfFaceName, "Verdana", LF_FACESIZE);
    AboutFont = CreateFontIndirectA(&description);
    SendMessageA(GetDlgItem(window, IDC_ABOUT_NAME), WM_SETFONT,
                 reinterpret_cast<WPARAM>(AboutFont), FALSE);

    struct IconPlace {
        WORD icon;
        int control;
    };
    static const IconPlace kIcons[] = {
        {32513, IDC_ABOUT_HAND},         // IDI_HAND
        {32514, IDC_ABOUT_QUESTION},     // IDI_QUESTION
        {32515, IDC_ABOUT_EXCLAMATION},  // IDI_EXCLAMATION
        {32516, IDC_ABOUT_ASTERISK},     // IDI_ASTERISK
    };
    // LR_SHARED: the system owns these icons, so nothing is destroyed on close.
    for (const IconPlace& place : kIcons) {
        HANDLE icon = LoadImageA(nullptr, MAKEINTRESOURCEA(place.icon), IMAGE_ICON, 32, 32,
                                 LR_SHARED | LR_LOADMAP3DCOLORS);
        SendMessageA(GetDlgItem(window, place.control), STM_SETICON,
                     reinterpret_cast<WPARAM>(icon), 0);
    }
}

INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        InitAboutBox(window);
        return TRUE;
    case WM_CLOSE:
        DeleteObject(AboutFont);
        AboutFont = nullptr;
        EndDialog(window, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

void ShowAboutBox(HWND owner) {
    DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutProc, 0);
}
