// End-to-end run of trm.exe as a person uses it: started twice in a folder of its own on a
// throwaway Wine prefix (scripts/e2e.sh makes one), driven only by real keyboard and mouse
// input, and checked through its windows, the screen, the date file, the log and the registry.
// The steps of one run build on each other and run in the order written.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>
#include "checks.h"
#include "driver.h"
#include "input.h"
#include "program.h"
#include "remote.h"
#include "shots.h"

namespace {

using e2e::becomes;
using e2e::Date;
using e2e::RegValue;

const char* const kSettingsKey = "Software\\Orvandel\\Trm";
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kWavClassKey = "Software\\Classes\\.wav";
const char* const kWavClass = "e2e.wavfile";
const char* const kPlayer = "C:\\Program Files\\Player\\play.exe";
const char* const kTitle = "trm.dat - Termaris";
const char* const kHint = "Confirm with ENTER, Cancel with ESC";

const UINT kShowAll = 500, kNewDate = 502, kPrev = 508, kNext = 509, kExit = 511, kOptions = 106;
const UINT kSave = 57603, kHelp = 57670;
// Options dialog: the boxes run from 800 ("Pos. x") to 808 (media file), the check boxes from
// 1000 ("YYYY.MM.DD") to 1004 ("Play this Media if date is urgent").
const int kPosX = 800, kColour0 = 804;
const int kYmd = 1000, kDmy = 1001;

const COLORREF kDefaultBackground = RGB(0xfc, 0xfc, 0xfc);
const char* const kNewBackgroundText = "d0e8ff";
const DWORD kNewBackgroundValue = 0xd0e8ff;
const COLORREF kNewBackground = RGB(0xd0, 0xe8, 0xff);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// Where the double click on a row lands: inside the "Date" column, right of the box zone.
const int kRowClickX = 60;
// Inside the status box zone (x < 16), where a click toggles the entry.
const int kBoxZoneX = 8;
// Between the status box (x 3 to 14) and the date text (from x 23): row background, also when
// the row is selected.
const int kBackgroundX = 16;
const int kDefaultWaitMs = 15000;

struct Paths {
    std::string exe, work, shots, startup, personal, sample;
} paths;

e2e::Program program;
e2e::Driver driver(program);
Date start_day;

struct Entry {
    Date date;
    std::string typed_time, time, text;

    std::string row(const char* status) const
    {
        return e2e::stored_date(date) + "\t" + e2e::weekday_label(date) + "\t" + time + "\t" + text + "\t" + status;
    }
};

Entry dentist()
{
    return Entry{Date{start_day.year, start_day.month, 20}, "9:30", "09:30", "Dentist"};
}

Entry party()
{
    return Entry{Date{2036, 12, 24}, "1430-1600", "14:30-16:00", "Xmas party"};
}

Entry edited_party()
{
    Entry e = party();
    e.text = "Christmas party";
    return e;
}

Entry call_back()
{
    return Entry{Date{start_day.year, start_day.month, 5}, "", "", "Call back"};
}

// The list keeps its rows by date text, newest first.
std::vector<std::string> newest_first(std::vector<std::string> rows)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [](const std::string& a, const std::string& b) { return a.substr(0, 10) > b.substr(0, 10); });
    return rows;
}

std::string file_lines(const std::vector<std::string>& rows)
{
    std::string bytes;
    for (const std::string& r : rows)
        bytes += r + "\r\n";
    return bytes;
}

std::string media_file()
{
    return paths.exe.substr(0, paths.exe.size() - 7) + "ring.mp3";
}

// The "Date" box of a new entry starts with the shown month: ".MM.YYYY" or "YYYY.MM.".
std::string month_stub_dmy()
{
    char buf[32];
    std::snprintf(buf, sizeof buf, ".%02i.%4i", start_day.month, start_day.year);
    return buf;
}

std::string month_stub_ymd()
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%4i.%02i.", start_day.year, start_day.month);
    return buf;
}

std::vector<std::string> start_tabs()
{
    return {"List", e2e::month_name(start_day.month), std::to_string(start_day.year)};
}

std::map<std::string, RegValue> settings(DWORD df, DWORD col0)
{
    return {{"xo", e2e::dword_value(100)},        {"yo", e2e::dword_value(100)},
            {"xs", e2e::dword_value(450)},        {"ys", e2e::dword_value(350)},
            {"df", e2e::dword_value(df)},         {"fs", e2e::dword_value(0)},
            {"ft", e2e::dword_value(1)},          {"ss", e2e::dword_value(0)},
            {"tm", e2e::dword_value(10)},         {"wm", e2e::dword_value(60)},
            {"wf", e2e::dword_value(0)},          {"wn", e2e::dword_value(1)},
            {"col0", e2e::dword_value(col0)},     {"col1", e2e::dword_value(0xe0e0e0)},
            {"col2", e2e::dword_value(0xff0000)}, {"col3", e2e::dword_value(0xffbc00)},
            {"", e2e::string_value(media_file())}};
}

