// Month and year grids: cell layout, colours, today's fill, hit-testing, the entry texts drawn,
// small cells, paper, and the mouse handlers of the view.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>
#include "res/resource.h"
#include "view/mvie.h"
#include "win_test.h"

namespace {

const COLORREF kBackground = RGB(255, 255, 255);
const COLORREF kHighlight = RGB(0, 200, 0);
const COLORREF kSunday = RGB(230, 0, 0);
const COLORREF kMonths = RGB(0, 0, 230);

// A memory bitmap to paint the grids into and read pixels back.
class Canvas {
public:
    Canvas(int w, int h) : bitmap_(w, h) { }

    void paint(int mode, int click_x = 0, int click_y = 0)
    {
        fw::Dc dc{bitmap_.dc(), bitmap_.dc(), false};
        papp->grid.draw_view(dc, 0, 0, bitmap_.width(), bitmap_.height(), mode, click_x, click_y);
    }
    COLORREF pixel(POINT pt) const { return bitmap_.pixel(pt.x, pt.y); }
    // Pixels of a clearly red hue (the Sunday colour, also where text edges are smoothed).
    int reddish_pixels(int left, int top, int right, int bottom) const
    {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                COLORREF c = bitmap_.pixel(x, y);
                if (GetRValue(c) > 128 && GetGValue(c) < 90 && GetBValue(c) < 90)
                    ++count;
            }
        return count;
    }

private:
    wt::MemoryBitmap bitmap_;
};

// What a paint recorded into an enhanced metafile drew: texts with their fonts, rectangles, brushes.
struct DrawnText {
    std::string text;
    POINT at;
    LONG weight;
};

struct Drawing {
    std::vector<DrawnText> texts;
    std::vector<RECT> rectangles;
    std::vector<COLORREF> brushes;
    // Objects the paint created and had not deleted when it returned.
    int objects_left = 0;

    std::vector<std::string> texts_inside(const RECT& rc) const
    {
        std::vector<std::string> found;
        for (const DrawnText& t : texts)
            // Day numbers are aligned to the cell's right edge.
            if (t.at.x > rc.left && t.at.x <= rc.right && t.at.y >= rc.top && t.at.y < rc.bottom)
                found.push_back(t.text);
        return found;
    }
    bool shows(const std::string& part) const
    {
        for (const DrawnText& t : texts)
            if (t.text.find(part) != std::string::npos)
                return true;
        return false;
    }
    const DrawnText* text(const std::string& whole) const
    {
        for (const DrawnText& t : texts)
            if (t.text == whole)
                return &t;
        return nullptr;
    }
    bool has_brush(COLORREF c) const { return std::find(brushes.begin(), brushes.end(), c) != brushes.end(); }
};

