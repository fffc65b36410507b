// Row drawing on screen and the printed pages of the date list.
#include <algorithm>
#include "fw/log.h"
#include "app/mapp.h"
#include "list/clst.h"
#include "core/date_line.h"

namespace {

const COLORREF kGridColour = RGB(192, 192, 192);
// Figures at 96 DPI: the screen scales them, paper keeps its own units.
const int kTextHeight = 11;
const int kTextPad = 3;
const int kBoxSize = 12;
const int kBoxX = 3;
const int kDueX = 18;
const int kDueWidth = 2;
// The status images sit left of the date; its text and highlight start behind them.
const int kDateTextShift = 20;
const int kDateFillShift = 18;
const int kRowsPerPage = 60;

// Puts back text alignment, background mode and text colour that drawing changes.
class TextState {
public:
    explicit TextState(HDC dc) : dc_(dc), align_(GetTextAlign(dc)), mode_(GetBkMode(dc)), colour_(GetTextColor(dc)) { }
    ~TextState()
    {
        SetTextAlign(dc_, align_);
        SetBkMode(dc_, mode_);
        SetTextColor(dc_, colour_);
    }
    TextState(const TextState&) = delete;
    TextState& operator=(const TextState&) = delete;

private:
    HDC dc_;
    UINT align_;
    int mode_;
    COLORREF colour_;
};

void draw_line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void fill(HDC dc, int left, int top, int right, int bottom, HBRUSH brush)
{
    RECT r{left, top, right, bottom};
    FillRect(dc, &r, brush);
}

// Alignment code 0 left at x + pad, 1 centred in the column, 2 right at its end - pad; with a clip
// rectangle nothing is drawn outside it.
void place_text(HDC dc, const std::string& text, int align, int x, int w, int y, int pad, const RECT* clip = nullptr)
{
    int at = x + pad;
    UINT mode = TA_LEFT;
    if (align == 1) {
        at = x + w / 2;
        mode = TA_CENTER;
    } else if (align == 2) {
        at = x + w - pad;
        mode = TA_RIGHT;
    }
    SetTextAlign(dc, mode | TA_TOP);
    ExtTextOutA(dc, at, y, clip ? ETO_CLIPPED : 0, clip, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

void draw_image(HDC dc, HBITMAP image, int x, int y, int w, int h)
{
    if (!image)
        return;
    fw::MemoryDc mem(dc);
    fw::Selected held(mem.get(), image);
    BitBlt(dc, x, y, w, h, mem.get(), 0, 0, SRCCOPY);
}

} // namespace

void CLst::DrawItem(const DRAWITEMSTRUCT* item)
{
    if (!item || !item->hDC)
        return;
    HDC dc = item->hDC;
    const RECT rc = item->rcItem;
    const int row = static_cast<int>(item->itemID);
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    RECT client{0, 0, rc.right, rc.bottom};
    if (hwnd_)
        GetClientRect(hwnd_, &client);

    fw::Brush background(CreateSolidBrush(papp->gui.col[0]));
    fw::Brush highlight(selected ? CreateSolidBrush(papp->gui.col[1]) : nullptr);
    fw::Pen grid(CreatePen(PS_SOLID, 1, kGridColour));
    TextState text_state(dc);
    fw::Selected pen(dc, grid.get());
    fw::Selected font_in(dc, font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));

    FillRect(dc, &rc, background.get());
    draw_line(dc, rc.left, rc.top, client.right, rc.top);
    draw_line(dc, rc.left, rc.bottom, client.right, rc.bottom);
    const CGUI& gui = papp->gui;
    const int ty = rc.top + (rc.bottom - rc.top - gui.px(kTextHeight)) / 2;
    const int box = gui.px(kBoxSize);

    int x = 0;
    for (int i = 0; i < col_count; ++i) {
        std::string text = cell_text(row, i);
        if (i == 0) {
            chek_date(text.c_str());
            // A date that does not parse is shown as it stands, not as the last one parsed.
            if (papp->gui.df == 1 && date_parsed)
                text = dl::format_display_date(scratch.p_day, scratch.p_month, scratch.p_year);
        }
        if (i == 2)
            chek_time(text.c_str());
        const int w = column_width(i);
        if (selected)
            fill(dc, x + (i == 0 ? gui.px(kDateFillShift) : 0), rc.top + 1, x + w, rc.bottom, highlight.get());
        draw_line(dc, x + w - 1, rc.top, x + w - 1, rc.bottom);
        // A text wider than its column stops at the column's grid line.
        const RECT cell{x, rc.top, x + w - 1, rc.bottom};
        place_text(dc, text, col_align[i], x + (i == 0 ? gui.px(kDateTextShift) : 0), w, ty, gui.px(kTextPad), &cell);
        if (i == col_count - 1) {
            draw_image(dc, text[0] == '1' ? bmp_done.get() : bmp_open.get(), gui.px(kBoxX), ty, box, box);
            if (scratch.due && text[0] == '0')
                draw_image(dc, bmp_due.get(), gui.px(kDueX), ty, gui.px(kDueWidth), box);
        }
        x += w;
    }
}

void CLst::prnt_page(fw::Dc& dc)
{
    CGUI& gui = papp->gui;
    gui.set_page(dc.attrib ? dc.attrib : dc.hdc);
    int sum = 0;
    for (int i = 0; i < col_count; ++i)
        sum += col_width[i];
    const int lh = (gui.page_bottom - gui.page_top) / kRowsPerPage;
    // Fonts for the device drawn on, sized by the line: the page looks the same on every printer
    // and in the preview. Sized for the screen's resolution instead, they came out at a pixel or
    // two on a coarse device and their letters piled up.
    HDC device = dc.attrib ? dc.attrib : dc.hdc;
    const int dpi = GetDeviceCaps(device, LOGPIXELSY) > 0 ? GetDeviceCaps(device, LOGPIXELSY) : 72;
    auto line_font = [&](int num, int den, int weight) {
        return fw::create_point_font(MulDiv(lh * num / den, 720, dpi), "Arial", weight, 0, device);
    };
    fw::Font header_font(line_font(1, 1, FW_BOLD));
    fw::Font row_font(line_font(3, 4, FW_NORMAL));
    trm_log("cx:%i, cy:%i, xo:%i, xc:%i, xa:%i\n", gui.unit_x, gui.unit_y, gui.page_left, gui.page_right, sum);
    // Without columns there is nothing to lay out (and no width to divide by).
    if (sum <= 0)
        return;
    const int page_w = gui.page_right - gui.page_left;
    TextState text_state(dc.hdc);
    auto place_cells = [&](int y, auto text_of) {
        int x = gui.page_left;
        for (int i = 0; i < col_count; ++i) {
            const int pw = col_width[i] * page_w / sum;
            place_text(dc.hdc, text_of(i), col_align[i], x, pw, y, kTextPad);
            x += pw;
        }
    };
    {
        fw::Selected held(dc.hdc, header_font.get());
        place_cells(gui.page_top, [](int i) { return std::string(caption(i)); });
    }
    fw::Selected held(dc.hdc, row_font.get());
    const int first = std::max(0, print_page) * kRowsPerPage;
    const int end = std::min(first + kRowsPerPage, row_count());
    int y = gui.page_top + lh / 2;
    for (int r = first; r < end; ++r) {
        y += lh;
        place_cells(y, [&](int i) { return cell_text(r, i); });
    }
}
