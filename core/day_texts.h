#pragma once
// The texts that the month grid writes into its day cells, collected from the list's rows.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

class RowStore;

using DayTexts = std::array<std::string, 31>;

// The three cells of a list row that the month grid reads.
struct DayRow {
    std::string_view date; // "YYYY.MM.DD"
    std::string_view time;
    std::string_view todo;
};

// Day 1..31 of a stored date when it lies in the given month, else nullopt. Only a text of
// exactly ten characters that reads as year.month.day counts; anything else belongs to no day.
std::optional<int> day_in_month(std::string_view date, int month, int year);

// Gathers, per day, each row's time and text, each followed by one blank, in row order.
class DayTextCollector {
public:
    DayTextCollector(int month, int year) : month_(month), year_(year) { }
    void add(const DayRow& row);
    DayTexts& texts() { return texts_; }

private:
    int month_;
    int year_;
    DayTexts texts_;
};

// Visits rows with next_row(DayRow&) until it returns false; the views it fills need to stay
// valid only until the next call.
template <class NextRow> DayTexts collect_day_texts(int month, int year, NextRow&& next_row)
{
    DayTextCollector collector(month, year);
    DayRow row;
    while (next_row(row))
        collector.add(row);
    return std::move(collector.texts());
}

// The time and text of every row of the store in the month, per day, in list order. Reads the
// rows directly: a month paint over 100,000 rows has to stay within a frame.
DayTexts collect_month_texts(const RowStore& store, int month, int year);
