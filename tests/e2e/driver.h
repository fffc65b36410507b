// What a person does with the running program: clicks on buttons, tabs and rows, types into
// boxes, looks at the screen. Each action waits until the program has taken it.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "checks.h"
#include "input.h"
#include "program.h"
#include "shots.h"

namespace e2e {

// Polls get() until it returns the expected value; on failure says what it returned last.
template <class Get, class T>
testing::AssertionResult becomes(const char* what, Get get, const T& expected, int timeout_ms = 10000)
{
    if (wait_for([&] { return get() == expected; }, timeout_ms))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << what << " is " << testing::PrintToString(get()) << ", expected "
                                       << testing::PrintToString(expected);
}

class Driver {
public:
    explicit Driver(Program& program) : program_(program) { }
    void set_shots_folder(const std::string& folder) { shots_ = folder; }

    Program& program() { return program_; }

    testing::AssertionResult click_tool(UINT cmd);
    testing::AssertionResult click_tab(int index);
    // Clicks (or double-clicks) a list row at x pixels from the list's left edge.
    testing::AssertionResult click_row(int row, int x, bool twice);
    // Clicks a control of any window of the program (a dialog's button or check box).
    testing::AssertionResult click_control(HWND control);
    // Clicks a push button in steps, each waited for: the pointer over it, the press taken (the
    // button shows pushed), then the release. A step that does not happen fails with what lay
    // under the pointer and had the foreground.
    testing::AssertionResult click_button(HWND button);
    // Clicks into the box, selects all it holds and types the text over it.
    testing::AssertionResult replace_text(HWND box, const std::string& text);
    // Clicks into the box and presses a key there.
    testing::AssertionResult key_in(HWND box, WORD vk);

    // Text of a window, or visibility, once it has settled on the expected value.
    testing::AssertionResult text_is(HWND hwnd, const std::string& expected);
    testing::AssertionResult visible_is(HWND hwnd, bool expected);
    // The list's rows, each as its five cells joined by tabs.
    testing::AssertionResult rows_are(const std::vector<std::string>& expected);
    // Index of the row whose "Date" cell holds the text, or -1.
    int row_with_date(const std::string& stored_date);

    // Screenshot of every window of the program, or of one window, saved as NN-name.bmp.
    Shot shot(const char* name, HWND only = nullptr);

    // The month grid as the view paints it: a probe inside the left part of a day's text area.
    RECT day_text_probe(const Date& shown_month, int day);
    int text_pixels(const Date& shown_month, int day);
    // The grid area of the view (below the tabs) as a settled picture.
    Shot grid_picture();
    testing::AssertionResult grid_changes_from(const Shot& before);

    // A list pixel: x from the list's left edge, y from the row's top edge.
    COLORREF row_pixel(int row, int x, int y_in_row);
    // Pixel of the status image of a row, at (image_x, image_y) within the 12 x 12 box.
    COLORREF box_pixel(int row, int image_x, int image_y);
    testing::AssertionResult pixel_becomes(const std::function<COLORREF()>& probe, COLORREF expected, const char* what);

private:
    bool front();

    Program& program_;
    std::string shots_;
    int shot_count_ = 0;
};

} // namespace e2e
