// Row drawing into a memory bitmap (status images, due bar, grid lines, selection, date format)
// and printed pages recorded into a metafile (which rows, which texts, at which heights).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "fw/preview.h"
#include "res/resource.h"
#include "view/mvie.h"
#include "win_test.h"

namespace {

const COLORREF grey = RGB(192, 192, 192);
const COLORREF white = RGB(255, 255, 255);
const COLORREF black = RGB(0, 0, 0);
const COLORREF red = RGB(255, 0, 0);
const int row_h = 17;
const int ty = (row_h - 11) / 2;

std::string line(const std::string& date, const std::string& status, const std::string& todo = "Entry")
{
    return date + "\tMon\t\t" + todo + "\t" + status + "\n";
}

// A 32-bit bitmap of one row, drawn by the list's owner-draw hook.
class RowImage {
public:
    RowImage(int row, bool selected) : bitmap_(client_width(), row_h)
    {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTVIEW;
        dis.CtlID = IDC_LIST;
        dis.itemID = static_cast<UINT>(row);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = selected ? ODS_SELECTED : 0;
        dis.hwndItem = papp->list.hwnd();
        dis.hDC = bitmap_.dc();
        dis.rcItem = RECT{0, 0, bitmap_.width(), row_h};
        papp->list.DrawItem(&dis);
        GdiFlush();
    }

    COLORREF at(int x, int y) const { return bitmap_.pixel(x, y); }
    int width() const { return bitmap_.width(); }
    // The pixels of columns x0..x1-1, for comparing two drawings.
    std::vector<DWORD> strip(int x0, int x1) const
    {
        std::vector<DWORD> out;
        for (int y = 0; y < row_h; ++y)
            for (int x = x0; x < x1; ++x)
                out.push_back(bitmap_.raw(x, y));
        return out;
    }

private:
    static int client_width()
    {
        RECT client;
        GetClientRect(papp->list.hwnd(), &client);
        return client.right;
    }
    wt::MemoryBitmap bitmap_;
};

// The check box as described: a grey frame, white inside, and the tick's black pixels.
COLORREF box_pixel(int x, int y, bool ticked)
{
    if (x == 0 || x == 11 || y == 0 || y == 11)
        return grey;
    // Per image row, the inner columns (0 to 9) that are black.
    static const std::vector<std::vector<int>> tick = {{},           {},           {},     {8}, {7, 8}, {6, 7},
                                                       {1, 2, 5, 6}, {2, 3, 4, 5}, {3, 4}, {},  {},     {}};
    if (ticked)
        for (int c : tick[static_cast<size_t>(y)])
            if (x - 1 == c)
                return black;
    return white;
}

class Drawing : public testing::Test {
protected:
    void SetUp() override
    {
        CTrm& g = papp->grid;
        saved_ = {g.today_day, g.today_month, g.today_year, g.cur_hour, g.cur_min};
        saved_df_ = papp->gui.df;
        papp->gui.df = 0;
        wt::reset_dates({});
    }
    void TearDown() override
    {
        CTrm& g = papp->grid;
        g.today_day = saved_.day;
        g.today_month = saved_.month;
        g.today_year = saved_.year;
        g.cur_hour = saved_.hour;
        g.cur_min = saved_.min;
        papp->gui.df = saved_df_;
        wt::reset_dates({});
    }
    // Today is 2026.06.15, noon.
    static void set_today()
    {
        CTrm& g = papp->grid;
        g.today_day = 15;
        g.today_month = 6;
        g.today_year = 2026;
        g.cur_hour = 12;
        g.cur_min = 0;
    }
    static int row_of(const std::string& todo)
    {
        for (int r = 0; r < papp->list.row_count(); ++r)
            if (papp->list.cell_text(r, 3) == todo)
                return r;
        return -1;
    }
    Today saved_{};
    int saved_df_ = 0;
};

using ListDraw = Drawing;
using ListPrint = Drawing;

} // namespace

