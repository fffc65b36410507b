// The date list window: rows shown from the store, columns, rebuilds, selection, mouse and keys.
#include "list/clst.h"
#include "core/date_line.h"
#include <commctrl.h>
#include <algorithm>
#include <cstring>
#include <optional>
#include "fw/log.h"
#include "app/mapp.h"
#include "fw/app.h"
#include "res/resource.h"

namespace {

const char* const kCaptions[] = {"Date", "Day", "Time", "To do", "Stat."};
const int kColumns = 5;
const int kInitialWidths[] = {85, 35, 70, 200, 40};
const int kAlignments[] = {0, 1, 0, 0, 0};
// A cell is fetched with room for this many characters and a terminator.
const size_t kCellLimit = dl::line_limit;
// Clicks left of this x (list client coordinates) toggle the status box.
const int kCheckZone = 16;

} // namespace

Today today_of(const CTrm& grid)
{
    return Today{grid.today_day, grid.today_month, grid.today_year, grid.cur_hour, grid.cur_min};
}

namespace {

// A column the user may have dragged keeps its share; one at its initial width stays exact.
int rescaled_width(int now, int initial, int from_dpi, int to_dpi)
{
    return now == fw::scale(initial, from_dpi) ? fw::scale(initial, to_dpi) : MulDiv(now, to_dpi, from_dpi);
}

// Copies at most max - 1 characters, always terminates, and returns the count copied.
int copy_cut(std::string_view text, char* out, int max)
{
    if (!out || max <= 0)
        return 0;
    size_t n = std::min(text.size(), static_cast<size_t>(max - 1));
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return static_cast<int>(n);
}

int copy_cut_wide(std::string_view text, wchar_t* out, int max)
{
    if (!out || max <= 0)
        return 0;
    int n = text.empty() ? 0 : MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, max - 1);
    n = n > 0 ? n : 0;
    out[n] = L'\0';
    return n;
}

// The A and W item records share their layout up to the text pointer's type.
int copy_item_text(const std::string& text, LVITEMA& item, bool wide)
{
    if (wide)
        return copy_cut_wide(text, reinterpret_cast<wchar_t*>(item.pszText), item.cchTextMax);
    return copy_cut(text, item.pszText, item.cchTextMax);
}

LVITEMA selection_state(bool selected)
{
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    return item;
}

} // namespace

CLst::CLst()
{
    trm_log("CLst::CLst () OK ...\n");
}

CLst::~CLst()
{
    trm_log("CLst::~CLst () OK ...\n");
}

void CLst::init_list(HWND parent, const RECT* place)
{
    if (exists())
        return;
    shown_dpi = papp->gui.dpi;
    load_images();
    for (int i = 0; i < kColumns; ++i) {
        col_width[i] = kInitialWidths[i];
        col_align[i] = kAlignments[i];
    }
    if (!papp->gui.ss)
        col_width[4] = 0;
    // Owner data: the store holds the rows and sorts them; the control only shows them.
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS;
    const RECT at = place ? *place : RECT{0, 0, 0, 0};
    HWND made =
        CreateWindowExA(0, WC_LISTVIEWA, "", style, at.left, at.top, at.right - at.left, at.bottom - at.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LIST)), GetModuleHandleA(nullptr), nullptr);
    if (!made)
        return;
    subclass(made);
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(papp->gui.list_font.get()), TRUE);
    add_line(nullptr);
    fill_list();
    create_editor(parent);
}

void CLst::load_images()
{
    bmp_done.reset(fw::load_bitmap_for_dpi({IDB_DONE, IDB_DONE_150, IDB_DONE_200}, shown_dpi));
    bmp_open.reset(fw::load_bitmap_for_dpi({IDB_OPEN, IDB_OPEN_150, IDB_OPEN_200}, shown_dpi));
    bmp_due.reset(fw::load_bitmap_for_dpi({IDB_DUE, IDB_DUE_150, IDB_DUE_200}, shown_dpi));
}

void CLst::set_fonts()
{
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(papp->gui.list_font.get()), TRUE);
    for (int i = 0; i < col_count; ++i)
        if (HWND box = edit[i].hwnd())
            SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font()), TRUE);
    if (hint)
        SendMessageA(hint, WM_SETFONT, reinterpret_cast<WPARAM>(papp->gui.bold_font.get()), TRUE);
}

void CLst::set_dpi()
{
    const int dpi = papp->gui.dpi;
    if (!hwnd_ || dpi == shown_dpi)
        return;
    for (int i = 0; i < col_count; ++i)
        SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, i,
                     MAKELPARAM(rescaled_width(column_width(i), col_width[i], shown_dpi, dpi), 0));
    shown_dpi = dpi;
    load_images();
    set_fonts();
}

