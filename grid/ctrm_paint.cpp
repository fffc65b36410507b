// Month and year grids on screen and on paper: one code path, the device context decides.
#include <algorithm>
#include <string>
#include <string_view>
#include "fw/log.h"
#include "app/mapp.h"
#include "fw/dpi.h"
#include "fw/gdi.h"
#include "grid/ctrm.h"
#include "core/day_texts.h"

namespace {

// At 96 DPI.
const int kTabStripHeight = 24;
const int kHeadingRoomMm = 24;
const int kHeadingTenths = 150;
const COLORREF kBlack = RGB(0, 0, 0);

// Point sizes in tenths of the three grid fonts: weekday header or month names, day numbers, entry texts.
struct FontSizes {
    int a, b, c;
};

FontSizes font_sizes(int mode, int cell_h, bool printing, int unit_y)
{
    // Paper sizes follow the printer's dots per millimetre, not the cells.
    if (printing)
        return {50 * unit_y, 25 * unit_y, 20 * unit_y};
    if (mode == 1)
        return {10 * cell_h / 3, std::min(10 * cell_h / 3, 120), std::min(2 * cell_h, 85)};
    return {7 * cell_h, std::min(5 * cell_h, 120), std::min(2 * cell_h, 85)};
}

struct GridFonts {
    GridFonts(const FontSizes& s, int dpi)
        : a(fw::create_screen_font(s.a, "Courier New", dpi)),
          b(fw::create_screen_font(s.b, "Arial", dpi)),
          c(fw::create_screen_font(s.c, "Arial", dpi))
    { }
    fw::Font a, b, c;
};

HDC attrib_of(const fw::Dc& dc)
{
    return dc.attrib ? dc.attrib : dc.hdc;
}

void draw_text(HDC dc, int x, int y, const std::string& text)
{
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void draw_line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void fill_solid_rect(HDC dc, int x, int y, int w, int h, COLORREF colour)
{
    RECT rc{x, y, x + w, y + h};
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

// A highlighted cell: filled with the colour, outlined with the pen the device context holds.
void fill_cell(HDC dc, COLORREF colour, int left, int top, int right, int bottom)
{
    fw::Brush brush(CreateSolidBrush(colour));
    fw::Selected selected(dc, brush.get());
    Rectangle(dc, left, top, right, bottom);
}

// The seven weekday labels centred over the columns, starting at (x, y).
void draw_weekday_row(HDC dc, const CTrm& grid, HFONT font, int x, int y, COLORREF colour, COLORREF sunday)
{
    fw::Selected selected(dc, font);
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    for (int i = 0; i < 7; ++i, x += grid.cell_w) {
        SetTextColor(dc, i == 6 ? sunday : colour);
        draw_text(dc, x, y, grid.day_names[i]);
    }
}

void draw_heading(const fw::Dc& dc, const CTrm& grid, int mode)
{
    fw::Font font(fw::create_point_font(kHeadingTenths, "Arial", FW_BOLD, 0, attrib_of(dc)));
    fw::Selected selected(dc.hdc, font.get());
    SetTextAlign(dc.hdc, TA_CENTER | TA_TOP);
    std::string text = std::to_string(grid.shown_year);
    if (mode == 1 && grid.shown_month >= 1 && grid.shown_month <= 12)
        text = std::string(grid.month_names[grid.shown_month - 1]) + " " + text;
    draw_text(dc.hdc, grid.org_x / 2 + grid.area_right / 2, grid.org_y / 2, text);
}

// Everything one month paints inside its day cells.
class DayPainter {
public:
    DayPainter(CTrm& grid, const fw::Dc& dc, const GridFonts& fonts, int mode, int month, int click_x, int click_y)
        : grid_(grid),
          gui_(papp->gui),
          dc_(dc),
          hdc_(dc.hdc),
          fonts_(fonts),
          mode_(mode),
          month_(month),
          click_x_(click_x),
          click_y_(click_y)
    { }

    void paint_days()
    {
        if (mode_ == 1)
            texts_ = collect_month_texts(papp->list.store, month_, grid_.shown_year);
        const int first = grid_.first_day(month_);
        const int days = grid_.month_days(month_, grid_.shown_year);
        int y = grid_.org_y + gui_.unit_y + (mode_ == 1 ? grid_.cell_h : 0);
        for (int d = 1; d <= days; ++d) {
            const int p = first + d - 1, u = p % 7;
            const int right = grid_.org_x + (u + 1) * grid_.cell_w - gui_.unit_x;
            const int left = right - grid_.cell_w;
            SetTextColor(hdc_, u == 6 ? gui_.col[2] : kBlack);
            // Each Monday opens a week row, except when it is day 1.
            if (u == 0 && p != 0)
                y += grid_.cell_h;
            if (mode_ == 1)
                paint_month_cell(d, left, right, y);
            else
                paint_year_cell(d, d == days, u, left, right, y);
        }
    }

private:
    bool hit(int left, int right, int top) const
    {
        return left < click_x_ && click_x_ < right && top < click_y_ && click_y_ < top + grid_.cell_h;
    }

    bool no_click() const { return click_x_ == 0 && click_y_ == 0; }

    bool is_today(int d) const
    {
        return grid_.shown_year == grid_.today_year && month_ == grid_.today_month && d == grid_.today_day;
    }

    // Today's fill while nothing is clicked, then the clicked cell, which also becomes the selection.
    void highlight(int d, int left, int top, int right, int bottom, int cell_left, int cell_right, int cell_top)
    {
        if (no_click() && is_today(d))
            fill_cell(hdc_, gui_.col[1], left, top, right, bottom);
        if (hit(cell_left, cell_right, cell_top)) {
            fill_cell(hdc_, gui_.col[1], left, top, right, bottom);
            grid_.sel_day = d;
            grid_.sel_month = month_;
        }
    }

    void paint_month_cell(int d, int left, int right, int y)
    {
        const int cell_h = grid_.cell_h;
        // Paper shows neither today nor the click.
        if (!dc_.printing)
            highlight(d, left + 1, y - 1, right + 1, y + cell_h - 1, left, right, y);
        {
            fw::Selected selected(hdc_, fonts_.b.get());
            SetTextAlign(hdc_, TA_RIGHT | TA_TOP);
            draw_text(hdc_, right, y, std::to_string(d));
        }
        const std::string& text = texts_[static_cast<size_t>(d - 1)];
        if (text.empty())
            return;
        SetTextColor(hdc_, kBlack);
        SetTextAlign(hdc_, TA_LEFT | TA_TOP);
        fw::Selected selected(hdc_, fonts_.c.get());
        // The right fifth of the cell stays free for the day number.
        RECT rc{left + gui_.unit_x + grid_.cell_w / 20, y + gui_.unit_y, right + gui_.unit_x - grid_.cell_w / 5,
                y + cell_h - gui_.unit_y};
        // Texts as typed: "Oma & Opa" has no mnemonic.
        DrawTextA(hdc_, text.c_str(), static_cast<int>(text.size()), &rc, DT_WORDBREAK | DT_NOPREFIX);
    }

    void paint_year_cell(int d, bool last, int u, int left, int right, int y)
    {
        const int cell_h = grid_.cell_h;
        draw_line(hdc_, left, y, left, y + cell_h);
        draw_line(hdc_, left, y, right, y);
        if (u == 6)
            draw_line(hdc_, right, y, right, y + cell_h);
        draw_line(hdc_, left, y + cell_h, right, y + cell_h);
        if (last) {
            draw_line(hdc_, right, y, right, y + cell_h);
            // The next month of the column starts in this week row unless it ended on a Sunday.
            grid_.org_y = u == 6 ? y + cell_h : y;
        }
        highlight(d, left, y, right, y + cell_h, left, right, y);
        fw::Selected selected(hdc_, fonts_.b.get());
        SetTextAlign(hdc_, TA_CENTER | TA_TOP);
        draw_text(hdc_, right - grid_.cell_w / 2 + 2, y + cell_h / 4, std::to_string(d));
    }

    CTrm& grid_;
    CGUI& gui_;
    const fw::Dc& dc_;
    HDC hdc_;
    const GridFonts& fonts_;
    int mode_, month_, click_x_, click_y_;
    DayTexts texts_;
};

// Vertical offset of a month name below the top of the year grid, by its place in the column.
int month_name_offset(int month, int cell_h, int unit_y)
{
    switch (month % 3) {
    case 1: return unit_y + 2 * cell_h;
    case 2: return 2 * unit_y + 6 * cell_h;
    default: return 3 * unit_y + 10 * cell_h;
    }
}

} // namespace

void CTrm::init_view(fw::Dc& dc, int left, int top, int right, int bottom, int mode)
{
    CGUI& gui = papp->gui;
    if (dc.printing) {
        gui.set_page(attrib_of(dc));
        area_left = gui.page_left;
        area_top = gui.page_top + kHeadingRoomMm * gui.unit_y;
        area_right = gui.page_right;
        // The grid takes the upper half of the page.
        area_bottom = gui.page_bottom / 2;
        if (mode == 1)
            Rectangle(dc.hdc, area_left, area_top, area_right, area_bottom);
    } else {
        const int strip = gui.px(kTabStripHeight);
        area_left = left;
        area_top = top + strip;
        area_right = right;
        area_bottom = bottom;
        fill_solid_rect(dc.hdc, left, top + strip, right, bottom, gui.col[0]);
    }
    const int w = area_right - area_left, h = area_bottom - area_top;
    col_w = w / 4;
    cell_w = mode == 2 ? col_w / 7 : w / 7;
    cell_h = mode == 2 ? h / 15 : h / 7;
    org_x = area_left;
    org_y = area_top;
    SetBkMode(dc.hdc, TRANSPARENT);
    if (dc.printing)
        draw_heading(dc, *this, mode);
    trm_log("mtrm::init_view () OK ...\n");
}

void CTrm::draw_view(fw::Dc& dc, int left, int top, int right, int bottom, int mode, int click_x, int click_y)
{
    init_view(dc, left, top, right, bottom, mode);
    if (mode == 1) {
        int y = org_y;
        // A grid lower than seven units has no rows; without the test the loop would never end.
        while (cell_h > 0 && y < area_bottom - cell_h / 2) {
            y += cell_h;
            draw_line(dc.hdc, org_x, y, org_x + 7 * cell_w, y);
        }
        for (int i = 1; i <= 7; ++i)
            draw_line(dc.hdc, org_x + i * cell_w, org_y, org_x + i * cell_w, y);
        draw_month(dc, 1, click_x, click_y, shown_month - 1);
        return;
    }
    CGUI& gui = papp->gui;
    for (int index = 0; index < 12; ++index) {
        draw_month(dc, 2, click_x, click_y, index);
        org_y += gui.unit_y;
        if (index % 3 == 2) {
            org_x += col_w + gui.unit_x;
            org_y = area_top;
        }
    }
}

void CTrm::draw_month(fw::Dc& dc, int mode, int click_x, int click_y, int index)
{
    CGUI& gui = papp->gui;
    if (!dc.printing) {
        gui.unit_x = 1;
        gui.unit_y = 1;
    }
    const int month = index + 1;
    // On screen the sizes follow the cells as they would be at 96 DPI, in fonts made for the window's
    // DPI; paper fonts are made for the screen, as they always were.
    const int font_dpi = dc.printing ? fw::screen_dpi() : gui.dpi;
    const GridFonts fonts(font_sizes(mode, fw::unscale(cell_h, gui.dpi), dc.printing, gui.unit_y), font_dpi);
    HDC hdc = dc.hdc;
    if (mode == 1) {
        draw_weekday_row(hdc, *this, fonts.a.get(), org_x + cell_w / 2, org_y + cell_h / 4, kBlack, gui.col[2]);
    } else {
        if (index % 3 == 0)
            draw_weekday_row(hdc, *this, fonts.b.get(), org_x + cell_w / 2, area_top + cell_h / 4, gui.col[1],
                             gui.col[1]);
        fw::Selected selected(hdc, fonts.a.get());
        SetTextAlign(hdc, TA_CENTER | TA_TOP);
        SetTextColor(hdc, gui.col[3]);
        draw_text(hdc, org_x + col_w / 2 - gui.unit_x,
                  area_top + cell_h / 2 + month_name_offset(month, cell_h, gui.unit_y), month_names[index]);
    }
    // Cells this small show no days and take no clicks.
    if (cell_h > 4 && cell_w > 4)
        DayPainter(*this, dc, fonts, mode, month, click_x, click_y).paint_days();
    SetTextColor(hdc, kBlack);
}
