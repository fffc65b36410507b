#include "fw/wnd.h"
#include <mutex>
#include <unordered_map>

namespace fw {

namespace {

// Which object each bound window belongs to. Kept in the process, not in window properties:
// the lookup runs for every message, and under Wine each property read is a round trip to
// the window server (about 16 microseconds, against well under one for this table).
class WndTable {
public:
    void remember(HWND hwnd, Wnd* wnd)
    {
        std::lock_guard<std::mutex> hold(lock_);
        map_[hwnd] = wnd;
    }
    void forget(HWND hwnd)
    {
        std::lock_guard<std::mutex> hold(lock_);
        map_.erase(hwnd);
    }
    Wnd* find(HWND hwnd)
    {
        std::lock_guard<std::mutex> hold(lock_);
        auto it = map_.find(hwnd);
        return it == map_.end() ? nullptr : it->second;
    }

private:
    std::mutex lock_;
    std::unordered_map<HWND, Wnd*> map_;
};

// Never destroyed: objects of static lifetime unbind after every other static is gone.
WndTable& bound_windows()
{
    static WndTable* table = new WndTable;
    return *table;
}

} // namespace

Wnd::~Wnd()
{
    // Unlike a property, an entry does not go with its window: a handle reused later must not find this object.
    if (hwnd_)
        bound_windows().forget(hwnd_);
    if (hwnd_ && IsWindow(hwnd_)) {
        HWND h = hwnd_;
        if (old_proc_)
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_proc_));
        hwnd_ = nullptr;
    }
}

Wnd* Wnd::from_handle(HWND hwnd)
{
    return hwnd ? bound_windows().find(hwnd) : nullptr;
}

void Wnd::register_class(const char* cls, UINT style, HBRUSH background, HICON icon)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), cls, &wc))
        return;
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = static_proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = cls;
    RegisterClassExA(&wc);
}

void Wnd::bind(HWND hwnd)
{
    hwnd_ = hwnd;
    bound_windows().remember(hwnd, this);
}

void Wnd::unbind()
{
    if (hwnd_)
        bound_windows().forget(hwnd_);
    hwnd_ = nullptr;
}

bool Wnd::create(DWORD ex_style, const char* cls, const char* title, DWORD style, int x, int y, int w, int h,
                 HWND parent, HMENU menu_or_id)
{
    HWND made =
        CreateWindowExA(ex_style, cls, title, style, x, y, w, h, parent, menu_or_id, GetModuleHandleA(nullptr), this);
    return made != nullptr;
}

void Wnd::subclass(HWND hwnd)
{
    bind(hwnd);
    old_proc_ =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass_proc)));
}

bool Wnd::on_reflect(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

LRESULT Wnd::wnd_proc(UINT msg, WPARAM wp, LPARAM lp)
{
    return default_proc(msg, wp, lp);
}

LRESULT Wnd::default_proc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (old_proc_)
        return CallWindowProcA(old_proc_, hwnd_, msg, wp, lp);
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT Wnd::dispatch(UINT msg, WPARAM wp, LPARAM lp)
{
    HWND h = hwnd_;
    LRESULT r = wnd_proc(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        bound_windows().forget(h);
        if (old_proc_)
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_proc_));
        old_proc_ = nullptr;
        hwnd_ = nullptr;
        post_nc_destroy();
    }
    return r;
}

LRESULT CALLBACK Wnd::static_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Wnd* self = from_handle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<Wnd*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        if (self)
            self->bind(hwnd);
    }
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    return self->dispatch(msg, wp, lp);
}

LRESULT CALLBACK Wnd::subclass_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Wnd* self = from_handle(hwnd);
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    return self->dispatch(msg, wp, lp);
}

bool reflect_to_child(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    HWND child = nullptr;
    if (msg == WM_NOTIFY)
        child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
    else if (msg == WM_DRAWITEM)
        child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
    Wnd* target = Wnd::from_handle(child);
    return target && target->on_reflect(msg, wp, lp, result);
}

} // namespace fw
