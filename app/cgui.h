// The settings holder: every setting of the registry key, the colours, the fonts and the page frame.
#pragma once
#include <windows.h>
#include "fw/dpi.h"
#include "fw/gdi.h"

extern const char* const settings_key;

class CGUI {
public:
    CGUI();
    ~CGUI();
    CGUI(const CGUI&) = delete;
    CGUI& operator=(const CGUI&) = delete;

    // 0xRRGGBB as stored becomes display colour i.
    void set_col(unsigned value, int i);
    // Page frame and units per millimetre of a printer or display device.
    void set_page(HDC attrib_dc);
    // The DPI the main window is shown at: the fonts are made anew for it.
    void set_dpi(int new_dpi);
    // A figure of layout or drawing at 96 DPI in pixels at the window's DPI.
    int px(int figure) const { return fw::scale(figure, dpi); }

    COLORREF col[4] = {};
    fw::Font bold_font;
    fw::Font list_font;
    char media_file[256] = "";
    int xo = 0, yo = 0, xs = 0, ys = 0, df = 0, fs = 0, ft = 0, ss = 0, tm = 0, wm = 0, wf = 0;
    // 1: the notification icon and the due-date notifications.
    int wn = 0;
    int page_left = 0, page_top = 0, page_right = 0, page_bottom = 0;
    int unit_x = 1, unit_y = 1;
    // Until the main window says otherwise, the screen's.
    int dpi = fw::kBaseDpi;

private:
    void load_integers_and_colours();
    void load_media_file();
    void create_fonts();
};
