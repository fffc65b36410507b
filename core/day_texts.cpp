#include "core/day_texts.h"

#include "core/row_store.h"

#include "core/number_text.h"

namespace {

constexpr std::size_t stored_date_chars = 10;

void append_word(std::string& text, std::string_view word)
{
    if (word.empty())
        return;
    text.append(word.data(), word.size());
    text.push_back(' ');
}

} // namespace

std::optional<int> day_in_month(std::string_view date, int month, int year)
{
    if (date.size() != stored_date_chars)
        return std::nullopt;
    int ymd[3];
    if (scan_decimal_format(date, "%d.%d.%d", ymd, 3) != 3)
        return std::nullopt;
    if (ymd[0] != year || ymd[1] != month || ymd[2] < 1 || ymd[2] > 31)
        return std::nullopt;
    return ymd[2];
}

void DayTextCollector::add(const DayRow& row)
{
    const std::optional<int> day = day_in_month(row.date, month_, year_);
    if (!day)
        return;
    std::string& text = texts_[static_cast<std::size_t>(*day - 1)];
    append_word(text, row.time);
    append_word(text, row.todo);
}

DayTexts collect_month_texts(const RowStore& store, int month, int year)
{
    size_t next = 0;
    return collect_day_texts(month, year, [&](DayRow& row) {
        while (next < store.row_count()) {
            const size_t at = next++;
            const std::string_view date = store.cell(at, 0);
            // Only rows of the month have their other cells read.
            if (!day_in_month(date, month, year))
                continue;
            row = {date, store.cell(at, 2), store.cell(at, 3)};
            return true;
        }
        return false;
    });
}
