// Scoped owners for GDI objects and device contexts: nothing leaks on an early return.
#pragma once
#include <windows.h>

namespace fw {

template <class H> class GdiObject {
public:
    explicit GdiObject(H h = nullptr) : h_(h) { }
    ~GdiObject() { reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
    GdiObject& operator=(GdiObject&& o) noexcept
    {
        if (this != &o) {
            reset();
            h_ = o.h_;
            o.h_ = nullptr;
        }
        return *this;
    }
    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset(H h = nullptr)
    {
        if (h_)
            DeleteObject(h_);
        h_ = h;
    }
    H release()
    {
        H h = h_;
        h_ = nullptr;
        return h;
    }

private:
    H h_;
};

using Font = GdiObject<HFONT>;
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;

// Selects an object into a device context and puts the previous one back.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) { }
    ~Selected()
    {
        if (old_)
            SelectObject(dc_, old_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) { }
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A memory device context like the given one (the screen's with none).
class MemoryDc {
public:
    explicit MemoryDc(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) { }
    ~MemoryDc()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A point font in tenths of a point for the screen's resolution, as the class library makes it.
HFONT create_point_font(int tenths, const char* face, int weight = FW_NORMAL, int width = 0, HDC for_dc = nullptr);
// The same for a window shown at the given DPI.
HFONT create_screen_font(int tenths, const char* face, int dpi, int weight = FW_NORMAL, int width = 0);

} // namespace fw