TEST_F(ListDraw, DueBarOnlyForOpenRowsThatAreDue)
{
    papp->list.add_line(line("2026.06.14", "0", "open past").c_str());
    papp->list.add_line(line("2026.06.14", "1", "done past").c_str());
    papp->list.add_line(line("2026.06.16", "0", "open future").c_str());
    set_today();
    {
        RowImage open_past(row_of("open past"), false);
        for (int y = 0; y < 12; ++y)
            for (int x = 18; x < 20; ++x)
                EXPECT_EQ(open_past.at(x, ty + y), y == 9 ? white : red) << x << "," << y;
        EXPECT_NE(open_past.at(20, ty + 2), red);
    }
    for (const char* todo : {"done past", "open future"}) {
        RowImage row(row_of(todo), false);
        for (int y = 0; y < 12; ++y)
            EXPECT_EQ(row.at(18, ty + y), papp->gui.col[0]) << todo << " " << y;
    }
}

TEST_F(ListDraw, StatusBoxesShowTheImagesPixelForPixel)
{
    wt::reset_dates({line("2026.06.20", "0", "open")});
    papp->list.add_line(line("2026.06.21", "1", "done").c_str());
    set_today();
    for (bool ticked : {false, true}) {
        RowImage row(row_of(ticked ? "done" : "open"), false);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                EXPECT_EQ(row.at(3 + x, ty + y), box_pixel(x, y, ticked)) << ticked << " " << x << "," << y;
        // Left of the box and between box and date: the row background.
        EXPECT_EQ(row.at(1, ty + 5), papp->gui.col[0]);
        EXPECT_EQ(row.at(16, ty + 5), papp->gui.col[0]);
    }
}

TEST_F(ListDraw, GridLinesAndSelectionSparingTheImageZone)
{
    wt::reset_dates({line("2026.06.20", "0")});
    set_today();
    HWND list = papp->list.hwnd();
    const int w0 = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
    const int w1 = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0));
    const COLORREF back = papp->gui.col[0], high = papp->gui.col[1];
    ASSERT_NE(back, high);
    {
        RowImage row(0, false);
        for (int x = 0; x < row.width(); x += 7)
            EXPECT_EQ(row.at(x, 0), grey) << x;
        EXPECT_EQ(row.at(row.width() - 1, 0), grey);
        EXPECT_EQ(row.at(w0 - 1, 5), grey);
        EXPECT_EQ(row.at(w0 + w1 - 1, 5), grey);
        EXPECT_EQ(row.at(40, 1), back);
        EXPECT_EQ(row.at(w0 + 3, 1), back);
    }
    RowImage row(0, true);
    EXPECT_EQ(row.at(0, 0), grey);
    for (int x = 0; x < 18; ++x)
        EXPECT_EQ(row.at(x, 1), back) << x;
    for (int x = 18; x < w0 - 1; ++x)
        EXPECT_EQ(row.at(x, 1), high) << x;
    EXPECT_EQ(row.at(w0 - 1, 1), grey);
    EXPECT_EQ(row.at(w0, 1), high);
    EXPECT_EQ(row.at(w0, row_h - 1), high);
    EXPECT_EQ(row.at(w0 + w1 - 2, 8), high);
    // The box keeps its own pixels on a selected row.
    EXPECT_EQ(row.at(4, ty + 1), white);
}

TEST_F(ListDraw, CellTextsKeepToTheirColumns)
{
    const std::string long_text(120, 'W');
    wt::reset_dates({line("2026.06.20", "0", "short"), line("2026.06.20", "0", long_text)});
    HWND list = papp->list.hwnd();
    const int saved_todo = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 3, 0));
    const int saved_stat = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 4, 0));
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 3, MAKELPARAM(100, 0));
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 4, MAKELPARAM(40, 0));
    int stat_x = 0;
    for (int i = 0; i < 4; ++i)
        stat_x += static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0));
    // The "Stat." cell of a row with a text far wider than "To do" looks as under a short text.
    for (bool selected : {false, true}) {
        const RowImage short_row(row_of("short"), selected);
        const RowImage long_row(row_of(long_text), selected);
        EXPECT_TRUE(long_row.strip(stat_x, stat_x + 40) == short_row.strip(stat_x, stat_x + 40))
            << (selected ? "selected" : "not selected");
    }
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 3, MAKELPARAM(saved_todo, 0));
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 4, MAKELPARAM(saved_stat, 0));
}

