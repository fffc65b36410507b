// The date entry commands through the real windows: New, Edit, Delete, cancel and confirm, the
// replacing of the loaded row, the messages of the date and time checks, and what reaches the file.
#include <gtest/gtest.h>
#include <algorithm>
#include "editor_steps.h"

namespace {

const char* const kDentist = "2025.06.01\tSun\t09:30-10:00\tDentist\t0\n";
const char* const kChristmas = "2026.12.24\tThr\t18:00\tChristmas eve\t0\n";
const char* const kTaxes = "2024.03.05\tThu\t\tTaxes\t0\n";
const char* const kPaidRent = "2025.02.02\tSun\t\tPaid rent\t1\n";

// New Date with the given texts in Date, Day, Time and To do.
void enter_new(const char* date, const char* day, const char* time, const char* text)
{
    wt::command(ID_NEW_DATE);
    es::set_box(0, date);
    es::set_box(1, day);
    es::set_box(2, time);
    es::set_box(3, text);
}

void press_enter()
{
    es::release_key(es::box(0), VK_RETURN);
}

std::vector<std::string> sorted(std::vector<std::string> lines, bool up)
{
    std::sort(lines.begin(), lines.end());
    if (!up)
        std::reverse(lines.begin(), lines.end());
    return lines;
}

int row_of(const std::string& line)
{
    std::vector<std::string> rows = es::row_lines();
    auto it = std::find(rows.begin(), rows.end(), line);
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

size_t count_of(const std::string& text, char c)
{
    return static_cast<size_t>(std::count(text.begin(), text.end(), c));
}

// A click on the "Date" header, which rebuilds the list in the other order.
void click_date_header()
{
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = es::list_window();
    nm.hdr.idFrom = IDC_LIST;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = 0;
    SendMessageA(active_view()->hwnd(), WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&nm));
}

class Entry : public testing::Test {
protected:
    void SetUp() override
    {
        saved_df_ = papp->gui.df;
        saved_month_ = papp->grid.shown_month;
        saved_year_ = papp->grid.shown_year;
        papp->gui.df = 0;
        wt::reset_dates({kDentist, kChristmas, kTaxes});
        wt::paint_view();
    }
    void TearDown() override
    {
        papp->gui.df = saved_df_;
        papp->grid.shown_month = saved_month_;
        papp->grid.shown_year = saved_year_;
        wt::reset_dates({});
    }
    int saved_df_ = 0, saved_month_ = 0, saved_year_ = 0;
};

} // namespace

TEST_F(Entry, NewDateStartsTheDateBoxFromTheShownMonth)
{
    papp->grid.shown_month = 3;
    papp->grid.shown_year = 2024;
    papp->gui.df = 1;
    wt::command(ID_NEW_DATE);
    EXPECT_EQ(es::box_text(0), ".03.2024");
    EXPECT_EQ(papp->list.sel_item, -1);
    EXPECT_TRUE(IsWindowVisible(es::box(0)));
    EXPECT_TRUE(IsWindowVisible(papp->list.hint));
    EXPECT_EQ(papp->list.editing, 1);
    EXPECT_EQ(papp->list.replacing, 0);
    wt::command(ID_CANCEL_EDIT);
    EXPECT_TRUE(es::editor_hidden_and_empty());

    papp->gui.df = 0;
    wt::command(ID_NEW_DATE);
    EXPECT_EQ(es::box_text(0), "2024.03.");
    wt::command(ID_CANCEL_EDIT);

    // Over a loaded row only the Date box changes, and confirming still replaces that row.
    es::double_click_row(1);
    wt::command(ID_NEW_DATE);
    EXPECT_EQ(es::box_text(0), "2024.03.");
    EXPECT_EQ(es::box_text(3), "Dentist");
    EXPECT_EQ(papp->list.replacing, 1);
}

TEST_F(Entry, ConfirmedEntryLandsInDateOrderBothWays)
{
    enter_new("2025.01.15", "", "830", "Haircut");
    press_enter();
    const std::string haircut = "2025.01.15\tWen\t08:30\tHaircut\t0\n";
    EXPECT_EQ(es::row_lines(), sorted({kDentist, kChristmas, kTaxes, haircut}, false));
    EXPECT_TRUE(es::editor_hidden_and_empty());

    click_date_header();
    ASSERT_EQ(papp->list.store.sort_up, 1);
    enter_new("2024.12.31", "", "", "New year's eve");
    press_enter();
    const std::string eve = "2024.12.31\tThu\t\tNew year's eve\t0\n";
    EXPECT_EQ(es::row_lines(), sorted({kDentist, kChristmas, kTaxes, haircut, eve}, true));
}

