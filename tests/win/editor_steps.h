// What a user does with the date list and its editor boxes, as messages to the real windows.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "res/resource.h"
#include "view/mvie.h"
#include "win_test.h"

namespace es {

inline HWND list_window()
{
    return papp->list.hwnd();
}

inline HWND box(int i)
{
    return papp->list.edit[i].hwnd();
}

inline std::string box_text(int i)
{
    return wt::window_text(box(i));
}

inline void set_box(int i, const std::string& text)
{
    SetWindowTextA(box(i), text.c_str());
}

// A key released in a window, as the keyboard sends it (previous state down, transition up).
inline void release_key(HWND hwnd, UINT vk)
{
    SendMessageA(hwnd, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
}

inline POINT row_point(int row)
{
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    SendMessageA(list_window(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
    // Right of the status box zone, so the click selects and does not toggle.
    return POINT{40, (rc.top + rc.bottom) / 2};
}

inline void mouse(UINT msg, POINT pt, WPARAM keys)
{
    SendMessageA(list_window(), msg, keys, MAKELPARAM(pt.x, pt.y));
}

inline void click_at(POINT pt)
{
    mouse(WM_LBUTTONDOWN, pt, MK_LBUTTON);
    mouse(WM_LBUTTONUP, pt, 0);
}

inline void double_click_at(POINT pt)
{
    click_at(pt);
    mouse(WM_LBUTTONDBLCLK, pt, MK_LBUTTON);
    mouse(WM_LBUTTONUP, pt, 0);
}

inline void click_row(int row)
{
    click_at(row_point(row));
}

inline void double_click_row(int row)
{
    double_click_at(row_point(row));
}

// Where the caret stands in a box (the start of its selection).
inline int caret(int i)
{
    DWORD start = 0;
    SendMessageA(box(i), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

// The row is the only one selected and lies within the list's visible rows.
inline bool selected_in_sight(int row)
{
    HWND list = list_window();
    const int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
    const int page = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
    return SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 1 &&
           SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == row && row >= top &&
           row < top + page;
}

inline std::vector<std::string> row_lines()
{
    std::vector<std::string> out;
    for (size_t i = 0; i < papp->list.store.row_count(); ++i)
        out.push_back(papp->list.store.read_back(i));
    return out;
}

inline RECT child_rect(HWND child)
{
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

inline RECT view_client()
{
    RECT rc;
    GetClientRect(active_view()->hwnd(), &rc);
    return rc;
}

inline bool editor_hidden_and_empty()
{
    for (int i = 0; i < 5; ++i)
        if (IsWindowVisible(box(i)) || !box_text(i).empty())
            return false;
    return !IsWindowVisible(papp->list.hint) && papp->list.editing == 0 && papp->list.replacing == 0;
}

// Counts the editor's commands that reach the view and keeps them from running.
class ViewCommands {
public:
    ViewCommands()
    {
        self_ = this;
        old_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(active_view()->hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ViewCommands::proc)));
    }
    ~ViewCommands()
    {
        SetWindowLongPtrA(active_view()->hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_));
        self_ = nullptr;
    }
    ViewCommands(const ViewCommands&) = delete;
    ViewCommands& operator=(const ViewCommands&) = delete;
    int cancels = 0, confirms = 0;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_COMMAND && LOWORD(wp) == ID_CANCEL_EDIT) {
            ++self_->cancels;
            return 0;
        }
        if (msg == WM_COMMAND && LOWORD(wp) == ID_CONFIRM_EDIT) {
            ++self_->confirms;
            return 0;
        }
        return CallWindowProcA(self_->old_, hwnd, msg, wp, lp);
    }
    static inline ViewCommands* self_ = nullptr;
    WNDPROC old_ = nullptr;
};

} // namespace es
