// The main view through its window: first-paint start-up, layout, column fitting, tab changes,
// refill and reload, and the page count of printing.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstring>
#include "fw/preview.h"
#include "res/resource.h"
#include "view/mvie.h"
#include "editor_steps.h"
#include "win_test.h"

namespace {

using es::child_rect;

int page_count(int rows, int tab)
{
    std::vector<std::string> lines;
    for (int i = 0; i < rows; ++i)
        lines.push_back("2011.05.02\tMon\t\tEntry\t0\n");
    wt::reset_dates(lines);
    if (tab)
        SendMessageA(active_view()->tab_ctrl, TCM_SETCURSEL, tab, 0);
    fw::PrintInfo info;
    info.direct_dc = GetDC(nullptr);
    active_view()->OnPreparePrinting(info);
    ReleaseDC(nullptr, info.direct_dc);
    SendMessageA(active_view()->tab_ctrl, TCM_SETCURSEL, 0, 0);
    return info.max_page - info.min_page + 1;
}

// Puts the view at a client size of its own, bypassing the frame's layout.
void size_view(int w, int h)
{
    mvie* view = active_view();
    RECT rc{0, 0, w, h};
    AdjustWindowRectEx(&rc, GetWindowLongA(view->hwnd(), GWL_STYLE), FALSE, GetWindowLongA(view->hwnd(), GWL_EXSTYLE));
    SetWindowPos(view->hwnd(), nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
    wt::paint_view();
}

// A printer as the printer dialogs hand it over: its names, and its settings.
HGLOBAL printer_names(const char* device)
{
    const std::string parts[] = {"winspool", device, "FILE:"};
    size_t size = sizeof(DEVNAMES);
    for (const std::string& p : parts)
        size += p.size() + 1;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* names = static_cast<DEVNAMES*>(GlobalLock(h));
    WORD* offsets[] = {&names->wDriverOffset, &names->wDeviceOffset, &names->wOutputOffset};
    size_t at = sizeof(DEVNAMES);
    for (int i = 0; i < 3; ++i) {
        *offsets[i] = static_cast<WORD>(at);
        std::memcpy(reinterpret_cast<char*>(names) + at, parts[i].c_str(), parts[i].size() + 1);
        at += parts[i].size() + 1;
    }
    GlobalUnlock(h);
    return h;
}

HGLOBAL printer_settings(short orientation, short paper)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(h));
    mode->dmSize = sizeof(DEVMODEA);
    mode->dmFields = DM_ORIENTATION | DM_PAPERSIZE;
    mode->dmOrientation = orientation;
    mode->dmPaperSize = paper;
    GlobalUnlock(h);
    return h;
}

} // namespace

