// The reminders: the notification icon and its notifications, with a stand-in in front of the
// shell that records every request; and once against the real notification area.
#include <windows.h>
#include <shellapi.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "fw/notify_icon.h"
#include "res/resource.h"
#include "view/mvie.h"
#include "win_test.h"

namespace {

struct ShellRequest {
    DWORD request;
    UINT flags;
    HWND owner;
    UINT callback;
    std::string tip, title, text;
};

class FakeShell {
public:
    FakeShell()
    {
        fw::set_notify_send([this](DWORD request, const NOTIFYICONDATAA& d) {
            requests.push_back({request, d.uFlags, d.hWnd, d.uCallbackMessage, d.szTip, d.szInfoTitle, d.szInfo});
            return true;
        });
    }
    ~FakeShell() { fw::set_notify_send(nullptr); }
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;

    std::vector<ShellRequest> taken()
    {
        std::vector<ShellRequest> out;
        out.swap(requests);
        return out;
    }

    std::vector<ShellRequest> requests;
};

// Texts of a run of their own: the reminders name an entry once a run, whatever test made it.
std::string unique_text(const char* text)
{
    static int n = 0;
    return std::string(text) + " " + std::to_string(++n);
}

// The date days away as the list shows it with df 1, "DD.MM.YYYY".
std::string day_first(int days)
{
    const std::string stored = wt::date_in_days(days);
    return stored.substr(8, 2) + "." + stored.substr(5, 2) + "." + stored.substr(0, 4);
}

std::string due_line(int days, const std::string& text, const char* status = "0")
{
    return wt::date_in_days(days) + "\tMon\t\t" + text + "\t" + status + "\n";
}

class Reminders : public testing::Test {
protected:
    void SetUp() override
    {
        wn_ = papp->gui.wn;
        df_ = papp->gui.df;
        papp->gui.wn = 1;
        papp->gui.df = 1;
        papp->rem.apply_wn();
        shell.taken();
    }

    void TearDown() override
    {
        wt::reset_dates({});
        papp->gui.wn = wn_;
        papp->gui.df = df_;
        fw::set_notify_send(nullptr);
        papp->rem.apply_wn();
    }

    static void tick() { SendMessageA(active_view()->hwnd(), WM_TIMER, ID_ALERT_TIMER, 0); }
    static void to_frame(UINT msg, LPARAM lp = 0) { SendMessageA(papp->main_window(), msg, 0, lp); }

    // The notifications among the requests: title and text of each.
    static std::vector<std::string> balloons(const std::vector<ShellRequest>& requests)
    {
        std::vector<std::string> out;
        for (const ShellRequest& r : requests)
            if (r.request == NIM_MODIFY && (r.flags & NIF_INFO))
                out.push_back(r.title + "|" + r.text);
        return out;
    }

    FakeShell shell;

private:
    int wn_ = 1, df_ = 1;
};

} // namespace

TEST_F(Reminders, SwitchedOffShowsNoIconAndNoNotification)
{
    const std::string a = unique_text("Dentist");
    wt::set_rows({due_line(-1, a)});
    papp->gui.wn = 0;
    papp->rem.apply_wn();
    std::vector<ShellRequest> off = shell.taken();
    ASSERT_EQ(off.size(), 1u);
    EXPECT_EQ(off[0].request, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(papp->rem.icon_shown());
    // Neither a start nor ticks nor a restarted task bar bring anything.
    to_frame(CRem::start_msg);
    tick();
    tick();
    to_frame(fw::NotifyIcon::taskbar_created());
    EXPECT_TRUE(shell.taken().empty());

    // Switched on, a start shows the icon and names what is due already, once.
    papp->gui.wn = 1;
    to_frame(CRem::start_msg);
    std::vector<ShellRequest> on = shell.taken();
    ASSERT_EQ(on.size(), 2u);
    EXPECT_EQ(on[0].request, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(on[0].tip, "Termaris");
    EXPECT_EQ(on[0].owner, papp->main_window());
    EXPECT_EQ(on[0].callback, CRem::icon_msg);
    EXPECT_EQ(balloons(on), (std::vector<std::string>{"A Date is due|" + day_first(-1) + " " + a}));
    tick();
    EXPECT_TRUE(shell.taken().empty());
}

TEST_F(Reminders, ANewlyDueEntryIsNamedOnceAndADoneOneNever)
{
    papp->gui.df = 0;
    const std::string open = unique_text("Call the bank"), done = unique_text("Paid"), later = unique_text("Later");
    wt::set_rows({due_line(-2, open), due_line(-2, done, "1"), due_line(3, later)});
    tick();
    EXPECT_EQ(balloons(shell.taken()),
              (std::vector<std::string>{"A Date is due|" + wt::date_in_days(-2) + " " + open}));
    tick();
    EXPECT_TRUE(shell.taken().empty());
    // Show all makes every entry a row and rebuilds the list: nothing is named again.
    wt::command(ID_SHOW_ALL);
    tick();
    wt::command(ID_SHOW_ALL);
    EXPECT_TRUE(shell.taken().empty());
    const std::string added = unique_text("Added");
    papp->list.add_line(due_line(0, added).c_str());
    tick();
    EXPECT_EQ(balloons(shell.taken()),
              (std::vector<std::string>{"A Date is due|" + wt::date_in_days(0) + " " + added}));
}

TEST_F(Reminders, AClickBringsTheListForwardWithTheFirstEntrySelected)
{
    const LPARAM clicks[] = {NIN_BALLOONUSERCLICK, WM_LBUTTONUP};
    HWND main = papp->main_window();
    for (LPARAM click : clicks) {
        const std::string first = unique_text("First"), second = unique_text("Second");
        wt::set_rows({due_line(5, unique_text("Not due")), due_line(-1, first), due_line(-3, second)});
        wt::choose_tab(2);
        tick();
        ASSERT_EQ(balloons(shell.taken()).size(), 1u);
        ShowWindow(main, SW_MINIMIZE);
        to_frame(CRem::icon_msg, click);
        wt::pump();
        EXPECT_FALSE(IsIconic(main)) << click;
        EXPECT_EQ(active_view()->selected_tab(), 0) << click;
        EXPECT_EQ(papp->show_all, 0);
        ASSERT_GE(papp->list.sel_item, 0) << click;
        EXPECT_EQ(papp->list.cell_text(papp->list.sel_item, 3), first) << click;
    }
    // Other mouse messages of the icon change nothing.
    wt::choose_tab(1);
    to_frame(CRem::icon_msg, WM_MOUSEMOVE);
    EXPECT_EQ(active_view()->selected_tab(), 1);
}

TEST_F(Reminders, ARestartedTaskBarGetsTheIconAgain)
{
    to_frame(fw::NotifyIcon::taskbar_created());
    std::vector<ShellRequest> again = shell.taken();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].request, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(again[0].tip, "Termaris");
}

// Wine's explorer keeps a notification area of its own when X has none.
TEST(RemindersOnTheShell, TheIconIsInTheNotificationArea)
{
    if (papp->gui.wn != 1)
        GTEST_SKIP() << "notifications switched off in this prefix";
    ASSERT_TRUE(papp->rem.icon_shown());
    NOTIFYICONDATAA d{};
    d.cbSize = sizeof d;
    d.hWnd = papp->main_window();
    d.uID = 1;
    d.uFlags = NIF_TIP;
    lstrcpyA(d.szTip, "Termaris");
    // The shell changes only an icon it has.
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &d));
    d.uID = 2;
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &d));
}
