#include "fw/view.h"
#include "fw/command_ids.h"
#include "fw/app.h"
#include "fw/doc.h"
#include "fw/frame.h"
#include "fw/preview.h"
#include <memory>

namespace fw {

std::vector<int> PrintInfo::page_order() const
{
    const int first = from_page > min_page ? from_page : min_page;
    const int last = to_page < max_page ? to_page : max_page;
    std::vector<int> pages;
    const int sets = collate ? copies : 1, repeats = collate ? 1 : copies;
    for (int set = 0; set < sets; ++set)
        for (int page = first; page <= last; ++page)
            pages.insert(pages.end(), static_cast<size_t>(repeats > 0 ? repeats : 1), page);
    return pages;
}

bool View::OnPreparePrinting(PrintInfo& info)
{
    return DoPreparePrinting(info);
}

void View::OnPrint(Dc& dc, PrintInfo&)
{
    OnDraw(dc);
}

bool View::OnCmdMsg(UINT id)
{
    switch (id) {
    case ID_FILE_PRINT: OnFilePrint(); return true;
    case ID_FILE_PRINT_PREVIEW: OnFilePrintPreview(); return true;
    default: return false;
    }
}

bool View::DoPreparePrinting(PrintInfo& info)
{
    if (info.direct_dc) {
        info.dc = info.direct_dc;
        info.owns_dc = false;
        return true;
    }
    App* app = App::current();
    HWND owner = frame_ ? frame_->hwnd() : nullptr;
    if (info.preview) {
        // Preview pages take the chosen printer's measures, or the screen's when there is none.
        info.dc = app ? app->chosen_printer_dc() : nullptr;
        if (!info.dc)
            info.dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    } else if (!app || !app->ask_printer(owner, info)) {
        info.dc = nullptr;
    }
    info.owns_dc = info.dc != nullptr;
    return info.dc != nullptr;
}

bool View::print_pages(PrintInfo& info)
{
    std::string title = doc_ ? doc_->GetTitle() : std::string("document");
    DOCINFOA di{};
    di.cbSize = sizeof di;
    di.lpszDocName = title.c_str();
    if (StartDocA(info.dc, &di) <= 0)
        return false;
    bool ok = true;
    for (int page : info.page_order()) {
        info.cur_page = page;
        if (StartPage(info.dc) <= 0) {
            ok = false;
            break;
        }
        Dc dc{info.dc, info.dc, true};
        OnPrint(dc, info);
        ok = EndPage(info.dc) > 0;
        if (!ok)
            break;
    }
    if (ok)
        EndDoc(info.dc);
    else
        AbortDoc(info.dc);
    return ok;
}

void View::OnFilePrint()
{
    PrintInfo info;
    if (!OnPreparePrinting(info))
        return;
    print_pages(info);
    if (info.owns_dc)
        DeleteDC(info.dc);
}

void View::OnFilePrintPreview()
{
    auto info = std::make_unique<PrintInfo>();
    info->preview = true;
    if (!OnPreparePrinting(*info))
        return;
    PreviewWindow::open(this, std::move(info));
}

void View::paint()
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd_, &ps);
    Dc dc{hdc, hdc, false};
    OnDraw(dc);
    EndPaint(hwnd_, &ps);
}

LRESULT View::route_view_message(UINT msg, WPARAM wp, LPARAM lp, bool& handled)
{
    handled = true;
    LRESULT result = 0;
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == 0 || HIWORD(wp) == 1) {
            UINT id = LOWORD(wp);
            if (!OnCmdMsg(id) && doc_)
                doc_->OnCmdMsg(id);
            return 0;
        }
        break;
    case WM_NOTIFY:
    case WM_DRAWITEM:
        if (reflect_to_child(msg, wp, lp, result))
            return result;
        break;
    case WM_PAINT: paint(); return 0;
    default: break;
    }
    handled = false;
    return 0;
}

bool FormView::create_view(Frame* frame, Document* doc, UINT ctrl_id)
{
    frame_ = frame;
    doc_ = doc;
    HWND made = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id_), frame->hwnd(),
                                   dialog_proc, reinterpret_cast<LPARAM>(this));
    if (!made)
        return false;
    SetWindowLongPtrA(made, GWLP_ID, ctrl_id);
    ShowWindow(made, SW_SHOW);
    return true;
}

bool FormView::on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    bool handled = false;
    result = route_view_message(msg, wp, lp, handled);
    return handled;
}

void FormView::post_nc_destroy()
{
    delete this;
}

INT_PTR CALLBACK FormView::dialog_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = static_cast<FormView*>(from_handle(hwnd));
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<FormView*>(lp);
        self->bind(hwnd);
        self->DoDataExchange();
        return FALSE;
    }
    if (!self)
        return FALSE;
    if (msg == WM_NCDESTROY) {
        self->unbind();
        self->post_nc_destroy();
        return FALSE;
    }
    LRESULT result = 0;
    if (!self->on_message(msg, wp, lp, result))
        return FALSE;
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

} // namespace fw
