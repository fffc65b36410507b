// A C++ object bound to one window: created windows, dialogs and subclassed controls.
#pragma once
#include <windows.h>

namespace fw {

class Wnd {
public:
    Wnd() = default;
    virtual ~Wnd();
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;

    HWND hwnd() const { return hwnd_; }
    bool exists() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

    // Creates a window of a class registered by register_class(); the object receives every message.
    bool create(DWORD ex_style, const char* cls, const char* title, DWORD style, int x, int y, int w, int h,
                HWND parent, HMENU menu_or_id);
    // Routes an existing window's messages (a control) through this object; the old procedure stays the default.
    void subclass(HWND hwnd);

    // Notifications and owner-draw messages that the parent hands back to the control they concern.
    virtual bool on_reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    static Wnd* from_handle(HWND hwnd);
    static void register_class(const char* cls, UINT style = CS_DBLCLKS, HBRUSH background = nullptr,
                               HICON icon = nullptr);

protected:
    virtual LRESULT wnd_proc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT default_proc(UINT msg, WPARAM wp, LPARAM lp);
    // Called after the last message; objects that own themselves delete themselves here.
    virtual void post_nc_destroy() { }
    void bind(HWND hwnd);
    void unbind();

    HWND hwnd_ = nullptr;
    WNDPROC old_proc_ = nullptr;

private:
    static LRESULT CALLBACK static_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK subclass_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT dispatch(UINT msg, WPARAM wp, LPARAM lp);
};

// Hands WM_NOTIFY, WM_DRAWITEM and WM_MEASUREITEM back to the control object they come from.
bool reflect_to_child(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

} // namespace fw
