// The in-place editor of the list: loading a row, the focus, the commands of Enter and Escape,
// closing, and the placement of boxes and hint along the bottom of the view.
#include <gtest/gtest.h>
#include <algorithm>
#include "editor_steps.h"

namespace {

const std::vector<std::string> kLines = {
    "2025.06.01\tSun\t09:30-10:00\tDentist\t0\n",
    "2026.12.24\tThr\t18:00\tChristmas eve\t0\n",
    "2024.03.05\tThu\t\tTaxes\t0\n",
};
// Row order, latest first.
const char* const kRow0[] = {"2026.12.24", "Thr", "18:00", "Christmas eve", "0"};
const char* const kRow1[] = {"2025.06.01", "Sun", "09:30-10:00", "Dentist", "0"};

const int kInitialWidths[] = {85, 35, 70};

int list_height()
{
    RECT rc = es::child_rect(es::list_window());
    return rc.bottom - rc.top;
}

int width(const RECT& rc)
{
    return rc.right - rc.left;
}

void set_column_width(int col, int w)
{
    SendMessageA(es::list_window(), LVM_SETCOLUMNWIDTH, col, MAKELPARAM(w, 0));
}

// Boxes in one row of 18 pixels on the bottom edge, the hint a row above over the full width,
// the Date, Day and Time boxes as wide as their columns and To do R - 190.
void expect_placed_at_bottom(int client_w, int client_h)
{
    int x = 0;
    for (int i = 0; i < 5; ++i) {
        RECT rc = es::child_rect(es::box(i));
        EXPECT_TRUE(IsWindowVisible(es::box(i))) << "box " << i;
        EXPECT_EQ(rc.top, client_h - 18) << "box " << i;
        EXPECT_EQ(rc.bottom - rc.top, 18) << "box " << i;
        EXPECT_EQ(rc.left, x) << "box " << i;
        const int expected =
            i == 3 ? client_w - 190 : static_cast<int>(SendMessageA(es::list_window(), LVM_GETCOLUMNWIDTH, i, 0));
        EXPECT_EQ(width(rc), expected) << "box " << i;
        x += width(rc);
    }
    RECT hint = es::child_rect(papp->list.hint);
    EXPECT_TRUE(IsWindowVisible(papp->list.hint));
    EXPECT_EQ(hint.top, client_h - 36);
    EXPECT_EQ(hint.bottom - hint.top, 18);
    EXPECT_EQ(hint.left, 0);
    EXPECT_EQ(width(hint), client_w);
}

class Editor : public testing::Test {
protected:
    void SetUp() override
    {
        RECT rc = es::view_client();
        saved_w_ = rc.right;
        saved_h_ = rc.bottom;
        saved_df_ = papp->gui.df;
        papp->gui.df = 0;
        wt::reset_dates(kLines);
        wt::set_view_client_size(600, 400);
    }
    void TearDown() override
    {
        papp->gui.df = saved_df_;
        for (int i = 0; i < 3; ++i)
            set_column_width(i, kInitialWidths[i]);
        wt::reset_dates({});
        wt::set_view_client_size(saved_w_, saved_h_);
    }
    int saved_w_ = 0, saved_h_ = 0, saved_df_ = 0;
};

} // namespace

TEST_F(Editor, BoxesAreHiddenSingleLineChildrenOfTheView)
{
    for (int i = 0; i < 5; ++i) {
        HWND box = es::box(i);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(GetParent(box), active_view()->hwnd());
        EXPECT_EQ(GetDlgCtrlID(box), 300 + i);
        EXPECT_FALSE(IsWindowVisible(box));
        // Single-line; only the "To do" box scrolls, so a long text is typed whole.
        const LONG style = GetWindowLongA(box, GWL_STYLE);
        EXPECT_EQ(style & ES_MULTILINE, 0) << "box " << i;
        EXPECT_EQ((style & ES_AUTOHSCROLL) != 0, i == 3) << "box " << i;
        EXPECT_EQ(SendMessageA(box, WM_GETFONT, 0, 0), SendMessageA(es::list_window(), WM_GETFONT, 0, 0));
    }
    EXPECT_EQ(GetDlgCtrlID(papp->list.hint), 399);
    EXPECT_FALSE(IsWindowVisible(papp->list.hint));
}

