#include "tests/wine/dialog_harness.h"

#include <vector>

#include "app/main_window.h"
#include "resources/resource_ids.h"

HWND OpenMainDialog() {
    return CreateDialogParamA(Instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::vector<char> buffer(static_cast<size_t>(length) + 2, '\0');
    GetWindowTextA(window, buffer.data(), length + 1);
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

ModalAnswerer::ModalAnswerer(const char* caption, int command, DWORD timeoutMs)
    : caption_(caption), command_(command), timeoutMs_(timeoutMs) {
    thread_ = std::thread([this] { Run(); });
}

ModalAnswerer::~ModalAnswerer() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool ModalAnswerer::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
    return answered_;
}

namespace {
struct FindState {
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM lParam) {
    auto* state = reinterpret_cast<FindState*>(lParam);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window)) {
        return TRUE;
    }
    if (WindowText(window) != state->caption) {
        return TRUE;
    }
    state->found = window;
    return FALSE;
}
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
}  // namespace

void ModalAnswerer::Run() {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs_) {
        FindState state{caption_.c_str(), nullptr};
        EnumWindows(FindVisibleDialog, reinterpret_cast<LPARAM>(&state));
        if (state.found != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(state.found, &pid);
            if (pid == GetCurrentProcessId()) {
                // A message box keeps its text in the static control 0xFFFF.
                text_ = ControlText(state.found, 0xFFFF);
                for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
                    if (GetDlgItem(state.found, id) != nullptr) {
                        buttons_ |= 1u << id;
                    }
                }
                EnumChildWindows(state.found, FindIcon, reinterpret_cast<LPARAM>(&icon_));
                if (command_ == 0) {
                    PostMessageA(state.found, WM_CLOSE, 0, 0);
                } else {
                    PostMessageA(state.found, WM_COMMAND, MAKEWPARAM(command_, BN_CLICKED), 0);
                }
                answered_ = true;
                return;
            }
        }
        Sleep(20);
    }
}