TEST(View, FirstPaintStartsTheViewOnce)
{
    mvie* view = active_view();
    ASSERT_NE(view, nullptr);
    wt::paint_view();
    wt::paint_view();
    EXPECT_EQ(SendMessageA(view->tab_ctrl, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_TRUE(mvie::init_done);
    EXPECT_EQ(view->timer_ms, papp->gui.tm * 1000);
    // The timer exists under its id: stopping it succeeds once.
    EXPECT_TRUE(KillTimer(view->hwnd(), ID_ALERT_TIMER));
    EXPECT_FALSE(KillTimer(view->hwnd(), ID_ALERT_TIMER));
    SetTimer(view->hwnd(), ID_ALERT_TIMER, view->timer_ms, nullptr);
    EXPECT_EQ(SendMessageA(view->tab_ctrl, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(papp->gui.bold_font.get()));
}

TEST(View, LaysOutOnlyAboveOneHundredByFifty)
{
    mvie* view = active_view();
    wt::reset_dates({});
    const struct {
        int w, h;
        bool layout;
    } cases[] = {{100, 200, false}, {300, 50, false}, {101, 51, true}, {400, 300, true}};
    for (const auto& c : cases) {
        MoveWindow(view->tab_ctrl, 0, 0, 10, 10, FALSE);
        size_view(c.w, c.h);
        RECT tab = child_rect(view->tab_ctrl);
        EXPECT_EQ(tab.right - tab.left == c.w, c.layout) << c.w << "x" << c.h;
    }
    wt::set_view_client_size(500, 300);
}

TEST(View, ListLeavesRoomForTheEditor)
{
    wt::reset_dates({});
    wt::set_view_client_size(500, 300);
    CLst& list = papp->list;
    RECT rc = child_rect(list.hwnd());
    EXPECT_EQ(rc.top, 23);
    EXPECT_EQ(rc.bottom - rc.top, 300 - 23);
    list.editing = 1;
    wt::paint_view();
    rc = child_rect(list.hwnd());
    EXPECT_EQ(rc.bottom - rc.top, 300 - 63);
    list.hide_edit();
    list.editing = 0;
    wt::paint_view();
}

TEST(View, ToDoColumnTakesWhatTheOthersLeave)
{
    CLst& list = papp->list;
    const int widths[] = {85, 35, 70, 0, 40};
    for (int i = 0; i < 5; ++i)
        if (i != 3)
            SendMessageA(list.hwnd(), LVM_SETCOLUMNWIDTH, i, MAKELPARAM(widths[i], 0));
    int saved_ss = papp->gui.ss;
    // The list's border is not room for the columns.
    const int frame = list.frame_width();
    EXPECT_GT(frame, 0);
    papp->gui.ss = 1;
    active_view()->OnSize(0, 600, 300);
    EXPECT_EQ(SendMessageA(list.hwnd(), LVM_GETCOLUMNWIDTH, 3, 0), 370 - frame);
    EXPECT_EQ(list.text_width, 370 - frame);
    papp->gui.ss = 0;
    active_view()->OnSize(0, 600, 300);
    EXPECT_EQ(SendMessageA(list.hwnd(), LVM_GETCOLUMNWIDTH, 3, 0), 410 - frame);
    papp->gui.ss = saved_ss;
    SendMessageA(list.hwnd(), LVM_SETCOLUMNWIDTH, 4, MAKELPARAM(saved_ss ? 40 : 0, 0));
}

TEST(View, ColumnsFitTheListWithoutAHorizontalScrollBar)
{
    HWND list = papp->list.hwnd();
    auto columns_width = [&] {
        int sum = 0;
        for (int i = 0; i < 5; ++i)
            sum += static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0));
        return sum;
    };
    std::vector<std::string> many(100, "2011.05.02\tMon\t\tEntry\t0\n");
    // A few rows, then so many that a vertical scroll bar shows, then a few again.
    for (size_t rows : {size_t{2}, many.size(), size_t{2}}) {
        wt::reset_dates(std::vector<std::string>(many.begin(), many.begin() + static_cast<long>(rows)));
        wt::set_view_client_size(520, 300);
        wt::pump();
        RECT client;
        GetClientRect(list, &client);
        EXPECT_EQ(columns_width(), client.right) << rows << " rows";
        EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL, 0) << rows << " rows";
    }
    wt::reset_dates({});
}

TEST(View, TabChangesSwitchShowAllAndCloseTheEditor)
{
    wt::reset_dates({"2011.05.02\tMon\t\tOpen\t0\n", "2011.05.03\tThu\t\tDone\t1\n"});
    mvie* view = active_view();
    CLst& list = papp->list;
    EXPECT_EQ(list.row_count(), 1);
    view->click_x = view->click_y = 7;
    wt::choose_tab(1);
    EXPECT_EQ(papp->show_all, 1);
    EXPECT_EQ(list.row_count(), 2);
    EXPECT_FALSE(IsWindowVisible(list.hwnd()));
    EXPECT_EQ(view->click_x, 0);
    wt::choose_tab(2);
    EXPECT_EQ(papp->show_all, 0);
    EXPECT_EQ(list.row_count(), 1);
    wt::choose_tab(1);
    list.editing = 1;
    wt::choose_tab(0);
    EXPECT_EQ(papp->show_all, 0);
    EXPECT_EQ(list.editing, 0);
    EXPECT_TRUE(IsWindowVisible(list.hwnd()));
}

TEST(View, ReloadLeavesShowAllOff)
{
    wt::reset_dates({});
    wt::command(ID_SHOW_ALL);
    ASSERT_EQ(papp->show_all, 1);
    // As after a file was read with Show all on: the new lines wait in the line store.
    papp->list.lines = {"2011.05.02\tMon\t\tOpen\t0\n", "2011.05.03\tThu\t\tDone\t1\n"};
    wt::command(ID_RELOAD_VIEW);
    EXPECT_EQ(papp->show_all, 0);
    EXPECT_EQ(papp->list.row_count(), 1);
    EXPECT_EQ(papp->list.lines.size(), 1u);
    // The button and the menu item still look switched on; the next press sets it to 1.
    wt::command(ID_SHOW_ALL);
    EXPECT_EQ(papp->show_all, 1);
    wt::command(ID_SHOW_ALL);
}