TEST_F(Editor, EditDateWithoutSelectionWarnsAndShowsNothing)
{
    wt::MessageBoxes boxes;
    wt::command(ID_EDIT_DATE);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "No Date selected !\n");
    EXPECT_EQ(boxes.shown()[0].caption, "trm_win_tests");
    EXPECT_TRUE(es::editor_hidden_and_empty());
    EXPECT_EQ(papp->list.sel_item, -1);

    // A double click below the last row selects nothing either.
    POINT below = es::row_point(2);
    below.y += 60;
    es::double_click_at(below);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].text, "No Date selected !\n");
    for (const auto& box : boxes.shown())
        EXPECT_TRUE(box.exclamation) << box.text;
    EXPECT_TRUE(es::editor_hidden_and_empty());
}

TEST_F(Editor, DoubleClickLoadsTheRowWithTheFocusInTheDateBox)
{
    wt::paint_view();
    const int full = list_height();
    EXPECT_EQ(full, 400 - 23);
    es::double_click_row(1);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(es::box_text(i), kRow1[i]) << "box " << i;
    EXPECT_EQ(GetFocus(), es::box(0));
    EXPECT_EQ(papp->list.editing, 1);
    EXPECT_EQ(papp->list.replacing, 1);
    EXPECT_EQ(papp->list.sel_item, 1);
    EXPECT_EQ(wt::window_text(papp->list.hint), "Confirm with ENTER, Cancel with ESC");
    expect_placed_at_bottom(600, 400);
    wt::paint_view();
    EXPECT_EQ(list_height(), full - 40);
}

TEST_F(Editor, LoadsTheDateInTheChosenForm)
{
    wt::reset_dates({kLines[1], "someday\t\t\tUnparsed\t0\n"});
    // "someday" sorts before the digits, latest first.
    papp->gui.df = 1;
    es::double_click_row(1);
    EXPECT_EQ(es::box_text(0), "24.12.2026");
    es::release_key(es::box(0), VK_ESCAPE);
    // A date that does not read as one is shown as stored, not as the last date read.
    es::double_click_row(0);
    EXPECT_EQ(es::box_text(0), "someday");
    es::release_key(es::box(0), VK_ESCAPE);
    papp->gui.df = 0;
    es::double_click_row(1);
    EXPECT_EQ(es::box_text(0), "2026.12.24");
}

TEST_F(Editor, EscapeInAnyBoxOrTheListClosesAndEmptiesEverything)
{
    for (int i = 0; i < 5; ++i) {
        es::double_click_row(0);
        es::set_box(i, "typed");
        es::release_key(es::box(i), VK_ESCAPE);
        EXPECT_TRUE(es::editor_hidden_and_empty()) << "box " << i;
    }
    es::double_click_row(0);
    es::release_key(es::list_window(), VK_ESCAPE);
    EXPECT_TRUE(es::editor_hidden_and_empty());
    wt::paint_view();
    EXPECT_EQ(list_height(), 400 - 23);

    // Nothing typed before was kept: Edit Date loads the row afresh.
    es::click_row(0);
    wt::command(ID_EDIT_DATE);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(es::box_text(i), kRow0[i]) << "box " << i;
}

TEST_F(Editor, EnterAndEscapeSendOneCommandPerRelease)
{
    es::double_click_row(0);
    es::ViewCommands seen;
    // The press repeats while the key is held; only its release counts.
    SendMessageA(es::box(3), WM_KEYDOWN, VK_RETURN, 0x00000001);
    SendMessageA(es::box(3), WM_KEYDOWN, VK_RETURN, 0x40000001);
    SendMessageA(es::box(3), WM_KEYDOWN, VK_RETURN, 0x40000001);
    es::release_key(es::box(3), VK_RETURN);
    EXPECT_EQ(seen.confirms, 1);
    EXPECT_EQ(seen.cancels, 0);
    es::release_key(es::box(1), VK_ESCAPE);
    EXPECT_EQ(seen.confirms, 1);
    EXPECT_EQ(seen.cancels, 1);
    es::release_key(es::box(2), 'A');
    es::release_key(es::box(2), VK_SPACE);
    EXPECT_EQ(seen.confirms, 1);
    EXPECT_EQ(seen.cancels, 1);
    // Typing Enter or Tab puts nothing into the box.
    es::set_box(3, "text");
    SendMessageA(es::box(3), WM_CHAR, '\r', 1);
    SendMessageA(es::box(3), WM_CHAR, '\t', 1);
    EXPECT_EQ(es::box_text(3), "text");
}