std::string settings_differences(DWORD df, DWORD col0)
{
    return e2e::compare_values(e2e::registry_values(HKEY_CURRENT_USER, kSettingsKey), settings(df, col0));
}

std::vector<std::string> start_lines()
{
    return {"Logfile created by trm.exe:\n",
            "CGUI::CGUI () OK ...\n",
            "CLst::CLst () OK ...\n",
            "CTrm::CTrm () OK ...\n",
            "mapp::mapp () OK ...\n",
            "mdoc::mdoc () OK ...\n",
            "mwin::mwin () OK ...\n",
            "mvie::mvie () OK ...\n",
            "mdoc::read_file () OK ...\n",
            "mapp::chek_comm () OK ... \"" + std::string(kPlayer) + "\" \"" + media_file() + "\"\n",
            "mapp::init_inst () OK ...\n",
            "mvie::init_mvie () OK ...\n"};
}

std::vector<std::string> exit_lines()
{
    return {"mwin::OnEnde () OK ...\n", "mvie::OnSave () OK ...\n", "mvie::~mvie () OK ...\n",
            "mwin::~mwin () OK ...\n",  "mdoc::~mdoc () OK ...\n",  "mapp::~mapp () OK ...\n",
            "CLst::~CLst () OK ...\n",  "CGUI::~CGUI () OK ...\n"};
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string log_differences(const std::vector<std::string>& expected)
{
    return e2e::compare_log(e2e::log_lines(e2e::read_bytes(paths.work + "\\trm.log")), expected);
}

HWND options_dialog()
{
    return program.top_window("#32770", "Options");
}

HWND dialog_item(int id)
{
    HWND dlg = options_dialog();
    return dlg ? GetDlgItem(dlg, id) : nullptr;
}

// The boxes of the options dialog in the order 800..808 and its check boxes 1000..1004.
void expect_options_show(const std::vector<std::string>& boxes, const std::vector<int>& checks)
{
    for (size_t i = 0; i < boxes.size(); ++i)
        EXPECT_EQ(e2e::window_text(dialog_item(kPosX + static_cast<int>(i))), boxes[i]) << "box " << kPosX + i;
    for (size_t i = 0; i < checks.size(); ++i)
        EXPECT_EQ(e2e::check_state(dialog_item(kYmd + static_cast<int>(i))), checks[i]) << "check box " << kYmd + i;
}

// Closes the options dialog by a click on one of its buttons.
testing::AssertionResult close_options_by(int button)
{
    testing::AssertionResult clicked = driver.click_button(dialog_item(button));
    if (!clicked)
        return clicked;
    if (e2e::wait_for([] { return options_dialog() == nullptr; }, 5000))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the options dialog stayed open after a click on button " << button;
}

testing::AssertionResult open_options()
{
    HWND frame = program.frame();
    if (!frame)
        return testing::AssertionFailure() << "no main window";
    e2e::bring_to_front(frame);
    // The menu has no mnemonics; the dialog is opened by its command, everything in it by hand.
    PostMessageA(frame, WM_COMMAND, kOptions, 0);
    if (!e2e::wait_for([] { return options_dialog() != nullptr; }))
        return testing::AssertionFailure() << "no \"Options\" dialog came up";
    return testing::AssertionSuccess();
}

testing::AssertionResult exit_by_tool_bar()
{
    testing::AssertionResult clicked = driver.click_tool(kExit);
    if (!clicked)
        return clicked;
    if (program.wait_exit(kDefaultWaitMs))
        return testing::AssertionSuccess();
    std::vector<e2e::MessageBoxSeen> boxes = program.close_message_boxes();
    bool ended = program.wait_exit(5000);
    testing::AssertionResult failure = testing::AssertionFailure();
    failure << (ended ? "ended only after its message boxes were closed" : "still running after Exit");
    for (const e2e::MessageBoxSeen& box : boxes)
        failure << "; message box \"" << e2e::visible(box.text) << "\"";
    return failure;
}

testing::AssertionResult show_all_is(bool on)
{
    HWND bar = program.tool_bar();
    return becomes(
        "the \"Show all Dates\" button pressed", [bar] { return e2e::toolbar_pressed(bar, kShowAll); }, on);
}

testing::AssertionResult selected_tab_is(int index)
{
    HWND tab = program.tab();
    return becomes(
        "the selected tab", [tab] { return e2e::tab_selected(tab); }, index);
}

testing::AssertionResult tabs_are(const std::vector<std::string>& captions)
{
    HWND tab = program.tab();
    return becomes(
        "the tab captions", [tab] { return e2e::tab_texts(tab); }, captions);
}

testing::AssertionResult editor_closed()
{
    testing::AssertionResult boxes = driver.visible_is(program.edit(0), false);
    if (!boxes)
        return boxes;
    return driver.visible_is(program.hint(), false);
}

// Each step answers the program's message boxes that nobody expected, and fails for them.
class Step : public testing::Test {
protected:
    void TearDown() override
    {
        if (!program.running())
            return;
        for (const e2e::MessageBoxSeen& box : program.close_message_boxes())
            ADD_FAILURE() << "unexpected message box \"" << box.caption << "\": \"" << e2e::visible(box.text) << "\"";
    }
};

#define REQUIRE_PROGRAM() ASSERT_TRUE(program.running() && program.frame()) << "trm.exe is not running"

class E2eFirstRun : public Step { };
class E2eSecondRun : public Step { };
class E2eSample : public Step { };

// ---- first run: empty registry, no date file

TEST_F(E2eFirstRun, S01_StartsEmptyWithDefaultsWrittenBack)
{
    ASSERT_FALSE(e2e::registry_key_exists(HKEY_CURRENT_USER, kSettingsKey)) << "the prefix is not fresh";
    ASSERT_FALSE(e2e::file_exists(paths.work + "\\trm.dat"));
    std::string error;
    ASSERT_TRUE(program.start(paths.exe, paths.work, error)) << error;

    HWND frame = program.frame();
    EXPECT_TRUE(driver.text_is(frame, kTitle));
    RECT rc = e2e::window_rect(frame);
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.top, 100);
    EXPECT_EQ(rc.right - rc.left, 450);
    EXPECT_EQ(rc.bottom - rc.top, 350);
    EXPECT_EQ(e2e::toolbar_commands(program.tool_bar()),
              (std::vector<int>{kNewDate, kShowAll, 0, kSave, 0, kPrev, kNext, 0, kHelp, kExit}));
    EXPECT_FALSE(e2e::toolbar_pressed(program.tool_bar(), kShowAll));
    EXPECT_TRUE(becomes(
        "the status message", [] { return e2e::status_text(program.status_bar(), 0); }, std::string("Ready")));
    EXPECT_TRUE(tabs_are(start_tabs()));
    EXPECT_TRUE(selected_tab_is(0));
    ASSERT_NE(program.list(), nullptr) << "no list window (id 105)";
    EXPECT_TRUE(driver.visible_is(program.list(), true));
    EXPECT_TRUE(driver.rows_are({}));
    EXPECT_TRUE(editor_closed());
    EXPECT_EQ(settings_differences(1, 0xfcfcfc), "");
    driver.shot("start");
}

