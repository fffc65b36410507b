// One icon in the notification area, with its tip and balloons (shell32, looked up on first use).
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <functional>

namespace fw {

// Sends one Shell_NotifyIcon request (NIM_ADD, NIM_MODIFY, NIM_DELETE); true when done.
using NotifySend = std::function<bool(DWORD request, const NOTIFYICONDATAA& data)>;
// Tests put a stand-in in front of the shell; an empty function puts the shell back.
void set_notify_send(NotifySend send);

class NotifyIcon {
public:
    NotifyIcon() = default;
    ~NotifyIcon() { remove(); }
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;

    // The owner gets callback_msg with the mouse message, or the balloon's NIN_ notification,
    // in lParam.
    bool add(HWND owner, UINT callback_msg, HICON icon, const char* tip);
    // The icon added last and not removed, once more: the task bar forgets its icons when it
    // restarts (and may not have been there at the first add).
    bool add_again();
    bool balloon(const char* title, const char* text);
    void remove();
    bool shown() const { return shown_; }

    // Sent to every top-level window when the task bar has been (re)created.
    static UINT taskbar_created();

private:
    NOTIFYICONDATAA data_{};
    bool shown_ = false;
};

} // namespace fw
