// The grid model: today, the shown month and year, the selected day, and the month and year painter.
#pragma once
#include <windows.h>
#include "fw/dc.h"

class CTrm {
public:
    CTrm();
    ~CTrm() = default;

    void get_time();
    // Weekday column (0 = Monday) of day 1 of month in shown_year.
    int first_day(int month) const;
    int month_days(int month, int year) const;
    // Label of the date's weekday, or null outside 1970..2038.
    const char* day_name(int day, int month, int year) const;

    // Painting (month grid mode 1, year grid mode 2) onto screen or paper.
    void init_view(fw::Dc& dc, int left, int top, int right, int bottom, int mode);
    void draw_view(fw::Dc& dc, int left, int top, int right, int bottom, int mode, int click_x, int click_y);
    void draw_month(fw::Dc& dc, int mode, int click_x, int click_y, int index);

    const char* const* day_names;
    const char* const* month_names;
    int shown_month = 0, shown_year = 0;
    int today_day = 0, today_month = 0, today_year = 0;
    int sel_day = 0, sel_month = 0;
    int cur_hour = 0, cur_min = 0;
    int area_left = 0, area_top = 0, area_right = 0, area_bottom = 0;
    int org_x = 0, org_y = 0;
    int cell_w = 0, cell_h = 0;
    int col_w = 0;
};
