#include "view/mvie.h"
#include <commctrl.h>
#include "fw/log.h"
#include "app/mapp.h"
#include "fw/frame.h"
#include "core/alert_rule.h"
#include "res/resource.h"

bool mvie::init_done = false;

namespace {

// Figures at 96 DPI.
const int kTabHeight = 24;
const int kListTop = 23;
const int kEditorRoom = 40;

void insert_tab(HWND tab, int index, const char* text)
{
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text);
    SendMessageA(tab, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
}

// Below this size the view keeps its children where they are.
bool has_layout(const RECT& rc)
{
    return rc.right > 100 && rc.bottom > 50;
}

// Moves a child only when its place changed: every paint runs the layout, and a move repaints.
void place_child(HWND child, const RECT& place)
{
    RECT now;
    GetWindowRect(child, &now);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&now, &place))
        return;
    MoveWindow(child, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
}

void send_to_frame(UINT cmd)
{
    if (HWND main = papp->main_window())
        SendMessageA(main, WM_COMMAND, cmd, 0);
}

} // namespace

mvie* active_view()
{
    fw::Frame* frame = papp->main_frame();
    return frame ? static_cast<mvie*>(frame->GetActiveView()) : nullptr;
}

mvie::mvie() : fw::FormView(IDD_FORM)
{
    trm_log("mvie::mvie () OK ...\n");
}

mvie::~mvie()
{
    trm_log("mvie::~mvie () OK ...\n");
}

void mvie::DoDataExchange()
{
    tab_ctrl = GetDlgItem(hwnd_, IDC_TAB);
}

int mvie::selected_tab() const
{
    return tab_ctrl ? static_cast<int>(SendMessageA(tab_ctrl, TCM_GETCURSEL, 0, 0)) : 0;
}

bool mvie::OnCmdMsg(UINT id)
{
    switch (id) {
    case ID_REFILL: OnRefill(); return true;
    case ID_RELOAD: OnReload(); return true;
    case ID_NEW_DATE: OnNewDate(); return true;
    case ID_EDIT_DATE: OnEditDate(); return true;
    case ID_DELETE_DATE: OnDeleteDate(); return true;
    case ID_SAVE_DATES: OnSave(); return true;
    case ID_CANCEL_EDIT: OnCancelEdit(); return true;
    case ID_CONFIRM_EDIT: OnConfirmEdit(); return true;
    case ID_NEXT: OnNext(); return true;
    case ID_PREV: OnPrev(); return true;
    default: return fw::FormView::OnCmdMsg(id);
    }
}

bool mvie::on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    result = 0;
    POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    switch (msg) {
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr->idFrom == IDC_TAB && hdr->code == TCN_SELCHANGE) {
            OnTabChange();
            return true;
        }
        break;
    }
    case WM_SIZE:
        OnSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
        // The grids scale with the view: all of it is painted anew, not only the strip a larger size uncovers.
        InvalidateRect(hwnd_, nullptr, TRUE);
        return true;
    case WM_TIMER: OnTimer(); return true;
    case WM_KEYUP: OnKeyUp(static_cast<UINT>(wp)); return true;
    case WM_LBUTTONDOWN: OnLButtonDown(pt); return true;
    case WM_RBUTTONDOWN: OnRButtonDown(pt); return true;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(pt); return true;
    default: break;
    }
    return fw::FormView::on_message(msg, wp, lp, result);
}

void mvie::init_mvie()
{
    RECT rc;
    GetClientRect(hwnd_, &rc);
    insert_tab(tab_ctrl, 0, "List");
    insert_tab(tab_ctrl, 1, "Month");
    insert_tab(tab_ctrl, 2, "Year");
    SendMessageA(tab_ctrl, WM_SETFONT, reinterpret_cast<WPARAM>(papp->gui.bold_font.get()), TRUE);
    // Made where the layout puts it: moving it afterwards would paint it twice.
    RECT place = list_place(rc);
    papp->list.init_list(hwnd_, has_layout(rc) ? &place : nullptr);
    set_tabs();
    init_done = true;
    layout(rc);
    OnSize(0, rc.right, rc.bottom);
    timer_ms = timer_period_ms(papp->gui.tm);
    SetTimer(hwnd_, ID_ALERT_TIMER, static_cast<UINT>(timer_ms), nullptr);
    if (HWND main = papp->main_window())
        papp->rem.init_rem(main);
    trm_log("mvie::init_mvie () OK ...\n");
}

