// The reminders: an icon in the notification area while Termaris runs, and a notification that
// names the open entries once they have become due.
#pragma once
#include <windows.h>
#include <string>
#include "fw/notify_icon.h"
#include "core/due_notice.h"

class CRem {
public:
    // Messages of the main frame that the reminders answer.
    static constexpr UINT start_msg = WM_APP + 20;
    static constexpr UINT icon_msg = WM_APP + 21;

    // Starts the reminders once the frame has handled what is queued (its first paint).
    void init_rem(HWND frame);
    // At every alert tick: names the open entries that became due since the last look.
    void chek_due();
    // Icon on or off as "wn" now says.
    void apply_wn();
    // The frame's messages for the icon; true when handled.
    bool on_message(UINT msg, WPARAM wp, LPARAM lp);
    // The main window in front on the "List" tab, with the first entry of the last
    // notification selected.
    void show_first();
    bool icon_shown() const { return icon_.shown(); }

private:
    void start();
    void show_icon();

    fw::NotifyIcon icon_;
    DueNotices notices_;
    std::string first_key_;
    HWND frame_ = nullptr;
};