TEST_F(Editor, LongTextTypedIntoToDoIsKeptWhole)
{
    wt::command(ID_NEW_DATE);
    std::string typed;
    for (int i = 0; typed.size() < 150; ++i)
        typed += "Geschenke fuer alle Kinder " + std::to_string(i) + " ";
    typed.resize(150);
    for (char c : typed)
        SendMessageA(es::box(3), WM_CHAR, static_cast<unsigned char>(c), 1);
    EXPECT_EQ(es::box_text(3), typed);
}

TEST_F(Editor, TabAndShiftTabMoveBetweenTheFiveBoxes)
{
    es::double_click_row(0);
    BYTE keys[256], shifted[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    std::copy(keys, keys + 256, shifted);
    shifted[VK_SHIFT] = 0x80;
    for (bool back : {false, true}) {
        SetKeyboardState(back ? shifted : keys);
        SetFocus(es::box(0));
        for (int step = 1; step <= 5; ++step) {
            SendMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
            const int expected = back ? (5 - step) % 5 : step % 5;
            EXPECT_EQ(GetFocus(), es::box(expected)) << (back ? "Shift+Tab " : "Tab ") << step;
        }
    }
    SetKeyboardState(keys);
    // The boxes keep their texts.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(es::box_text(i), kRow0[i]) << "box " << i;
}

TEST_F(Editor, ReleaseOfAKeyPressedElsewhereCountsNot)
{
    es::double_click_row(0);
    es::ViewCommands seen;
    BYTE keys[256], held[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    std::copy(keys, keys + 256, held);
    held[VK_RETURN] = 0x80;
    held[VK_ESCAPE] = 0x80;
    // The press that closed a message box: the focus comes back to a box while the key is down.
    SetKeyboardState(held);
    SetFocus(es::box(2));
    SetKeyboardState(keys);
    ASSERT_EQ(GetFocus(), es::box(2));
    es::release_key(es::box(2), VK_RETURN);
    es::release_key(es::box(2), VK_ESCAPE);
    EXPECT_EQ(seen.confirms, 0);
    EXPECT_EQ(seen.cancels, 0);
    // The next press and release are the user's own.
    es::release_key(es::box(2), VK_RETURN);
    EXPECT_EQ(seen.confirms, 1);

    // A fresh press in the box after the focus came makes its release count.
    SetKeyboardState(held);
    SetFocus(es::box(3));
    SetKeyboardState(keys);
    SendMessageA(es::box(3), WM_KEYDOWN, VK_RETURN, 0x00000001);
    es::release_key(es::box(3), VK_RETURN);
    EXPECT_EQ(seen.confirms, 2);
}

TEST_F(Editor, SecondEditWhileEditingKeepsTheBoxes)
{
    wt::MessageBoxes boxes;
    es::double_click_row(0);
    es::set_box(3, "changed");
    es::double_click_row(1);
    EXPECT_EQ(papp->list.sel_item, 1);
    wt::command(ID_EDIT_DATE);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(es::box_text(0), kRow0[0]);
    EXPECT_EQ(es::box_text(3), "changed");
    EXPECT_EQ(papp->list.editing, 1);
    expect_placed_at_bottom(600, 400);
}

TEST_F(Editor, OpenEditorFollowsTheBottomEdgeOnResize)
{
    wt::command(ID_NEW_DATE);
    wt::set_view_client_size(640, 420);
    expect_placed_at_bottom(640, 420);
    EXPECT_EQ(list_height(), 420 - 63);
    es::release_key(es::box(0), VK_ESCAPE);

    es::double_click_row(0);
    wt::set_view_client_size(560, 380);
    expect_placed_at_bottom(560, 380);
    EXPECT_EQ(list_height(), 380 - 63);
    EXPECT_EQ(es::box_text(3), kRow0[3]);
}

TEST_F(Editor, BoxesFollowResizedColumnsWhileToDoKeepsRMinus190)
{
    set_column_width(0, 120);
    set_column_width(1, 50);
    set_column_width(2, 90);
    wt::command(ID_NEW_DATE);
    expect_placed_at_bottom(600, 400);
    EXPECT_EQ(width(es::child_rect(es::box(0))), 120);
    EXPECT_EQ(es::child_rect(es::box(3)).left, 260);
    EXPECT_EQ(width(es::child_rect(es::box(3))), 600 - 190);

    // Dragged again while the editor is open: the next placement takes the new widths.
    set_column_width(1, 20);
    wt::set_view_client_size(620, 400);
    expect_placed_at_bottom(620, 400);
    EXPECT_EQ(es::child_rect(es::box(3)).left, 230);
}
