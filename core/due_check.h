// Due test of one row: its date lies before today, or it is today and its start time has come.
#pragma once

#include <string_view>

struct Today {
    int day, month, year, hour, min;
};

// Values of the cells tested last; the grid painter parses dates into the same fields.
struct DueScratch {
    int p_day = 0, p_month = 0, p_year = 0, p_hour = 0, p_min = 0;
    int due = 0;
};

// Clears due, reads "year.month.day" from the Date cell into the scratch fields (a partial
// read leaves the fields it did not reach) and sets due when that date is before today.
// Returns whether all three numbers were read; a cell without them is never due.
bool chek_date(DueScratch& s, const char* text, const Today& today);
bool chek_date(DueScratch& s, std::string_view text, const Today& today);

// Reads "hour:minute" from the Time cell. For a row of today (date_parsed: chek_date's
// result) sets due once that time has come; a cell without a time counts from the start of
// the day. Never clears due.
void chek_time(DueScratch& s, const char* text, const Today& today, bool date_parsed);
void chek_time(DueScratch& s, std::string_view text, const Today& today, bool date_parsed);
