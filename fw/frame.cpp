#include "fw/frame.h"
#include <commctrl.h>
#include "fw/app.h"
#include "fw/command_ids.h"
#include "fw/doc.h"
#include "fw/gdi.h"
#include "fw/view.h"

namespace fw {

namespace {

const UINT kViewId = ID_VIEW_PANE;
const UINT kIdleMessage = IDS_IDLE_MESSAGE;
// A tool bar button around a 16 x 16 image at 96 DPI, as the control makes it.
const int kButtonWidth = 23;
const int kButtonHeight = 22;
// Room around the bar's buttons, and beside each status bar indicator's text.
const int kBarMargin = 4;
const int kPaneMargin = 12;

std::string prompt_part(UINT id, bool tip)
{
    std::string text = load_string(id);
    size_t nl = text.find('\n');
    if (nl == std::string::npos)
        return tip ? std::string() : text;
    return tip ? text.substr(nl + 1) : text.substr(0, nl);
}

} // namespace

// ---- tool bar

namespace {

std::vector<UINT> button_ids(UINT resource_id)
{
    std::vector<UINT> ids;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(resource_id), MAKEINTRESOURCEA(10));
    HGLOBAL data = res ? LoadResource(module, res) : nullptr;
    const auto* words = data ? static_cast<const WORD*>(LockResource(data)) : nullptr;
    DWORD count = words ? SizeofResource(module, res) / sizeof(WORD) : 0;
    for (DWORD i = 0; i < count; ++i)
        ids.push_back(words[i]);
    return ids;
}

} // namespace

bool ToolBar::create(HWND parent, UINT ctrl_id, UINT resource_id, const ScaledBitmap& images, bool flat, int dpi)
{
    const std::vector<UINT> buttons = button_ids(resource_id);
    // The frame places the bar itself, on whichever side it is docked.
    DWORD style = WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | TBSTYLE_TOOLTIPS |
                  (flat ? TBSTYLE_FLAT : 0);
    HWND bar =
        CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctrl_id)), GetModuleHandleA(nullptr), nullptr);
    if (!bar)
        return false;
    subclass(bar);
    ctrl_id_ = ctrl_id;
    resource_id_ = resource_id;
    images_ = images;
    dpi_ = dpi;
    SendMessageA(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    int images_count = 0;
    for (UINT id : buttons)
        images_count += id != 0;
    add_images(images_count);
    std::vector<TBBUTTON> tb;
    int image = 0;
    for (UINT id : buttons) {
        TBBUTTON b{};
        if (id == 0) {
            b.fsStyle = TBSTYLE_SEP;
        } else {
            b.iBitmap = image++;
            b.idCommand = static_cast<int>(id);
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = TBSTYLE_BUTTON;
        }
        tb.push_back(b);
    }
    SendMessageA(hwnd_, TB_ADDBUTTONS, tb.size(), reinterpret_cast<LPARAM>(tb.data()));
    SendMessageA(hwnd_, TB_AUTOSIZE, 0, 0);
    return true;
}

void ToolBar::add_images(int count)
{
    const int image = scale(16, dpi_);
    SendMessageA(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(image, image));
    // A strip drawn for this scale comes from the resource, as the control loads it; any other is stretched.
    TBADDBITMAP add{GetModuleHandleA(nullptr), drawn_for_dpi(images_, dpi_)};
    if (!add.nID) {
        stretched_.reset(load_bitmap_for_dpi(images_, dpi_));
        add = TBADDBITMAP{nullptr, reinterpret_cast<UINT_PTR>(stretched_.get())};
    }
    SendMessageA(hwnd_, TB_ADDBITMAP, count, reinterpret_cast<LPARAM>(&add));
    SendMessageA(hwnd_, TB_SETBUTTONSIZE, 0, MAKELPARAM(scale(kButtonWidth, dpi_), scale(kButtonHeight, dpi_)));
}

void ToolBar::set_dpi(int dpi)
{
    if (!hwnd_ || dpi == dpi_)
        return;
    // The control takes no images of another size once it has some: a new bar takes the old one's
    // place, look and button states.
    HWND parent = GetParent(hwnd_);
    const bool visible = IsWindowVisible(hwnd_) != FALSE;
    const bool flat = (GetWindowLongA(hwnd_, GWL_STYLE) & TBSTYLE_FLAT) != 0;
    std::vector<TBBUTTON> states(static_cast<size_t>(SendMessageA(hwnd_, TB_BUTTONCOUNT, 0, 0)));
    for (size_t i = 0; i < states.size(); ++i)
        SendMessageA(hwnd_, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&states[i]));
    DestroyWindow(hwnd_);
    if (!create(parent, ctrl_id_, resource_id_, images_, flat, dpi))
        return;
    for (const TBBUTTON& b : states)
        if (b.idCommand)
            SendMessageA(hwnd_, TB_SETSTATE, b.idCommand, MAKELPARAM(b.fsState & ~TBSTATE_WRAP, 0));
    if (!visible)
        ShowWindow(hwnd_, SW_HIDE);
    dock(side_);
}

