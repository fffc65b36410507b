// The program under test as a separate process: started in a folder of its own, its windows
// found by class, id and caption, its message boxes read and answered like a person would.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace e2e {

// Control ids of the main window.
const int kViewId = 59648;
const int kToolBarId = 59392;
const int kStatusBarId = 59393;
const int kTabId = 104;
const int kListId = 105;
const int kFirstEditId = 300;
const int kHintId = 399;

struct MessageBoxSeen {
    std::string caption, text;
};

class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the executable with the folder as its current directory; waits for its main window.
    bool start(const std::string& exe, const std::string& folder, std::string& error);
    bool running() const;
    DWORD pid() const { return pid_; }
    // Waits for the process to end by itself; false when it still runs after the time.
    bool wait_exit(int timeout_ms);
    DWORD exit_code() const;
    // Ends a process that did not end by itself.
    void kill();

    HWND frame() const;
    HWND view() const;
    HWND tool_bar() const;
    HWND status_bar() const;
    HWND tab() const;
    HWND list() const;
    HWND edit(int box) const;
    HWND hint() const;
    // A visible top-level window of the process with this class and caption.
    HWND top_window(const char* cls, const char* caption) const;

    // Message boxes of the process: class "#32770" with the program's name as caption.
    std::vector<MessageBoxSeen> message_boxes() const;
    // Presses the OK button of every open message box; returns what they said.
    std::vector<MessageBoxSeen> close_message_boxes();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

} // namespace e2e
