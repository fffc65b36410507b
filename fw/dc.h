// A device context as the drawing code sees it: where to draw and whether it is paper.
#pragma once
#include <windows.h>
#include <vector>

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
    // What the print dialog chose: the pages from..to and the copies, collated or page by page.
    int from_page = 1;
    int to_page = 0xFFFF;
    int copies = 1;
    bool collate = false;
    // The pages in the order they go to the printer.
    std::vector<int> page_order() const;
};

} // namespace fw