void mvie::OnDraw(fw::Dc& dc)
{
    RECT rc;
    GetClientRect(hwnd_, &rc);
    if (!init_done)
        init_mvie();
    layout(rc);
    int tab = selected_tab();
    if (has_layout(rc)) {
        if (tab == 1)
            papp->grid.draw_view(dc, 0, 0, rc.right, rc.bottom, 1, click_x, click_y);
        if (tab == 2)
            papp->grid.draw_view(dc, 0, 0, rc.right, rc.bottom, 2, click_x, click_y);
    }
    if (tab == 0 && dc.printing)
        papp->list.prnt_page(dc);
}

void mvie::layout(const RECT& rc)
{
    if (!has_layout(rc))
        return;
    if (tab_ctrl)
        place_child(tab_ctrl, {0, 0, rc.right, papp->gui.px(kTabHeight)});
    if (HWND list = papp->list.hwnd())
        place_child(list, list_place(rc));
}

RECT mvie::list_place(const RECT& rc) const
{
    const CGUI& gui = papp->gui;
    return {0, gui.px(kListTop), rc.right, rc.bottom - (papp->list.editing ? gui.px(kEditorRoom) : 0)};
}

void mvie::OnSize(UINT, int cx, int)
{
    CLst& list = papp->list;
    if (!list.hwnd() || list.col_count < 5)
        return;
    auto width = [&](int col) { return static_cast<int>(SendMessageA(list.hwnd(), LVM_GETCOLUMNWIDTH, col, 0)); };
    int used = width(0) + width(1) + width(2) + (papp->gui.ss ? width(4) : 0);
    // The columns share the list's client width: its border and a shown vertical scroll bar take
    // the rest, and a fit to the whole width would bring up a horizontal scroll bar.
    int w = cx - list.frame_width() - used;
    list.text_width = w;
    // A negative width would ask the control to size the column itself.
    SendMessageA(list.hwnd(), LVM_SETCOLUMNWIDTH, list.col_count - 2, MAKELPARAM(w > 0 ? w : 0, 0));
    if (list.editing)
        list.place_edit();
}

void mvie::OnDpiChanged(int)
{
    SendMessageA(tab_ctrl, WM_SETFONT, reinterpret_cast<WPARAM>(papp->gui.bold_font.get()), TRUE);
    papp->list.set_dpi();
    RECT rc;
    GetClientRect(hwnd_, &rc);
    layout(rc);
    OnSize(0, rc.right, rc.bottom);
}

void mvie::OnTabChange()
{
    RECT rc;
    GetClientRect(hwnd_, &rc);
    CLst& list = papp->list;
    int tab = selected_tab();
    ShowWindow(list.hwnd(), tab == 0 ? SW_SHOW : SW_HIDE);
    list.hide_edit();
    bool want_all = tab == 1;
    if ((papp->show_all == 1) != want_all)
        send_to_frame(ID_SHOW_ALL);
    click_x = 0;
    click_y = 0;
    OnSize(0, rc.right, rc.bottom);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void mvie::show_list()
{
    if (selected_tab() == 0)
        return;
    SendMessageA(tab_ctrl, TCM_SETCURSEL, 0, 0);
    OnTabChange();
}

void mvie::OnTimer()
{
    papp->list.chek_alrm();
    // Another program may have written the date file without the folder telling us.
    send_to_frame(ID_CHECK_FILE);
}

void mvie::OnRefill()
{
    papp->list.fill_list();
    papp->list.hide_edit();
}

void mvie::OnReload()
{
    CLst& list = papp->list;
    list.store.delete_all_rows();
    list.refresh_rows();
    papp->show_all = 1;
    OnRefill();
    papp->show_all = 0;
    OnRefill();
}

void mvie::OnKeyUp(UINT key)
{
    if (key == VK_ESCAPE)
        OnCancelEdit();
    if (key == VK_DELETE)
        OnDeleteDate();
    if (key == VK_RETURN)
        OnConfirmEdit();
}