TEST(View, PrintsSixtyRowsAPageAndGridsOnOne)
{
    EXPECT_EQ(page_count(0, 0), 1);
    EXPECT_EQ(page_count(60, 0), 1);
    EXPECT_EQ(page_count(61, 0), 2);
    EXPECT_EQ(page_count(121, 0), 3);
    EXPECT_EQ(page_count(121, 1), 1);
    EXPECT_EQ(page_count(121, 2), 1);
    wt::reset_dates({});
}

TEST(View, EscapeDeleteAndEnterKeys)
{
    wt::reset_dates({"2011.05.02\tMon\t\tOpen\t0\n"});
    mvie* view = active_view();
    papp->list.editing = 1;
    SendMessageA(view->hwnd(), WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_EQ(papp->list.editing, 0);
    {
        wt::MessageBoxes boxes;
        SendMessageA(view->hwnd(), WM_KEYUP, VK_RETURN, 0);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, "Date Error, 3 Arguments expected !");
    }
    papp->list.sel_item = -1;
    SendMessageA(view->hwnd(), WM_KEYUP, VK_DELETE, 0);
    EXPECT_EQ(papp->list.row_count(), 1);
}

TEST(View, PrintingFollowsThePrinterSettingsThePagesAndTheCopies)
{
    std::vector<std::string> lines(121, "2011.05.02\tMon\t\tEntry\t0\n");
    wt::reset_dates(lines);
    HGLOBAL names = printer_names("Chosen printer");
    HGLOBAL settings = printer_settings(DMORIENT_LANDSCAPE, DMPAPER_A5);
    PRINTDLGA asked{};
    std::string device;
    DEVMODEA used{};
    fw::set_printer_hooks({[&](PRINTDLGA& pd) {
                               asked = pd;
                               if (pd.Flags & PD_PRINTSETUP) {
                                   pd.hDevNames = names;
                                   pd.hDevMode = settings;
                                   return true;
                               }
                               // The user prints pages 2 to 3, twice, collated.
                               pd.Flags |= PD_PAGENUMS | PD_COLLATE;
                               pd.nFromPage = 2;
                               pd.nToPage = 3;
                               pd.nCopies = 2;
                               pd.hDC = CreateCompatibleDC(nullptr);
                               return !(pd.Flags & PD_RETURNDEFAULT);
                           },
                           [&](const char* name, const DEVMODEA* mode) {
                               device = name;
                               used = mode ? *mode : DEVMODEA{};
                               return CreateCompatibleDC(nullptr);
                           }});
    wt::command(ID_FILE_PRINT_SETUP);
    wt::command(ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(fw::PreviewWindow::active(), nullptr);
    fw::PreviewWindow::active()->close();
    wt::pump();
    EXPECT_EQ(device, "Chosen printer");
    EXPECT_EQ(used.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(used.dmPaperSize, DMPAPER_A5);

    fw::PrintInfo info;
    ASSERT_TRUE(active_view()->OnPreparePrinting(info));
    // The print dialog opens on the chosen printer and offers the three pages.
    EXPECT_EQ(asked.hDevNames, names);
    EXPECT_EQ(asked.Flags & PD_NOPAGENUMS, 0u);
    EXPECT_EQ(asked.nMinPage, 1);
    EXPECT_EQ(asked.nMaxPage, 3);
    EXPECT_EQ(info.page_order(), (std::vector<int>{2, 3, 2, 3}));
    info.collate = false;
    EXPECT_EQ(info.page_order(), (std::vector<int>{2, 2, 3, 3}));
    DeleteDC(info.dc);
    fw::set_printer_hooks({});
    wt::reset_dates({});
}

TEST(View, PrintPreviewShowsPageOne)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 61; ++i)
        lines.push_back("2011.05.02\tMon\t\tEntry\t0\n");
    wt::reset_dates(lines);
    wt::command(ID_FILE_PRINT_PREVIEW);
    fw::PreviewWindow* preview = fw::PreviewWindow::active();
    ASSERT_NE(preview, nullptr);
    UpdateWindow(preview->hwnd());
    EXPECT_EQ(preview->current_page(), 1);
    EXPECT_EQ(preview->page_count(), 2);
    EXPECT_NE(preview->page_metafile(), nullptr);
    preview->go_to(2);
    EXPECT_EQ(preview->current_page(), 2);
    preview->close();
    wt::pump();
    EXPECT_EQ(fw::PreviewWindow::active(), nullptr);
    wt::reset_dates({});
}
