// Display scale: every pixel figure of layout and drawing is a figure at 96 DPI, scaled by a window's DPI.
#pragma once
#include <windows.h>

namespace fw {

const int kBaseDpi = 96;

// A figure at 96 DPI in pixels at dpi, rounded to the nearest pixel.
int scale(int figure, int dpi);
// Pixels at dpi back as a figure at 96 DPI.
int unscale(int pixels, int dpi);
// The DPI of the screen device: the system's, which every window has before it is told otherwise.
int screen_dpi();
// The window's DPI where the system keeps one per window (Windows 10 on), else the screen's.
int window_dpi(HWND hwnd);

// One picture drawn for 100 %, 150 % and 200 % display scale (bitmap resource ids).
struct ScaledBitmap {
    UINT at_100, at_150, at_200;
};
// The bitmap drawn for exactly this DPI, or 0.
UINT drawn_for_dpi(const ScaledBitmap& picture, int dpi);
// The picture at dpi: the drawing made for that scale, else the next larger drawing (the largest
// above 200 %) stretched to the scale.
HBITMAP load_bitmap_for_dpi(const ScaledBitmap& picture, int dpi);

} // namespace fw