TEST_F(E2eFirstRun, S02_NewDateOpensTheEditorWithTheShownMonth)
{
    REQUIRE_PROGRAM();
    ASSERT_TRUE(driver.click_tool(kNewDate));
    EXPECT_TRUE(driver.text_is(program.edit(0), month_stub_dmy()));
    for (int box = 0; box < 4; ++box)
        EXPECT_TRUE(driver.visible_is(program.edit(box), true)) << "box " << box;
    EXPECT_TRUE(driver.visible_is(program.hint(), true));
    EXPECT_TRUE(driver.text_is(program.hint(), kHint));

    // Boxes along the bottom edge of the view, 18 pixels high, the hint row right above them.
    RECT box = e2e::window_rect(program.edit(0));
    RECT hint = e2e::window_rect(program.hint());
    RECT client{};
    GetClientRect(program.view(), &client);
    RECT view_client = e2e::client_to_screen(program.view(), client);
    EXPECT_EQ(box.left, view_client.left);
    EXPECT_EQ(box.bottom, view_client.bottom);
    EXPECT_EQ(box.bottom - box.top, 18);
    EXPECT_EQ(hint.bottom, box.top);
    EXPECT_EQ(hint.right - hint.left, view_client.right - view_client.left);
    driver.shot("new-date");
}

TEST_F(E2eFirstRun, S03_EnterStoresTheTypedEntryAsARow)
{
    REQUIRE_PROGRAM();
    Entry a = dentist();
    ASSERT_TRUE(driver.replace_text(program.edit(0), e2e::dmy_date(a.date)));
    ASSERT_TRUE(driver.replace_text(program.edit(2), a.typed_time));
    ASSERT_TRUE(driver.replace_text(program.edit(3), a.text));
    e2e::key(VK_RETURN);
    EXPECT_TRUE(driver.rows_are({a.row("0")}));
    EXPECT_TRUE(editor_closed());
    EXPECT_EQ(e2e::window_text(program.edit(0)), "");
}

