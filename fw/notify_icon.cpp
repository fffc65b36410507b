#include "fw/notify_icon.h"
#include <cstring>
#include "fw/system_dll.h"

namespace fw {

namespace {

NotifySend& notify_hook()
{
    static NotifySend hook;
    return hook;
}

bool send(DWORD request, const NOTIFYICONDATAA& data)
{
    if (const NotifySend& hook = notify_hook())
        return hook(request, data);
    static auto* const shell = system_function<decltype(Shell_NotifyIconA)>("shell32.dll", "Shell_NotifyIconA");
    return shell && shell(request, const_cast<NOTIFYICONDATAA*>(&data));
}

// Copies as much as fits, always terminated.
template <size_t N> void copy_text(char (&field)[N], const char* text)
{
    std::strncpy(field, text ? text : "", N - 1);
    field[N - 1] = '\0';
}

} // namespace

void set_notify_send(NotifySend send)
{
    notify_hook() = std::move(send);
}

bool NotifyIcon::add(HWND owner, UINT callback_msg, HICON icon, const char* tip)
{
    remove();
    data_ = NOTIFYICONDATAA{};
    data_.cbSize = sizeof data_;
    data_.hWnd = owner;
    data_.uID = 1;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callback_msg;
    data_.hIcon = icon;
    copy_text(data_.szTip, tip);
    return add_again();
}

bool NotifyIcon::add_again()
{
    if (!data_.hWnd)
        return false;
    shown_ = send(NIM_ADD, data_);
    return shown_;
}

bool NotifyIcon::balloon(const char* title, const char* text)
{
    if (!shown_)
        return false;
    NOTIFYICONDATAA info = data_;
    info.uFlags = NIF_INFO;
    info.dwInfoFlags = NIIF_INFO;
    copy_text(info.szInfoTitle, title);
    copy_text(info.szInfo, text);
    return send(NIM_MODIFY, info);
}

void NotifyIcon::remove()
{
    if (shown_)
        send(NIM_DELETE, data_);
    shown_ = false;
    // Not wanted any more: a restarted task bar does not get it back.
    data_.hWnd = nullptr;
}

UINT NotifyIcon::taskbar_created()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

} // namespace fw
