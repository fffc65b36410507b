#include "driver.h"
#include <cstdio>
#include "remote.h"

namespace e2e {

namespace {

// The view's tab strip; the grids start below it.
const int kTabStrip = 24;

COLORREF screen_pixel(POINT p)
{
    return Shot::take(RECT{p.x, p.y, p.x + 1, p.y + 1}).pixel(p.x, p.y);
}

POINT client_origin(HWND hwnd)
{
    POINT p{0, 0};
    ClientToScreen(hwnd, &p);
    return p;
}

std::string colour_text(COLORREF c)
{
    char buf[16];
    if (c == CLR_INVALID)
        return "none";
    std::snprintf(buf, sizeof buf, "%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

} // namespace

bool Driver::front()
{
    HWND frame = program_.frame();
    return frame && bring_to_front(frame);
}

testing::AssertionResult Driver::click_tool(UINT cmd)
{
    RECT rc{};
    HWND bar = program_.tool_bar();
    if (!bar || !toolbar_rect(bar, cmd, rc))
        return testing::AssertionFailure() << "no tool bar button for command " << cmd;
    front();
    click(centre(rc));
    park_mouse();
    return testing::AssertionSuccess();
}

testing::AssertionResult Driver::click_tab(int index)
{
    RECT rc{};
    HWND tab = program_.tab();
    if (!tab || !tab_rect(tab, index, rc))
        return testing::AssertionFailure() << "no tab " << index;
    front();
    click(centre(rc));
    park_mouse();
    return testing::AssertionSuccess();
}

testing::AssertionResult Driver::click_row(int row, int x, bool twice)
{
    RECT rc{};
    HWND list = program_.list();
    if (!list || row < 0 || !list_row_rect(list, row, rc))
        return testing::AssertionFailure() << "no list row " << row;
    POINT p{client_origin(list).x + x, (rc.top + rc.bottom) / 2};
    front();
    if (twice)
        double_click(p);
    else
        click(p);
    park_mouse();
    return testing::AssertionSuccess();
}

testing::AssertionResult Driver::click_control(HWND control)
{
    if (!control || !IsWindowVisible(control))
        return testing::AssertionFailure() << "the control is not shown";
    bring_to_front(GetAncestor(control, GA_ROOT));
    click(centre(window_rect(control)));
    park_mouse();
    return testing::AssertionSuccess();
}

namespace {

std::string window_name(HWND hwnd)
{
    char cls[64] = "", title[64] = "";
    if (hwnd) {
        GetClassNameA(hwnd, cls, sizeof cls);
        GetWindowTextA(hwnd, title, sizeof title);
    }
    return std::string(cls) + " \"" + title + "\"";
}

testing::AssertionResult click_step_failed(const char* step, HWND button, POINT at)
{
    POINT cursor{};
    GetCursorPos(&cursor);
    return testing::AssertionFailure() << step << " at " << at.x << "," << at.y << ": under it "
                                       << window_name(WindowFromPoint(at)) << ", foreground "
                                       << window_name(GetForegroundWindow()) << ", pointer at " << cursor.x << ","
                                       << cursor.y << ", button " << window_name(button);
}

} // namespace

testing::AssertionResult Driver::click_button(HWND button)
{
    if (!button || !IsWindowVisible(button))
        return testing::AssertionFailure() << "the button is not shown";
    HWND root = GetAncestor(button, GA_ROOT);
    if (!bring_to_front(root))
        return click_step_failed("the window did not come to the front", button, centre(window_rect(button)));
    const POINT at = centre(window_rect(button));
    move_mouse(at);
    if (!wait_for([&] { return WindowFromPoint(at) == button; }, 3000))
        return click_step_failed("the pointer is not over the button", button, at);
    // The program has taken everything queued before the press (activation, the move).
    wait_idle(root);
    press(at);
    if (!wait_for([button] { return (send(button, BM_GETSTATE) & BST_PUSHED) != 0; }, 3000)) {
        release(at);
        return click_step_failed("the press did not reach the button", button, at);
    }
    release(at);
    park_mouse();
    return testing::AssertionSuccess();
}

testing::AssertionResult Driver::replace_text(HWND box, const std::string& text)
{
    if (!box || !IsWindowVisible(box))
        return testing::AssertionFailure() << "the box for \"" << text << "\" is not shown";
    bring_to_front(GetAncestor(box, GA_ROOT));
    click(centre(window_rect(box)));
    if (!wait_for([box] { return focus_of(box) == box; }, 3000))
        return testing::AssertionFailure() << "the box for \"" << text << "\" did not take the focus";
    key(VK_END);
    key_chord(VK_SHIFT, VK_HOME);
    if (text.empty())
        key(VK_DELETE);
    type_text(text);
    return text_is(box, text);
}

testing::AssertionResult Driver::key_in(HWND box, WORD vk)
{
    if (!box || !IsWindowVisible(box))
        return testing::AssertionFailure() << "the box is not shown";
    bring_to_front(GetAncestor(box, GA_ROOT));
    click(centre(window_rect(box)));
    if (!wait_for([box] { return focus_of(box) == box; }, 3000))
        return testing::AssertionFailure() << "the box did not take the focus";
    key(vk);
    return testing::AssertionSuccess();
}

testing::AssertionResult Driver::text_is(HWND hwnd, const std::string& expected)
{
    if (!hwnd)
        return testing::AssertionFailure() << "no window for the text \"" << expected << "\"";
    return becomes(
        "the window text", [hwnd] { return window_text(hwnd); }, expected);
}

testing::AssertionResult Driver::visible_is(HWND hwnd, bool expected)
{
    if (!hwnd)
        return testing::AssertionFailure() << "no such window";
    return becomes(
        "visible", [hwnd] { return IsWindowVisible(hwnd) != FALSE; }, expected);
}

testing::AssertionResult Driver::rows_are(const std::vector<std::string>& expected)
{
    HWND list = program_.list();
    if (!list)
        return testing::AssertionFailure() << "no list window (id 105)";
    return becomes(
        "the list", [list] { return list_rows(list, 5); }, expected);
}

int Driver::row_with_date(const std::string& stored_date)
{
    HWND list = program_.list();
    int n = list ? list_count(list) : 0;
    for (int r = 0; r < n; ++r)
        if (list_text(list, r, 0) == stored_date)
            return r;
    return -1;
}

Shot Driver::shot(const char* name, HWND only)
{
    if (HWND frame = program_.frame())
        wait_idle(frame);
    // A tool bar prompt goes back to "Ready" a moment after the pointer has left the button.
    if (HWND bar = program_.status_bar())
        wait_for([bar] { return status_text(bar, 0) == "Ready"; }, 1500);
    Shot s = Shot::take_settled(only ? painted_rect(only) : process_area(program_.pid()));
    char file[96];
    std::snprintf(file, sizeof file, "%02d-%s.bmp", ++shot_count_, name);
    if (!s.save_bmp(shots_ + "\\" + file))
        ADD_FAILURE() << "could not save the screenshot " << file;
    return s;
}

RECT Driver::day_text_probe(const Date& shown_month, int day)
{
    // The month grid: seven columns of width/7 below the tab strip, a header row and week rows of
    // (height - 24)/7, Monday first; a day's text starts at its cell's left edge.
    RECT rc{};
    GetClientRect(program_.view(), &rc);
    int cell_w = rc.right / 7, cell_h = (rc.bottom - kTabStrip) / 7;
    int p = weekday_monday_first(Date{shown_month.year, shown_month.month, 1}) + day - 1;
    int top = kTabStrip + 1 + cell_h + (p / 7) * cell_h;
    int right = (p % 7 + 1) * cell_w - 1, left = right - cell_w;
    RECT probe{left + 2 + cell_w / 20, top + 2, left + cell_w / 2, top + cell_h - 2};
    return client_to_screen(program_.view(), probe);
}

int Driver::text_pixels(const Date& shown_month, int day)
{
    RECT probe = day_text_probe(shown_month, day);
    return Shot::take(probe).dark_pixels(probe);
}

Shot Driver::grid_picture()
{
    RECT rc{};
    HWND view = program_.view();
    GetClientRect(view, &rc);
    rc.top = kTabStrip;
    return Shot::take_settled(client_to_screen(view, rc));
}

testing::AssertionResult Driver::grid_changes_from(const Shot& before)
{
    if (wait_for([&] { return !(grid_picture() == before); }))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the grid was not painted anew";
}

COLORREF Driver::row_pixel(int row, int x, int y_in_row)
{
    RECT rc{};
    HWND list = program_.list();
    if (!list || !list_row_rect(list, row, rc))
        return CLR_INVALID;
    return screen_pixel(POINT{client_origin(list).x + x, rc.top + y_in_row});
}

COLORREF Driver::box_pixel(int row, int image_x, int image_y)
{
    // Rows place the 12 x 12 status image at x 3 and at the row's text top.
    RECT rc{};
    HWND list = program_.list();
    if (!list || !list_row_rect(list, row, rc))
        return CLR_INVALID;
    int text_top = rc.top + (rc.bottom - rc.top - 11) / 2;
    return screen_pixel(POINT{client_origin(list).x + 3 + image_x, text_top + image_y});
}

testing::AssertionResult Driver::pixel_becomes(const std::function<COLORREF()>& probe, COLORREF expected,
                                               const char* what)
{
    if (wait_for([&] { return probe() == expected; }))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << what << " has colour " << colour_text(probe()) << ", expected "
                                       << colour_text(expected);
}

} // namespace e2e
