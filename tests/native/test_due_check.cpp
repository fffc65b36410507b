#include <gtest/gtest.h>

#include <string>

#include "core/due_check.h"

namespace {

const Today now{15, 6, 2011, 10, 30}; // 2011.06.15 10:30

// The row's due flag after the date test and then the time test, as the list runs them.
bool is_due(DueScratch& s, const char* date, const char* time)
{
    const bool parsed = chek_date(s, date, now);
    chek_time(s, time, now, parsed);
    return s.due != 0;
}

bool is_due(const char* date, const char* time)
{
    DueScratch s;
    return is_due(s, date, time);
}

} // namespace

TEST(DueTest, PastDatesAreDueFutureDatesAreNot)
{
    EXPECT_TRUE(is_due("2010.12.31", "23:59"));
    EXPECT_TRUE(is_due("2011.05.20", ""));
    EXPECT_TRUE(is_due("2011.06.14", "11:00"));
    EXPECT_FALSE(is_due("2011.06.16", "00:00"));
    EXPECT_FALSE(is_due("2011.07.01", ""));
    // One year ahead, same month, earlier day.
    EXPECT_FALSE(is_due("2012.06.14", "09:00"));
    EXPECT_TRUE(is_due(" 999.05.02", ""));
}

TEST(DueTest, TodayIsDueOnceTheStartTimeHasCome)
{
    EXPECT_TRUE(is_due("2011.06.15", "10:29")); // a minute ago
    EXPECT_TRUE(is_due("2011.06.15", "10:30")); // now
    EXPECT_FALSE(is_due("2011.06.15", "10:31")); // a minute ahead
    EXPECT_FALSE(is_due("2011.06.15", "11:00"));
    EXPECT_TRUE(is_due("2011.06.15", "09:45"));
    // A range is judged by its start.
    EXPECT_TRUE(is_due("2011.06.15", "10:00-12:00"));
    EXPECT_FALSE(is_due("2011.06.15", "10:45-10:50"));
    // An hour alone means its full hour.
    EXPECT_TRUE(is_due("2011.06.15", "10"));
    EXPECT_FALSE(is_due("2011.06.15", "11"));
}

TEST(DueTest, TodayWithoutTimeIsDueFromTheStartOfTheDay)
{
    DueScratch s;
    // The row tested before left a late time behind; it must not count.
    EXPECT_FALSE(is_due(s, "2011.06.15", "23:00"));
    EXPECT_TRUE(is_due(s, "2011.06.15", ""));
    EXPECT_FALSE(is_due(s, "2011.06.15", "23:00"));
    EXPECT_TRUE(is_due(s, "2011.06.15", "all day"));
    EXPECT_FALSE(is_due(s, "2011.06.15", "23:00"));
    // An hour without minutes is not judged by the minutes left behind either.
    EXPECT_FALSE(is_due(s, "2011.06.15", "10:59"));
    EXPECT_TRUE(is_due(s, "2011.06.15", "10"));
}

TEST(DueTest, UnreadableDateIsNeverDue)
{
    DueScratch s;
    // Leaves today's date in the scratch fields.
    EXPECT_FALSE(is_due(s, "2011.06.15", "23:00"));
    EXPECT_FALSE(chek_date(s, "tomorrow", now));
    chek_time(s, "00:00", now, false);
    EXPECT_EQ(s.due, 0);
    EXPECT_FALSE(is_due(s, "2011.06", "00:00"));
    EXPECT_FALSE(is_due(s, "", "00:00"));
    EXPECT_FALSE(is_due(s, "2011-06-14", ""));
}

TEST(DueTest, PartialReadsLeaveTheOtherFields)
{
    DueScratch s;
    EXPECT_TRUE(chek_date(s, "2010.03.04\tThu", now));
    EXPECT_EQ(s.p_year, 2010);
    EXPECT_EQ(s.p_month, 3);
    EXPECT_EQ(s.p_day, 4);
    EXPECT_EQ(s.due, 1);

    EXPECT_FALSE(chek_date(s, "2012.7", now));
    EXPECT_EQ(s.p_year, 2012);
    EXPECT_EQ(s.p_month, 7);
    EXPECT_EQ(s.p_day, 4);
    EXPECT_EQ(s.due, 0);

    chek_time(s, "08:15", now, false);
    chek_time(s, "17", now, false);
    EXPECT_EQ(s.p_hour, 17);
    EXPECT_EQ(s.p_min, 15);
}

TEST(DueTest, NullTexts)
{
    DueScratch s;
    s.due = 1;
    EXPECT_FALSE(chek_date(s, static_cast<const char*>(nullptr), now));
    EXPECT_EQ(s.due, 0);

    ASSERT_TRUE(chek_date(s, "2011.06.15", now));
    s.p_hour = 7;
    chek_time(s, static_cast<const char*>(nullptr), now, true);
    EXPECT_EQ(s.due, 0);
    EXPECT_EQ(s.p_hour, 7);
}

TEST(DueTest, TimeNeverClearsDue)
{
    EXPECT_TRUE(is_due("2011.06.01", "23:59"));
    DueScratch s;
    s.due = 1;
    chek_time(s, "23:59", now, true);
    EXPECT_EQ(s.due, 1);
}

TEST(DueTest, ScansLikeScanf)
{
    DueScratch s;
    EXPECT_TRUE(chek_date(s, "  2011. 6.\t15", now));
    EXPECT_EQ(s.p_month, 6);
    EXPECT_EQ(s.p_day, 15);
    EXPECT_TRUE(chek_date(s, "+2011.-1.15", now));
    EXPECT_EQ(s.p_month, -1);
    EXPECT_EQ(s.due, 1);
    EXPECT_FALSE(chek_date(s, "2011 .06.15", now));
}

TEST(DueTest, HugeNumbersSaturate)
{
    DueScratch s;
    EXPECT_TRUE(chek_date(s, "99999999999999999999.01.01", now));
    EXPECT_EQ(s.p_year, 2147483647);
    EXPECT_EQ(s.due, 0);
    EXPECT_TRUE(chek_date(s, "-99999999999999999999.01.01", now));
    EXPECT_EQ(s.p_year, -2147483647 - 1);
    EXPECT_EQ(s.due, 1);
}

TEST(DueTest, ReadsOnlyTheGivenCell)
{
    // A cell inside a longer buffer: the digits after it belong to the next field.
    const std::string buffer = "2011.06.1499\t09:3055";
    DueScratch s;
    EXPECT_TRUE(chek_date(s, std::string_view(buffer).substr(0, 10), now));
    EXPECT_EQ(s.p_day, 14);
    chek_time(s, std::string_view(buffer).substr(13, 4), now, true);
    EXPECT_EQ(s.p_hour, 9);
    EXPECT_EQ(s.p_min, 3);
}
