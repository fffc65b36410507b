#include "core/entry_parse.h"

#include <gtest/gtest.h>

#include <string>

#include "core/date_calc.h"
#include "core/date_line.h"

namespace {

struct DateResult {
    int code, day, month, year;
};

DateResult parse_date(const char* text, int df)
{
    DateResult r{};
    r.code = pars_date_text(text, df, r.day, r.month, r.year);
    return r;
}

// The stored form of an accepted date, or the message of a rejected one.
std::string stored_or_message(const char* text, int df)
{
    const DateResult r = parse_date(text, df);
    return r.code == 0 ? dl::format_stored_date(r.year, r.month, r.day) : date_error_message(r.code);
}

struct TimeResult {
    int code;
    std::string text;
};

TimeResult parse_time(std::string text)
{
    const int code = pars_time_text(text);
    return {code, text};
}

TEST(EntryParse, DayFirstDatesAccepted)
{
    EXPECT_EQ(stored_or_message("5.3.24", 1), "2024.03.05");
    EXPECT_EQ(stored_or_message("5.3.0", 1), "2000.03.05");
    EXPECT_EQ(stored_or_message("5.3.100", 1), " 100.03.05");
    EXPECT_EQ(stored_or_message("29.2.2028", 1), "2028.02.29");
    EXPECT_EQ(stored_or_message("31.12.2027", 1), "2027.12.31");
    EXPECT_EQ(stored_or_message(" 5. 3. +2024 and more", 1), "2024.03.05");
}

TEST(EntryParse, ImpossibleDayOfAFileKeepsTheNormalisedLabel)
{
    // Typed, it is refused; read from a file, it shows as before.
    EXPECT_EQ(parse_date("31.2.2011", 1).code, 1);
    EXPECT_STREQ(day_label(31, 2, 2011), "Thr");
}

TEST(EntryParse, DaysBeyondTheMonthAreRefusedAfterMonthAndYear)
{
    const std::pair<const char*, const char*> cases[] = {
        {"31.02.2027", "Date Error, Day ?"},   {"31.04.2027", "Date Error, Day ?"},
        {"29.02.2027", "Date Error, Day ?"},   {"30.2.28", "Date Error, Day ?"},
        {"31.13.2027", "Date Error, Month ?"}, {"31.02.3001", "Date Error, Year ?"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stored_or_message(c.first, 1), c.second) << c.first;
    EXPECT_EQ(stored_or_message("2027.2.29", 0), "Date Error, Day ?");
}

TEST(EntryParse, DayFirstDatesRejected)
{
    EXPECT_EQ(stored_or_message("32.1.2024", 1), "Date Error, Day ?");
    EXPECT_EQ(stored_or_message("5.13.2024", 1), "Date Error, Month ?");
    EXPECT_EQ(stored_or_message("5.3.3001", 1), "Date Error, Year ?");
    EXPECT_EQ(stored_or_message("0.0.0", 1), "Date Error, Month ?");
    EXPECT_EQ(stored_or_message("5.3", 1), "Date Error, 3 Arguments expected !");
    EXPECT_EQ(stored_or_message("5/3/2024", 1), "Date Error, 3 Arguments expected !");
    EXPECT_EQ(stored_or_message("5 .3.2024", 1), "Date Error, 3 Arguments expected !");
}

TEST(EntryParse, LaterChecksOverrideEarlierOnes)
{
    EXPECT_EQ(parse_date("32.13.5000", 1).code, 3);
    EXPECT_EQ(parse_date("32.13.2024", 1).code, 2);
    // A bad day keeps a two-digit year as typed.
    const DateResult r = parse_date("0.5.50", 1);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.year, 50);
    EXPECT_EQ(parse_date("5.3.-5", 1).year, 1995);
    EXPECT_EQ(parse_date("5.3.-100", 1).code, 3);
}

TEST(EntryParse, OverlongYearIsRejectedNotWrapped)
{
    // 4294969296 would wrap to 2000 in 32 bits.
    EXPECT_EQ(parse_date("5.3.4294969296", 1).code, 3);
    EXPECT_EQ(parse_date("5.3.-4294965296", 1).code, 3);
}

TEST(EntryParse, YearFirstDates)
{
    EXPECT_EQ(stored_or_message("2024.3.5", 0), "2024.03.05");
    EXPECT_EQ(stored_or_message("5.3.2024", 0), "Date Error, Day ?");
    EXPECT_EQ(stored_or_message("2024.3.5", 2), "2024.03.05"); // any df but 1
}

TEST(EntryParse, EmptyDateExpectsThreeArguments)
{
    EXPECT_EQ(parse_date("", 1).code, 4);
    EXPECT_EQ(parse_date(nullptr, 0).code, 4);
    EXPECT_EQ(parse_date("   ", 0).code, 4);
    EXPECT_EQ(date_error_message(0), nullptr);
    EXPECT_EQ(date_error_message(5), nullptr);
}

TEST(EntryParse, TimesRewrittenAndAccepted)
{
    const std::pair<const char*, const char*> cases[] = {
        {"8", "08:00"},
        {"830", "08:30"},
        {"8:30", "08:30"},
        {"8.30", "08:00"},
        {"8-10", "08:00-10:00"},
        {"8:15 - 9:45", "08:15-09:45"},
        {"1430-1600", "14:30-16:00"},
        {"9-25", "09:00-00:25"},
        {"25", "00:25"},
        {"8 -10:30", "08:00-10:30"},
        {"8:30-10", "08:30-10:00"},
        {"23:59", "23:59"},
        {"10-8", "10:00-08:00"},
        {"8:30-1600", "08:30-16:00"},
        {"1430-16", "14:30-16:00"},
    };
    for (const auto& c : cases) {
        const TimeResult r = parse_time(c.first);
        EXPECT_EQ(r.code, 0) << c.first;
        EXPECT_EQ(r.text, c.second) << c.first;
    }
}

TEST(EntryParse, TimesRewrittenAndRejected)
{
    const struct {
        const char* typed;
        const char* shown;
        const char* message;
    } cases[] = {
        {"24", "24:00", "Invalid Timevalue 1, Houres ?"},
        {"7:60", "07:60", "Invalid Timevalue 1, Minutes ?"},
        {"9-24", "09:00-24:00", "Invalid Timevalue 2, Houres ?"},
        {"9-10:75", "09:00-10:75", "Invalid Timevalue 2, Minutes ?"},
        // Compact "hhmm" only without a colon: here 25 is an hour.
        {"25:00", "25:00", "Invalid Timevalue 1, Houres ?"},
        {"9-25:10", "09:00-25:10", "Invalid Timevalue 2, Houres ?"},
        {"8--10", "08:00--10:00", "Invalid Timevalue 2, Houres ?"},
        {"abc", "-1:00", "Invalid Timevalue 1, Houres ?"},
        {"", "-1:00", "Invalid Timevalue 1, Houres ?"},
    };
    for (const auto& c : cases) {
        const TimeResult r = parse_time(c.typed);
        ASSERT_NE(r.code, 0) << c.typed;
        EXPECT_EQ(r.text, c.shown) << c.typed;
        EXPECT_STREQ(time_error_message(r.code), c.message) << c.typed;
    }
    EXPECT_EQ(time_error_message(0), nullptr);
}

TEST(EntryParse, OverlongTimeTextStaysBounded)
{
    const TimeResult r = parse_time(std::string(254, '9'));
    EXPECT_EQ(r.code, 1);
    EXPECT_LT(r.text.size(), 24u);
}

TEST(EntryParse, DateTexts)
{
    EXPECT_EQ(new_date_stub(1, 3, 2024), ".03.2024");
    EXPECT_EQ(new_date_stub(0, 3, 2024), "2024.03.");
    EXPECT_EQ(dl::format_display_date(5, 12, 2011), "05.12.2011");
    EXPECT_EQ(dl::format_stored_date(2011, 12, 5), "2011.12.05");
}

TEST(EntryParse, FieldTextsLoseTabsAndLineEnds)
{
    EXPECT_EQ(clean_field_text("a\tb\r\nc"), "a b  c");
    EXPECT_EQ(clean_field_text(std::string("x\0y", 3)), std::string("x\0y", 3));
    EXPECT_EQ(clean_field_text(""), "");
}

} // namespace
