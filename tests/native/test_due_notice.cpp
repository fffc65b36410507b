#include "core/due_notice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

RowStore rows_of(const std::vector<std::string>& lines)
{
    RowStore rows;
    for (const std::string& line : lines)
        rows.add_line(line);
    return rows;
}

std::vector<std::string> texts_of(const RowStore& rows, const std::vector<size_t>& due)
{
    std::vector<std::string> out;
    for (size_t row : due)
        out.emplace_back(rows.cell(row, 3));
    return out;
}

const Today at_nine{10, 6, 2024, 9, 0}; // 10 June 2024, 09:00

TEST(DueNotice, AnOpenEntryIsNamedOnceWhenItBecomesDueAndADoneOneNever)
{
    RowStore rows = rows_of({"2024.06.09\tSun\t\tyesterday\t0\n", "2024.06.09\tSun\t\tdone yesterday\t1\n",
                             "2024.06.10\tMon\t08:00\tat eight\t0\n", "2024.06.10\tMon\t10:00-11:00\tat ten\t0\n",
                             "2024.06.11\tTue\t\ttomorrow\t0\n", "2024.06.10\tMon\t\tno status\t\n"});
    DueNotices notices;
    const struct {
        Today now;
        std::vector<std::string> named;
    } steps[] = {
        {at_nine, {"at eight", "yesterday"}},
        {at_nine, {}},
        {{10, 6, 2024, 10, 0}, {"at ten"}},
        {{11, 6, 2024, 0, 0}, {"tomorrow"}},
        {{12, 6, 2024, 0, 0}, {}},
    };
    for (const auto& step : steps)
        EXPECT_EQ(texts_of(rows, notices.take_newly_due(rows, step.now)), step.named)
            << step.now.day << " " << step.now.hour;

    // Done and open again, re-sorted and rebuilt: still the same entries, not named again.
    rows.toggle_status(0);
    rows.toggle_status(0);
    rows.sort_up = 1;
    rows.fill(false);
    EXPECT_TRUE(notices.take_newly_due(rows, {12, 6, 2024, 0, 0}).empty());
    // An entry edited into another text is another entry.
    rows.set_cell(0, 3, "tomorrow, moved");
    EXPECT_EQ(texts_of(rows, notices.take_newly_due(rows, {12, 6, 2024, 0, 0})),
              (std::vector<std::string>{"tomorrow, moved"}));
}

TEST(DueNotice, TextNamesAtMostThreeEntriesThenHowManyMore)
{
    std::vector<std::string> lines;
    for (int day = 1; day <= 7; ++day)
        lines.push_back("2024.05.0" + std::to_string(day) + "\tMon\t" + (day % 2 ? "08:30" : "") + "\tentry " +
                        std::to_string(day) + "\t0\n");
    const RowStore rows = rows_of(lines); // newest first: entry 7, 6, 5, ...
    const struct {
        std::vector<size_t> due;
        int df;
        std::string text;
    } cases[] = {
        {{0}, 1, "07.05.2024 08:30 entry 7"},
        {{0}, 0, "2024.05.07 08:30 entry 7"},
        {{1, 2, 3}, 1, "06.05.2024 entry 6\n05.05.2024 08:30 entry 5\n04.05.2024 entry 4"},
        {{0, 1, 2, 3}, 1, "07.05.2024 08:30 entry 7\n06.05.2024 entry 6\n05.05.2024 08:30 entry 5\nand 1 more"},
        {{0, 1, 2, 3, 4, 5, 6},
         0,
         "2024.05.07 08:30 entry 7\n2024.05.06 entry 6\n2024.05.05 08:30 entry 5\nand 4 more"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(notice_text(rows, c.due, c.df), c.text) << c.due.size();
    EXPECT_EQ(notice_title(1), "A Date is due");
    EXPECT_EQ(notice_title(4), "4 Dates are due");
}

TEST(DueNotice, LongTextsAreCutSoTheNoticeFits)
{
    const std::string long_text(300, 'x');
    RowStore rows =
        rows_of({"2024.05.01\tWen\t08:00-09:00\t" + long_text + "\t0\n", "bad date\tMon\t\t" + long_text + "\t0\n"});
    const std::string text = notice_text(rows, {0, 1, 0, 1, 0}, 1);
    EXPECT_LE(text.size(), notice_chars);
    EXPECT_EQ(text.substr(0, 30), "bad date " + std::string(21, 'x'));
    EXPECT_NE(text.find("...\n01.05.2024 08:00-09:00 xxx"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 11), "\nand 2 more");
}

} // namespace
