#include "shots.h"
#include <cstdio>
#include <cstring>
#include "input.h"

namespace e2e {

namespace {

const int kDarkSum = 3 * 128;

struct AreaSearch {
    DWORD pid;
    RECT area;
    bool any;
};

BOOL CALLBACK add_window(HWND hwnd, LPARAM lp)
{
    auto* search = reinterpret_cast<AreaSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid != search->pid || !IsWindowVisible(hwnd) || std::strcmp(cls, "tooltips_class32") == 0)
        return TRUE;
    RECT rc = painted_rect(hwnd);
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return TRUE;
    if (!search->any)
        search->area = rc;
    else
        UnionRect(&search->area, &search->area, &rc);
    search->any = true;
    return TRUE;
}

} // namespace

Shot Shot::take(const RECT& area)
{
    Shot shot;
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&shot.area_, &area, &screen);
    shot.width_ = shot.area_.right - shot.area_.left;
    shot.height_ = shot.area_.bottom - shot.area_.top;
    if (shot.empty())
        return Shot();
    shot.stride_ = (shot.width_ * 3 + 3) & ~3;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width_;
    info.bmiHeader.biHeight = -shot.height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen_dc = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen_dc);
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bmp && bits) {
        HGDIOBJ old = SelectObject(mem, bmp);
        copied = BitBlt(mem, 0, 0, shot.width_, shot.height_, screen_dc, shot.area_.left, shot.area_.top,
                        SRCCOPY | CAPTUREBLT) != 0;
        GdiFlush();
        if (copied) {
            const auto* p = static_cast<const unsigned char*>(bits);
            shot.bgr_.assign(p, p + static_cast<size_t>(shot.stride_) * shot.height_);
        }
        SelectObject(mem, old);
        DeleteObject(bmp);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen_dc);
    return copied ? shot : Shot();
}

Shot Shot::take_settled(const RECT& area)
{
    Shot last = take(area);
    Shot settled;
    wait_for(
        [&] {
            Shot now = take(area);
            bool same = now == last;
            last = now;
            if (same)
                settled = now;
            return same;
        },
        3000);
    return settled.empty() ? last : settled;
}

bool Shot::contains(int x, int y) const
{
    return !empty() && x >= area_.left && x < area_.right && y >= area_.top && y < area_.bottom;
}

COLORREF Shot::pixel(int x, int y) const
{
    if (!contains(x, y))
        return CLR_INVALID;
    const unsigned char* p = &bgr_[static_cast<size_t>(y - area_.top) * stride_ + (x - area_.left) * 3];
    return RGB(p[2], p[1], p[0]);
}

int Shot::dark_pixels(const RECT& screen) const
{
    int n = 0;
    for (int y = screen.top; y < screen.bottom; ++y)
        for (int x = screen.left; x < screen.right; ++x) {
            COLORREF c = pixel(x, y);
            if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < kDarkSum)
                ++n;
        }
    return n;
}

bool Shot::save_bmp(const std::string& path) const
{
    if (empty())
        return false;
    // A BMP stores its rows bottom to top.
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER head{};
    head.biSize = sizeof head;
    head.biWidth = width_;
    head.biHeight = height_;
    head.biPlanes = 1;
    head.biBitCount = 24;
    head.biCompression = BI_RGB;
    head.biSizeImage = static_cast<DWORD>(bgr_.size());
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof head;
    file.bfSize = file.bfOffBits + head.biSizeImage;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&head, sizeof head, 1, f) == 1;
    for (int y = height_ - 1; ok && y >= 0; --y)
        ok = std::fwrite(&bgr_[static_cast<size_t>(y) * stride_], stride_, 1, f) == 1;
    return std::fclose(f) == 0 && ok;
}

bool Shot::operator==(const Shot& other) const
{
    return EqualRect(&area_, &other.area_) && bgr_ == other.bgr_;
}

RECT painted_rect(HWND hwnd)
{
    RECT window, client{};
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    POINT tl{client.left, client.top}, br{client.right, client.bottom};
    ClientToScreen(hwnd, &tl);
    ClientToScreen(hwnd, &br);
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    int border = window.bottom - br.y;
    int caption = (style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
    LONG top = window.top + border + caption;
    return RECT{tl.x, top < tl.y ? top : tl.y, br.x, br.y};
}

RECT process_area(DWORD pid)
{
    AreaSearch search{pid, RECT{}, false};
    EnumWindows(add_window, reinterpret_cast<LPARAM>(&search));
    return search.area;
}

} // namespace e2e
