#pragma once
// Checks and forms of the texts typed into the date editor's boxes.

#include <string>
#include <string_view>

// Date check codes: 0 valid, 1 day, 2 month, 3 year, 4 not three numbers.
// Reads "%d.%d.%d": day, month, year when df is 1, else year, month, day. Two-digit years
// (-99..99) get 2000 added, but only when day and month passed. A day beyond the month's length
// (by month_days) is a bad day, named only when month and year passed. A null text counts as empty.
// Numbers not read are 0.
int pars_date_text(const char* text, int df, int& day, int& month, int& year);
const char* date_error_message(int code); // null for 0 or an unknown code

// Time check codes: 0 valid, 1 first hour, 2 first minute, 3 second hour, 4 second minute.
// Accepts "h", "h:m", "hmm" and ranges of two such times joined by a dash ("hmm" only without a
// colon: "25:00" is hour 25), and rewrites the text
// as "hh:mm" or "hh:mm-hh:mm" before checking, so the box shows the normal form either way.
// An empty box is not meant to be checked: it reads as no number and gives "-1:00" and code 1.
int pars_time_text(std::string& text);
const char* time_error_message(int code); // null for 0 or an unknown code

// Start text of the "Date" box for a new entry: the user types the day in front (df 1) or behind.
std::string new_date_stub(int df, int month, int year);

// Tabs and line ends would split the date line; a pasted one becomes a blank.
std::string clean_field_text(std::string_view text);
