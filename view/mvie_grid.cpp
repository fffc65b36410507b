// Mouse handling on the grids and month/year navigation of the view.
#include "view/mvie.h"
#include <commctrl.h>
#include <string>
#include "app/mapp.h"
#include "res/resource.h"
#include "core/date_line.h"
#include "core/entry_parse.h"

namespace {

// Clicks on the tab strip select tabs, not days (a figure at 96 DPI).
const int kTabStripHeight = 24;
const int kFirstYear = 1971;
const int kLastYear = 2037;

void store_click(mvie& view, POINT pt)
{
    view.click_x = pt.x;
    view.click_y = pt.y;
}

void set_tab_text(HWND tab, int index, std::string text)
{
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = &text[0];
    SendMessageA(tab, TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
}

std::string selected_date_text(const CTrm& grid, int df)
{
    if (df == 1)
        return dl::format_display_date(grid.sel_day, grid.sel_month, grid.shown_year);
    return dl::format_stored_date(grid.shown_year, grid.sel_month, grid.sel_day);
}

void set_box_text(const CLst& list, int box, const char* text)
{
    if (HWND edit = list.edit[box].hwnd())
        SetWindowTextA(edit, text);
}

} // namespace

void mvie::OnLButtonDown(POINT pt)
{
    store_click(*this, pt);
    // The next paint hit-tests the point.
    if (pt.y > papp->gui.px(kTabStripHeight))
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void mvie::OnRButtonDown(POINT pt)
{
    store_click(*this, pt);
}

void mvie::OnLButtonDblClk(POINT pt)
{
    store_click(*this, pt);
    const int tab = selected_tab();
    if (tab != 1 && tab != 2)
        return;
    CLst& list = papp->list;
    if (list.hwnd())
        ShowWindow(list.hwnd(), SW_SHOW);
    if (papp->show_all)
        if (HWND main = papp->main_window())
            SendMessageA(main, WM_COMMAND, ID_SHOW_ALL, 0);
    // Selected by the program: no change notification, so the click point stays.
    SendMessageA(tab_ctrl, TCM_SETCURSEL, 0, 0);
    OnNewDate();
    // The selection is the one the paint after the first click of the double click made.
    const CTrm& grid = papp->grid;
    set_box_text(list, 0, selected_date_text(grid, papp->gui.df).c_str());
    if (const char* name = grid.day_name(grid.sel_day, grid.sel_month, grid.shown_year))
        set_box_text(list, 1, name);
    focus_date_box();
    // The grid's pixels go; the list and the editor take the view again.
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void mvie::OnPrev()
{
    CTrm& grid = papp->grid;
    if (selected_tab() == 1 && --grid.shown_month < 1) {
        grid.shown_month = 12;
        --grid.shown_year;
    }
    if (selected_tab() == 2)
        --grid.shown_year;
    if (grid.shown_year < kFirstYear)
        grid.shown_year = kFirstYear;
    InvalidateRect(hwnd_, nullptr, TRUE);
    set_tabs();
}

void mvie::OnNext()
{
    CTrm& grid = papp->grid;
    if (selected_tab() == 1 && ++grid.shown_month > 12) {
        grid.shown_month = 1;
        ++grid.shown_year;
    }
    if (selected_tab() == 2)
        ++grid.shown_year;
    if (grid.shown_year > kLastYear)
        grid.shown_year = kLastYear;
    InvalidateRect(hwnd_, nullptr, TRUE);
    set_tabs();
}

void mvie::set_tabs()
{
    const CTrm& grid = papp->grid;
    if (grid.shown_month >= 1 && grid.shown_month <= 12)
        set_tab_text(tab_ctrl, 1, grid.month_names[grid.shown_month - 1]);
    set_tab_text(tab_ctrl, 2, std::to_string(grid.shown_year));
}
