#include "fw/dpi.h"
#include "fw/gdi.h"
#include "fw/system_dll.h"

namespace fw {

namespace {

// The DPI each drawing of a ScaledBitmap is made for.
const int kDrawnFor[] = {kBaseDpi, kBaseDpi * 3 / 2, kBaseDpi * 2};

UINT drawing(const ScaledBitmap& picture, int i)
{
    const UINT ids[] = {picture.at_100, picture.at_150, picture.at_200};
    return ids[i];
}

HBITMAP load_bitmap(UINT id)
{
    return LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

HBITMAP stretched(HBITMAP source, int w, int h)
{
    BITMAP bm{};
    if (!GetObjectA(source, sizeof bm, &bm) || w <= 0 || h <= 0)
        return nullptr;
    HBITMAP made = nullptr;
    {
        WindowDc screen(nullptr);
        made = CreateCompatibleBitmap(screen.get(), w, h);
    }
    MemoryDc from, to;
    if (!made || !from.get() || !to.get())
        return made;
    Selected in(from.get(), source), out(to.get(), made);
    SetStretchBltMode(to.get(), HALFTONE);
    SetBrushOrgEx(to.get(), 0, 0, nullptr);
    StretchBlt(to.get(), 0, 0, w, h, from.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    return made;
}

} // namespace

int scale(int figure, int dpi)
{
    return MulDiv(figure, dpi, kBaseDpi);
}

int unscale(int pixels, int dpi)
{
    return dpi > 0 ? MulDiv(pixels, kBaseDpi, dpi) : pixels;
}

int screen_dpi()
{
    WindowDc screen(nullptr);
    int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : kBaseDpi;
    return dpi > 0 ? dpi : kBaseDpi;
}

int window_dpi(HWND hwnd)
{
    // Looked up at run time: the program also runs on systems older than the function.
    using GetDpiForWindowFn = UINT WINAPI(HWND);
    static GetDpiForWindowFn* const get_dpi = system_function<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
    UINT dpi = get_dpi && hwnd ? get_dpi(hwnd) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : screen_dpi();
}

UINT drawn_for_dpi(const ScaledBitmap& picture, int dpi)
{
    for (int i = 0; i < 3; ++i)
        if (kDrawnFor[i] == dpi)
            return drawing(picture, i);
    return 0;
}

HBITMAP load_bitmap_for_dpi(const ScaledBitmap& picture, int dpi)
{
    if (UINT exact = drawn_for_dpi(picture, dpi))
        return load_bitmap(exact);
    // The smallest drawing larger than needed, or the largest one.
    int pick = 2;
    for (int i = 2; i >= 0; --i)
        if (kDrawnFor[i] > dpi)
            pick = i;
    Bitmap source(load_bitmap(drawing(picture, pick)));
    BITMAP bm{};
    if (!source || !GetObjectA(source.get(), sizeof bm, &bm))
        return nullptr;
    return stretched(source.get(), MulDiv(bm.bmWidth, dpi, kDrawnFor[pick]), MulDiv(bm.bmHeight, dpi, kDrawnFor[pick]));
}

} // namespace fw
