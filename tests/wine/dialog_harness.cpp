#include "tests/wine/dialog_harness.h"

#include <commctrl.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "resources/resource_ids.h"

HWND OpenMainDialog() {
    return CreateDialogParamA(Instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
}

std::string WindowText(HWND window) {
    // A rich edit counts its length in characters, and a character of the
    // ANSI code page takes up to four bytes.
    int length = GetWindowTextLengthA(window) * 4 + 1;
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window, buffer.data(), length);
    return std::string(buffer.data());
}

std::string ControlText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

bool ControlEnabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

namespace {

// The box's icon sits in a static control whose id differs between
// Windows and Wine, so look for the SS_ICON static instead.
BOOL CALLBACK FindIcon(HWND child, LPARAM lParam) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HICON*>(lParam) =
            reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

// Answerers waiting on this thread, newest first, and what becomes of a
// message box that none of them takes.
ModalAnswerer* waiting = nullptr;
HHOOK watching = nullptr;
void (*unexpectedBox)(HWND) = nullptr;

}  // namespace

// One hook for the thread's whole life: a box may come up at any time.
void ModalAnswerer::Watch() {
    if (watching == nullptr) {
        watching = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    }
}

void ModalAnswerer::OnUnexpected(void (*handler)(HWND box)) {
    unexpectedBox = handler;
    Watch();
}

ModalAnswerer::ModalAnswerer(const char* caption, std::initializer_list<int> answers,
                             Inspect inspect)
    : caption_(caption), answers_(answers), inspect_(std::move(inspect)) {
    next_ = waiting;
    waiting = this;
    waiting_ = true;
    Watch();
}

ModalAnswerer::~ModalAnswerer() {
    Join();
}

bool ModalAnswerer::Join() {
    if (waiting_) {
        waiting_ = false;
        for (ModalAnswerer** link = &waiting; *link != nullptr; link = &(*link)->next_) {
            if (*link == this) {
                *link = next_;
                break;
            }
        }
    }
    return window_ != nullptr;
}

bool ModalAnswerer::TryAnswer(HWND window) {
    if (window_ != nullptr || WindowText(window) != caption_) {
        return window_ == window;
    }
    window_ = window;
    // A message box keeps its text in the static control 0xFFFF.
    text_ = ControlText(window, 0xFFFF);
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        if (GetDlgItem(window, id) != nullptr) {
            buttons_ |= 1u << id;
        }
    }
    EnumChildWindows(window, FindIcon, reinterpret_cast<LPARAM>(&icon_));
    if (inspect_) {
        inspect_(window);
    }
    for (int answer : answers_) {
        if (answer == kClose) {
            PostMessageA(window, WM_CLOSE, 0, 0);
        } else {
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, answer)));
        }
    }
    return true;
}

LRESULT CALLBACK ModalAnswerer::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (lstrcmpA(className, "#32770") == 0) {
            bool taken = false;
            for (ModalAnswerer* answerer = waiting; answerer != nullptr && !taken;
                 answerer = answerer->next_) {
                taken = answerer->TryAnswer(window);
            }
            // Only a message box has the text control 0xFFFF.
            if (!taken && unexpectedBox != nullptr && GetDlgItem(window, 0xFFFF) != nullptr) {
                unexpectedBox(window);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