TEST_F(ListDraw, DayFirstFormatShowsTheDateTurnedAround)
{
    // Status "1": no due bar, so only the date text can differ between the drawings.
    papp->list.add_line(line("2026.12.24", "1", "stored").c_str());
    papp->list.add_line(line("24.12.2026", "1", "as shown").c_str());
    papp->list.add_line(line("not a date", "1", "unparsed").c_str());
    const int w0 = static_cast<int>(SendMessageA(papp->list.hwnd(), LVM_GETCOLUMNWIDTH, 0, 0));
    auto date_strip = [&](const char* todo, int df) {
        papp->gui.df = df;
        RowImage row(row_of(todo), false);
        return row.strip(0, w0);
    };
    const auto reference = date_strip("as shown", 0);
    EXPECT_EQ(date_strip("stored", 1), reference);
    EXPECT_NE(date_strip("stored", 0), reference);
    // A date that does not parse stays as it is, whatever was parsed before it.
    date_strip("stored", 1);
    EXPECT_EQ(date_strip("unparsed", 1), date_strip("unparsed", 0));
    EXPECT_EQ(papp->list.cell_text(row_of("stored"), 0), "2026.12.24");
}

namespace {

struct PrintedText {
    std::string text;
    int x, y;
    RECT box;
};

// Every text output recorded in the metafile, in order.
std::vector<PrintedText> texts_of(HENHMETAFILE emf)
{
    std::vector<BYTE> bytes(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(bytes.size()), bytes.data());
    std::vector<PrintedText> out;
    for (size_t at = 0; at + sizeof(EMR) <= bytes.size();) {
        const auto* rec = reinterpret_cast<const EMR*>(bytes.data() + at);
        if (rec->nSize == 0)
            break;
        if (rec->iType == EMR_EXTTEXTOUTA || rec->iType == EMR_EXTTEXTOUTW) {
            const auto* t = reinterpret_cast<const EMREXTTEXTOUTA*>(rec);
            const BYTE* chars = bytes.data() + at + t->emrtext.offString;
            std::string text;
            if (rec->iType == EMR_EXTTEXTOUTA) {
                text.assign(reinterpret_cast<const char*>(chars), t->emrtext.nChars);
            } else {
                std::vector<char> narrow(t->emrtext.nChars * 2 + 1);
                int n = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(chars),
                                            static_cast<int>(t->emrtext.nChars), narrow.data(),
                                            static_cast<int>(narrow.size()), nullptr, nullptr);
                text.assign(narrow.data(), n > 0 ? static_cast<size_t>(n) : 0);
            }
            const RECTL& b = t->rclBounds;
            out.push_back({text, t->emrtext.ptlReference.x, t->emrtext.ptlReference.y,
                           RECT{b.left, b.top, b.right + 1, b.bottom + 1}});
        }
        at += rec->nSize;
    }
    return out;
}

std::vector<PrintedText> print_page(int page)
{
    HDC ref = GetDC(nullptr);
    HDC rec = CreateEnhMetaFileA(ref, nullptr, nullptr, nullptr);
    fw::Dc dc{rec, ref, true};
    papp->list.print_page = page;
    papp->list.prnt_page(dc);
    HENHMETAFILE emf = CloseEnhMetaFile(rec);
    ReleaseDC(nullptr, ref);
    std::vector<PrintedText> texts = texts_of(emf);
    DeleteEnhMetaFile(emf);
    return texts;
}

std::string page_line(int n)
{
    char date[16];
    std::snprintf(date, sizeof date, "%04i.01.01", 2200 - n);
    return std::string(date) + "\tMon\t08:00\tRow " + std::to_string(n) + "\t0\n";
}

} // namespace