void CLst::create_editor(HWND parent)
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    for (int i = 0; i < col_count; ++i) {
        // A long "To do" text scrolls in its box instead of losing what does not fit the width.
        const DWORD scroll = i == col_count - 2 ? ES_AUTOHSCROLL : 0;
        HWND box =
            CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_BORDER | WS_TABSTOP | WS_GROUP | ES_LEFT | scroll, 0, 0, 0, 0,
                            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_EDIT0 + i)), inst, nullptr);
        if (!box)
            continue;
        edit[i].subclass(box);
        SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    }
    hint = CreateWindowExA(0, "STATIC", "Confirm with ENTER, Cancel with ESC", WS_CHILD | SS_CENTER, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_HINT)), inst, nullptr);
    if (hint)
        SendMessageA(hint, WM_SETFONT, reinterpret_cast<WPARAM>(papp->gui.bold_font.get()), FALSE);
}

void CLst::create_columns()
{
    col_count = kColumns;
    for (int i = 0; i < col_count; ++i) {
        LVCOLUMNA col{};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.fmt = LVCFMT_CENTER;
        col.cx = papp->gui.px(col_width[i]);
        col.pszText = const_cast<char*>(caption(i));
        col.iSubItem = i;
        SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
    // The control keeps column 0 left-aligned; its header caption is centred all the same.
    HWND header = reinterpret_cast<HWND>(SendMessageA(hwnd_, LVM_GETHEADER, 0, 0));
    for (int i = 0; header && i < col_count; ++i) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        item.fmt = (item.fmt & ~HDF_JUSTIFYMASK) | HDF_CENTER;
        SendMessageA(header, HDM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
}

int CLst::add_line(const char* text)
{
    if (add_count == 0) {
        create_columns();
        ++add_count;
        return -1;
    }
    if (!text)
        return -1;
    const int kept = sel_item;
    const int at = static_cast<int>(store.add_line(text));
    ++add_count;
    refresh_rows();
    // The recorded row moved down by one: the selection goes with it, not with its old index.
    if (kept >= 0 && at <= kept)
        select_only(kept + 1);
    return at;
}

void CLst::fill_list()
{
    store.fill(papp->show_all != 0);
    clear_selection();
    refresh_rows();
}

void CLst::take_changes(const dl::LineChanges& changes)
{
    const RowStore::RowId selected = sel_item >= 0 ? store.row_id(static_cast<size_t>(sel_item)) : 0;
    store.apply_changes(changes, papp->show_all != 0);
    refresh_rows();
    if (std::optional<size_t> row = store.find_row(selected))
        select_only(static_cast<int>(*row));
    else
        clear_selection();
}

void CLst::del_line()
{
    if (sel_item < 0 || sel_item >= row_count())
        return;
    const int row = sel_item;
    store.delete_row(static_cast<size_t>(row));
    clear_selection();
    refresh_rows();
    // The row that took the deleted one's place, or the new last row, is selected where the user
    // sees it: the next Delete or arrow key goes on from there.
    select_in_sight(std::min(row, row_count() - 1));
}

void CLst::chek_date(const char* text)
{
    date_parsed = ::chek_date(scratch, text, today_of(papp->grid));
}

void CLst::chek_time(const char* text)
{
    ::chek_time(scratch, text, today_of(papp->grid), date_parsed);
}

const char* CLst::caption(int col)
{
    return col >= 0 && col < kColumns ? kCaptions[col] : "";
}

std::string CLst::cell_text(int row, int col) const
{
    if (row < 0)
        return {};
    std::string_view cell = store.cell(static_cast<size_t>(row), col);
    return std::string(cell.substr(0, kCellLimit));
}

void CLst::refresh_rows()
{
    if (!hwnd_)
        return;
    SendMessageA(hwnd_, LVM_SETITEMCOUNT, static_cast<WPARAM>(store.row_count()), 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    // A shorter list drops the selection beyond its end without telling.
    sel_item = first_selected();
}

int CLst::frame_width() const
{
    RECT window{}, client{};
    if (!hwnd_ || !GetWindowRect(hwnd_, &window) || !GetClientRect(hwnd_, &client))
        return 0;
    return (window.right - window.left) - client.right;
}

int CLst::first_selected() const
{
    // The search walks the rows one by one; the count comes from the selected ranges at once.
    if (!hwnd_ || SendMessageA(hwnd_, LVM_GETSELECTEDCOUNT, 0, 0) == 0)
        return -1;
    return static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CLst::clear_selection()
{
    if (hwnd_) {
        LVITEMA none = selection_state(false);
        SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    }
    sel_item = -1;
}

void CLst::select_only(int row)
{
    clear_selection();
    if (!hwnd_ || row < 0 || row >= row_count())
        return;
    LVITEMA one = selection_state(true);
    SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&one));
    SendMessageA(hwnd_, LVM_SETSELECTIONMARK, 0, row);
    sel_item = first_selected();
}

void CLst::focus_row(int row)
{
    if (!hwnd_ || !IsWindowVisible(hwnd_))
        return;
    if (row >= 0 && row < row_count())
        select_in_sight(row);
    SetFocus(hwnd_);
}

void CLst::select_in_sight(int row)
{
    select_only(row);
    if (sel_item >= 0)
        SendMessageA(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(sel_item), FALSE);
}

int CLst::column_width(int col) const
{
    return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, LVM_GETCOLUMNWIDTH, col, 0)) : col_width[col];
}

