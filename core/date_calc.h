#pragma once
// Calendar arithmetic of the month and year grids. Pure civil dates: no time zone, no clock.

// Weekday labels, Monday first, exactly as the grids show them.
extern const char* const day_labels[7];
extern const char* const month_labels[12];

// Weekday column of a date, 0 = Monday .. 6 = Sunday. Out-of-range values are normalised as the
// C library does: month 0 is December of the year before, day 0 the last day of the previous
// month, a day past the month's end runs into the next month.
int weekday_column(int day, int month, int year);

// Days of month 1..12 (0 for any other month). Every year divisible by 4 is a leap year.
int month_days(int month, int year);

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar, normalised as above.
long long days_from_civil(int day, int month, int year);
// The date of a day count from 1970-01-01.
void civil_from_days(long long days, int& day, int& month, int& year);

// Label of the date's weekday, or null when the date is outside the range the program can show:
// day > 31, month > 12, year outside 1970..2038, or a normalised date before 1970-01-01.
const char* day_label(int day, int month, int year);