std::string narrow(const WCHAR* text, int count)
{
    std::string out(static_cast<size_t>(count) * 2 + 1, '\0');
    int n = WideCharToMultiByte(CP_ACP, 0, text, count, &out[0], static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

Drawing read_metafile(HENHMETAFILE emf)
{
    Drawing d;
    std::vector<BYTE> bits(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(bits.size()), bits.data());
    std::map<DWORD, LONG> font_weights;
    LONG weight = 0;
    for (size_t at = 0; at + sizeof(EMR) <= bits.size();) {
        const BYTE* rec = bits.data() + at;
        const EMR* emr = reinterpret_cast<const EMR*>(rec);
        if (emr->nSize < sizeof(EMR))
            break;
        switch (emr->iType) {
        case EMR_EXTCREATEFONTINDIRECTW: {
            auto* f = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(rec);
            font_weights[f->ihFont] = f->elfw.elfLogFont.lfWeight;
            ++d.objects_left;
            break;
        }
        case EMR_CREATEPEN: ++d.objects_left; break;
        case EMR_DELETEOBJECT: --d.objects_left; break;
        case EMR_SELECTOBJECT: {
            auto* s = reinterpret_cast<const EMRSELECTOBJECT*>(rec);
            auto it = font_weights.find(s->ihObject);
            if (it != font_weights.end())
                weight = it->second;
            break;
        }
        case EMR_CREATEBRUSHINDIRECT:
            d.brushes.push_back(reinterpret_cast<const EMRCREATEBRUSHINDIRECT*>(rec)->lb.lbColor);
            ++d.objects_left;
            break;
        case EMR_RECTANGLE: {
            const RECTL& b = reinterpret_cast<const EMRRECTANGLE*>(rec)->rclBox;
            d.rectangles.push_back(RECT{b.left, b.top, b.right, b.bottom});
            break;
        }
        case EMR_EXTTEXTOUTW: {
            const EMRTEXT& t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec)->emrtext;
            d.texts.push_back({narrow(reinterpret_cast<const WCHAR*>(rec + t.offString), static_cast<int>(t.nChars)),
                               POINT{t.ptlReference.x, t.ptlReference.y}, weight});
            break;
        }
        case EMR_EXTTEXTOUTA: {
            const EMRTEXT& t = reinterpret_cast<const EMREXTTEXTOUTA*>(rec)->emrtext;
            d.texts.push_back({std::string(reinterpret_cast<const char*>(rec + t.offString), t.nChars),
                               POINT{t.ptlReference.x, t.ptlReference.y}, weight});
            break;
        }
        default: break;
        }
        at += emr->nSize;
    }
    return d;
}

// Paints a grid into an enhanced metafile, as on screen or as on paper.
Drawing record_paint(HDC attrib, bool printing, int w, int h, int mode, int click_x = 0, int click_y = 0)
{
    HDC emf = CreateEnhMetaFileA(attrib, nullptr, nullptr, nullptr);
    fw::Dc dc{emf, printing ? attrib : emf, printing};
    papp->grid.draw_view(dc, 0, 0, w, h, mode, click_x, click_y);
    HENHMETAFILE done = CloseEnhMetaFile(emf);
    Drawing d = read_metafile(done);
    DeleteEnhMetaFile(done);
    return d;
}

Drawing record_screen_paint(int w, int h, int mode, int click_x = 0, int click_y = 0)
{
    HDC screen = GetDC(nullptr);
    Drawing d = record_paint(screen, false, w, h, mode, click_x, click_y);
    ReleaseDC(nullptr, screen);
    return d;
}

// A day cell of the month grid of the last screen paint, by weekday column and week row.
RECT month_cell(int col, int row)
{
    const CTrm& g = papp->grid;
    int right = g.area_left + (col + 1) * g.cell_w - 1;
    int top = g.area_top + 1 + (row + 1) * g.cell_h;
    return RECT{right - g.cell_w, top, right, top + g.cell_h};
}

POINT centre(const RECT& rc)
{
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// A day cell of the first column of the year grid (January to March) of the last screen paint;
// row_top is the y of its week row.
RECT year_cell(int col, int row_top)
{
    const CTrm& g = papp->grid;
    int right = g.area_left + (col + 1) * g.cell_w - 1;
    return RECT{right - g.cell_w, row_top, right, row_top + g.cell_h};
}

void show_month(int month, int year)
{
    papp->grid.shown_month = month;
    papp->grid.shown_year = year;
}

void set_today(int day, int month, int year)
{
    papp->grid.today_day = day;
    papp->grid.today_month = month;
    papp->grid.today_year = year;
}

void clear_selection()
{
    papp->grid.sel_day = 0;
    papp->grid.sel_month = 0;
}

void add_rows(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        papp->list.store.add_line(line);
    papp->list.refresh_rows();
}

void send_mouse(UINT msg, POINT pt)
{
    SendMessageA(active_view()->hwnd(), msg, 0, MAKELPARAM(pt.x, pt.y));
}

bool view_needs_paint()
{
    return GetUpdateRect(active_view()->hwnd(), nullptr, FALSE) != FALSE;
}

// The pixels of a rectangle of the view as the screen shows them, row by row.
std::vector<DWORD> view_pixels(const RECT& rc)
{
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    wt::MemoryBitmap shot(w, h);
    HDC screen = GetDC(active_view()->hwnd());
    BitBlt(shot.dc(), 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    ReleaseDC(active_view()->hwnd(), screen);
    std::vector<DWORD> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back(shot.raw(x, y));
    return pixels;
}

int count_of(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// Every grid test starts from known colours and an empty list and puts the model back.
class Grid : public testing::Test {
protected:
    Grid() : saved_grid_(papp->grid), saved_df_(papp->gui.df)
    {
        std::memcpy(saved_col_, papp->gui.col, sizeof saved_col_);
    }
    void SetUp() override
    {
        wt::reset_dates({});
        papp->gui.col[0] = kBackground;
        papp->gui.col[1] = kHighlight;
        papp->gui.col[2] = kSunday;
        papp->gui.col[3] = kMonths;
        set_today(1, 1, 2000);
        clear_selection();
    }
    void TearDown() override
    {
        wt::reset_dates({});
        papp->grid = saved_grid_;
        papp->gui.df = saved_df_;
        papp->gui.unit_x = papp->gui.unit_y = 1;
        std::memcpy(papp->gui.col, saved_col_, sizeof saved_col_);
        active_view()->set_tabs();
        wt::paint_view();
    }

private:
    CTrm saved_grid_;
    int saved_df_;
    COLORREF saved_col_[4];
};

} // namespace

TEST_F(Grid, DecemberTwentyElevenLaysOutItsWeeks)
{
    show_month(12, 2011);
    Canvas canvas(1000, 700);
    canvas.paint(1);
    EXPECT_EQ(papp->grid.cell_w, 1000 / 7);
    EXPECT_EQ(papp->grid.cell_h, (700 - 24) / 7);
    // Calendar facts: 1 December 2011 is a Thursday, Mondays are 5, 12, 19 and 26, the 31st a Saturday.
    const struct {
        int col, row, day;
    } cells[] = {{3, 0, 1}, {6, 0, 4}, {0, 1, 5}, {0, 2, 12}, {0, 3, 19}, {0, 4, 26}, {5, 4, 31}};
    for (const auto& c : cells) {
        clear_selection();
        POINT pt = centre(month_cell(c.col, c.row));
        canvas.paint(1, pt.x, pt.y);
        EXPECT_EQ(papp->grid.sel_day, c.day) << "column " << c.col << ", row " << c.row;
        EXPECT_EQ(papp->grid.sel_month, 12);
    }
    // Before day 1 and after day 31 there are no cells to select.
    for (POINT pt : {centre(month_cell(2, 0)), centre(month_cell(6, 4)), centre(month_cell(0, 5))}) {
        clear_selection();
        canvas.paint(1, pt.x, pt.y);
        EXPECT_EQ(papp->grid.sel_day, 0);
        EXPECT_EQ(papp->grid.sel_month, 0);
    }
}

TEST_F(Grid, SundaysAreInTheSundayColour)
{
    show_month(12, 2011);
    Canvas canvas(1000, 700);
    canvas.paint(1);
    const CTrm& g = papp->grid;
    // Day numbers stand in the top right corner of their cells.
    for (int row = 0; row < 4; ++row) {
        RECT sunday = month_cell(6, row), saturday = month_cell(5, row);
        EXPECT_GT(
            canvas.reddish_pixels(sunday.right - g.cell_w / 5, sunday.top, sunday.right, sunday.top + g.cell_h / 3), 0)
            << "Sunday of week row " << row;
        EXPECT_EQ(canvas.reddish_pixels(saturday.left, saturday.top, saturday.right, saturday.bottom), 0)
            << "Saturday of week row " << row;
    }
    // The header row: "Sun" in the Sunday colour, "Sat" in black.
    RECT sun = month_cell(6, -1), sat = month_cell(5, -1);
    EXPECT_GT(canvas.reddish_pixels(sun.left, sun.top, sun.right, sun.bottom), 0);
    EXPECT_EQ(canvas.reddish_pixels(sat.left, sat.top, sat.right, sat.bottom), 0);
    // Grid lines and cell backgrounds stay black and the background colour.
    EXPECT_EQ(canvas.pixel(centre(month_cell(2, 2))), kBackground);
}

TEST_F(Grid, MonthStartingOnMondayUsesTheFirstRow)
{
    show_month(2, 2010);
    Canvas canvas(700, 500);
    canvas.paint(1);
    const struct {
        int col, row, day;
    } cells[] = {{0, 0, 1}, {6, 0, 7}, {0, 1, 8}, {6, 3, 28}};
    for (const auto& c : cells) {
        clear_selection();
        POINT pt = centre(month_cell(c.col, c.row));
        canvas.paint(1, pt.x, pt.y);
        EXPECT_EQ(papp->grid.sel_day, c.day) << "column " << c.col << ", row " << c.row;
        EXPECT_EQ(papp->grid.sel_month, 2);
    }
    clear_selection();
    POINT after = centre(month_cell(0, 4));
    canvas.paint(1, after.x, after.y);
    EXPECT_EQ(papp->grid.sel_day, 0);
}

TEST_F(Grid, TodaysCellIsFilledUntilAClick)
{
    show_month(12, 2011);
    set_today(15, 12, 2011);
    Canvas canvas(1000, 700);
    canvas.paint(1);
    const POINT today = centre(month_cell(3, 2)), other = centre(month_cell(1, 3));
    EXPECT_EQ(canvas.pixel(today), kHighlight);
    EXPECT_EQ(canvas.pixel(other), kBackground);
    EXPECT_EQ(papp->grid.sel_day, 0) << "today's fill selects nothing";

    canvas.paint(1, other.x, other.y);
    EXPECT_EQ(canvas.pixel(other), kHighlight);
    EXPECT_EQ(canvas.pixel(today), kBackground);
    EXPECT_EQ(papp->grid.sel_day, 20);
    EXPECT_EQ(papp->grid.sel_month, 12);

    // A click on the header row selects nothing and still keeps today plain.
    const POINT header = centre(month_cell(3, -1));
    canvas.paint(1, header.x, header.y);
    EXPECT_EQ(canvas.pixel(today), kBackground);
    EXPECT_EQ(canvas.pixel(other), kBackground);
    EXPECT_EQ(papp->grid.sel_day, 20);

    // Today in another month of the shown year is not this grid's business.
    set_today(15, 11, 2011);
    canvas.paint(1);
    EXPECT_EQ(canvas.pixel(today), kBackground);
}

TEST_F(Grid, EveryPaintWritesItsLogLine)
{
    show_month(12, 2011);
    const std::string line = "mtrm::init_view () OK ...\n";
    int before = count_of(wt::read_text("trm.log"), line);
    Canvas canvas(400, 300);
    canvas.paint(1);
    canvas.paint(2);
    EXPECT_EQ(count_of(wt::read_text("trm.log"), line), before + 2);
}

TEST_F(Grid, DayCellsShowTheEntriesOfTheShownMonth)
{
    show_month(12, 2011);
    add_rows({"2011.12.05\tMon\t10:00\tMeeting\t0\n", "2011.12.05\tMon\t\tCall back\t0\n",
              "2011.11.05\tSat\t\tNovember entry\t0\n", "2012.12.05\tWed\t\tNext year entry\t0\n",
              "2011.12.31\tSat\t\tParty\t1\n", "2011.12.06\tTue\t\tOma & Opa\t0\n"});
    // Wide cells keep each day's text on one line.
    Drawing d = record_screen_paint(2800, 1000, 1);
    EXPECT_EQ(d.texts_inside(month_cell(0, 1)), (std::vector<std::string>{"5", "10:00 Meeting Call back "}));
    EXPECT_EQ(d.texts_inside(month_cell(5, 4)), (std::vector<std::string>{"31", "Party "}));
    // An ampersand is text, not a mnemonic marker.
    EXPECT_EQ(d.texts_inside(month_cell(1, 1)), (std::vector<std::string>{"6", "Oma & Opa "}));
    EXPECT_FALSE(d.shows("November entry"));
    EXPECT_FALSE(d.shows("Next year entry"));
    // Days without entries show their number only.
    EXPECT_EQ(d.texts_inside(month_cell(2, 1)), std::vector<std::string>{"7"});
}

TEST_F(Grid, EnlargedViewRepaintsTheWholeGrid)
{
    RECT was;
    GetClientRect(active_view()->hwnd(), &was);
    show_month(12, 2011);
    for (int tab : {1, 2}) {
        wt::choose_tab(tab);
        wt::set_view_client_size(400, 300);
        // Grown by the size change alone: only what the window system and the view invalidate is painted.
        wt::set_view_client_size(640, 480, false);
        const RECT old_area{0, 30, 400, 300};
        const std::vector<DWORD> seen = view_pixels(old_area);
        wt::paint_view();
        EXPECT_TRUE(seen == view_pixels(old_area)) << "tab " << tab << ": the old grid is still there";
    }
    wt::choose_tab(0);
    wt::set_view_client_size(was.right, was.bottom);
}

TEST_F(Grid, DaysOutsideTheMonthAreNeverShown)
{
    show_month(2, 2010);
    add_rows({"2010.02.30\tTue\t\tThirtieth\t0\n", "2010.02.00\tSun\t\tDay zero\t0\n",
              "2010.02.32\tThu\t\tDay thirty-two\t0\n", "2010.2.28\tSun\t\tShort date\t0\n",
              "2010.02.28\tSun\t\tLast day\t0\n"});
    Drawing d = record_screen_paint(2800, 1000, 1);
    EXPECT_EQ(d.texts_inside(month_cell(6, 3)), (std::vector<std::string>{"28", "Last day "}));
    for (const char* hidden : {"Thirtieth", "Day zero", "Day thirty-two", "Short date"})
        EXPECT_FALSE(d.shows(hidden)) << hidden;
    EXPECT_FALSE(d.text("29"));
}

TEST_F(Grid, YearGridRunsFebruaryOnInJanuarysLastRow)
{
    show_month(6, 2011);
    Canvas canvas(1000, 700);
    canvas.paint(2);
    const CTrm& g = papp->grid;
    EXPECT_EQ(g.cell_w, 1000 / 4 / 7);
    EXPECT_EQ(g.cell_h, (700 - 24) / 15);
    // 1 January 2011 is a Saturday, the 31st a Monday in the sixth week row; 1 February a Tuesday.
    const int jan_last_row = g.area_top + 1 + 5 * g.cell_h;
    const struct {
        int col, y, day, month;
    } hits[] = {
        {5, g.area_top + 1 + g.cell_h / 2, 1, 1}, {0, jan_last_row + 1, 31, 1}, {1, jan_last_row + 3, 1, 2},
        {1, jan_last_row + g.cell_h + 1, 1, 2},   {1, jan_last_row + 1, 0, 0}, // above February's row, beside January's
                                                                               // last day
    };
    for (const auto& h : hits) {
        clear_selection();
        RECT cell = year_cell(h.col, 0);
        canvas.paint(2, (cell.left + cell.right) / 2, h.y);
        EXPECT_EQ(papp->grid.sel_day, h.day) << "column " << h.col << ", y " << h.y;
        EXPECT_EQ(papp->grid.sel_month, h.month) << "column " << h.col << ", y " << h.y;
    }
}

TEST_F(Grid, YearGridFillsTodayAndNamesTheMonths)
{
    show_month(3, 2011);
    set_today(1, 1, 2011);
    Canvas canvas(1000, 700);
    canvas.paint(2);
    RECT jan1 = year_cell(5, papp->grid.area_top + 1);
    EXPECT_EQ(canvas.pixel(POINT{jan1.left + 3, jan1.bottom - 3}), kHighlight);
    Drawing d = record_screen_paint(1000, 700, 2);
    for (const char* name : {"January", "April", "September", "December"})
        EXPECT_TRUE(d.text(name)) << name;
    // One row of weekday labels per column of three months.
    int mondays = 0;
    for (const DrawnText& t : d.texts)
        mondays += t.text == "Mon";
    EXPECT_EQ(mondays, 4);
}

TEST_F(Grid, SmallCellsShowNoDaysAndTakeNoClicks)
{
    show_month(12, 2011);
    set_today(15, 12, 2011);
    papp->grid.sel_day = 9;
    papp->grid.sel_month = 7;
    // width, height, mode, whether the day cells are drawn
    const struct {
        int w, h, mode;
        bool days;
    } sizes[] = {
        {28, 400, 1, false},     {35, 400, 1, true},  {400, 24 + 34, 1, false},  {400, 24 + 35, 1, true},
        {139, 700, 2, false},    {140, 700, 2, true}, {1000, 24 + 74, 2, false}, {1000, 24 + 75, 2, true},
        {400, 24 + 6, 1, false}, // no row at all: the line loop must end
    };
    for (const auto& s : sizes) {
        Drawing unclicked = record_screen_paint(s.w, s.h, s.mode);
        EXPECT_EQ(unclicked.text("15") != nullptr, s.days) << s.w << " x " << s.h << ", mode " << s.mode;
        EXPECT_EQ(unclicked.has_brush(kHighlight), s.days) << "today's fill, " << s.w << " x " << s.h;
        record_screen_paint(s.w, s.h, s.mode, s.w / 2, s.h / 2 + 12);
        if (!s.days) {
            EXPECT_EQ(papp->grid.sel_day, 9) << s.w << " x " << s.h << ", mode " << s.mode;
            EXPECT_EQ(papp->grid.sel_month, 7);
        }
        papp->grid.sel_day = 9;
        papp->grid.sel_month = 7;
    }
}

TEST_F(Grid, EveryObjectIsDeletedBeforeThePaintReturns)
{
    show_month(12, 2011);
    set_today(15, 12, 2011);
    add_rows({"2011.12.05\tMon\t10:00\tMeeting\t0\n"});
    HDC screen = GetDC(nullptr);
    for (bool printing : {false, true})
        for (int mode : {1, 2})
            for (POINT click : {POINT{0, 0}, POINT{300, 300}}) {
                Drawing d = record_paint(screen, printing, 1000, 700, mode, click.x, click.y);
                EXPECT_EQ(d.objects_left, 0) << (printing ? "paper" : "screen") << ", mode " << mode;
                EXPECT_FALSE(d.brushes.empty() && d.texts.empty()) << "the paint drew something";
            }
    ReleaseDC(nullptr, screen);
}

namespace {

// The chosen printer (the default one), or the screen when there is none; deleted at the end.
class PrinterLikeDc {
public:
    PrinterLikeDc() : dc_(papp->chosen_printer_dc())
    {
        if (!dc_)
            dc_ = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    }
    ~PrinterLikeDc() { DeleteDC(dc_); }
    PrinterLikeDc(const PrinterLikeDc&) = delete;
    PrinterLikeDc& operator=(const PrinterLikeDc&) = delete;
    HDC get() const { return dc_; }
    int width() const { return GetDeviceCaps(dc_, HORZRES); }
    int height() const { return GetDeviceCaps(dc_, VERTRES); }

private:
    HDC dc_;
};

} // namespace

TEST_F(Grid, PrintedMonthIsFramedInTheUpperHalfUnderItsHeading)
{
    show_month(12, 2011);
    set_today(15, 12, 2011);
    PrinterLikeDc printer;
    ASSERT_NE(printer.get(), nullptr);
    Drawing d = record_paint(printer.get(), true, 1000, 700, 1);
    ASSERT_FALSE(d.rectangles.empty());
    const RECT frame = d.rectangles.front();
    const int w = printer.width(), h = printer.height();
    EXPECT_EQ(frame.left, w / 20);
    EXPECT_NEAR(frame.right, w - w / 20, 1);
    EXPECT_NEAR(frame.bottom, (h - h / 20) / 2, 1);
    EXPECT_GT(frame.top, h / 20);
    const DrawnText* heading = d.text("December 2011");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->weight, FW_BOLD);
    EXPECT_LT(heading->at.y, frame.top);
    EXPECT_NEAR(heading->at.x, (frame.left + frame.right) / 2, 2);
    EXPECT_TRUE(d.text("31"));
    EXPECT_TRUE(d.text("Sun"));
    // Paper shows neither today nor a click.
    EXPECT_FALSE(d.has_brush(kHighlight));
    EXPECT_EQ(d.rectangles.size(), 1u);
    const CTrm& g = papp->grid;
    Drawing clicked =
        record_paint(printer.get(), true, 1000, 700, 1, g.area_left + g.cell_w * 3 / 2, g.area_top + g.cell_h * 5 / 2);
    EXPECT_FALSE(clicked.has_brush(kHighlight));
    EXPECT_EQ(papp->grid.sel_day, 0);

    // The next screen paint measures in pixels again.
    Canvas canvas(400, 300);
    canvas.paint(1);
    EXPECT_EQ(papp->gui.unit_x, 1);
    EXPECT_EQ(papp->gui.unit_y, 1);
}

TEST_F(Grid, PrintedYearShowsItsHeadingAndToday)
{
    show_month(12, 2011);
    set_today(15, 12, 2011);
    PrinterLikeDc printer;
    Drawing d = record_paint(printer.get(), true, 1000, 700, 2);
    const DrawnText* heading = d.text("2011");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->weight, FW_BOLD);
    EXPECT_TRUE(d.text("December"));
    EXPECT_TRUE(d.has_brush(kHighlight)) << "today's cell is filled on paper too";
    for (const DrawnText& t : d.texts)
        if (&t != heading) {
            EXPECT_GT(t.at.y, heading->at.y) << t.text << " stands below the heading";
        }
}

TEST_F(Grid, LeftClickBelowTheTabsRepaintsAndSelects)
{
    show_month(12, 2011);
    wt::choose_tab(1);
    wt::paint_view();
    mvie* view = active_view();
    POINT on_tabs{200, 24};
    ValidateRect(view->hwnd(), nullptr);
    send_mouse(WM_LBUTTONDOWN, on_tabs);
    EXPECT_EQ(view->click_x, 200);
    EXPECT_EQ(view->click_y, 24);
    EXPECT_FALSE(view_needs_paint()) << "a click on the tab strip does not repaint";

    const POINT day5 = centre(month_cell(0, 1));
    send_mouse(WM_LBUTTONDOWN, day5);
    EXPECT_TRUE(view_needs_paint());
    UpdateWindow(view->hwnd());
    EXPECT_EQ(papp->grid.sel_day, 5);
    EXPECT_EQ(papp->grid.sel_month, 12);
}

TEST_F(Grid, RightClickSelectsAtTheNextPaint)
{
    show_month(12, 2011);
    wt::choose_tab(1);
    wt::paint_view();
    const POINT day12 = centre(month_cell(0, 2));
    ValidateRect(active_view()->hwnd(), nullptr);
    send_mouse(WM_RBUTTONDOWN, day12);
    EXPECT_FALSE(view_needs_paint());
    EXPECT_EQ(papp->grid.sel_day, 0);
    EXPECT_EQ(active_view()->click_x, day12.x);
    EXPECT_EQ(active_view()->click_y, day12.y);
    wt::paint_view();
    EXPECT_EQ(papp->grid.sel_day, 12);
    EXPECT_EQ(papp->grid.sel_month, 12);
}

TEST_F(Grid, ShowAllOnTheMonthTabRepaintsTheGrid)
{
    show_month(12, 2011);
    wt::reset_dates({"2011.12.05\tMon\t\tParty\t1\n"});
    wt::choose_tab(1);
    wt::paint_view();
    const RECT day5 = month_cell(0, 1);
    const std::vector<DWORD> with_party = view_pixels(day5);
    // Off again: the done entry leaves the rows, and the grid shows it at once.
    wt::command(ID_SHOW_ALL);
    wt::pump();
    const std::vector<DWORD> after_command = view_pixels(day5);
    wt::paint_view();
    const std::vector<DWORD> repainted = view_pixels(day5);
    EXPECT_NE(with_party, repainted);
    EXPECT_TRUE(after_command == repainted) << "the grid still shows the entry";
}

TEST_F(Grid, DoubleClickOnADayStartsANewEntry)
{
    papp->gui.df = 1;
    show_month(12, 2011);
    wt::choose_tab(1);
    EXPECT_EQ(papp->show_all, 1);
    wt::paint_view();
    const POINT day5 = centre(month_cell(0, 1));
    send_mouse(WM_LBUTTONDOWN, day5);
    UpdateWindow(active_view()->hwnd());
    send_mouse(WM_LBUTTONDBLCLK, day5);
    mvie* view = active_view();
    EXPECT_EQ(view->selected_tab(), 0);
    EXPECT_EQ(papp->show_all, 0);
    EXPECT_EQ(view->click_x, day5.x) << "selecting the List tab by program keeps the click";
    CLst& list = papp->list;
    if (list.hwnd()) {
        EXPECT_TRUE(IsWindowVisible(list.hwnd()));
    }
    if (!list.edit[0].hwnd() || !list.edit[1].hwnd())
        GTEST_SKIP() << "the editor boxes do not exist yet";
    EXPECT_EQ(list.editing, 1);
    EXPECT_EQ(wt::window_text(list.edit[0].hwnd()), "05.12.2011");
    EXPECT_EQ(wt::window_text(list.edit[1].hwnd()), "Mon");
    EXPECT_EQ(GetFocus(), list.edit[0].hwnd());
    EXPECT_EQ(LOWORD(SendMessageA(list.edit[0].hwnd(), EM_GETSEL, 0, 0)), 0) << "the caret in front of the day";
}

TEST_F(Grid, DoubleClickInTheYearGridUsesTheStoredDateForm)
{
    papp->gui.df = 0;
    show_month(5, 2011);
    wt::choose_tab(2);
    wt::paint_view();
    // 1 January 2011, Saturday, first week row of the first column.
    RECT jan1 = year_cell(5, papp->grid.area_top + 1);
    const POINT pt = centre(jan1);
    send_mouse(WM_LBUTTONDOWN, pt);
    UpdateWindow(active_view()->hwnd());
    EXPECT_EQ(papp->grid.sel_day, 1);
    EXPECT_EQ(papp->grid.sel_month, 1);
    send_mouse(WM_LBUTTONDBLCLK, pt);
    EXPECT_EQ(active_view()->selected_tab(), 0);
    CLst& list = papp->list;
    if (!list.edit[0].hwnd() || !list.edit[1].hwnd())
        GTEST_SKIP() << "the editor boxes do not exist yet";
    EXPECT_EQ(wt::window_text(list.edit[0].hwnd()), "2011.01.01");
    EXPECT_EQ(wt::window_text(list.edit[1].hwnd()), "Sat");
    EXPECT_EQ(GetFocus(), list.edit[0].hwnd());
    EXPECT_EQ(LOWORD(SendMessageA(list.edit[0].hwnd(), EM_GETSEL, 0, 0)), 10) << "the caret behind the day";
}

TEST_F(Grid, DoubleClickOnTheListTabOnlyStoresThePoint)
{
    mvie* view = active_view();
    ASSERT_EQ(view->selected_tab(), 0);
    send_mouse(WM_LBUTTONDBLCLK, POINT{120, 200});
    EXPECT_EQ(view->click_x, 120);
    EXPECT_EQ(view->click_y, 200);
    EXPECT_EQ(view->selected_tab(), 0);
    EXPECT_EQ(papp->list.editing, 0);
}
