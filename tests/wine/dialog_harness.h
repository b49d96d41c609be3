// Helpers for driving Quorrin's real dialogs inside the test process:
// opening the main template with its real procedure, reading controls, and
// answering a modal window (message box or dialog) that the code under test
// opens on this same thread. The process itself is prepared by the start
// routine's own PrepareProcess.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Opens dialog 1000 modelessly with MainDialogProc; the caller destroys it.
HWND OpenMainDialog();

std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
bool ControlEnabled(HWND dialog, int id);

// Runs every message already waiting in this thread's queue.
void PumpMessages();

// The one way modal windows are answered: the next dialog-class window with
// the given caption that becomes active on this thread is first handed to
// inspect (when given), then sent each answer in turn: a command (IDYES,
// IDOK, IDCANCEL, ...) or kClose, the close button's WM_CLOSE. It watches
// through a WH_CBT hook rather than a second thread, so the modal loop that
// shows the window delivers the answers. The window's message text, icon
// and buttons are kept for the test to check. A message box that no
// answerer waits for goes to the handler given to OnUnexpected, so that a
// question a test did not expect fails it instead of waiting forever.
class ModalAnswerer {
public:
    static const int kClose = 0;
    using Inspect = std::function<void(HWND)>;
    static void OnUnexpected(void (*handler)(HWND box));

    ModalAnswerer(const char* caption, std::initializer_list<int> answers,
                  Inspect inspect = Inspect());
    ModalAnswerer(const char* caption, int answer) : ModalAnswerer(caption, {answer}) {}
    ~ModalAnswerer();
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    // Stops watching; true when a window was found and answered.
    bool Join();
    const std::string& MessageText() const { return text_; }
    // The icon the box shows, to compare with LoadIconA(nullptr, IDI_...).
    HICON Icon() const { return icon_; }
    bool HasButton(int id) const { return (buttons_ & (1u << id)) != 0; }

private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static void Watch();
    bool TryAnswer(HWND window);

    std::string caption_;
    std::vector<int> answers_;
    Inspect inspect_;
    bool waiting_ = false;
    HWND window_ = nullptr;
    std::string text_;
    HICON icon_ = nullptr;
    unsigned buttons_ = 0;
    ModalAnswerer* next_ = nullptr;
};