TEST_F(E2eFirstRun, S04_ASecondEntryIsSortedNewestFirst)
{
    REQUIRE_PROGRAM();
    Entry a = dentist(), b = party();
    ASSERT_TRUE(driver.click_tool(kNewDate));
    ASSERT_TRUE(driver.text_is(program.edit(0), month_stub_dmy()));
    ASSERT_TRUE(driver.replace_text(program.edit(0), e2e::dmy_date(b.date)));
    ASSERT_TRUE(driver.replace_text(program.edit(2), b.typed_time));
    ASSERT_TRUE(driver.replace_text(program.edit(3), b.text));
    e2e::key(VK_RETURN);
    EXPECT_TRUE(driver.rows_are(newest_first({a.row("0"), b.row("0")})));
    EXPECT_TRUE(editor_closed());
    // Rows are filled with the background colour.
    for (int row = 0; row < 2; ++row)
        EXPECT_TRUE(driver.pixel_becomes([row] { return driver.row_pixel(row, kBackgroundX, 4); }, kDefaultBackground,
                                         "the row background"))
            << "row " << row;
    EXPECT_TRUE(driver.pixel_becomes([] { return driver.box_pixel(0, 9, 3); }, kWhite, "the open status box"));
    driver.shot("list");
}

TEST_F(E2eFirstRun, S05_AClickInTheBoxZoneMarksTheEntryDone)
{
    REQUIRE_PROGRAM();
    Entry a = dentist(), b = party();
    int row = driver.row_with_date(e2e::stored_date(a.date));
    ASSERT_GE(row, 0) << "no row for " << e2e::stored_date(a.date);
    ASSERT_TRUE(driver.click_row(row, kBoxZoneX, false));
    EXPECT_TRUE(driver.rows_are(newest_first({a.row("1"), b.row("0")})));
    // The ticked box: two pixels of the tick turn black.
    EXPECT_TRUE(driver.pixel_becomes([row] { return driver.box_pixel(row, 9, 3); }, kBlack, "the tick"));
    EXPECT_TRUE(driver.pixel_becomes([row] { return driver.box_pixel(row, 3, 6); }, kBlack, "the tick"));
    driver.shot("done");
}

TEST_F(E2eFirstRun, S06_ShowAllOffHoldsTheDoneEntryBack)
{
    REQUIRE_PROGRAM();
    Entry a = dentist(), b = party();
    ASSERT_TRUE(driver.click_tool(kShowAll));
    EXPECT_TRUE(show_all_is(true));
    EXPECT_TRUE(driver.rows_are(newest_first({a.row("1"), b.row("0")})));
    driver.shot("show-all");
    ASSERT_TRUE(driver.click_tool(kShowAll));
    EXPECT_TRUE(show_all_is(false));
    EXPECT_TRUE(driver.rows_are({b.row("0")}));
}

TEST_F(E2eFirstRun, S07_MonthTabShowsTheEntryInItsDayCell)
{
    REQUIRE_PROGRAM();
    Entry a = dentist(), b = party();
    ASSERT_TRUE(driver.click_tab(1));
    EXPECT_TRUE(selected_tab_is(1));
    EXPECT_TRUE(driver.visible_is(program.list(), false));
    // The month grid shows done entries too: entering it switches "Show all Dates" on.
    EXPECT_TRUE(show_all_is(true));
    EXPECT_TRUE(driver.rows_are(newest_first({a.row("1"), b.row("0")})));
    EXPECT_TRUE(tabs_are(start_tabs()));
    EXPECT_TRUE(becomes(
        "text pixels in the cell of day 20 (some)", [] { return driver.text_pixels(start_day, 20) > 0; }, true));
    EXPECT_EQ(driver.text_pixels(start_day, 10), 0) << "day 10 has no entry";
    driver.shot("month");
}

TEST_F(E2eFirstRun, S08_PreviousAndNextMoveTheMonth)
{
    REQUIRE_PROGRAM();
    Date prev = e2e::previous_month(start_day);
    e2e::Shot before = driver.grid_picture();
    ASSERT_TRUE(driver.click_tool(kPrev));
    EXPECT_TRUE(tabs_are({"List", e2e::month_name(prev.month), std::to_string(prev.year)}));
    EXPECT_TRUE(driver.grid_changes_from(before));
    EXPECT_EQ(driver.text_pixels(prev, 20), 0) << "the entry is not in the month before";
    driver.shot("month-prev");
    ASSERT_TRUE(driver.click_tool(kNext));
    EXPECT_TRUE(tabs_are(start_tabs()));
    EXPECT_TRUE(becomes(
        "text pixels in the cell of day 20 (some)", [] { return driver.text_pixels(start_day, 20) > 0; }, true));
}