void ToolBar::dock(Side side)
{
    side_ = side;
    bool vertical = side == Side::left || side == Side::right;
    LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    SetWindowLongA(hwnd_, GWL_STYLE,
                   vertical ? (style | CCS_VERT | TBSTYLE_WRAPABLE) : (style & ~(CCS_VERT | TBSTYLE_WRAPABLE)));
    // A vertical bar holds one button a row.
    int count = static_cast<int>(SendMessageA(hwnd_, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        SendMessageA(hwnd_, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_STATE | TBIF_BYINDEX;
        info.fsState = static_cast<BYTE>(vertical ? (b.fsState | TBSTATE_WRAP) : (b.fsState & ~TBSTATE_WRAP));
        SendMessageA(hwnd_, TB_SETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
    }
    HWND parent = GetParent(hwnd_);
    RECT rc;
    GetClientRect(parent, &rc);
    SendMessageA(parent, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

SIZE ToolBar::extent() const
{
    SIZE size{0, 0};
    int count = static_cast<int>(SendMessageA(hwnd_, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT r{};
        if (SendMessageA(hwnd_, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) {
            size.cx = r.right > size.cx ? r.right : size.cx;
            size.cy = r.bottom > size.cy ? r.bottom : size.cy;
        }
    }
    return SIZE{size.cx + scale(kBarMargin, dpi_), size.cy + scale(kBarMargin, dpi_)};
}

ToolBar::Side ToolBar::nearest_side(POINT pt) const
{
    HWND parent = GetParent(hwnd_);
    ScreenToClient(parent, &pt);
    RECT rc;
    GetClientRect(parent, &rc);
    int to_left = pt.x, to_right = rc.right - pt.x, to_top = pt.y, to_bottom = rc.bottom - pt.y;
    int best = to_top;
    Side side = Side::top;
    if (to_bottom < best) {
        best = to_bottom;
        side = Side::bottom;
    }
    if (to_left < best) {
        best = to_left;
        side = Side::left;
    }
    if (to_right < best)
        side = Side::right;
    return side;
}

LRESULT ToolBar::wnd_proc(UINT msg, WPARAM wp, LPARAM lp)
{
    POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    switch (msg) {
    case WM_LBUTTONDOWN:
        // A press beside the buttons picks the bar up.
        if (SendMessageA(hwnd_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)) < 0) {
            dragging_ = true;
            SetCapture(hwnd_);
            SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (dragging_) {
            SetCursor(LoadCursor(nullptr, IDC_SIZEALL));
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (dragging_) {
            dragging_ = false;
            ReleaseCapture();
            ClientToScreen(hwnd_, &pt);
            Side side = nearest_side(pt);
            if (side != side_)
                dock(side);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED: dragging_ = false; break;
    default: break;
    }
    return default_proc(msg, wp, lp);
}

void ToolBar::press(UINT cmd, bool down)
{
    if (hwnd_)
        SendMessageA(hwnd_, TB_PRESSBUTTON, cmd, MAKELPARAM(down ? TRUE : FALSE, 0));
}

bool ToolBar::pressed(UINT cmd) const
{
    return hwnd_ && SendMessageA(hwnd_, TB_ISBUTTONPRESSED, cmd, 0) != 0;
}

// ---- status bar

bool StatusBar::create(HWND parent, UINT ctrl_id, const std::vector<UINT>& indicators, int dpi)
{
    dpi_ = dpi;
    hwnd_ = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctrl_id)), GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_)
        return false;
    indicators_ = indicators;
    layout();
    set_message(load_string(kIdleMessage).c_str());
    return true;
}

void StatusBar::layout()
{
    if (!hwnd_)
        return;
    SendMessageA(hwnd_, WM_SIZE, 0, 0);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    std::vector<int> widths(indicators_.size());
    {
        WindowDc dc(hwnd_);
        Selected font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
        for (size_t i = 0; i < indicators_.size(); ++i) {
            std::string text = load_string(indicators_[i]);
            SIZE sz{};
            GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &sz);
            widths[i] = sz.cx + scale(kPaneMargin, dpi_);
        }
    }
    // Right edges: the message pane takes what the indicators leave; the last part runs to the grip.
    size_t n = indicators_.size();
    std::vector<int> right(n + 1);
    int x = rc.right - GetSystemMetrics(SM_CXVSCROLL);
    right[n] = -1;
    for (size_t i = n; i-- > 0;) {
        x -= widths[i];
        right[i] = x;
    }
    SendMessageA(hwnd_, SB_SETPARTS, right.size(), reinterpret_cast<LPARAM>(right.data()));
    update_indicators();
}

void StatusBar::set_dpi(int dpi)
{
    dpi_ = dpi;
    layout();
}

void StatusBar::set_message(const char* text)
{
    if (hwnd_)
        SendMessageA(hwnd_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

std::string StatusBar::message() const
{
    char buf[512] = "";
    if (hwnd_ && LOWORD(SendMessageA(hwnd_, SB_GETTEXTLENGTHA, 0, 0)) < sizeof buf)
        SendMessageA(hwnd_, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buf));
    return buf;
}

void StatusBar::update_indicators()
{
    if (!hwnd_)
        return;
    static const int keys[] = {VK_CAPITAL, VK_NUMLOCK, VK_SCROLL};
    for (size_t i = 0; i < indicators_.size() && i < 3; ++i) {
        std::string want = (GetKeyState(keys[i]) & 1) ? load_string(indicators_[i]) : std::string();
        char have[16] = "";
        if (LOWORD(SendMessageA(hwnd_, SB_GETTEXTLENGTHA, i + 1, 0)) < sizeof have)
            SendMessageA(hwnd_, SB_GETTEXTA, i + 1, reinterpret_cast<LPARAM>(have));
        if (want != have)
            SendMessageA(hwnd_, SB_SETTEXTA, i + 1, reinterpret_cast<LPARAM>(want.c_str()));
    }
}

// ---- frame

Frame::Frame() = default;
Frame::~Frame() = default;

const char* Frame::window_class()
{
    return "fw.Frame";
}

bool Frame::load_frame(UINT resource_id, Document* doc)
{
    resource_id_ = resource_id;
    doc_ = doc;
    register_class(window_class(), CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource_id));
    std::string title = load_string(resource_id);
    return create(0, window_class(), title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu);
}

int Frame::OnCreate(CREATESTRUCTA*)
{
    App* app = App::current();
    if (!app || !app->doc_template())
        return -1;
    view_ = static_cast<View*>(RuntimeClass::create(app->doc_template()->view_class().c_str()));
    if (!view_ || !view_->create_view(this, doc_, kViewId))
        return -1;
    return 0;
}

void Frame::update_title()
{
    std::string app_title = load_string(resource_id_);
    std::string title = doc_ && !doc_->GetTitle().empty() ? doc_->GetTitle() + " - " + app_title : app_title;
    SetWindowTextA(hwnd_, title.c_str());
}

void Frame::recalc_layout()
{
    RECT rc;
    GetClientRect(hwnd_, &rc);
    RECT free = rc;
    if (status_ && status_->hwnd() && IsWindowVisible(status_->hwnd())) {
        status_->layout();
        RECT sr;
        GetWindowRect(status_->hwnd(), &sr);
        free.bottom -= sr.bottom - sr.top;
    }
    if (tools_ && tools_->hwnd() && IsWindowVisible(tools_->hwnd())) {
        SIZE need = tools_->extent();
        switch (tools_->side()) {
        case ToolBar::Side::top:
            MoveWindow(tools_->hwnd(), 0, 0, rc.right, need.cy, TRUE);
            free.top += need.cy;
            break;
        case ToolBar::Side::bottom:
            MoveWindow(tools_->hwnd(), 0, free.bottom - need.cy, rc.right, need.cy, TRUE);
            free.bottom -= need.cy;
            break;
        case ToolBar::Side::left:
            MoveWindow(tools_->hwnd(), 0, 0, need.cx, free.bottom, TRUE);
            free.left += need.cx;
            break;
        case ToolBar::Side::right:
            MoveWindow(tools_->hwnd(), rc.right - need.cx, 0, need.cx, free.bottom, TRUE);
            free.right -= need.cx;
            break;
        }
    }
    if (view_ && view_->hwnd())
        MoveWindow(view_->hwnd(), free.left, free.top, free.right > free.left ? free.right - free.left : 0,
                   free.bottom > free.top ? free.bottom - free.top : 0, TRUE);
}

void Frame::show_bar(HWND bar, bool show)
{
    if (!bar)
        return;
    ShowWindow(bar, show ? SW_SHOW : SW_HIDE);
    recalc_layout();
}

void Frame::show_prompt(UINT id)
{
    if (!status_)
        return;
    std::string text = id ? prompt_part(id, false) : std::string();
    status_->set_message(text.empty() ? load_string(kIdleMessage).c_str() : text.c_str());
}

bool Frame::OnCmdMsg(UINT id)
{
    if (id == ID_VIEW_TOOLBAR && tools_) {
        show_bar(tools_->hwnd(), !IsWindowVisible(tools_->hwnd()));
        return true;
    }
    if (id == ID_VIEW_STATUS_BAR && status_) {
        show_bar(status_->hwnd(), !IsWindowVisible(status_->hwnd()));
        return true;
    }
    return false;
}

bool Frame::route_command(UINT id)
{
    if (view_ && view_->OnCmdMsg(id))
        return true;
    if (doc_ && doc_->OnCmdMsg(id))
        return true;
    if (OnCmdMsg(id))
        return true;
    App* app = App::current();
    return app && app->OnCmdMsg(id);
}

void Frame::OnClose()
{
    Document* doc = doc_;
    if (doc) {
        doc->PreCloseFrame(this);
        if (doc->close_cancelled())
            return;
    }
    // The window's destruction deletes this object; only locals are used afterwards.
    DestroyWindow(hwnd_);
    if (App* app = App::current(); app && app->doc_template() && app->doc_template()->document() == doc)
        app->doc_template()->document_closed();
    delete doc;
}

void Frame::OnDpiChanged(int dpi)
{
    if (tools_)
        tools_->set_dpi(dpi);
    if (status_)
        status_->set_dpi(dpi);
    if (view_)
        view_->OnDpiChanged(dpi);
}

void Frame::on_dpi_changed(int dpi, const RECT* suggested)
{
    if (dpi <= 0)
        return;
    dpi_ = dpi;
    OnDpiChanged(dpi);
    if (suggested)
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Also when the rectangle stays: everything inside has new sizes.
    recalc_layout();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Frame::OnEndSession()
{
    ending_session_ = true;
    if (doc_)
        doc_->PreCloseFrame(this);
}

void Frame::on_init_menu_popup(HMENU menu)
{
    auto check = [menu](UINT id, HWND bar) {
        if (bar)
            CheckMenuItem(menu, id, MF_BYCOMMAND | (IsWindowVisible(bar) ? MF_CHECKED : MF_UNCHECKED));
    };
    check(ID_VIEW_TOOLBAR, tools_ ? tools_->hwnd() : nullptr);
    check(ID_VIEW_STATUS_BAR, status_ ? status_->hwnd() : nullptr);
}

bool Frame::on_notify(NMHDR* hdr, LRESULT& result)
{
    if (hdr->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(hdr);
        tip_ = prompt_part(static_cast<UINT>(hdr->idFrom), true);
        info->lpszText = const_cast<char*>(tip_.c_str());
        result = 0;
        return true;
    }
    if (tools_ && hdr->hwndFrom == tools_->hwnd() && hdr->code == TBN_HOTITEMCHANGE) {
        auto* hot = reinterpret_cast<NMTBHOTITEM*>(hdr);
        show_prompt((hot->dwFlags & HICF_LEAVING) ? 0 : static_cast<UINT>(hot->idNew));
        result = 0;
        return true;
    }
    return false;
}

LRESULT Frame::wnd_proc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE: dpi_ = window_dpi(hwnd_); return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lp));
    case WM_DPICHANGED: on_dpi_changed(LOWORD(wp), reinterpret_cast<const RECT*>(lp)); return 0;
    case WM_SIZE: recalc_layout(); return 0;
    case WM_COMMAND:
        if (HIWORD(wp) == 0 || HIWORD(wp) == 1) {
            route_command(LOWORD(wp));
            return 0;
        }
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (on_notify(reinterpret_cast<NMHDR*>(lp), result))
            return result;
        break;
    }
    case WM_MENUSELECT:
        if (HIWORD(wp) == 0xFFFF && lp == 0)
            show_prompt(0);
        else if (!(HIWORD(wp) & MF_POPUP) && !(HIWORD(wp) & MF_SEPARATOR))
            show_prompt(LOWORD(wp));
        return 0;
    case WM_EXITMENULOOP: show_prompt(0); return 0;
    case WM_INITMENUPOPUP: on_init_menu_popup(reinterpret_cast<HMENU>(wp)); return 0;
    case WM_SETFOCUS:
        if (view_ && view_->hwnd())
            SetFocus(view_->hwnd());
        return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE && doc_)
            doc_->OnActivateFrame();
        break;
    // Nothing here needs asking: the end of the session saves as a close does.
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        if (wp)
            OnEndSession();
        else
            ending_session_ = false;
        return 0;
    case WM_DESTROY:
        if (App* app = App::current(); app && app->main_frame() == this) {
            app->set_main_frame(nullptr);
            PostQuitMessage(0);
        }
        return 0;
    default: break;
    }
    return default_proc(msg, wp, lp);
}

void Frame::post_nc_destroy()
{
    delete this;
}

} // namespace fw