TEST_F(Entry, EditDateLoadsTheSelectedRowAndReplacesIt)
{
    es::click_row(2);
    wt::command(ID_EDIT_DATE);
    EXPECT_EQ(es::box_text(3), "Taxes");
    es::set_box(2, "14");
    es::set_box(3, "Taxes, second try");
    press_enter();
    EXPECT_EQ(es::row_lines(), sorted({kDentist, kChristmas, "2024.03.05\tThu\t14:00\tTaxes, second try\t0\n"}, false));
}

TEST_F(Entry, ReplacingAfterTheSelectionMovedRemovesOnlyTheLoadedRow)
{
    es::double_click_row(1);
    es::click_row(2);
    EXPECT_EQ(papp->list.sel_item, 2);
    es::set_box(3, "Dentist moved");
    press_enter();
    EXPECT_EQ(es::row_lines(), sorted({kChristmas, kTaxes, "2025.06.01\tSun\t09:30-10:00\tDentist moved\t0\n"}, false));
}

TEST_F(Entry, ReplacingAfterADeleteRemovesOnlyTheLoadedRow)
{
    es::double_click_row(1);
    es::click_row(0);
    es::release_key(es::list_window(), VK_DELETE);
    ASSERT_EQ(es::row_lines().size(), 2u);
    es::set_box(3, "Dentist moved");
    press_enter();
    const std::string moved = "2025.06.01\tSun\t09:30-10:00\tDentist moved\t0\n";
    EXPECT_EQ(es::row_lines(), sorted({kTaxes, moved}, false));

    // The loaded row itself deleted: the entry comes back as a new one and nothing else goes.
    es::double_click_row(0);
    es::release_key(es::list_window(), VK_DELETE);
    ASSERT_EQ(es::row_lines(), std::vector<std::string>{kTaxes});
    press_enter();
    EXPECT_EQ(es::row_lines(), sorted({kTaxes, moved}, false));
}

TEST_F(Entry, ReplacingAfterARebuildRemovesTheLoadedRowWhileItIsARow)
{
    const std::string again = "2025.06.01\tSun\t09:30-10:00\tDentist again\t0\n";
    const std::string dentist_done = "2025.06.01\tSun\t09:30-10:00\tDentist\t1\n";
    struct Case {
        const char* what;
        bool held_back; // the loaded row marked done before the rebuild, so it leaves the rows
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"re-sorted twice", false, {kChristmas, kTaxes, again}},
        {"held back", true, {kChristmas, kTaxes, again}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        wt::reset_dates({kDentist, kChristmas, kTaxes});
        wt::paint_view();
        es::double_click_row(1);
        if (c.held_back)
            papp->list.store.toggle_status(1);
        click_date_header();
        click_date_header();
        ASSERT_EQ(papp->list.editing, 1);
        // A row selected after the rebuild is not the loaded one.
        es::click_row(0);
        es::set_box(3, "Dentist again");
        press_enter();
        EXPECT_EQ(es::row_lines(), sorted(c.rows, false));
        EXPECT_EQ(papp->list.lines, c.held_back ? std::vector<std::string>{dentist_done} : std::vector<std::string>{});
    }
}

TEST_F(Entry, ConfirmingADoneRowStoresItOpen)
{
    wt::reset_dates({kDentist, kPaidRent});
    wt::command(ID_SHOW_ALL);
    ASSERT_EQ(papp->show_all, 1);
    const int row = row_of(kPaidRent);
    ASSERT_GE(row, 0);
    es::double_click_row(row);
    EXPECT_EQ(es::box_text(4), "1");
    press_enter();
    EXPECT_EQ(es::row_lines(), sorted({kDentist, "2025.02.02\tSun\t\tPaid rent\t0\n"}, false));
}

TEST_F(Entry, DeleteDateRemovesTheSelectedRowOnce)
{
    wt::command(ID_DELETE_DATE);
    EXPECT_EQ(es::row_lines().size(), 3u);
    es::click_row(1);
    wt::command(ID_DELETE_DATE);
    EXPECT_EQ(es::row_lines(), sorted({kChristmas, kTaxes}, false));
    // The row in its place is selected now, and the next Delete Date removes that one.
    const std::string next = es::row_lines()[1];
    wt::command(ID_DELETE_DATE);
    ASSERT_EQ(es::row_lines().size(), 1u);
    EXPECT_NE(es::row_lines()[0], next);
}