TEST_F(E2eFirstRun, S09_YearTabShowsTheYearAndMovesByYears)
{
    REQUIRE_PROGRAM();
    Entry b = party();
    e2e::Shot before = driver.grid_picture();
    ASSERT_TRUE(driver.click_tab(2));
    EXPECT_TRUE(selected_tab_is(2));
    EXPECT_TRUE(show_all_is(false));
    EXPECT_TRUE(driver.rows_are({b.row("0")}));
    EXPECT_TRUE(driver.grid_changes_from(before));
    driver.shot("year");
    ASSERT_TRUE(driver.click_tool(kPrev));
    EXPECT_TRUE(tabs_are({"List", e2e::month_name(start_day.month), std::to_string(start_day.year - 1)}));
    ASSERT_TRUE(driver.click_tool(kNext));
    EXPECT_TRUE(tabs_are(start_tabs()));
}

TEST_F(E2eFirstRun, S10_ListTabShowsTheOpenEntries)
{
    REQUIRE_PROGRAM();
    ASSERT_TRUE(driver.click_tab(0));
    EXPECT_TRUE(selected_tab_is(0));
    EXPECT_TRUE(driver.visible_is(program.list(), true));
    EXPECT_TRUE(show_all_is(false));
    EXPECT_TRUE(driver.rows_are({party().row("0")}));
}

TEST_F(E2eFirstRun, S11_DoubleClickLoadsARowAndEnterReplacesIt)
{
    REQUIRE_PROGRAM();
    Entry b = party(), edited = edited_party();
    ASSERT_TRUE(driver.click_row(driver.row_with_date(e2e::stored_date(b.date)), kRowClickX, true));
    EXPECT_TRUE(driver.text_is(program.edit(0), e2e::dmy_date(b.date)));
    EXPECT_TRUE(driver.text_is(program.edit(1), e2e::weekday_label(b.date)));
    EXPECT_TRUE(driver.text_is(program.edit(2), b.time));
    EXPECT_TRUE(driver.text_is(program.edit(3), b.text));
    EXPECT_TRUE(driver.text_is(program.edit(4), "0"));
    EXPECT_TRUE(driver.visible_is(program.hint(), true));
    HWND date_box = program.edit(0);
    EXPECT_TRUE(becomes(
        "the focus on the \"Date\" box", [date_box] { return e2e::focus_of(date_box) == date_box; }, true));
    driver.shot("edit");
    ASSERT_TRUE(driver.replace_text(program.edit(3), edited.text));
    e2e::key(VK_RETURN);
    EXPECT_TRUE(driver.rows_are({edited.row("0")}));
    EXPECT_TRUE(editor_closed());
}

TEST_F(E2eFirstRun, S12_DeleteRemovesTheSelectedRow)
{
    REQUIRE_PROGRAM();
    Entry c = call_back(), edited = edited_party();
    ASSERT_TRUE(driver.click_tool(kNewDate));
    ASSERT_TRUE(driver.text_is(program.edit(0), month_stub_dmy()));
    ASSERT_TRUE(driver.replace_text(program.edit(0), e2e::dmy_date(c.date)));
    ASSERT_TRUE(driver.replace_text(program.edit(3), c.text));
    e2e::key(VK_RETURN);
    ASSERT_TRUE(driver.rows_are(newest_first({edited.row("0"), c.row("0")})));
    ASSERT_TRUE(driver.click_row(driver.row_with_date(e2e::stored_date(c.date)), kRowClickX, false));
    HWND list = program.list();
    int row = driver.row_with_date(e2e::stored_date(c.date));
    EXPECT_TRUE(becomes(
        "the selected row", [list] { return e2e::list_selected(list); }, row));
    e2e::key(VK_DELETE);
    EXPECT_TRUE(driver.rows_are({edited.row("0")}));
}

TEST_F(E2eFirstRun, S13_OptionsStoreTheColourAndTheDateFormat)
{
    REQUIRE_PROGRAM();
    ASSERT_TRUE(open_options());
    expect_options_show({"100", "100", "450", "350", "fcfcfc", "e0e0e0", "ff0000", "ffbc00", media_file()},
                        {BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED, BST_INDETERMINATE, BST_UNCHECKED, BST_CHECKED});
    driver.shot("options", options_dialog());
    ASSERT_TRUE(driver.replace_text(dialog_item(kColour0), kNewBackgroundText));
    ASSERT_TRUE(driver.click_control(dialog_item(kYmd)));
    EXPECT_TRUE(becomes(
        "\"YYYY.MM.DD\"", [] { return e2e::check_state(dialog_item(kYmd)); }, int(BST_CHECKED)));
    EXPECT_TRUE(becomes(
        "\"DD.MM.YYYY\"", [] { return e2e::check_state(dialog_item(kDmy)); }, int(BST_UNCHECKED)));
    driver.shot("options-changed");
    ASSERT_TRUE(close_options_by(IDOK));
    EXPECT_TRUE(becomes(
        "the settings differences", [] { return settings_differences(0, kNewBackgroundValue); }, std::string()));
    // The main window is repainted at once in the new background colour.
    EXPECT_TRUE(driver.pixel_becomes([] { return driver.row_pixel(0, kBackgroundX, 4); }, kNewBackground,
                                     "the row background"));
    driver.shot("new-colour");
}

