// Any text typed into the "Date" and "Time" boxes: the checks never fail on it, and what they
// accept is a real date or time that reads back the same from its normal form.
#include <cstdio>
#include <string>

#include "fuzz_input.h"
#include "core/date_calc.h"
#include "core/date_line.h"
#include "core/entry_parse.h"

namespace {

bool in_range(int v, int low, int high)
{
    return v >= low && v <= high;
}

void check_date(const std::string& text, int df)
{
    int day = -7, month = -7, year = -7;
    const int code = pars_date_text(text.c_str(), df, day, month, year);
    fuzz::require(in_range(code, 0, 4), "a date check gives a known code", text);
    fuzz::require((code == 0) == (date_error_message(code) == nullptr), "every failure has its message", text);
    if (code != 0)
        return;
    fuzz::require(in_range(month, 1, 12) && in_range(day, 1, month_days(month, year)) && in_range(year, 100, 3000),
                  "an accepted date is in range", text);
    // The stored and the shown form of an accepted date read back as that date.
    int d = 0, m = 0, y = 0;
    fuzz::require(pars_date_text(dl::format_stored_date(year, month, day).c_str(), 0, d, m, y) == 0 && d == day &&
                      m == month && y == year,
                  "the stored form reads back", text);
    fuzz::require(pars_date_text(dl::format_display_date(day, month, year).c_str(), 1, d, m, y) == 0 && d == day &&
                      m == month && y == year,
                  "the shown form reads back", text);
    fuzz::require(dl::format_stored_date(year, month, day).size() == 10, "a stored date has ten characters", text);
}

bool is_clock(const std::string& t, size_t at)
{
    if (at + 5 > t.size() || t[at + 2] != ':')
        return false;
    for (size_t i : {at, at + 1, at + 3, at + 4})
        if (t[i] < '0' || t[i] > '9')
            return false;
    const int hour = (t[at] - '0') * 10 + (t[at + 1] - '0');
    const int min = (t[at + 3] - '0') * 10 + (t[at + 4] - '0');
    return hour <= 23 && min <= 59;
}

void check_time(const std::string& typed)
{
    std::string text = typed;
    const int code = pars_time_text(text);
    fuzz::require(in_range(code, 0, 4), "a time check gives a known code", typed);
    fuzz::require((code == 0) == (time_error_message(code) == nullptr), "every failure has its message", typed);
    // The box and the date line hold the result: it must stay far within a field.
    fuzz::require(text.size() <= 64, "the normal form is short", typed);
    if (code != 0)
        return;
    const bool single = text.size() == 5 && is_clock(text, 0);
    const bool range = text.size() == 11 && is_clock(text, 0) && text[5] == '-' && is_clock(text, 6);
    fuzz::require(single || range, "an accepted time is hh:mm or hh:mm-hh:mm", typed + " -> " + text);
    std::string again = text;
    fuzz::require(pars_time_text(again) == 0 && again == text, "the normal form is accepted as it is", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const std::string text = in.rest();
    // The boxes give C texts: everything up to the first NUL.
    const std::string typed(text.c_str());
    check_date(typed, 0);
    check_date(typed, 1);
    check_date(typed, 2);
    check_time(typed);
    int day, month, year;
    fuzz::require(pars_date_text(nullptr, 1, day, month, year) == 4, "no text is not three numbers");
    return 0;
}
