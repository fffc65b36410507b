#include "core/due_notice.h"

#include <algorithm>
#include <string_view>

#include "core/date_line.h"

namespace {

constexpr int col_date = 0, col_time = 2, col_text = 3, col_status = 4;
constexpr size_t named_lines = 3;
// Three lines of this length and the "and N more" line fit a notification.
constexpr size_t line_chars = 72;
const char* const cut_mark = "...";

bool is_due(const RowStore& rows, size_t row, const Today& today, DueScratch& s)
{
    const bool parsed = chek_date(s, rows.cell(row, col_date), today);
    chek_time(s, rows.cell(row, col_time), today, parsed);
    return s.due == 1;
}

std::string shown_date(std::string_view cell, int df)
{
    DueScratch s;
    const Today any{1, 1, 1, 0, 0};
    if (df == 1 && chek_date(s, cell, any))
        return dl::format_display_date(s.p_day, s.p_month, s.p_year);
    return std::string(cell);
}

std::string entry_line(const RowStore& rows, size_t row, int df)
{
    std::string line = shown_date(rows.cell(row, col_date), df);
    const std::string_view time = rows.cell(row, col_time);
    if (!time.empty())
        line.append(" ").append(time);
    line.append(" ").append(rows.cell(row, col_text));
    if (line.size() > line_chars)
        line = line.substr(0, line_chars - 3) + cut_mark;
    return line;
}

} // namespace

std::vector<size_t> DueNotices::take_newly_due(const RowStore& rows, const Today& today)
{
    std::vector<size_t> due;
    std::vector<std::uint64_t> hashes;
    DueScratch s;
    for (size_t row = 0; row < rows.row_count(); ++row) {
        if (rows.cell(row, col_status) != "0" || !is_due(rows, row, today, s))
            continue;
        const std::uint64_t hash = hash_of(rows, row);
        if (named(hash))
            continue;
        due.push_back(row);
        hashes.push_back(hash);
    }
    remember(std::move(hashes));
    return due;
}

std::uint64_t DueNotices::hash_of(const RowStore& rows, size_t row)
{
    // FNV-1a over the cells of the key, each ended by a tab.
    std::uint64_t hash = 14695981039346656037ull;
    for (int col : {col_date, col_time, col_text}) {
        for (unsigned char c : rows.cell(row, col))
            hash = (hash ^ c) * 1099511628211ull;
        hash = (hash ^ static_cast<unsigned char>('\t')) * 1099511628211ull;
    }
    return hash;
}

bool DueNotices::named(std::uint64_t hash) const
{
    return std::binary_search(named_.begin(), named_.end(), hash);
}

void DueNotices::remember(std::vector<std::uint64_t> hashes)
{
    if (hashes.empty())
        return;
    std::sort(hashes.begin(), hashes.end());
    const auto middle = named_.insert(named_.end(), hashes.begin(), hashes.end());
    std::inplace_merge(named_.begin(), middle, named_.end());
    named_.erase(std::unique(named_.begin(), named_.end()), named_.end());
}

std::string DueNotices::key_of(const RowStore& rows, size_t row)
{
    std::string key(rows.cell(row, col_date));
    key.append("\t").append(rows.cell(row, col_time)).append("\t").append(rows.cell(row, col_text));
    return key;
}

std::string notice_title(size_t count)
{
    return count == 1 ? "A Date is due" : std::to_string(count) + " Dates are due";
}

std::string notice_text(const RowStore& rows, const std::vector<size_t>& due_rows, int df)
{
    std::string text;
    for (size_t i = 0; i < due_rows.size() && i < named_lines; ++i) {
        if (i > 0)
            text += '\n';
        text += entry_line(rows, due_rows[i], df);
    }
    if (due_rows.size() > named_lines)
        text += "\nand " + std::to_string(due_rows.size() - named_lines) + " more";
    return text.substr(0, notice_chars);
}
