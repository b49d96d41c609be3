// Drives Quorrin's real main window and Note Browser inside this process the
// way a person does through their controls: typing a number and pressing
// Enter, typing a note, pressing buttons, selecting a note in the list,
// answering the boxes that come up. Each driver keeps its notes in a fresh
// folder of its own. The in-process tests (through MainWindowTest), the soak
// and the bench all drive the dialogs with it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// What a modal box showed before it was answered.
struct AnsweredBox {
    bool answered = false;
    std::string text;
    HICON icon = nullptr;
    bool yesAndNo = false;  // both Yes and No buttons
};

class MainWindowDriver {
public:
    MainWindowDriver() = default;
    ~MainWindowDriver() { Close(); }
    MainWindowDriver(const MainWindowDriver&) = delete;
    MainWindowDriver& operator=(const MainWindowDriver&) = delete;

    // Opens dialog 1000 modelessly and points the notes store at an empty
    // folder: <exe dir>notes-cases\<name>\Quorrin Notes\tester.
    bool Open(const std::string& name);
    // Closes the Note Browser, if open, and the main window.
    void Close();

    HWND Main() const { return main_; }
    // The case folder (with its trailing backslash) and the NotesFolder.
    const std::string& CaseFolder() const { return caseFolder_; }
    const std::string& Folder() const { return folder_; }
    // The path of the note file of key.
    std::string Note(const char* key) const;
    // A note file holding text and its one zero byte.
    void WriteNote(const char* key, const std::string& text) const;

    // Puts text into the error-number field unfiltered, as a paste does, and
    // presses Enter.
    void Lookup(const char* text);
    // Sets the main window's note editor to text.
    void TypeNote(const char* text);
    void Press(int id) { Press(main_, id); }
    static void Press(HWND dialog, int id);
    std::string Field(int id) const;
    std::string Editor() const;
    bool Enabled(int id) const;

    // Runs action, answering the box with this caption that it opens with
    // command (or ModalAnswerer::kClose).
    static AnsweredBox Answer(const char* caption, int command,
                              const std::function<void()>& action);

    // The Note Browser, opened modelessly over the main window.
    HWND OpenBrowser();
    void CloseBrowser();
    HWND Browser() const { return browser_; }
    // The list's keys, top to bottom.
    std::vector<std::string> Keys() const;
    // Selects the item of key as a click does; false when there is none.
    bool Select(const char* key);
    // The key of the selected item; "" when none is selected.
    std::string SelectedKey() const;
    std::string BrowserEditor() const;

private:
    HWND main_ = nullptr;
    HWND browser_ = nullptr;
    std::string caseFolder_;
    std::string folder_;
};
