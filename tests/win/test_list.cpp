// The date list through its window: rows and held-back lines, read-back through the control,
// columns and editor boxes, sorting by header click, status toggle, selection, keys, due test.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "res/resource.h"
#include "view/mvie.h"
#include "win_test.h"

namespace {

std::string line(const std::string& date, const std::string& todo, const std::string& status,
                 const std::string& time = "")
{
    return date + "\tMon\t" + time + "\t" + todo + "\t" + status + "\n";
}

HWND list_wnd()
{
    return papp->list.hwnd();
}

// A cell as the control hands it out, into a buffer of the given room.
std::string item_text(int row, int col, int room = 512)
{
    std::vector<char> buf(static_cast<size_t>(room), '\x7f');
    LVITEMA item{};
    item.iSubItem = col;
    item.pszText = buf.data();
    item.cchTextMax = room;
    SendMessageA(list_wnd(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return std::string(buf.data());
}

int item_count()
{
    return static_cast<int>(SendMessageA(list_wnd(), LVM_GETITEMCOUNT, 0, 0));
}

std::vector<std::string> column(int col)
{
    std::vector<std::string> out;
    for (int r = 0; r < item_count(); ++r)
        out.push_back(item_text(r, col));
    return out;
}

int selected_in_control()
{
    return static_cast<int>(SendMessageA(list_wnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

POINT row_point(int row, int x)
{
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    SendMessageA(list_wnd(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
    return POINT{x, (rc.top + rc.bottom) / 2};
}

void mouse(UINT down, UINT up, POINT pt, WPARAM keys)
{
    LPARAM at = MAKELPARAM(pt.x, pt.y);
    SendMessageA(list_wnd(), down, keys, at);
    SendMessageA(list_wnd(), up, 0, at);
    wt::pump();
}

void left_click(int row, int x)
{
    mouse(WM_LBUTTONDOWN, WM_LBUTTONUP, row_point(row, x), MK_LBUTTON);
}

void key(UINT vk)
{
    SendMessageA(list_wnd(), WM_KEYDOWN, vk, 1);
    SendMessageA(list_wnd(), WM_KEYUP, vk, 0xC0000001);
    wt::pump();
}

void key_up(UINT vk)
{
    SendMessageA(list_wnd(), WM_KEYUP, vk, 0xC0000001);
    wt::pump();
}

// The notification the control sends when a header is clicked.
void column_click(int col)
{
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = list_wnd();
    nm.hdr.idFrom = IDC_LIST;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = col;
    SendMessageA(GetParent(list_wnd()), WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&nm));
}

void header_click(int col)
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(list_wnd(), LVM_GETHEADER, 0, 0));
    RECT rc{};
    SendMessageA(header, HDM_GETITEMRECT, col, reinterpret_cast<LPARAM>(&rc));
    LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
    wt::pump();
}

const std::vector<std::string> three_open = {line("2026.03.01", "March", "0"), line("2026.01.01", "January", "0"),
                                             line("2026.02.01", "February", "0")};

class ListTest : public testing::Test {
protected:
    void SetUp() override { wt::reset_dates({}); }
    void TearDown() override { wt::reset_dates({}); }
};

using ListRows = ListTest;
using ListInput = ListTest;

} // namespace

TEST_F(ListRows, ShowAllMovesDoneLinesBetweenStoreAndRows)
{
    wt::reset_dates({line("2026.01.01", "A", "0"), line("2026.01.02", "B", "1"), line("2026.01.03", "C", "0")});
    EXPECT_EQ(item_count(), 2);
    EXPECT_EQ(papp->list.row_count(), 2);
    ASSERT_EQ(papp->list.lines.size(), 1u);
    EXPECT_EQ(papp->list.lines[0], line("2026.01.02", "B", "1"));

    wt::command(ID_SHOW_ALL);
    EXPECT_EQ(item_count(), 3);
    EXPECT_TRUE(papp->list.lines.empty());
    EXPECT_EQ(column(3), (std::vector<std::string>{"C", "B", "A"}));

    wt::command(ID_SHOW_ALL);
    EXPECT_EQ(item_count(), 2);
    ASSERT_EQ(papp->list.lines.size(), 1u);
    EXPECT_EQ(papp->list.lines[0], line("2026.01.02", "B", "1"));
    EXPECT_EQ(column(3), (std::vector<std::string>{"C", "A"}));
}

TEST_F(ListRows, ControlReadsTheCellsFromTheStoreNewestFirst)
{
    wt::reset_dates({line("2011.05.02", "Dentist", "0", "09:30-10:00"), line("2012.01.01", "Later", "0"),
                     "2010.01.01\tFri\t\tNo end\t0"});
    // The line without its final newline lost its status, so it is held back.
    ASSERT_EQ(item_count(), 2);
    EXPECT_EQ(column(0), (std::vector<std::string>{"2012.01.01", "2011.05.02"}));
    const char* expected[] = {"2011.05.02", "Mon", "09:30-10:00", "Dentist", "0"};
    for (int col = 0; col < 5; ++col) {
        EXPECT_EQ(item_text(1, col), expected[col]) << col;
        EXPECT_EQ(papp->list.cell_text(1, col), expected[col]) << col;
    }
    EXPECT_EQ(item_text(0, 2), "");
    // Rows and columns that do not exist read as empty, in the store and the control.
    EXPECT_EQ(papp->list.cell_text(5, 0), "");
    EXPECT_EQ(papp->list.cell_text(-1, 0), "");
    EXPECT_EQ(papp->list.cell_text(0, 7), "");
}

TEST_F(ListRows, EveryWayOfAskingTheControlGivesTheSameCells)
{
    wt::reset_dates({line("2011.05.02", "Dentist", "0", "09:30-10:00"), line("2012.01.01", "Later", "0")});
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 5; ++col) {
            const std::string expected = papp->list.cell_text(row, col);
            // The item record: the control asks the view for the cell.
            char a[64] = "";
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.iSubItem = col;
            item.pszText = a;
            item.cchTextMax = sizeof a;
            ASSERT_TRUE(SendMessageA(list_wnd(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
            EXPECT_EQ(std::string(item.pszText), expected) << row << "," << col;
            // The wide text request.
            wchar_t w[64] = L"";
            LVITEMW wide{};
            wide.iSubItem = col;
            wide.pszText = w;
            wide.cchTextMax = 64;
            LRESULT n = SendMessageW(list_wnd(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&wide));
            EXPECT_EQ(n, static_cast<LRESULT>(expected.size()));
            EXPECT_EQ(std::wstring(w), std::wstring(expected.begin(), expected.end()));
            EXPECT_EQ(SendMessageA(list_wnd(), LVM_GETITEMTEXTA, row, 0), 0);
        }
    // A row that does not exist leaves the buffer alone.
    char untouched[8] = "keep";
    LVITEMA item{};
    item.pszText = untouched;
    item.cchTextMax = sizeof untouched;
    EXPECT_EQ(SendMessageA(list_wnd(), LVM_GETITEMTEXTA, 2, reinterpret_cast<LPARAM>(&item)), 0);
    EXPECT_STREQ(untouched, "keep");
}

TEST_F(ListRows, CellTextsAreCutAndNeverOverrunTheBuffer)
{
    const std::string long_text(400, 'x');
    wt::reset_dates({line("2026.01.01", long_text, "0")});
    ASSERT_EQ(item_count(), 1);
    EXPECT_EQ(item_text(0, 3), std::string(254, 'x'));
    EXPECT_EQ(papp->list.cell_text(0, 3), std::string(254, 'x'));
    std::vector<char> big(512, '\0');
    LVITEMA full{};
    full.mask = LVIF_TEXT;
    full.iSubItem = 3;
    full.pszText = big.data();
    full.cchTextMax = 512;
    SendMessageA(list_wnd(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&full));
    EXPECT_EQ(std::string(full.pszText), std::string(254, 'x'));

    // A small buffer gets what fits and a terminator, and nothing behind it is touched.
    std::vector<char> buf(16, '#');
    LVITEMA item{};
    item.iSubItem = 3;
    item.pszText = buf.data();
    item.cchTextMax = 6;
    SendMessageA(list_wnd(), LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::string(buf.data()), "xxxxx");
    for (size_t i = 6; i < buf.size(); ++i)
        EXPECT_EQ(buf[i], '#') << i;
}

TEST_F(ListRows, WindowColumnsAndEditorBoxesAsCreated)
{
    HWND list = list_wnd();
    ASSERT_TRUE(IsWindow(list));
    LONG style = GetWindowLongA(list, GWL_STYLE);
    const LONG wanted = LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS | WS_BORDER | WS_CHILD;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & (LVS_SORTASCENDING | LVS_SORTDESCENDING), 0);
    EXPECT_EQ(GetDlgCtrlID(list), IDC_LIST);
    EXPECT_EQ(GetParent(list), active_view()->hwnd());
    EXPECT_EQ(SendMessageA(list, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(papp->gui.list_font.get()));

    EXPECT_EQ(papp->list.col_count, 5);
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 5);
    const char* captions[] = {"Date", "Day", "Time", "To do", "Stat."};
    const int widths[] = {85, 35, 70, -1, papp->gui.ss ? 40 : 0};
    for (int i = 0; i < 5; ++i) {
        char text[32] = "";
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_FORMAT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, captions[i]);
        EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, HDF_CENTER) << i;
        if (widths[i] >= 0)
            EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0), widths[i]) << i;
    }
    EXPECT_EQ(papp->list.col_align[1], 1);

    HWND view = active_view()->hwnd();
    for (int i = 0; i < 5; ++i) {
        HWND box = GetDlgItem(view, IDC_EDIT0 + i);
        ASSERT_TRUE(box) << i;
        EXPECT_EQ(papp->list.edit[i].hwnd(), box);
        EXPECT_EQ(SendMessageA(box, WM_GETFONT, 0, 0), SendMessageA(list, WM_GETFONT, 0, 0));
        // (The edit control takes its thin border out of the window style and draws it itself.)
        // Only the "To do" box scrolls its text.
        EXPECT_EQ(GetWindowLongA(box, GWL_STYLE) & (WS_TABSTOP | WS_GROUP | WS_VISIBLE | ES_AUTOHSCROLL),
                  WS_TABSTOP | WS_GROUP | (i == 3 ? ES_AUTOHSCROLL : 0));
    }
    EXPECT_FALSE(GetDlgItem(view, IDC_EDIT0 + 5));
    HWND hint = GetDlgItem(view, IDC_HINT);
    ASSERT_EQ(hint, papp->list.hint);
    EXPECT_EQ(wt::window_text(hint), "Confirm with ENTER, Cancel with ESC");
    EXPECT_EQ(SendMessageA(hint, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(papp->gui.bold_font.get()));
    EXPECT_EQ(GetWindowLongA(hint, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
}

TEST_F(ListRows, DateHeaderReversesTheOrderAndOtherHeadersDoNot)
{
    wt::reset_dates(three_open);
    const std::vector<std::string> newest_first = {"March", "February", "January"};
    const std::vector<std::string> oldest_first = {"January", "February", "March"};
    ASSERT_EQ(column(3), newest_first);
    for (int col = 1; col < 5; ++col) {
        column_click(col);
        EXPECT_EQ(column(3), newest_first) << col;
    }
    column_click(0);
    EXPECT_EQ(column(3), oldest_first);
    EXPECT_EQ(papp->list.store.sort_up, 1);
    column_click(0);
    EXPECT_EQ(column(3), newest_first);

    // The same through the header control itself.
    header_click(0);
    EXPECT_EQ(column(3), oldest_first);
    header_click(2);
    EXPECT_EQ(column(3), oldest_first);
    header_click(0);
    EXPECT_EQ(column(3), newest_first);
}

TEST_F(ListRows, AddedLineTakesItsPlaceInEitherOrder)
{
    wt::reset_dates(three_open);
    papp->list.add_line(line("2026.02.15", "Mid", "0").c_str());
    EXPECT_EQ(column(3), (std::vector<std::string>{"March", "Mid", "February", "January"}));
    column_click(0);
    papp->list.add_line(line("2026.01.15", "Early", "0").c_str());
    EXPECT_EQ(column(3), (std::vector<std::string>{"January", "Early", "February", "Mid", "March"}));
    EXPECT_EQ(papp->list.row_count(), item_count());
    // Only the first call creates columns; a null line later adds nothing.
    papp->list.add_line(nullptr);
    EXPECT_EQ(item_count(), 5);
}

TEST_F(ListRows, RecordedSelectionFollowsTheControl)
{
    wt::reset_dates(three_open);
    CLst& list = papp->list;
    EXPECT_EQ(list.sel_item, -1);
    ListView_SetItemState(list_wnd(), 2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.sel_item, 2);
    ListView_SetItemState(list_wnd(), -1, 0, LVIS_SELECTED);
    EXPECT_EQ(list.sel_item, -1);

    // A row added above the selected one moves it, and the selection moves with it.
    ListView_SetItemState(list_wnd(), 1, LVIS_SELECTED, LVIS_SELECTED);
    list.add_line(line("2026.12.01", "December", "0").c_str());
    EXPECT_EQ(list.sel_item, 2);
    EXPECT_EQ(selected_in_control(), 2);
    EXPECT_EQ(item_text(list.sel_item, 3), "February");

    // A rebuild renumbers the rows: nothing stays selected.
    list.fill_list();
    EXPECT_EQ(list.sel_item, -1);
    EXPECT_EQ(selected_in_control(), -1);
}

TEST_F(ListInput, ClickInTheBoxZoneTogglesTheStatusAndTheRowStays)
{
    wt::reset_dates(three_open);
    left_click(1, 5);
    EXPECT_EQ(papp->list.sel_item, 1);
    EXPECT_EQ(item_text(1, 4), "1");
    EXPECT_EQ(item_count(), 3);
    EXPECT_EQ(item_text(1, 3), "February");
    EXPECT_EQ(item_text(0, 4), "0");
    left_click(1, 15);
    EXPECT_EQ(item_text(1, 4), "0");
    // Right of the zone a click only selects.
    left_click(2, 16);
    EXPECT_EQ(papp->list.sel_item, 2);
    EXPECT_EQ(item_text(2, 4), "0");
    // The toggled row goes to the store at the next rebuild.
    left_click(0, 5);
    wt::command(ID_SHOW_ALL);
    wt::command(ID_SHOW_ALL);
    EXPECT_EQ(column(3), (std::vector<std::string>{"February", "January"}));
    ASSERT_EQ(papp->list.lines.size(), 1u);
    EXPECT_EQ(papp->list.lines[0], line("2026.03.01", "March", "1"));
}

TEST_F(ListInput, RightButtonLeavesTheSelection)
{
    wt::reset_dates(three_open);
    left_click(0, 40);
    ASSERT_EQ(selected_in_control(), 0);
    mouse(WM_RBUTTONDOWN, WM_RBUTTONUP, row_point(2, 40), MK_RBUTTON);
    EXPECT_EQ(selected_in_control(), 0);
    EXPECT_EQ(papp->list.sel_item, 0);
    mouse(WM_RBUTTONDOWN, WM_RBUTTONUP, row_point(2, 5), MK_RBUTTON);
    EXPECT_EQ(item_text(2, 4), "0");
}

TEST_F(ListInput, DeleteRemovesTheSelectedRowAndSelectsTheOneInItsPlace)
{
    wt::reset_dates(three_open);
    SetFocus(list_wnd());
    // Nothing selected yet: nothing goes.
    key_up(VK_DELETE);
    EXPECT_EQ(item_count(), 3);

    // The keyboard moves the selection; Delete takes the row it landed on.
    left_click(0, 40);
    key(VK_DOWN);
    ASSERT_EQ(selected_in_control(), 1);
    EXPECT_EQ(papp->list.sel_item, 1);
    key_up(VK_DELETE);
    EXPECT_EQ(column(3), (std::vector<std::string>{"March", "January"}));
    // The row that took its place is selected, in the control as well.
    EXPECT_EQ(papp->list.sel_item, 1);
    EXPECT_EQ(selected_in_control(), 1);

    // The last row gone, the new last row is selected; the arrow keys go on from it.
    key_up(VK_DELETE);
    EXPECT_EQ(column(3), std::vector<std::string>{"March"});
    EXPECT_EQ(selected_in_control(), 0);
    key_up(VK_DELETE);
    EXPECT_EQ(item_count(), 0);
    EXPECT_EQ(papp->list.sel_item, -1);

    // A selected row scrolled out of sight: the one in its place is brought into view.
    std::vector<std::string> many;
    for (int i = 0; i < 200; ++i)
        many.push_back(line("2026.01.01", "Row " + std::to_string(i), "0"));
    wt::reset_dates(many);
    ListView_SetItemState(list_wnd(), 150, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(list_wnd(), LVM_ENSUREVISIBLE, 0, FALSE);
    key_up(VK_DELETE);
    ASSERT_EQ(selected_in_control(), 150);
    RECT row{}, client{};
    row.left = LVIR_BOUNDS;
    SendMessageA(list_wnd(), LVM_GETITEMRECT, 150, reinterpret_cast<LPARAM>(&row));
    GetClientRect(list_wnd(), &client);
    EXPECT_GE(row.top, 0);
    EXPECT_LE(row.bottom, client.bottom);
}

TEST_F(ListInput, TypingSelectsTheFirstDateThatBeginsWithIt)
{
    const struct {
        const char* typed;
        const char* selected;
    } cases[] = {{"2026.02", "February"},
                 {"2026.03", "March"},
                 {"2026.01", "January"},
                 // "2" found March; nothing begins with "2027", so March stays.
                 {"2027", "March"}};
    for (const auto& c : cases) {
        wt::reset_dates(three_open);
        // From January, the last row: the search goes round to the first.
        left_click(2, 40);
        SetFocus(list_wnd());
        for (const char* ch = c.typed; *ch; ++ch)
            SendMessageA(list_wnd(), WM_CHAR, static_cast<WPARAM>(*ch), 1);
        wt::pump();
        EXPECT_EQ(item_text(selected_in_control(), 3), c.selected) << c.typed;
        EXPECT_EQ(papp->list.sel_item, selected_in_control()) << c.typed;
        // A pause ends the typed word.
        Sleep(1100);
    }
}

TEST_F(ListInput, DeleteAfterTheSelectionWasClearedRemovesNothing)
{
    wt::reset_dates(three_open);
    left_click(2, 40);
    ListView_SetItemState(list_wnd(), -1, 0, LVIS_SELECTED);
    papp->list.del_line();
    EXPECT_EQ(item_count(), 3);
    // A click below the last row selects nothing.
    left_click(1, 40);
    RECT client;
    GetClientRect(list_wnd(), &client);
    mouse(WM_LBUTTONDOWN, WM_LBUTTONUP, POINT{40, client.bottom - 2}, MK_LBUTTON);
    EXPECT_EQ(papp->list.sel_item, -1);
    papp->list.del_line();
    EXPECT_EQ(item_count(), 3);
}

TEST_F(ListInput, EscapeClosesTheEditorAndDoubleClickOpensIt)
{
    wt::reset_dates(three_open);
    CLst& list = papp->list;
    left_click(1, 40);
    POINT pt = row_point(1, 40);
    SendMessageA(list_wnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    SendMessageA(list_wnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    wt::pump();
    EXPECT_EQ(list.editing, 1);
    EXPECT_EQ(list.replacing, 1);
    EXPECT_EQ(wt::window_text(list.edit[3].hwnd()), "February");
    key_up(VK_ESCAPE);
    EXPECT_EQ(list.editing, 0);
    EXPECT_EQ(list.replacing, 0);
    EXPECT_FALSE(IsWindowVisible(list.edit[0].hwnd()));
    EXPECT_EQ(item_count(), 3);
}

TEST_F(ListInput, EnterShowsTheReturnBox)
{
    wt::reset_dates(three_open);
    wt::MessageBoxes boxes;
    key_up(VK_RETURN);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Return");
    EXPECT_EQ(boxes.shown()[0].caption, fw::app_name());
    EXPECT_EQ(item_count(), 3);
    key_up('A');
    EXPECT_EQ(boxes.shown().size(), 1u);
}

namespace {

// Today 2026.05.20 at 10:30, set just before the test (the timer refreshes the real time).
class ListDue : public testing::Test {
protected:
    void SetUp() override
    {
        CTrm& g = papp->grid;
        saved_ = {g.today_day, g.today_month, g.today_year, g.cur_hour, g.cur_min};
        set_now(20, 5, 2026, 10, 30);
    }
    void TearDown() override { set_now(saved_.day, saved_.month, saved_.year, saved_.hour, saved_.min); }
    static void set_now(int day, int month, int year, int hour, int min)
    {
        CTrm& g = papp->grid;
        g.today_day = day;
        g.today_month = month;
        g.today_year = year;
        g.cur_hour = hour;
        g.cur_min = min;
    }
    static bool due(const char* date, const char* time)
    {
        papp->list.chek_date(date);
        papp->list.chek_time(time);
        return papp->list.scratch.due != 0;
    }
    Today saved_{};
};

} // namespace

TEST_F(ListDue, PastDatesAndTodayFromItsStartTime)
{
    EXPECT_TRUE(due("2026.05.20", "10:29"));
    EXPECT_TRUE(due("2026.05.20", "10:30-11:00"));
    EXPECT_FALSE(due("2026.05.20", "10:31"));
    EXPECT_TRUE(due("2026.05.19", "23:59"));
    EXPECT_TRUE(due("2025.12.31", ""));
    EXPECT_FALSE(due("2027.05.19", ""));
    EXPECT_FALSE(due("2026.06.01", "00:00"));
    CLst& list = papp->list;
    list.chek_date("2026.05.21");
    EXPECT_EQ(list.scratch.p_year, 2026);
    EXPECT_EQ(list.scratch.p_month, 5);
    EXPECT_EQ(list.scratch.p_day, 21);
    list.chek_time("07:45");
    EXPECT_EQ(list.scratch.p_hour, 7);
    EXPECT_EQ(list.scratch.p_min, 45);
    // Null texts: the date test clears due, the time test leaves it.
    list.chek_date("2020.01.01");
    list.chek_time(nullptr);
    EXPECT_EQ(list.scratch.due, 1);
    list.chek_date(nullptr);
    EXPECT_EQ(list.scratch.due, 0);
}
