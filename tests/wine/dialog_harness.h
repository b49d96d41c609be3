// Helpers for driving Quorrin's real dialogs inside the test process:
// opening templates with their real procedures, reading controls, and
// answering a modal window (message box or dialog) from a second thread
// while the test thread sits in its modal loop.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

// Opens dialog 1000 modelessly with MainDialogProc; the caller destroys it.
HWND OpenMainDialog();

std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
bool ControlEnabled(HWND dialog, int id);

// Runs every message already waiting in this thread's queue.
void PumpMessages();

// Finds a visible top-level dialog-class window of this process with the
// given caption, and answers it by posting a command (IDYES, IDOK, ...) or
// WM_CLOSE when command is 0. The text of the box's message is kept.
class ModalAnswerer {
public:
    ModalAnswerer(const char* caption, int command, DWORD timeoutMs = 20000);
    ~ModalAnswerer();
    // Waits for the answering thread; true when a window was found and answered.
    bool Join();
    const std::string& MessageText() const { return text_; }
    // The icon the box shows, to compare with LoadIconA(nullptr, IDI_...).
    HICON Icon() const { return icon_; }
    bool HasButton(int id) const { return (buttons_ & (1u << id)) != 0; }

private:
    void Run();

    std::string caption_;
    int command_;
    DWORD timeoutMs_;
    std::string text_;
    HICON icon_ = nullptr;
    unsigned buttons_ = 0;
    std::atomic<bool> answered_{false};
    std::thread thread_;
};