HFONT CLst::font() const
{
    HFONT f = hwnd_ ? reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)) : nullptr;
    return f ? f : papp->gui.list_font.get();
}

void CLst::OnLButtonDown(POINT pt)
{
    sel_item = first_selected();
    if (pt.x >= papp->gui.px(kCheckZone) || sel_item < 0)
        return;
    store.toggle_status(static_cast<size_t>(sel_item));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void CLst::OnKeyUp(UINT key)
{
    if (key == VK_DELETE)
        del_line();
    if (key == VK_RETURN)
        fw::message_box(hwnd_, "Return", MB_OK);
    if (key == VK_ESCAPE)
        hide_edit();
}

void CLst::OnColumnClick(int column)
{
    if (column == 0) {
        store.sort_up = store.sort_up ? 0 : 1;
        fill_list();
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void CLst::give_cell_text(LPARAM disp_info, bool wide) const
{
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(disp_info)->item;
    if (item.mask & LVIF_TEXT)
        copy_item_text(cell_text(item.iItem, item.iSubItem), item, wide);
}

LRESULT CLst::read_item_text(WPARAM row, LPARAM item, bool wide) const
{
    // Answered here rather than by the control, which would ask the view for the same cell
    // through a notification: a tenth of the cost when every row is read back.
    const int index = static_cast<int>(row);
    if (!item || index < 0 || index >= row_count())
        return 0;
    LVITEMA& record = *reinterpret_cast<LVITEMA*>(item);
    return copy_item_text(cell_text(index, record.iSubItem), record, wide);
}

LRESULT CLst::find_item(LPARAM find_info, bool wide) const
{
    // The A and W records share their layout up to the text pointer's type.
    const auto* find = reinterpret_cast<const NMLVFINDITEMA*>(find_info);
    const LVFINDINFOA& info = find->lvfi;
    if (!(info.flags & (LVFI_STRING | LVFI_PARTIAL)) || !info.psz)
        return -1;
    std::string text;
    if (wide) {
        const auto* psz = reinterpret_cast<const wchar_t*>(info.psz);
        int n = WideCharToMultiByte(CP_ACP, 0, psz, -1, nullptr, 0, nullptr, nullptr);
        text.resize(n > 0 ? static_cast<size_t>(n) : 0);
        if (n > 0)
            WideCharToMultiByte(CP_ACP, 0, psz, -1, &text[0], n, nullptr, nullptr);
        text.resize(text.empty() ? 0 : text.size() - 1);
    } else {
        text = info.psz;
    }
    const size_t start = find->iStart > 0 ? static_cast<size_t>(find->iStart) : 0;
    std::optional<size_t> row =
        store.find_date(text, start, !(info.flags & LVFI_PARTIAL), (info.flags & LVFI_WRAP) != 0);
    return row ? static_cast<LRESULT>(*row) : -1;
}

bool CLst::on_reflect(UINT msg, WPARAM, LPARAM lp, LRESULT& result)
{
    if (msg == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    }
    if (msg != WM_NOTIFY)
        return false;
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lp);
    result = 0;
    switch (hdr->code) {
    case LVN_GETDISPINFOA: give_cell_text(lp, false); return true;
    case LVN_GETDISPINFOW: give_cell_text(lp, true); return true;
    // Single items, ranges and "all items" (index -1) alike: ask the control what is selected.
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED: sel_item = first_selected(); return true;
    case LVN_COLUMNCLICK: OnColumnClick(reinterpret_cast<const NMLISTVIEW*>(lp)->iSubItem); return true;
    // Typing in the list looks for the Date that begins with the typed characters.
    case LVN_ODFINDITEMA: result = find_item(lp, false); return true;
    case LVN_ODFINDITEMW: result = find_item(lp, true); return true;
    default: return false;
    }
}

LRESULT CLst::wnd_proc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_LBUTTONDOWN: {
        // The control moves the selection first; the click then works on the row it chose.
        LRESULT r = default_proc(msg, wp, lp);
        OnLButtonDown(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
        return r;
    }
    case WM_RBUTTONDOWN: return 0;
    case WM_LBUTTONDBLCLK:
        open_edit();
        show_edit();
        return 0;
    case WM_KEYUP: OnKeyUp(static_cast<UINT>(wp)); break;
    case WM_SIZE: {
        // A vertical scroll bar that comes or goes changes the width the columns have: the
        // parent fits them again, as after its own size change.
        LRESULT r = default_proc(msg, wp, lp);
        const int width = LOWORD(lp);
        if (width != client_width_) {
            client_width_ = width;
            RECT parent{};
            if (GetClientRect(GetParent(hwnd_), &parent))
                SendMessageA(GetParent(hwnd_), WM_SIZE, SIZE_RESTORED, MAKELPARAM(parent.right, parent.bottom));
        }
        return r;
    }
    case LVM_GETITEMTEXTA: return read_item_text(wp, lp, false);
    case LVM_GETITEMTEXTW: return read_item_text(wp, lp, true);
    default: break;
    }
    return default_proc(msg, wp, lp);
}
