// A device context as the drawing code sees it: where to draw and whether it is paper.
#pragma once
#include <windows.h>

namespace fw {

struct Dc {
    HDC hdc = nullptr;
    // Device capabilities come from here (the printer while previewing into a metafile).
    HDC attrib = nullptr;
    bool printing = false;
    int caps(int index) const { return GetDeviceCaps(attrib ? attrib : hdc, index); }
};

struct PrintInfo {
    int min_page = 1;
    int max_page = 0xFFFF;
    int cur_page = 1;
    bool preview = false;
    // When set, printing uses this device context and shows no dialog (tests, preview).
    HDC direct_dc = nullptr;
    HDC dc = nullptr;
    bool owns_dc = false;
    RECT draw_rect{};
};

} // namespace fw
