#include "core/date_calc.h"

const char* const day_labels[7] = {"Mon", "Thu", "Wen", "Thr", "Fri", "Sat", "Sun"};

const char* const month_labels[12] = {"January", "February", "March",     "April",   "May",      "June",
                                      "July",    "August",   "September", "October", "November", "December"};

namespace {

long long floor_div(long long a, long long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

long long floor_mod(long long a, long long b)
{
    return a - floor_div(a, b) * b;
}

// Days from 1970-01-01 to the first of a month of the proleptic Gregorian calendar; 64-bit so
// that no int argument can overflow.
long long days_to_month_start(long long month, long long year)
{
    year += floor_div(month - 1, 12);
    month = floor_mod(month - 1, 12) + 1;
    const long long y = month <= 2 ? year - 1 : year;
    const long long era = floor_div(y, 400);
    const long long year_of_era = y - era * 400;
    const long long day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
    const long long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

// 1970-01-01 was a Thursday, column 3.
int column_of(long long days)
{
    return static_cast<int>(floor_mod(days + 3, 7));
}

} // namespace

long long days_from_civil(int day, int month, int year)
{
    return days_to_month_start(month, year) + static_cast<long long>(day) - 1;
}

void civil_from_days(long long days, int& day, int& month, int& year)
{
    const long long z = days + 719468;
    const long long era = floor_div(z, 146097);
    const long long day_of_era = z - era * 146097;
    const long long year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const long long day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const long long shifted_month = (5 * day_of_year + 2) / 153;
    day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
    month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
    year = static_cast<int>(year_of_era + era * 400 + (month <= 2));
}

int weekday_column(int day, int month, int year)
{
    return column_of(days_from_civil(day, month, year));
}

int month_days(int month, int year)
{
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12: return 31;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    case 2: return year % 4 == 0 ? 29 : 28;
    default: return 0;
    }
}

const char* day_label(int day, int month, int year)
{
    if (day > 31 || month > 12 || year < 1970 || year > 2038)
        return nullptr;
    const long long days = days_from_civil(day, month, year);
    if (days < 0)
        return nullptr;
    return day_labels[column_of(days)];
}
