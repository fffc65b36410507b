#include "program.h"
#include <cstring>
#include "input.h"
#include "remote.h"

namespace e2e {

namespace {

const char* const kFrameClass = "fw.Frame";
const char* const kDialogClass = "#32770";
const char* const kBoxCaption = "trm";
// The message text of a message box.
const int kBoxTextId = 0xFFFF;

// A control of parent by its id; none without a parent.
HWND child(HWND parent, int id)
{
    return parent ? GetDlgItem(parent, id) : nullptr;
}

struct WindowSearch {
    DWORD pid;
    const char* cls;
    const char* caption;
    std::vector<HWND> found;
};

BOOL CALLBACK match_window(HWND hwnd, LPARAM lp)
{
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || !IsWindowVisible(hwnd))
        return TRUE;
    if (class_name(hwnd) != search->cls)
        return TRUE;
    if (search->caption && window_text(hwnd) != search->caption)
        return TRUE;
    search->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> top_windows(DWORD pid, const char* cls, const char* caption)
{
    WindowSearch search{pid, cls, caption, {}};
    if (pid)
        EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

Program::~Program()
{
    kill();
}

bool Program::start(const std::string& exe, const std::string& folder, std::string& error)
{
    kill();
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
        error = "CreateProcess failed for " + exe + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    WaitForInputIdle(process_, 15000);
    if (!wait_for([this] { return frame() != nullptr || !running(); }, 15000) || !frame()) {
        error = running() ? "no visible \"fw.Frame\" window within 15 s" : "the program ended at start-up";
        return false;
    }
    return true;
}

bool Program::running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Program::wait_exit(int timeout_ms)
{
    return process_ && WaitForSingleObject(process_, static_cast<DWORD>(timeout_ms)) == WAIT_OBJECT_0;
}

DWORD Program::exit_code() const
{
    DWORD code = STILL_ACTIVE;
    if (process_)
        GetExitCodeProcess(process_, &code);
    return code;
}

void Program::kill()
{
    if (!process_)
        return;
    if (running()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
    pid_ = 0;
}

HWND Program::frame() const
{
    return top_window(kFrameClass, nullptr);
}

HWND Program::view() const
{
    return child(frame(), kViewId);
}

HWND Program::tool_bar() const
{
    return child(frame(), kToolBarId);
}

HWND Program::status_bar() const
{
    return child(frame(), kStatusBarId);
}

HWND Program::tab() const
{
    return child(view(), kTabId);
}

HWND Program::list() const
{
    return child(view(), kListId);
}

HWND Program::edit(int box) const
{
    return child(view(), kFirstEditId + box);
}

HWND Program::hint() const
{
    return child(view(), kHintId);
}

HWND Program::top_window(const char* cls, const char* caption) const
{
    std::vector<HWND> found = top_windows(pid_, cls, caption);
    return found.empty() ? nullptr : found.front();
}

std::vector<MessageBoxSeen> Program::message_boxes() const
{
    std::vector<MessageBoxSeen> boxes;
    for (HWND box : top_windows(pid_, kDialogClass, kBoxCaption))
        boxes.push_back({window_text(box), window_text(GetDlgItem(box, kBoxTextId))});
    return boxes;
}

std::vector<MessageBoxSeen> Program::close_message_boxes()
{
    std::vector<MessageBoxSeen> seen;
    for (HWND box : top_windows(pid_, kDialogClass, kBoxCaption)) {
        seen.push_back({window_text(box), window_text(GetDlgItem(box, kBoxTextId))});
        HWND ok = GetDlgItem(box, IDOK);
        if (ok && bring_to_front(box)) {
            click(centre(window_rect(ok)));
            park_mouse();
        }
        if (!wait_for([box] { return !IsWindow(box) || !IsWindowVisible(box); }, 3000))
            send(ok ? ok : box, ok ? BM_CLICK : WM_CLOSE);
    }
    return seen;
}

} // namespace e2e
