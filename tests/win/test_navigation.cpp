// Previous and next month or year on the grid tabs: wraps, year bounds, the List tab, captions.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include "res/resource.h"
#include "view/mvie.h"
#include "win_test.h"

namespace {

std::string caption(int tab)
{
    char text[32] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(active_view()->tab_ctrl, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item));
    return text;
}

class Navigation : public testing::Test {
protected:
    Navigation() : month_(papp->grid.shown_month), year_(papp->grid.shown_year) { }
    void TearDown() override
    {
        wt::reset_dates({});
        papp->grid.shown_month = month_;
        papp->grid.shown_year = year_;
        active_view()->set_tabs();
    }
    // Shows the month on the given tab, as the program selects a tab (no change notification).
    void start_at(int tab, int month, int year)
    {
        SendMessageA(active_view()->tab_ctrl, TCM_SETCURSEL, tab, 0);
        papp->grid.shown_month = month;
        papp->grid.shown_year = year;
    }
    void expect_shown(int month, int year, const char* step)
    {
        EXPECT_EQ(papp->grid.shown_month, month) << step;
        EXPECT_EQ(papp->grid.shown_year, year) << step;
    }

private:
    int month_, year_;
};

} // namespace

TEST_F(Navigation, MonthTabMovesByMonthsAcrossTheYear)
{
    start_at(1, 12, 2011);
    wt::command(ID_NEXT);
    expect_shown(1, 2012, "next from December 2011");
    wt::command(ID_PREV);
    expect_shown(12, 2011, "previous from January 2012");
    wt::command(ID_PREV);
    expect_shown(11, 2011, "previous from December 2011");
}

TEST_F(Navigation, YearTabMovesByYearsAndKeepsTheMonth)
{
    start_at(2, 7, 2011);
    wt::command(ID_NEXT);
    expect_shown(7, 2012, "next on the Year tab");
    wt::command(ID_PREV);
    wt::command(ID_PREV);
    expect_shown(7, 2010, "twice previous on the Year tab");
}

TEST_F(Navigation, YearsStayWithinNineteenSeventyOneAndTwentyThirtySeven)
{
    const struct {
        int tab, month, year;
        UINT cmd;
        int month_after, year_after;
        const char* step;
    } cases[] = {
        {2, 6, 1971, ID_PREV, 6, 1971, "Year tab, 1971, previous"},
        {2, 6, 2037, ID_NEXT, 6, 2037, "Year tab, 2037, next"},
        {2, 6, 2036, ID_NEXT, 6, 2037, "Year tab, 2036, next"},
        // The month wraps before the year is held at its bound.
        {1, 12, 2037, ID_NEXT, 1, 2037, "Month tab, December 2037, next"},
        {1, 1, 1971, ID_PREV, 12, 1971, "Month tab, January 1971, previous"},
        // Each command holds only its own bound.
        {2, 6, 1960, ID_NEXT, 6, 1961, "Year tab, 1960, next"},
        {2, 6, 2050, ID_PREV, 6, 2049, "Year tab, 2050, previous"},
    };
    for (const auto& c : cases) {
        start_at(c.tab, c.month, c.year);
        wt::command(c.cmd);
        expect_shown(c.month_after, c.year_after, c.step);
    }
}

TEST_F(Navigation, ListTabChangesNothingButTheBounds)
{
    start_at(0, 12, 2011);
    wt::command(ID_NEXT);
    expect_shown(12, 2011, "next on the List tab");
    wt::command(ID_PREV);
    expect_shown(12, 2011, "previous on the List tab");
    start_at(0, 3, 2040);
    wt::command(ID_NEXT);
    expect_shown(3, 2037, "next on the List tab above the bound");
    EXPECT_EQ(caption(2), "2037");
}

TEST_F(Navigation, CaptionsShowTheMonthAndYear)
{
    start_at(1, 11, 2011);
    wt::command(ID_NEXT);
    EXPECT_EQ(caption(0), "List");
    EXPECT_EQ(caption(1), "December");
    EXPECT_EQ(caption(2), "2011");
    SendMessageA(active_view()->tab_ctrl, TCM_SETCURSEL, 2, 0);
    wt::command(ID_PREV);
    EXPECT_EQ(caption(1), "December");
    EXPECT_EQ(caption(2), "2010");
    start_at(1, 10, 2010);
    wt::command(ID_PREV);
    EXPECT_EQ(caption(1), "September");
}

TEST_F(Navigation, EveryCommandRepaintsAndKeepsTheClick)
{
    mvie* view = active_view();
    for (int tab = 0; tab < 3; ++tab)
        for (UINT cmd : {ID_PREV, ID_NEXT}) {
            start_at(tab, 6, 2011);
            view->click_x = 300;
            view->click_y = 400;
            ValidateRect(view->hwnd(), nullptr);
            wt::command(cmd);
            EXPECT_TRUE(GetUpdateRect(view->hwnd(), nullptr, FALSE)) << "tab " << tab << ", command " << cmd;
            EXPECT_EQ(view->click_x, 300);
            EXPECT_EQ(view->click_y, 400);
        }
}