TEST_F(Entry, EnterInTheViewWithTheEditorClosedWantsThreeNumbers)
{
    wt::MessageBoxes boxes;
    es::release_key(active_view()->hwnd(), VK_RETURN);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Date Error, 3 Arguments expected !");
    for (const auto& box : boxes.shown())
        EXPECT_TRUE(box.exclamation) << box.text;
    EXPECT_EQ(boxes.shown()[0].caption, "trm_win_tests");
    EXPECT_EQ(es::row_lines().size(), 3u);
}

TEST_F(Entry, DateErrorsNameTheFieldAndKeepTheEditorOpen)
{
    wt::MessageBoxes boxes;
    papp->gui.df = 1;
    const struct {
        const char* date;
        const char* message;
    } cases[] = {
        {"32.1.2024", "Date Error, Day ?"},
        {"5.13.2024", "Date Error, Month ?"},
        {"5.3.3001", "Date Error, Year ?"},
        {"5/3/2024", "Date Error, 3 Arguments expected !"},
    };
    for (const auto& c : cases) {
        enter_new(c.date, "", "8", "x");
        press_enter();
        ASSERT_FALSE(boxes.shown().empty());
        EXPECT_EQ(boxes.shown().back().text, c.message) << c.date;
        EXPECT_EQ(es::box_text(0), c.date);
        // Stopped before the time: it is not rewritten yet.
        EXPECT_EQ(es::box_text(2), "8");
        EXPECT_EQ(papp->list.editing, 1);
        wt::command(ID_CANCEL_EDIT);
    }
    EXPECT_EQ(boxes.shown().size(), 4u);
    EXPECT_EQ(es::row_lines().size(), 3u);

    // The order of the numbers follows the date format, the file keeps year first.
    enter_new("5.3.24", "", "", "Day first");
    press_enter();
    EXPECT_GE(row_of("2024.03.05\tThu\t\tDay first\t0\n"), 0);
    papp->gui.df = 0;
    enter_new("5.3.2024", "", "", "Year first");
    press_enter();
    EXPECT_EQ(boxes.shown().back().text, "Date Error, Day ?");
    es::set_box(0, "2024.3.5");
    press_enter();
    EXPECT_GE(row_of("2024.03.05\tThu\t\tYear first\t0\n"), 0);
    for (const auto& box : boxes.shown())
        EXPECT_TRUE(box.exclamation) << box.text;
}

TEST_F(Entry, BadTimeIsRewrittenInItsBoxWhichGetsTheFocus)
{
    wt::MessageBoxes boxes;
    enter_new("2025.05.05", "", "24", "Meeting");
    press_enter();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Invalid Timevalue 1, Houres ?");
    EXPECT_EQ(es::box_text(2), "24:00");
    EXPECT_EQ(GetFocus(), es::box(2));
    // The day label is already there.
    EXPECT_EQ(es::box_text(1), "Mon");
    EXPECT_EQ(papp->list.editing, 1);
    EXPECT_EQ(es::row_lines().size(), 3u);

    es::set_box(2, "9-10:75");
    press_enter();
    EXPECT_EQ(boxes.shown().back().text, "Invalid Timevalue 2, Minutes ?");
    EXPECT_EQ(es::box_text(2), "09:00-10:75");

    es::set_box(2, "1430-1600");
    press_enter();
    EXPECT_EQ(boxes.shown().size(), 2u);
    for (const auto& box : boxes.shown())
        EXPECT_TRUE(box.exclamation) << box.text;
    EXPECT_GE(row_of("2025.05.05\tMon\t14:30-16:00\tMeeting\t0\n"), 0);
}

TEST_F(Entry, NewDatePutsTheCaretWhereTheDayGoes)
{
    papp->grid.shown_month = 3;
    papp->grid.shown_year = 2024;
    for (int df : {1, 0}) {
        papp->gui.df = df;
        SetFocus(es::list_window());
        wt::command(ID_NEW_DATE);
        EXPECT_EQ(GetFocus(), es::box(0)) << "df " << df;
        EXPECT_EQ(es::caret(0), df == 1 ? 0 : 8) << "df " << df;
        wt::command(ID_CANCEL_EDIT);
    }
}

TEST_F(Entry, FocusFollowsEachStepOfAnEntry)
{
    wt::MessageBoxes boxes;
    const int kList = -1;
    const struct {
        const char* step;
        const char* date;
        const char* time;
        UINT key;
        int focus;
    } cases[] = {
        {"date error", "31.04.2027", "", VK_RETURN, 0},
        {"time error", "2027.04.30", "25:00", VK_RETURN, 2},
        {"escape", "2027.04.30", "", VK_ESCAPE, kList},
        {"enter", "2027.04.30", "9", VK_RETURN, kList},
    };
    for (const auto& c : cases) {
        enter_new(c.date, "", c.time, c.step);
        // The key is released where the user typed last, in the To do box.
        SetFocus(es::box(3));
        es::release_key(es::box(3), c.key);
        EXPECT_EQ(GetFocus(), c.focus == kList ? es::list_window() : es::box(c.focus)) << c.step;
        wt::command(ID_CANCEL_EDIT);
    }
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Date Error, Day ?", "Invalid Timevalue 1, Houres ?"}));
    es::click_row(0);
    wt::command(ID_EDIT_DATE);
    EXPECT_EQ(GetFocus(), es::box(0));
}

