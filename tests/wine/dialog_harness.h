// Helpers for driving Quorrin's real dialogs inside the test process:
// opening templates with their real procedures, reading controls, and
// answering a modal window (message box or dialog) that the code under
// test opens on this same thread.
#pragma once

#include <windows.h>

#include <string>

// Prepares the process as Quorrin's start routine does (instance, heap,
// common controls, the rich-edit library), so the real templates can be
// created. False, with a message on stderr, when RichEd32 cannot be loaded.
bool PrepareProcessForDialogs();

// Opens dialog 1000 modelessly with MainDialogProc; the caller destroys it.
HWND OpenMainDialog();

std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
bool ControlEnabled(HWND dialog, int id);

// Runs every message already waiting in this thread's queue.
void PumpMessages();

// While it lives, the window with this caption gets Esc's IDCANCEL and then
// WM_CLOSE as soon as it becomes active on this thread, so a modal run can
// show that only the close command ends it.
class EscThenClose {
public:
    explicit EscThenClose(const char* caption);
    ~EscThenClose();
    EscThenClose(const EscThenClose&) = delete;
    EscThenClose& operator=(const EscThenClose&) = delete;
    bool Hooked() const { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_;
};

// Answers the next dialog-class window with the given caption that becomes
// active on this thread, by posting a command (IDYES, IDOK, ...) or
// WM_CLOSE when command is 0. It watches through a WH_CBT hook rather than
// a second thread: the modal loop that shows the box delivers the answer.
// The box's message text, icon and buttons are kept for the test to check.
class ModalAnswerer {
public:
    ModalAnswerer(const char* caption, int command);
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
    bool TryAnswer(HWND window);

    std::string caption_;
    int command_;
    HHOOK hook_ = nullptr;
    bool answered_ = false;
    std::string text_;
    HICON icon_ = nullptr;
    unsigned buttons_ = 0;
    ModalAnswerer* next_ = nullptr;
};
