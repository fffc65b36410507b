#include "fw/preview.h"
#include "fw/dpi.h"
#include "fw/frame.h"
#include "fw/gdi.h"
#include "fw/view.h"

namespace fw {

namespace {

PreviewWindow* g_active = nullptr;
enum { kPrint = 1, kPrev, kNext, kClose };
const char* const kButtonText[] = {"Print...", "Prev Page", "Next Page", "Close"};
// Figures at 96 DPI: the button bar, the room around the page, the buttons and their pitch.
const int kBar = 32;
const int kPageMargin = 40;
const int kButtonPitch = 90;
const int kButtonWidth = 86;
const int kButtonHeight = 24;
const int kGap = 4;
const int kLabelGap = 20;

} // namespace

PreviewWindow* PreviewWindow::active()
{
    return g_active;
}

PreviewWindow* PreviewWindow::open(View* view, std::unique_ptr<PrintInfo> info)
{
    if (g_active)
        g_active->close();
    register_class("fw.Preview", CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
    auto* win = new PreviewWindow(view, std::move(info));
    HWND owner = view->frame() ? view->frame()->hwnd() : nullptr;
    RECT rc{100, 60, 800, 760};
    if (owner)
        GetWindowRect(owner, &rc);
    int w = rc.right - rc.left < 500 ? 500 : rc.right - rc.left;
    int h = rc.bottom - rc.top < 600 ? 600 : rc.bottom - rc.top;
    if (!win->create(0, "fw.Preview", "Print Preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, rc.left,
                     rc.top, w, h, owner, nullptr)) {
        delete win;
        return nullptr;
    }
    g_active = win;
    return win;
}

PreviewWindow::PreviewWindow(View* view, std::unique_ptr<PrintInfo> info) : view_(view), info_(std::move(info))
{
    page_ = info_->min_page;
}

PreviewWindow::~PreviewWindow()
{
    if (page_emf_)
        DeleteEnhMetaFile(page_emf_);
    if (info_->owns_dc && info_->dc)
        DeleteDC(info_->dc);
    if (g_active == this)
        g_active = nullptr;
}

void PreviewWindow::render_page()
{
    if (page_emf_)
        DeleteEnhMetaFile(page_emf_);
    page_emf_ = nullptr;
    HDC ref = info_->dc;
    // The metafile frame is the whole page, in hundredths of a millimetre.
    RECT frame{0, 0, GetDeviceCaps(ref, HORZSIZE) * 100, GetDeviceCaps(ref, VERTSIZE) * 100};
    HDC emf = CreateEnhMetaFileA(ref, nullptr, &frame, nullptr);
    if (!emf)
        return;
    info_->cur_page = page_;
    Dc dc{emf, ref, true};
    view_->OnPrint(dc, *info_);
    page_emf_ = CloseEnhMetaFile(emf);
}

RECT PreviewWindow::page_rect() const
{
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int bar = px(kBar);
    int avail_w = rc.right - px(kPageMargin), avail_h = rc.bottom - bar - px(kPageMargin);
    int pw = GetDeviceCaps(info_->dc, HORZRES), ph = GetDeviceCaps(info_->dc, VERTRES);
    if (pw <= 0 || ph <= 0 || avail_w <= 0 || avail_h <= 0)
        return RECT{0, 0, 0, 0};
    int w = avail_w, h = MulDiv(avail_w, ph, pw);
    if (h > avail_h) {
        h = avail_h;
        w = MulDiv(avail_h, pw, ph);
    }
    int x = (rc.right - w) / 2, y = bar + (rc.bottom - bar - h) / 2;
    return RECT{x, y, x + w, y + h};
}

void PreviewWindow::paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (!page_emf_)
        render_page();
    RECT page = page_rect();
    FillRect(dc, &page, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (page_emf_)
        PlayEnhMetaFile(dc, page_emf_, &page);
    FrameRect(dc, &page, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    char label[48];
    wsprintfA(label, "Page %d of %d", page_, page_count());
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, px(4 * kButtonPitch + kLabelGap), px(2 * kGap), label, lstrlenA(label));
    EndPaint(hwnd_, &ps);
}

void PreviewWindow::layout_buttons()
{
    for (int i = 0; i < 4; ++i)
        if (buttons_[i])
            MoveWindow(buttons_[i], px(kGap + i * kButtonPitch), px(kGap), px(kButtonWidth), px(kButtonHeight), TRUE);
    EnableWindow(buttons_[kPrev - 1], page_ > info_->min_page);
    EnableWindow(buttons_[kNext - 1], page_ < info_->max_page);
}

int PreviewWindow::px(int figure) const
{
    return scale(figure, view_ && view_->frame() ? view_->frame()->dpi() : kBaseDpi);
}

void PreviewWindow::go_to(int page)
{
    if (page < info_->min_page || page > info_->max_page || page == page_)
        return;
    page_ = page;
    render_page();
    layout_buttons();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void PreviewWindow::print()
{
    View* view = view_;
    close();
    view->OnFilePrint();
}

void PreviewWindow::close()
{
    DestroyWindow(hwnd_);
}

LRESULT PreviewWindow::wnd_proc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        for (int i = 0; i < 4; ++i)
            buttons_[i] = CreateWindowExA(0, "BUTTON", kButtonText[i], WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0,
                                          0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)),
                                          GetModuleHandleA(nullptr), nullptr);
        layout_buttons();
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case kPrint: print(); return 0;
        case kPrev: go_to(page_ - 1); return 0;
        case kNext: go_to(page_ + 1); return 0;
        case kClose: close(); return 0;
        default: break;
        }
        break;
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE) {
            close();
            return 0;
        }
        if (wp == VK_NEXT) {
            go_to(page_ + 1);
            return 0;
        }
        if (wp == VK_PRIOR) {
            go_to(page_ - 1);
            return 0;
        }
        break;
    case WM_PAINT: paint(); return 0;
    default: break;
    }
    return default_proc(msg, wp, lp);
}

void PreviewWindow::post_nc_destroy()
{
    delete this;
}

} // namespace fw
