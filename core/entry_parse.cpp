#include "core/entry_parse.h"

#include <array>

#include "core/date_calc.h"
#include "core/number_text.h"

namespace {

enum DateCode { date_ok = 0, bad_day = 1, bad_month = 2, bad_year = 3, not_three_numbers = 4 };

// Later checks override earlier ones, so the message names the year before the month before the day.
// The month's length is known only once month and year passed: a day beyond it comes last.
int check_date(int day, int month, int& year)
{
    int code = date_ok;
    if (day < 1 || day > 31)
        code = bad_day;
    if (month < 1 || month > 12)
        code = bad_month;
    if (code == date_ok && year >= -99 && year <= 99)
        year += 2000;
    if (year < 0 || year > 3000)
        code = bad_year;
    if (code == date_ok && day > month_days(month, year))
        code = bad_day;
    return code;
}

struct TimeValues {
    int h1 = -1, m1 = 0, h2 = -1, m2 = 0;
    // Typed with a colon: the hour is an hour, never a compact "hhmm".
    bool m1_typed = false, m2_typed = false;
    int* slot(int index) { return index == 0 ? &h1 : index == 1 ? &m1 : index == 2 ? &h2 : &m2; }
};

// Slots: 0 first hour, 1 first minute, 2 second hour, 3 second minute.
struct TimeForm {
    const char* format;
    int count;
    std::array<int, 4> slots;
};

// Tried in this order; the first form whose numbers are all read decides.
constexpr TimeForm time_forms[] = {
    {"%d:%d -%d:%d", 4, {0, 1, 2, 3}}, {"%d:%d-%d:%d", 4, {0, 1, 2, 3}}, {"%d:%d -%d", 3, {0, 1, 2, 0}},
    {"%d:%d-%d", 3, {0, 1, 2, 0}},     {"%d -%d:%d", 3, {0, 2, 3, 0}},   {"%d-%d:%d", 3, {0, 2, 3, 0}},
    {"%d -%d", 2, {0, 2, 0, 0}},       {"%d-%d", 2, {0, 2, 0, 0}},       {"%d:%d", 2, {0, 1, 0, 0}},
    {"%d", 1, {0, 0, 0, 0}},
};

TimeValues read_time_values(const std::string& text)
{
    TimeValues t;
    for (const TimeForm& form : time_forms) {
        int numbers[4];
        if (scan_decimal_format(text, form.format, numbers, form.count) != form.count)
            continue;
        for (int i = 0; i < form.count; ++i) {
            const int slot = form.slots[static_cast<std::size_t>(i)];
            *t.slot(slot) = numbers[i];
            t.m1_typed = t.m1_typed || slot == 1;
            t.m2_typed = t.m2_typed || slot == 3;
        }
        break;
    }
    return t;
}

// 830 is 8:30 and 25 is 0:25, while 24 stays an hour; "25:00" is hour 25, refused by the check.
void split_compact(int& hour, int& minute, bool minute_typed)
{
    if (hour <= 24 || minute_typed)
        return;
    minute = hour % 100;
    hour /= 100;
}

std::string format_time(const TimeValues& t)
{
    if (t.h2 == -1)
        return format_printf("%02i:%02i", t.h1, t.m1);
    return format_printf("%02i:%02i-%02i:%02i", t.h1, t.m1, t.h2, t.m2);
}

int check_time(const TimeValues& t)
{
    if (t.h1 < 0 || t.h1 > 23)
        return 1;
    if (t.m1 < 0 || t.m1 > 59)
        return 2;
    if (t.h2 < -1 || t.h2 > 23)
        return 3;
    if (t.m2 < 0 || t.m2 > 59)
        return 4;
    return 0;
}

const char* message_of(const char* const (&messages)[4], int code)
{
    return code >= 1 && code <= 4 ? messages[code - 1] : nullptr;
}

} // namespace

int pars_date_text(const char* text, int df, int& day, int& month, int& year)
{
    int numbers[3] = {0, 0, 0};
    const int read = scan_decimal_format(text ? text : "", "%d.%d.%d\t", numbers, 3);
    day = df == 1 ? numbers[0] : numbers[2];
    month = numbers[1];
    year = df == 1 ? numbers[2] : numbers[0];
    if (read != 3)
        return not_three_numbers;
    return check_date(day, month, year);
}

const char* date_error_message(int code)
{
    static const char* const messages[4] = {"Date Error, Day ?", "Date Error, Month ?", "Date Error, Year ?",
                                            "Date Error, 3 Arguments expected !"};
    return message_of(messages, code);
}

int pars_time_text(std::string& text)
{
    TimeValues t = read_time_values(text);
    split_compact(t.h1, t.m1, t.m1_typed);
    split_compact(t.h2, t.m2, t.m2_typed);
    text = format_time(t);
    return check_time(t);
}

const char* time_error_message(int code)
{
    static const char* const messages[4] = {"Invalid Timevalue 1, Houres ?", "Invalid Timevalue 1, Minutes ?",
                                            "Invalid Timevalue 2, Houres ?", "Invalid Timevalue 2, Minutes ?"};
    return message_of(messages, code);
}

std::string new_date_stub(int df, int month, int year)
{
    return df == 1 ? format_printf(".%02i.%4i", month, year) : format_printf("%4i.%02i.", year, month);
}

std::string clean_field_text(std::string_view text)
{
    std::string clean(text);
    for (char& c : clean)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return clean;
}
