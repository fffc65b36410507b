// Any bytes in the Date and Time cells of a row, any clock: the due test reads the cells the
// way the C runtime's scanf does (where scanf is defined) and never reads past a cell.
#include <cstdio>
#include <string>

#include "fuzz_input.h"
#include "core/due_check.h"

namespace {

// scanf's result is undefined for a number that does not fit an int.
bool has_long_number(const std::string& text)
{
    int run = 0;
    for (char c : text) {
        run = c >= '0' && c <= '9' ? run + 1 : 0;
        if (run > 9)
            return true;
    }
    return false;
}

bool before(int y, int m, int d, const Today& t)
{
    if (y != t.year)
        return y < t.year;
    if (m != t.month)
        return m < t.month;
    return d < t.day;
}

DueScratch scratch_from(fuzz::Input& in)
{
    DueScratch s;
    s.p_day = in.int32();
    s.p_month = in.int32();
    s.p_year = in.int32();
    s.p_hour = in.int32();
    s.p_min = in.int32();
    s.due = in.flag();
    return s;
}

void check_against_scanf(const DueScratch& start, const std::string& date, const std::string& time, const Today& today)
{
    DueScratch s = start;
    const bool parsed = chek_date(s, date.c_str(), today);
    DueScratch c = start;
    const int read = std::sscanf(date.c_str(), "%d.%d.%d\t", &c.p_year, &c.p_month, &c.p_day);
    fuzz::require(parsed == (read == 3), "the date is read when scanf reads three numbers", date);
    fuzz::require(s.p_year == c.p_year && s.p_month == c.p_month && s.p_day == c.p_day,
                  "the date fields are the ones scanf gives", date);
    fuzz::require(s.due == (parsed && before(c.p_year, c.p_month, c.p_day, today)),
                  "a date is due when it lies before today", date);
    const int due_before_time = s.due;
    chek_time(s, time.c_str(), today, parsed);
    std::sscanf(time.c_str(), "%d:%d", &c.p_hour, &c.p_min);
    fuzz::require(s.p_hour == c.p_hour && s.p_min == c.p_min, "the time fields are the ones scanf gives", time);
    fuzz::require(s.due >= due_before_time, "the time never clears due", time);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    Today today{};
    today.day = in.int32();
    today.month = in.int32();
    today.year = in.int32();
    today.hour = in.int32();
    today.min = in.int32();
    const DueScratch start = scratch_from(in);
    const std::string date_cell = in.text();
    const std::string time_cell = in.rest(); // may hold NUL bytes

    // The cells as the list stores them, bounded views with any bytes.
    DueScratch s = start;
    const bool parsed = chek_date(s, std::string_view(date_cell), today);
    fuzz::require(s.due == 0 || s.due == 1, "due is a flag");
    fuzz::require(parsed || s.due == 0, "a date that does not parse is not due", date_cell);
    chek_time(s, std::string_view(time_cell), today, parsed);
    fuzz::require(s.due == 0 || s.due == 1, "due is a flag");
    if (!parsed)
        fuzz::require(s.due == 0, "a row without a date is never due", date_cell);

    // The C-text forms stop at the first NUL, like the views of that much text.
    const std::string time_text(time_cell.c_str());
    DueScratch v = start, c = start;
    const bool by_view = chek_date(v, std::string_view(date_cell), today);
    const bool by_text = chek_date(c, date_cell.c_str(), today);
    chek_time(v, std::string_view(time_text), today, by_view);
    chek_time(c, time_text.c_str(), today, by_text);
    fuzz::require(by_view == by_text && v.due == c.due && v.p_year == c.p_year && v.p_month == c.p_month &&
                      v.p_day == c.p_day && v.p_hour == c.p_hour && v.p_min == c.p_min,
                  "a C text and its view give the same result", date_cell);

    DueScratch none = start;
    none.due = 1;
    fuzz::require(!chek_date(none, static_cast<const char*>(nullptr), today) && none.due == 0,
                  "no text clears due and parses nothing");
    chek_time(none, static_cast<const char*>(nullptr), today, true);
    fuzz::require(none.due == 0 && none.p_hour == start.p_hour, "no time changes nothing");

    if (!has_long_number(date_cell) && !has_long_number(time_text))
        check_against_scanf(start, date_cell, time_text, today);
    return 0;
}