TEST_F(E2eFirstRun, S14_ExitFromTheToolBarEndsTheProgram)
{
    REQUIRE_PROGRAM();
    EXPECT_TRUE(exit_by_tool_bar());
    program.kill();
}

TEST_F(E2eFirstRun, S15_DateFileHoldsTheHeldBackEntryThenTheRows)
{
    std::string expected = file_lines({dentist().row("1"), edited_party().row("0")});
    EXPECT_EQ(e2e::visible(e2e::read_bytes(paths.work + "\\trm.dat")), e2e::visible(expected));
}

TEST_F(E2eFirstRun, S16_LogHasEveryLineInOrder)
{
    std::vector<std::string> options{"mdlg::mdlg () OK ...\n", "mdlg..lnam: " + paths.startup + "\\Termaris.lnk\n",
                                     "mdlg..lprg: " + paths.exe + "\n", "mdlg..lwrk: " + paths.personal + "\\trm\n",
                                     "mdlg::~mdlg () OK ...\n"};
    EXPECT_EQ(log_differences(start_lines() + std::vector<std::string>{e2e::kGridPaintLine} + options + exit_lines()),
              "");
}

TEST_F(E2eFirstRun, S17_RegistryHoldsEverySetting)
{
    EXPECT_EQ(settings_differences(0, kNewBackgroundValue), "");
}

// ---- second run: the saved date file and settings

TEST_F(E2eSecondRun, S01_StartsWithTheSavedOpenEntry)
{
    std::string error;
    ASSERT_TRUE(program.start(paths.exe, paths.work, error)) << error;
    EXPECT_TRUE(driver.text_is(program.frame(), kTitle));
    EXPECT_TRUE(tabs_are(start_tabs()));
    EXPECT_TRUE(driver.rows_are({edited_party().row("0")}));
    EXPECT_FALSE(e2e::toolbar_pressed(program.tool_bar(), kShowAll));
}

TEST_F(E2eSecondRun, S02_TheBackgroundColourComesBack)
{
    REQUIRE_PROGRAM();
    HWND list = program.list();
    RECT client{};
    GetClientRect(list, &client);
    int right = client.right - 10;
    EXPECT_TRUE(
        driver.pixel_becomes([] { return driver.row_pixel(0, kBackgroundX, 4); }, kNewBackground, "the row start"));
    EXPECT_TRUE(driver.pixel_becomes([right] { return driver.row_pixel(0, right, 4); }, kNewBackground, "the row end"));
    driver.shot("second-start");
}

TEST_F(E2eSecondRun, S03_TheDateFormatComesBack)
{
    REQUIRE_PROGRAM();
    Entry b = edited_party();
    ASSERT_TRUE(driver.click_tool(kNewDate));
    EXPECT_TRUE(driver.text_is(program.edit(0), month_stub_ymd()));
    ASSERT_TRUE(driver.key_in(program.edit(0), VK_ESCAPE));
    EXPECT_TRUE(editor_closed());
    EXPECT_TRUE(driver.text_is(program.edit(0), ""));
    ASSERT_TRUE(driver.click_row(0, kRowClickX, true));
    EXPECT_TRUE(driver.text_is(program.edit(0), e2e::stored_date(b.date)));
    EXPECT_TRUE(driver.text_is(program.edit(3), b.text));
    driver.shot("second-edit");
    ASSERT_TRUE(driver.key_in(program.edit(0), VK_ESCAPE));
    EXPECT_TRUE(editor_closed());
    EXPECT_TRUE(driver.rows_are({b.row("0")}));
}

TEST_F(E2eSecondRun, S04_OptionsShowTheStoredSettingsAndCancelKeepsThem)
{
    REQUIRE_PROGRAM();
    ASSERT_TRUE(open_options());
    expect_options_show({"100", "100", "450", "350", kNewBackgroundText, "e0e0e0", "ff0000", "ffbc00", media_file()},
                        {BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED, BST_INDETERMINATE, BST_UNCHECKED, BST_CHECKED});
    ASSERT_TRUE(close_options_by(IDCANCEL));
    EXPECT_EQ(settings_differences(0, kNewBackgroundValue), "");
}

TEST_F(E2eSecondRun, S05_ShowAllBringsTheDoneEntryBack)
{
    REQUIRE_PROGRAM();
    ASSERT_TRUE(driver.click_tool(kShowAll));
    EXPECT_TRUE(show_all_is(true));
    EXPECT_TRUE(driver.rows_are(newest_first({edited_party().row("0"), dentist().row("1")})));
    driver.shot("second-show-all");
}

