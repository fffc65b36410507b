#include "core/date_calc.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::string label(int day, int month, int year)
{
    const char* l = day_label(day, month, year);
    return l ? l : "(none)";
}

// Zeller's congruence as an independent reference, converted to Monday = 0.
int zeller_column(int day, int month, int year)
{
    if (month < 3) {
        month += 12;
        year -= 1;
    }
    const int k = year % 100, j = year / 100;
    const int h = (day + 13 * (month + 1) / 5 + k + k / 4 + j / 4 + 5 * j) % 7; // 0 = Saturday
    return (h + 5) % 7;
}

TEST(DateCalc, FirstDayOfMonthColumns)
{
    EXPECT_EQ(weekday_column(1, 2, 2010), 0); // a Monday
    EXPECT_EQ(weekday_column(1, 5, 2011), 6); // a Sunday
    EXPECT_EQ(weekday_column(1, 12, 2011), 3); // a Thursday
}

TEST(DateCalc, ColumnsAgreeWithZellerOverTheWholeRange)
{
    for (int year = 1970; year <= 2038; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= month_days(month, year); ++day)
                ASSERT_EQ(weekday_column(day, month, year), zeller_column(day, month, year))
                    << year << "-" << month << "-" << day;
}

TEST(DateCalc, MonthLengths)
{
    EXPECT_EQ(month_days(2, 2012), 29);
    EXPECT_EQ(month_days(2, 2011), 28);
    EXPECT_EQ(month_days(2, 2000), 29);
    EXPECT_EQ(month_days(12, 2011), 31);
    EXPECT_EQ(month_days(9, 2011), 30);
    EXPECT_EQ(month_days(2, 1900), 29); // no century rule
    EXPECT_EQ(month_days(0, 2011), 0);
    EXPECT_EQ(month_days(13, 2011), 0);
}

TEST(DateCalc, LabelsOfKnownDates)
{
    EXPECT_EQ(label(5, 12, 2011), "Mon");
    EXPECT_EQ(label(1, 1, 2011), "Sat");
    EXPECT_EQ(label(1, 1, 2012), "Sun");
    EXPECT_EQ(label(3, 3, 2011), "Thr");
    EXPECT_EQ(label(1, 2, 2011), "Thu"); // a Tuesday, labelled as the program always has
    EXPECT_EQ(label(1, 1, 1970), "Thr");
    EXPECT_EQ(label(31, 12, 2038), "Fri");
    EXPECT_EQ(day_label(5, 12, 2011), day_labels[0]); // the table's own pointer
    EXPECT_STREQ(month_labels[11], "December");
}

TEST(DateCalc, OutOfRangeValuesNormaliseLikeTheCLibrary)
{
    EXPECT_EQ(label(31, 2, 2011), "Thr"); // 3 March 2011
    EXPECT_EQ(label(0, 3, 2011), "Mon"); // 28 February 2011
    EXPECT_EQ(label(1, 0, 2012), "Thr"); // 1 December 2011
    EXPECT_EQ(label(-30, 1, 2011), "Wen"); // 1 December 2010
    EXPECT_EQ(weekday_column(29, 2, 2011), weekday_column(1, 3, 2011));
    EXPECT_EQ(weekday_column(0, 1, 2011), weekday_column(31, 12, 2010));
    EXPECT_EQ(weekday_column(1, 13, 2011), weekday_column(1, 1, 2012));
    EXPECT_EQ(weekday_column(1, -11, 2012), weekday_column(1, 1, 2011));
}

TEST(DateCalc, NoLabelOutsideTheShownRange)
{
    EXPECT_EQ(day_label(32, 1, 2011), nullptr);
    EXPECT_EQ(day_label(1, 13, 2011), nullptr);
    EXPECT_EQ(day_label(1, 1, 1969), nullptr);
    EXPECT_EQ(day_label(1, 1, 2039), nullptr);
    // Normalised into 1969.
    EXPECT_EQ(day_label(0, 1, 1970), nullptr);
    EXPECT_EQ(day_label(1, 0, 1970), nullptr);
    EXPECT_EQ(day_label(INT_MIN, 6, 2000), nullptr);
    EXPECT_EQ(day_label(1, INT_MIN, 2038), nullptr);
}

TEST(DateCalc, ExtremeArgumentsStayInRange)
{
    for (int v : {INT_MIN, -1, 0, INT_MAX}) {
        const int column = weekday_column(v, v, v);
        EXPECT_GE(column, 0);
        EXPECT_LE(column, 6);
    }
}

} // namespace
