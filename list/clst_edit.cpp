// The in-place editor of the list: a row of edit boxes with a hint label along the bottom of the view.
#include <string>
#include "app/mapp.h"
#include "fw/app.h"
#include "res/resource.h"
#include "core/date_line.h"

namespace {

const int kBoxHeight = 18;
// The fixed parts of a date line (date, four tabs, status, newline) take 16 of its
// characters; Day, the normalised Time (at most "hh:mm-hh:mm") and To do share the rest.
const int kLineLength = dl::line_limit;
const int kFixedParts = 16;
const int kDayLimit = 16;
const int kTimeLimit = 32;
const int kNormalTimeLength = 11;
const int kTextLimit = kLineLength - kFixedParts - kDayLimit - kNormalTimeLength;

// Enter or Escape already held down when a box got the focus: that press closed a message box,
// so its release must not confirm or cancel once more.
unsigned stale_keys = 0;

unsigned key_bit(WPARAM key)
{
    return key == VK_RETURN ? 1u : key == VK_ESCAPE ? 2u : 0u;
}

unsigned keys_held_now()
{
    return (GetKeyState(VK_RETURN) < 0 ? key_bit(VK_RETURN) : 0u) |
           (GetKeyState(VK_ESCAPE) < 0 ? key_bit(VK_ESCAPE) : 0u);
}

UINT command_of_key(WPARAM key)
{
    return key == VK_ESCAPE ? ID_CANCEL_EDIT : key == VK_RETURN ? ID_CONFIRM_EDIT : 0;
}

// Enter, Escape and Tab would only beep or, pasted, split the date line.
bool is_control_char(WPARAM ch)
{
    return ch == '\r' || ch == '\n' || ch == '\t' || ch == 27;
}

void limit_text(HWND box, int limit)
{
    SendMessageA(box, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
}

} // namespace

void CLst::open_edit()
{
    sel_item = first_selected();
    if (sel_item < 0 || sel_item >= row_count()) {
        sel_item = -1;
        fw::message_box(hwnd_, "No Date selected !\n", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (editing == 1)
        return;
    replacing = 1;
    editing = 1;
    loaded_row = store.row_id(static_cast<size_t>(sel_item));
    for (int i = 0; i < col_count; ++i) {
        std::string text = cell_text(sel_item, i);
        if (i == 0 && papp->gui.df == 1) {
            chek_date(text.c_str());
            if (date_parsed)
                text = dl::format_display_date(scratch.p_day, scratch.p_month, scratch.p_year);
        }
        SetWindowTextA(edit[i].hwnd(), text.c_str());
    }
    SetFocus(edit[0].hwnd());
}

void CLst::show_edit()
{
    if (sel_item == -1)
        return;
    place_edit();
}

void CLst::place_edit()
{
    // The boxes, the hint and the list share one parent: the view they are laid over.
    HWND view = hwnd_ ? GetParent(hwnd_) : nullptr;
    if (!view || col_count < 2)
        return;
    RECT rc;
    GetClientRect(view, &rc);
    const CGUI& gui = papp->gui;
    const int box_h = gui.px(kBoxHeight);
    const int y = rc.bottom - box_h;
    // The initial widths, not the current ones: the To do box keeps R - 190 however the user drags.
    const int rest = rc.right - (gui.px(col_width[0]) + gui.px(col_width[1]) + gui.px(col_width[2]));
    limit_text(edit[1].hwnd(), kDayLimit);
    limit_text(edit[2].hwnd(), kTimeLimit);
    limit_text(edit[col_count - 2].hwnd(), kTextLimit);
    int x = 0;
    for (int i = 0; i < col_count; ++i) {
        const int w = i == col_count - 2 ? rest : column_width(i);
        // On top of the list, which keeps its full height until the next paint of the view.
        SetWindowPos(edit[i].hwnd(), HWND_TOP, x, y, w, box_h, SWP_SHOWWINDOW);
        x += w;
    }
    SetWindowPos(hint, HWND_TOP, 0, y - box_h, rc.right, box_h, SWP_SHOWWINDOW);
    // The paint lays the list out shorter while the editor is open.
    InvalidateRect(view, nullptr, FALSE);
}

void CLst::focus_next_box(HWND from, bool back)
{
    if (col_count <= 0)
        return;
    int at = 0;
    while (at < col_count && edit[at].hwnd() != from)
        ++at;
    if (at == col_count)
        return;
    HWND next = edit[(at + (back ? col_count - 1 : 1)) % col_count].hwnd();
    SetFocus(next);
    // As a dialog does: the box's text is selected, so typing replaces it.
    SendMessageA(next, EM_SETSEL, 0, -1);
}

void CLst::hide_edit()
{
    for (int i = 0; i < col_count; ++i) {
        ShowWindow(edit[i].hwnd(), SW_HIDE);
        SetWindowTextA(edit[i].hwnd(), "");
    }
    if (hint)
        ShowWindow(hint, SW_HIDE);
    replacing = 0;
    editing = 0;
    loaded_row = 0;
}

LRESULT CEdt::wnd_proc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SETFOCUS: stale_keys = keys_held_now(); break;
    case WM_KILLFOCUS: stale_keys = 0; break;
    case WM_KEYDOWN:
        // A fresh press (not an auto-repeat) belongs to this box.
        if (!(lp & (1L << 30)))
            stale_keys &= ~key_bit(wp);
        if (wp == VK_TAB) {
            papp->list.focus_next_box(hwnd_, GetKeyState(VK_SHIFT) < 0);
            return 0;
        }
        break;
    case WM_CHAR:
        if (is_control_char(wp))
            return 0;
        break;
    case WM_KEYUP:
        if (UINT cmd = command_of_key(wp)) {
            if (stale_keys & key_bit(wp))
                stale_keys &= ~key_bit(wp);
            else if (HWND view = GetParent(hwnd_))
                SendMessageA(view, WM_COMMAND, cmd, 0);
        }
        break;
    default: break;
    }
    return default_proc(msg, wp, lp);
}