TEST_F(Entry, ConfirmedRowIsSelectedAndInSight)
{
    std::vector<std::string> many;
    for (int day = 1; day <= 28; ++day)
        for (int month = 1; month <= 3; ++month)
            many.push_back("2030." + std::string(month < 10 ? "0" : "") + std::to_string(month) + "." +
                           (day < 10 ? "0" : "") + std::to_string(day) + "\tMon\t\tFiller\t0\n");
    wt::reset_dates(many);
    wt::paint_view();
    // Oldest date: the last row of a list sorted newest first, far below the visible rows.
    enter_new("2001.01.01", "", "", "Oldest");
    press_enter();
    const int row = row_of("2001.01.01\tMon\t\tOldest\t0\n");
    ASSERT_EQ(row, static_cast<int>(many.size()));
    EXPECT_EQ(GetFocus(), es::list_window());
    EXPECT_TRUE(es::selected_in_sight(row));
    EXPECT_EQ(papp->list.sel_item, row);
}

TEST_F(Entry, DayBoxKeepsItsTextWhereThereIsNoLabel)
{
    enter_new("2050.01.01", "Sat?", "", "Far ahead");
    press_enter();
    EXPECT_GE(row_of("2050.01.01\tSat?\t\tFar ahead\t0\n"), 0);
}

TEST_F(Entry, PastedTabsAndLineEndsNeverReachTheFile)
{
    const std::string path = wt::temp_dir("entry") + "\\pasted.dat";
    wt::write_file(path, "");
    papp->open_document_file(path.c_str());
    wt::pump();
    enter_new("2050.01.01", "a\tb", "", "");
    SetFocus(es::box(3));
    SendMessageA(es::box(3), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("Call\tBob\r\nat noon"));
    press_enter();
    ASSERT_EQ(es::row_lines().size(), 1u);
    const std::string line = es::row_lines()[0];
    EXPECT_EQ(count_of(line, '\t'), 4u);
    EXPECT_EQ(count_of(line, '\n'), 1u);
    EXPECT_EQ(count_of(line, '\r'), 0u);
    wt::command(ID_FILE_SAVE);
    const std::string saved = wt::read_text(path);
    EXPECT_EQ(saved, line);
    EXPECT_EQ(saved.find("2050.01.01\ta b\t\tCall"), 0u);
}

TEST_F(Entry, LinesStayWithinTheirLength)
{
    wt::MessageBoxes boxes;
    wt::command(ID_NEW_DATE);
    const int day_limit = static_cast<int>(SendMessageA(es::box(1), EM_GETLIMITTEXT, 0, 0));
    const int text_limit = static_cast<int>(SendMessageA(es::box(3), EM_GETLIMITTEXT, 0, 0));
    wt::command(ID_CANCEL_EDIT);
    // Everything the boxes let the user type fits: the longest normal time is hh:mm-hh:mm.
    const std::string day(static_cast<size_t>(day_limit), 'd');
    enter_new("2500.01.01", day.c_str(), "1430-1600", std::string(static_cast<size_t>(text_limit), 't').c_str());
    press_enter();
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_EQ(es::row_lines().size(), 4u);

    // Texts set from elsewhere are not limited: 254 characters go in, 255 are refused.
    const size_t room = 254 - 16 - day.size() - 11;
    enter_new("2500.01.02", day.c_str(), "1430-1600", std::string(room, 't').c_str());
    press_enter();
    EXPECT_TRUE(boxes.shown().empty());
    ASSERT_EQ(es::row_lines().size(), 5u);
    const std::string longest = es::row_lines()[0];
    EXPECT_EQ(longest.size(), 254u);
    EXPECT_EQ(longest.substr(0, 11), "2500.01.02\t");

    enter_new("2500.01.03", day.c_str(), "1430-1600", std::string(room + 1, 't').c_str());
    press_enter();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Entry Error, Text too long !");
    for (const auto& box : boxes.shown())
        EXPECT_TRUE(box.exclamation) << box.text;
    EXPECT_EQ(papp->list.editing, 1);
    EXPECT_EQ(GetFocus(), es::box(3));
    EXPECT_EQ(es::row_lines().size(), 5u);
}
