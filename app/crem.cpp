#include "app/crem.h"
#include "app/mapp.h"
#include "res/resource.h"
#include "view/mvie.h"

namespace {

const char* const icon_tip = "Termaris";

HICON small_icon()
{
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TRM), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

bool is_click(LPARAM what)
{
    const UINT event = LOWORD(what);
    return event == WM_LBUTTONUP || event == WM_LBUTTONDBLCLK || event == NIN_BALLOONUSERCLICK;
}

int row_of_key(const RowStore& rows, const std::string& key)
{
    for (size_t row = 0; row < rows.row_count(); ++row)
        if (DueNotices::key_of(rows, row) == key)
            return static_cast<int>(row);
    return -1;
}

} // namespace

void CRem::init_rem(HWND frame)
{
    frame_ = frame;
    // The shell is loaded after the first paint, not before it.
    PostMessageA(frame, start_msg, 0, 0);
}

void CRem::start()
{
    if (papp->gui.wn != 1)
        return;
    show_icon();
    papp->grid.get_time();
    chek_due();
}

void CRem::show_icon()
{
    if (frame_ && !icon_.shown())
        icon_.add(frame_, icon_msg, small_icon(), icon_tip);
}

void CRem::apply_wn()
{
    if (papp->gui.wn == 1)
        show_icon();
    else
        icon_.remove();
}

void CRem::chek_due()
{
    if (papp->gui.wn != 1 || !icon_.shown())
        return;
    const RowStore& rows = papp->list.store;
    std::vector<size_t> due = notices_.take_newly_due(rows, today_of(papp->grid));
    if (due.empty())
        return;
    first_key_ = DueNotices::key_of(rows, due.front());
    icon_.balloon(notice_title(due.size()).c_str(), notice_text(rows, due, papp->gui.df).c_str());
}

bool CRem::on_message(UINT msg, WPARAM, LPARAM lp)
{
    if (msg == start_msg) {
        start();
        return true;
    }
    if (msg == icon_msg) {
        if (is_click(lp))
            show_first();
        return true;
    }
    if (msg == fw::NotifyIcon::taskbar_created()) {
        if (papp->gui.wn == 1)
            icon_.add_again();
        return true;
    }
    if (msg == WM_DESTROY)
        icon_.remove();
    return false;
}

void CRem::show_first()
{
    if (!frame_)
        return;
    if (IsIconic(frame_))
        ShowWindow(frame_, SW_RESTORE);
    SetForegroundWindow(frame_);
    if (mvie* view = active_view())
        view->show_list();
    papp->list.focus_row(row_of_key(papp->list.store, first_key_));
}