TEST_F(ListPrint, SixtyRowsAPageAndTheRestOnTheNext)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 61; ++i)
        lines.push_back(page_line(i));
    wt::reset_dates(lines);
    ASSERT_EQ(papp->list.row_count(), 61);
    papp->gui.df = 1;

    const std::vector<PrintedText> second = print_page(1);
    const CGUI& gui = papp->gui;
    const int lh = (gui.page_bottom - gui.page_top) / 60;
    ASSERT_GT(lh, 0);
    ASSERT_EQ(second.size(), 10u);
    const char* captions[] = {"Date", "Day", "Time", "To do", "Stat."};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(second[static_cast<size_t>(i)].text, captions[i]);
        EXPECT_EQ(second[static_cast<size_t>(i)].y, gui.page_top);
    }
    // Stored texts, no display format: the date as the file holds it.
    const char* cells[] = {"2140.01.01", "Mon", "08:00", "Row 60", "0"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(second[static_cast<size_t>(5 + i)].text, cells[i]);
        EXPECT_EQ(second[static_cast<size_t>(5 + i)].y, gui.page_top + lh / 2 + lh);
    }
    // Columns share the page width in proportion to their initial widths; Day is centred.
    const int sum = 85 + 35 + 70 + 200 + (gui.ss ? 40 : 0);
    const int page_w = gui.page_right - gui.page_left;
    EXPECT_EQ(second[0].x, gui.page_left + 3);
    EXPECT_EQ(second[1].x, gui.page_left + 85 * page_w / sum + 35 * page_w / sum / 2);

    const std::vector<PrintedText> first = print_page(0);
    ASSERT_EQ(first.size(), 5u + 60u * 5u);
    for (int r = 0; r < 60; ++r) {
        const PrintedText& todo = first[static_cast<size_t>(5 + r * 5 + 3)];
        EXPECT_EQ(todo.text, "Row " + std::to_string(r));
        EXPECT_EQ(todo.y, gui.page_top + lh / 2 + lh * (r + 1));
    }
    // A page past the rows prints the header only.
    EXPECT_EQ(print_page(2).size(), 5u);

    char expected_log[96];
    std::snprintf(expected_log, sizeof expected_log, "cx:%i, cy:%i, xo:%i, xc:%i, xa:%i\n", gui.unit_x, gui.unit_y,
                  gui.page_left, gui.page_right, sum);
    EXPECT_NE(wt::read_text("trm.log").find(expected_log), std::string::npos);
}

TEST_F(ListPrint, PreviewPageIsLegibleAndItsTextsKeepApart)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 60; ++i)
        lines.push_back(page_line(i));
    wt::reset_dates(lines);
    wt::command(ID_FILE_PRINT_PREVIEW);
    fw::PreviewWindow* preview = fw::PreviewWindow::active();
    ASSERT_NE(preview, nullptr);
    UpdateWindow(preview->hwnd());
    ASSERT_NE(preview->page_metafile(), nullptr);
    const std::vector<PrintedText> texts = texts_of(preview->page_metafile());
    preview->close();
    wt::pump();
    ASSERT_EQ(texts.size(), 5u + 60u * 5u);
    const CGUI& gui = papp->gui;
    const int lh = (gui.page_bottom - gui.page_top) / 60;
    // Letters of a readable size for the line they stand on, side by side, and no text on another.
    std::vector<std::string> small, overlapping;
    for (size_t i = 0; i < texts.size(); ++i) {
        const RECT& a = texts[i].box;
        if (a.bottom - a.top < lh / 2 || a.right - a.left < static_cast<LONG>(texts[i].text.size()) * lh / 4)
            small.push_back(texts[i].text);
        for (size_t j = i + 1; j < texts.size(); ++j) {
            RECT both;
            if (IntersectRect(&both, &a, &texts[j].box))
                overlapping.push_back(texts[i].text + " / " + texts[j].text);
        }
    }
    EXPECT_EQ(small.size(), 0u) << (small.empty() ? "" : small[0]);
    EXPECT_EQ(overlapping.size(), 0u) << (overlapping.empty() ? "" : overlapping[0]);
}