TEST_F(E2eSecondRun, S06_ExitFromTheToolBarEndsTheProgram)
{
    REQUIRE_PROGRAM();
    EXPECT_TRUE(exit_by_tool_bar());
    program.kill();
}

TEST_F(E2eSecondRun, S07_DateFileHoldsEveryRowInListOrder)
{
    std::string expected = file_lines(newest_first({edited_party().row("0"), dentist().row("1")}));
    EXPECT_EQ(e2e::visible(e2e::read_bytes(paths.work + "\\trm.dat")), e2e::visible(expected));
}

TEST_F(E2eSecondRun, S08_LogHasEveryLineInOrder)
{
    std::vector<std::string> options{"mdlg::mdlg () OK ...\n", "mdlg::~mdlg () OK ...\n"};
    EXPECT_EQ(log_differences(start_lines() + options + exit_lines()), "");
}

TEST_F(E2eSecondRun, S09_RegistryKeepsTheSettings)
{
    EXPECT_EQ(settings_differences(0, kNewBackgroundValue), "");
}

// ---- the date file shared: two programs on one folder, and the end of the session

class E2eSharedFile : public Step { };

std::vector<std::string> sorted_file_lines()
{
    std::vector<std::string> lines;
    const std::string bytes = e2e::read_bytes(paths.work + "\\trm.dat");
    for (size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    std::sort(lines.begin(), lines.end());
    return lines;
}

// The date as the "Date" box takes it with the date format now set.
std::string typed_date(const Date& date)
{
    DWORD df = 0, size = sizeof df;
    RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "df", RRF_RT_REG_DWORD, nullptr, &df, &size);
    return df == 1 ? e2e::dmy_date(date) : e2e::stored_date(date);
}

// New Date, the date and a text typed in, Enter: the row is there.
testing::AssertionResult enter_entry(e2e::Program& into, const Entry& entry)
{
    e2e::Driver by_hand(into);
    testing::AssertionResult step = by_hand.click_tool(kNewDate);
    if (step)
        step = by_hand.visible_is(into.edit(0), true);
    if (step)
        step = by_hand.replace_text(into.edit(0), typed_date(entry.date));
    if (step)
        step = by_hand.replace_text(into.edit(3), entry.text);
    if (!step)
        return step;
    e2e::key(VK_RETURN);
    if (e2e::wait_for([&] { return by_hand.row_with_date(e2e::stored_date(entry.date)) >= 0; }))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no row for " << entry.text;
}

testing::AssertionResult close_window(e2e::Program& which)
{
    PostMessageA(which.frame(), WM_CLOSE, 0, 0);
    if (which.wait_exit(kDefaultWaitMs))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "still running after its window was closed";
}

