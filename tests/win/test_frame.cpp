// The main frame: placement, menu texts, tool bar and status bar, Show all, help and info.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include "app/mwin.h"
#include "res/resource.h"
#include "view/mvie.h"
#include "win_test.h"

namespace {

mwin* frame()
{
    return static_cast<mwin*>(papp->main_frame());
}

std::string menu_text(HMENU menu, UINT pos)
{
    char buf[128] = "";
    GetMenuStringA(menu, pos, buf, sizeof buf, MF_BYPOSITION);
    return buf;
}

std::vector<std::string> popup_texts(int index)
{
    HMENU popup = GetSubMenu(GetMenu(papp->main_window()), index);
    std::vector<std::string> out;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        UINT id = GetMenuItemID(popup, i);
        out.push_back(id == 0 ? std::string("---") : menu_text(popup, i) + "=" + std::to_string(id));
    }
    return out;
}

bool menu_checked(UINT id)
{
    return (GetMenuState(GetMenu(papp->main_window()), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

} // namespace

TEST(Frame, MenuHasTheExactItemsWithoutMnemonics)
{
    HMENU menu = GetMenu(papp->main_window());
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(menu_text(menu, 0), "File");
    EXPECT_EQ(menu_text(menu, 1), "Date");
    EXPECT_EQ(menu_text(menu, 2), "View");
    EXPECT_EQ(menu_text(menu, 3), "?");
    EXPECT_EQ(popup_texts(0),
              (std::vector<std::string>{"Open=57601", "Save=57603", "Save as=57604", "Import iCalendar...=530",
                                        "Export iCalendar...=531", "---", "Print View=57607", "Print Preview=57609",
                                        "Printer Settings=57606", "---", "Exit=511"}));
    EXPECT_EQ(popup_texts(1),
              (std::vector<std::string>{"New Date=502", "Edit Date=503", "Delete Date=506", "Show all Dates=500"}));
    EXPECT_EQ(popup_texts(2), (std::vector<std::string>{"View Toolbar=59392", "View Statusbar=59393", "Options=106"}));
    EXPECT_EQ(popup_texts(3), (std::vector<std::string>{"Help=57670", "Info=510"}));
}

TEST(Frame, ToolBarButtonsInOrderAndFlatWhenSet)
{
    HWND bar = frame()->tool_bar.hwnd();
    ASSERT_NE(bar, nullptr);
    const int expected[] = {502, 500, 0, 57603, 0, 508, 509, 0, 57670, 511};
    ASSERT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 10);
    for (int i = 0; i < 10; ++i) {
        TBBUTTON b{};
        SendMessageA(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        EXPECT_EQ((b.fsStyle & TBSTYLE_SEP) ? 0 : b.idCommand, expected[i]) << i;
    }
    EXPECT_EQ((GetWindowLongA(bar, GWL_STYLE) & TBSTYLE_FLAT) != 0, papp->gui.ft != 0);
    EXPECT_EQ(GetDlgCtrlID(bar), 59392);
    EXPECT_EQ(GetDlgCtrlID(frame()->status_bar.hwnd()), 59393);
}

TEST(Frame, StatusBarShowsPromptsAndReady)
{
    HWND main = papp->main_window();
    EXPECT_EQ(frame()->status_bar.message(), "Ready");
    SendMessageA(main, WM_MENUSELECT, MAKEWPARAM(ID_NEW_DATE, MF_STRING), reinterpret_cast<LPARAM>(GetMenu(main)));
    EXPECT_EQ(frame()->status_bar.message(), "Creates a new Date");
    SendMessageA(main, WM_MENUSELECT, MAKEWPARAM(ID_SHOW_ALL, MF_STRING), reinterpret_cast<LPARAM>(GetMenu(main)));
    EXPECT_EQ(frame()->status_bar.message(), "Displays all Dates (including Dates marked as [x])");
    SendMessageA(main, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(frame()->status_bar.message(), "Ready");
    EXPECT_EQ(SendMessageA(frame()->status_bar.hwnd(), SB_GETPARTS, 0, 0), 4);
}

TEST(Frame, ShowAllTwiceRestoresListButtonAndCheckMark)
{
    wt::reset_dates({"2011.05.02\tMon\t\tOpen\t0\n", "2011.05.03\tThu\t\tDone\t1\n"});
    EXPECT_FALSE(frame()->tool_bar.pressed(ID_SHOW_ALL));
    EXPECT_FALSE(menu_checked(ID_SHOW_ALL));
    wt::command(ID_SHOW_ALL);
    EXPECT_EQ(papp->show_all, 1);
    EXPECT_EQ(papp->list.row_count(), 2);
    EXPECT_TRUE(frame()->tool_bar.pressed(ID_SHOW_ALL));
    EXPECT_TRUE(menu_checked(ID_SHOW_ALL));
    wt::command(ID_SHOW_ALL);
    EXPECT_EQ(papp->show_all, 0);
    EXPECT_EQ(papp->list.row_count(), 1);
    EXPECT_FALSE(frame()->tool_bar.pressed(ID_SHOW_ALL));
    EXPECT_FALSE(menu_checked(ID_SHOW_ALL));
}

TEST(Frame, ViewToolbarAndStatusbarToggleWithCheckMarks)
{
    HWND bar = frame()->tool_bar.hwnd();
    wt::command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(IsWindowVisible(bar));
    SendMessageA(papp->main_window(), WM_INITMENUPOPUP,
                 reinterpret_cast<WPARAM>(GetSubMenu(GetMenu(papp->main_window()), 2)), 2);
    EXPECT_FALSE(menu_checked(ID_VIEW_TOOLBAR));
    wt::command(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(IsWindowVisible(bar));
    SendMessageA(papp->main_window(), WM_INITMENUPOPUP,
                 reinterpret_cast<WPARAM>(GetSubMenu(GetMenu(papp->main_window()), 2)), 2);
    EXPECT_TRUE(menu_checked(ID_VIEW_TOOLBAR));
    wt::command(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(IsWindowVisible(frame()->status_bar.hwnd()));
    wt::command(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(IsWindowVisible(frame()->status_bar.hwnd()));
}

TEST(Frame, HelpReportsAMissingViewerOrHelpFile)
{
    char saved[MAX_PATH] = "";
    GetEnvironmentVariableA("WINDIR", saved, MAX_PATH);
    std::string nowhere = wt::temp_dir("nowindows");
    SetEnvironmentVariableA("WINDIR", nowhere.c_str());
    _putenv_s("WINDIR", nowhere.c_str());
    {
        wt::MessageBoxes boxes;
        wt::command(ID_HELP);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, "Error with Help, hh.exe is missing !\n");
        EXPECT_TRUE(boxes.shown()[0].stop);
        EXPECT_EQ(boxes.shown()[0].caption, "trm_win_tests");
    }
    SetEnvironmentVariableA("WINDIR", saved);
    _putenv_s("WINDIR", saved);
    {
        // The test program has no help file of its name beside it.
        wt::MessageBoxes boxes;
        wt::command(ID_HELP);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, "Error with Help, trm.chm is expected in the directory of trm.exe !\n");
    }
}

TEST(Frame, InfoShowsOneLineOfCredit)
{
    wt::MessageBoxes boxes;
    wt::command(ID_INFO);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.shown()[0].information);
    EXPECT_EQ(boxes.shown()[0].text.find('\n'), std::string::npos);
}

TEST(Frame, PlacedFromTheSettings)
{
    RECT rc;
    GetWindowRect(papp->main_window(), &rc);
    // Other tests resize the window; the position stays where the settings put it.
    EXPECT_EQ(rc.left, papp->gui.xo);
    EXPECT_EQ(rc.top, papp->gui.yo);
}

TEST(Frame, ToolBarDocksOnEverySideAndTheViewMakesRoom)
{
    fw::ToolBar& bar = frame()->tool_bar;
    HWND view = active_view()->hwnd();
    auto rect_in_frame = [](HWND w) {
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, papp->main_window(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT client;
    GetClientRect(papp->main_window(), &client);
    bar.dock(fw::ToolBar::Side::left);
    RECT b = rect_in_frame(bar.hwnd()), v = rect_in_frame(view);
    EXPECT_EQ(b.left, 0);
    EXPECT_LT(b.right - b.left, b.bottom - b.top);
    EXPECT_EQ(v.left, b.right);
    EXPECT_EQ(v.top, 0);
    bar.dock(fw::ToolBar::Side::right);
    b = rect_in_frame(bar.hwnd());
    v = rect_in_frame(view);
    EXPECT_EQ(b.right, client.right);
    EXPECT_EQ(v.right, b.left);
    // Dragging the bar by a free spot to the top edge docks it there again.
    RECT sep{};
    SendMessageA(bar.hwnd(), TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&sep));
    POINT grab{(sep.left + sep.right) / 2, (sep.top + sep.bottom) / 2};
    SendMessageA(bar.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
    POINT drop{client.right / 2, 2};
    MapWindowPoints(papp->main_window(), bar.hwnd(), &drop, 1);
    SendMessageA(bar.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(drop.x), static_cast<WORD>(drop.y)));
    EXPECT_EQ(bar.side(), fw::ToolBar::Side::top);
    b = rect_in_frame(bar.hwnd());
    v = rect_in_frame(view);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.right - b.left, client.right);
    EXPECT_EQ(v.top, b.bottom);
    wt::pump();
}
