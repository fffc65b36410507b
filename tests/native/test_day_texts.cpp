#include "core/day_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Row {
    std::string date, time, todo;
};

DayTexts collect(const std::vector<Row>& rows, int month, int year)
{
    std::size_t next = 0;
    return collect_day_texts(month, year, [&](DayRow& row) {
        if (next == rows.size())
            return false;
        row = {rows[next].date, rows[next].time, rows[next].todo};
        ++next;
        return true;
    });
}

int filled_days(const DayTexts& texts)
{
    int filled = 0;
    for (const std::string& t : texts)
        filled += !t.empty();
    return filled;
}

TEST(DayTexts, EntriesOfOneDayJoinInListOrder)
{
    const DayTexts texts = collect({{"2011.12.05", "10:00", "Meeting"}, {"2011.12.05", "", "Call back"}}, 12, 2011);
    EXPECT_EQ(texts[4], "10:00 Meeting Call back ");
    EXPECT_EQ(filled_days(texts), 1);
}

TEST(DayTexts, OnlyTheShownMonthAndYearCount)
{
    const DayTexts texts = collect({{"2011.11.05", "09:00", "November"},
                                    {"2012.12.05", "", "Next year"},
                                    {"2011.12.31", "", "Party"},
                                    {"2011.12.01", "08:00", ""}},
                                   12, 2011);
    EXPECT_EQ(texts[30], "Party ");
    EXPECT_EQ(texts[0], "08:00 ");
    EXPECT_EQ(filled_days(texts), 2);
}

TEST(DayTexts, DaysOneToThirtyOneWhateverTheMonthLength)
{
    const DayTexts texts = collect({{"2011.02.30", "", "Never shown"},
                                    {"2011.02.00", "", "Day 0"},
                                    {"2011.02.32", "", "Day 32"},
                                    {"2011.02.-1", "", "Negative"}},
                                   2, 2011);
    EXPECT_EQ(texts[29], "Never shown ");
    EXPECT_EQ(filled_days(texts), 1);
}

TEST(DayTexts, UnreadableDatesContributeNothing)
{
    // A row without a proper date never joins the previous row's day.
    const DayTexts texts = collect({{"2011.12.05", "", "First"},
                                    {"2011.12.5", "", "Nine characters"},
                                    {"2011.12.050", "", "Eleven characters"},
                                    {"2011/12/05", "", "Slashes"},
                                    {"", "", "Empty"},
                                    {"abcdefghij", "", "Letters"}},
                                   12, 2011);
    EXPECT_EQ(texts[4], "First ");
    EXPECT_EQ(filled_days(texts), 1);
}

TEST(DayTexts, RowsWithoutTimeOrTextAddNoBlanks)
{
    const DayTexts texts = collect({{"2011.12.07", "", ""}, {"2011.12.08", "", "Shopping"}}, 12, 2011);
    EXPECT_TRUE(texts[6].empty());
    EXPECT_EQ(texts[7], "Shopping ");
    EXPECT_EQ(filled_days(collect({}, 12, 2011)), 0);
}

TEST(DayTexts, DayInMonthReadsTheStoredForm)
{
    EXPECT_EQ(day_in_month("2024.03.05", 3, 2024), 5);
    EXPECT_EQ(day_in_month("2024.3.5  ", 3, 2024), 5); // ten characters, three numbers
    EXPECT_EQ(day_in_month("2024.03.05", 4, 2024), std::nullopt);
    EXPECT_EQ(day_in_month("2024.03.05", 3, 2023), std::nullopt);
    EXPECT_EQ(day_in_month("99999999.1", 3, 2024), std::nullopt);
}

} // namespace