TEST_F(E2eSharedFile, S01_TwoProgramsOnOneFolderKeepBothEntriesInEitherOrder)
{
    for (bool first_closes_first : {true, false}) {
        SCOPED_TRACE(first_closes_first ? "the first started closes first" : "the first started closes last");
        const int day = first_closes_first ? 1 : 2;
        const Entry one{Date{2035, 3, day}, "", "", "Entered in the first window"};
        const Entry two{Date{2035, 4, day}, "", "", "Entered in the second window"};
        std::vector<std::string> expected = sorted_file_lines();
        expected.push_back(one.row("0"));
        expected.push_back(two.row("0"));
        std::sort(expected.begin(), expected.end());

        e2e::Program first, second;
        std::string error;
        ASSERT_TRUE(first.start(paths.exe, paths.work, error)) << error;
        ASSERT_TRUE(second.start(paths.exe, paths.work, error)) << error;
        // Side by side, so that each is clicked where it is seen.
        RECT place = e2e::window_rect(first.frame());
        SetWindowPos(second.frame(), nullptr, place.right + 10, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_TRUE(enter_entry(first, one));
        ASSERT_TRUE(enter_entry(second, two));
        EXPECT_TRUE(close_window(first_closes_first ? first : second));
        EXPECT_TRUE(close_window(first_closes_first ? second : first));
        EXPECT_EQ(sorted_file_lines(), expected);
    }
}

TEST_F(E2eSharedFile, S02_TheEndOfTheSessionKeepsAConfirmedEntry)
{
    std::string error;
    ASSERT_TRUE(program.start(paths.exe, paths.work, error)) << error;
    const Entry late{Date{2035, 5, 5}, "", "", "Entered before logging off"};
    std::vector<std::string> expected = sorted_file_lines();
    expected.push_back(late.row("0"));
    std::sort(expected.begin(), expected.end());
    ASSERT_TRUE(enter_entry(program, late));
    // As Windows ends a session: the question, the end, then the process is ended.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(
        SendMessageTimeoutA(program.frame(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    ASSERT_TRUE(
        SendMessageTimeoutA(program.frame(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer));
    EXPECT_TRUE(program.message_boxes().empty());
    program.kill();
    EXPECT_EQ(sorted_file_lines(), expected);
}

// ---- the sample dates of a first look (scripts/e2e.sh writes them): the README's pictures

// A media file path of no machine in particular, so that the options picture shows no build folder.
const char* const kNeutralMediaFile = "C:\\Program Files\\Termaris\\ring.mp3";

// The open entries of the sample file as rows, newest first.
std::vector<std::string> sample_open_rows()
{
    std::vector<std::string> rows;
    std::string bytes = e2e::read_bytes(paths.sample + "\\trm.dat");
    for (std::string& line : e2e::log_lines(bytes)) {
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 2 && line.compare(line.size() - 2, 2, "\t0") == 0)
            rows.push_back(line);
    }
    return newest_first(rows);
}

TEST_F(E2eSample, S01_StartsOnTheSampleDates)
{
    if (!e2e::file_exists(paths.sample + "\\trm.dat"))
        GTEST_SKIP() << "no sample dates in " << paths.sample;
    // Default settings, apart from the media file's path.
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    ASSERT_TRUE(e2e::set_string(HKEY_CURRENT_USER, kSettingsKey, "", kNeutralMediaFile));
    std::string error;
    ASSERT_TRUE(program.start(paths.exe, paths.sample, error)) << error;
    const std::vector<std::string> rows = sample_open_rows();
    EXPECT_GE(rows.size(), 6u);
    EXPECT_TRUE(driver.rows_are(rows));
    driver.shot("list");
}

TEST_F(E2eSample, S02_MonthAndYearShowThem)
{
    REQUIRE_PROGRAM();
    ASSERT_TRUE(driver.click_tab(1));
    EXPECT_TRUE(show_all_is(true));
    EXPECT_TRUE(becomes(
        "text pixels in today's cell (some)", [] { return driver.text_pixels(start_day, start_day.day) > 0; }, true));
    driver.shot("month");
    ASSERT_TRUE(driver.click_tab(2));
    EXPECT_TRUE(selected_tab_is(2));
    driver.shot("year");
    ASSERT_TRUE(driver.click_tab(0));
}

TEST_F(E2eSample, S03_OptionsShowThePlainMediaPath)
{
    REQUIRE_PROGRAM();
    ASSERT_TRUE(open_options());
    EXPECT_EQ(e2e::window_text(dialog_item(kPosX + 8)), kNeutralMediaFile);
    driver.shot("options", options_dialog());
    ASSERT_TRUE(close_options_by(IDCANCEL));
    EXPECT_TRUE(exit_by_tool_bar());
    program.kill();
}

// ---- set-up of the run

std::string full_path(const std::string& path)
{
    char buf[MAX_PATH];
    DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, buf, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(buf, n) : path;
}

void empty_folder(const std::string& folder, const char* pattern)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(h, &found));
    FindClose(h);
}

// A first start: no settings, no date file; a ".wav" player so that the media command is
// built, and the shell folders that the options dialog names in its log lines.
bool prepare(const char* exe_arg, std::string& error)
{
    char self[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string build = e2e::folder_of(std::string(self, n < MAX_PATH ? n : 0));
    paths.exe = exe_arg ? full_path(exe_arg) : build + "trm.exe";
    if (!e2e::file_exists(paths.exe) || paths.exe.size() < 7) {
        error = "no program at " + paths.exe;
        return false;
    }
    paths.work = build + "e2e-run";
    paths.shots = build + "e2e-shots";
    paths.startup = paths.work + "\\Startup";
    paths.personal = paths.work + "\\Personal";
    paths.sample = build + "e2e-sample";
    empty_folder(paths.work, "*");
    empty_folder(paths.shots, "*.bmp");
    driver.set_shots_folder(paths.shots);

    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kWavClassKey);
    bool ok = e2e::set_string(HKEY_LOCAL_MACHINE, kWavClassKey, "", kWavClass) &&
              e2e::set_string(HKEY_LOCAL_MACHINE,
                              ("Software\\Classes\\" + std::string(kWavClass) + "\\shell\\play\\command").c_str(), "",
                              "\"" + std::string(kPlayer) + "\" /play /close \"%1\"") &&
              e2e::set_string(HKEY_CURRENT_USER, kShellFolders, "Startup", paths.startup) &&
              e2e::set_string(HKEY_CURRENT_USER, kShellFolders, "Personal", paths.personal);
    if (!ok) {
        error = "could not prepare the registry of the prefix";
        return false;
    }
    start_day = e2e::today();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    std::string error;
    if (!prepare(argc > 1 ? argv[1] : nullptr, error)) {
        std::fprintf(stderr, "trm_e2e: %s\n", error.c_str());
        return 2;
    }
    int result = RUN_ALL_TESTS();
    program.kill();
    return result;
}
