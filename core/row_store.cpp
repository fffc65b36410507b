#include "core/row_store.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "core/date_line.h"
#include "core/date_text.h"

namespace {

constexpr int status_col = dl::field_count - 1;

std::string_view date_of(std::string_view joined)
{
    return joined.substr(0, joined.find('\t'));
}

struct CellBounds {
    size_t begin, end;
};

// Every row holds exactly field_count - 1 tabs, so the cell is always there.
CellBounds bounds_of(std::string_view joined, int col)
{
    size_t begin = 0;
    for (int k = 0; k < col; ++k)
        begin = joined.find('\t', begin) + 1;
    size_t end = joined.find('\t', begin);
    return {begin, end == std::string_view::npos ? joined.size() : end};
}

std::string without_separators(std::string_view text)
{
    std::string clean(text);
    for (char& c : clean)
        if (dl::is_field_end(c))
            c = ' ';
    return clean;
}

// Rows added by a merge up to this many are put in place one by one.
constexpr size_t few_rows = 32;

std::string_view without_newline(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    return line;
}

bool valid_col(int col)
{
    return col >= 0 && col < dl::field_count;
}

// Up to eight bytes from the start of text as one number in byte order, zero-padded.
std::uint64_t big_endian_bytes(std::string_view text)
{
    std::uint64_t value = 0;
    for (size_t i = 0; i < 8; ++i)
        value = value << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    return value;
}

} // namespace

RowStore::DateKey RowStore::key_of(std::string_view date, size_t index)
{
    const std::string_view rest = date.size() > 8 ? date.substr(8) : std::string_view();
    const size_t length = std::min<size_t>(date.size(), DateKey::width + 1);
    return {big_endian_bytes(date), big_endian_bytes(rest), static_cast<std::uint32_t>(length),
            static_cast<std::uint32_t>(index)};
}

bool RowStore::in_order(std::string_view first, std::string_view second) const
{
    return rows_up_ ? first < second : second < first;
}

size_t RowStore::place_for(std::string_view date) const
{
    // After every row of the same date, so equal dates keep their order of arrival.
    auto it = std::upper_bound(rows_.begin(), rows_.end(), date,
                               [this](std::string_view d, const Row& row) { return in_order(d, date_of(row.joined)); });
    return static_cast<size_t>(it - rows_.begin());
}

size_t RowStore::insert_row(Row row)
{
    // Fewer than two rows are in either order, so a new direction can apply at once.
    if (rows_.size() < 2)
        rows_up_ = sort_up != 0;
    const size_t at = place_for(date_of(row.joined));
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
    return at;
}

size_t RowStore::add_line(std::string_view line)
{
    return insert_row(Row{dl::line_to_joined(line), next_id_++});
}

std::string_view RowStore::cell(size_t row, int col) const
{
    if (row >= rows_.size() || !valid_col(col))
        return {};
    std::string_view joined = rows_[row].joined;
    CellBounds b = bounds_of(joined, col);
    return joined.substr(b.begin, b.end - b.begin);
}

void RowStore::set_cell(size_t row, int col, std::string_view text)
{
    if (row >= rows_.size() || !valid_col(col))
        return;
    const std::string clean = without_separators(text);
    if (cell(row, col) == clean)
        return; // also keeps an unchanged date among its equals
    std::string& joined = rows_[row].joined;
    CellBounds b = bounds_of(joined, col);
    joined.replace(b.begin, b.end - b.begin, clean);
    if (col != 0)
        return;
    Row moved = std::move(rows_[row]);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
    insert_row(std::move(moved));
}

std::string RowStore::read_back(size_t row) const
{
    if (row >= rows_.size())
        return {};
    std::string line;
    line.reserve(rows_[row].joined.size() + 1);
    line += rows_[row].joined;
    line += '\n';
    return line;
}

void RowStore::delete_row(size_t row)
{
    if (row >= rows_.size())
        return;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
}

std::vector<RowStore::RowId> RowStore::hand_back_rows()
{
    std::vector<RowId> ids;
    ids.reserve(rows_.size());
    lines.reserve(lines.size() + rows_.size());
    for (Row& row : rows_) {
        row.joined += '\n';
        lines.push_back(std::move(row.joined));
        ids.push_back(row.id);
    }
    rows_.clear();
    return ids;
}

void RowStore::sort_rows()
{
    // Sorting small keys instead of the rows keeps the sort in cache: a row's text lives on
    // the heap, and a million of them are a cache miss per comparison.
    std::vector<DateKey> keys;
    keys.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i)
        keys.push_back(key_of(date_of(rows_[i].joined), i));
    // Equal dates keep their order by their index, so the sort needs no buffer of its own: a
    // large rebuild is fresh memory enough.
    const auto before = [this](const DateKey& a, const DateKey& b) {
        const int c = compare_keys(a, b);
        if (c == 0)
            return a.index < b.index;
        return rows_up_ ? c < 0 : c > 0;
    };
    // Rows read from a file the list wrote are in order already: nothing to move.
    if (std::is_sorted(keys.begin(), keys.end(), before))
        return;
    std::sort(keys.begin(), keys.end(), before);
    // Each row moves to its place along the cycles of the order: no second array of rows.
    for (size_t start = 0; start < keys.size(); ++start) {
        if (keys[start].index == start)
            continue; // in place, or placed already
        Row held = std::move(rows_[start]);
        for (size_t to = start;;) {
            const size_t from = keys[to].index;
            keys[to].index = static_cast<std::uint32_t>(to);
            if (from == start) {
                rows_[to] = std::move(held);
                break;
            }
            rows_[to] = std::move(rows_[from]);
            to = from;
        }
    }
}

int RowStore::compare_keys(const DateKey& a, const DateKey& b) const
{
    if (a.head != b.head)
        return a.head < b.head ? -1 : 1;
    if (a.tail != b.tail)
        return a.tail < b.tail ? -1 : 1;
    // Equal padded bytes: the shorter date is a prefix of the longer one.
    if (a.length <= DateKey::width && b.length <= DateKey::width)
        return a.length < b.length ? -1 : a.length > b.length ? 1 : 0;
    return date_of(rows_[a.index].joined).compare(date_of(rows_[b.index].joined));
}

void RowStore::fill(bool show_all)
{
    const size_t first_handed_back = lines.size();
    const std::vector<RowId> ids = hand_back_rows();
    rows_up_ = sort_up != 0;
    rows_.reserve(lines.size());
    size_t kept = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (show_all || dl::is_open_line(lines[i])) {
            // A row that stays a row stays the same row, for an editor that holds its id.
            const RowId id = i >= first_handed_back ? ids[i - first_handed_back] : next_id_++;
            rows_.push_back(Row{dl::take_joined(std::move(lines[i])), id});
        } else {
            if (kept != i)
                lines[kept] = std::move(lines[i]);
            ++kept;
        }
    }
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(kept), lines.end());
    sort_rows();
}

void RowStore::apply_changes(const dl::LineChanges& changes, bool show_all)
{
    if (!changes.removed.empty())
        remove_lines(changes.removed);
    add_lines(changes.added, show_all);
}

void RowStore::remove_lines(const dl::LineViews& removed)
{
    std::unordered_map<std::string_view, size_t> wanted;
    std::vector<size_t> lengths;
    for (std::string_view line : removed) {
        ++wanted[line];
        lengths.push_back(line.size());
    }
    // Most lines differ in length from the few removed ones: those are never hashed.
    auto take = [&wanted, &lengths](std::string_view line) {
        if (std::find(lengths.begin(), lengths.end(), line.size()) == lengths.end())
            return false;
        auto it = wanted.find(line);
        if (it == wanted.end() || it->second == 0)
            return false;
        --it->second;
        return true;
    };
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const std::string& line) { return take(without_newline(line)); }),
                lines.end());
    rows_.erase(std::remove_if(rows_.begin(), rows_.end(), [&](const Row& row) { return take(row.joined); }),
                rows_.end());
}

void RowStore::add_lines(const dl::LineViews& added, bool show_all)
{
    // One at a time a new row slides the rows behind it; many at once are cheaper sorted in.
    const bool one_by_one = added.size() <= few_rows;
    for (std::string_view view : added) {
        std::string line(view);
        line += '\n';
        if (!show_all && !dl::is_open_line(line)) {
            lines.push_back(std::move(line));
        } else if (one_by_one) {
            insert_row(Row{dl::take_joined(std::move(line)), next_id_++});
        } else {
            rows_.push_back(Row{dl::take_joined(std::move(line)), next_id_++});
        }
    }
    if (!one_by_one)
        sort_rows();
}

void RowStore::toggle_status(size_t row)
{
    if (row >= rows_.size())
        return;
    std::string status(cell(row, status_col));
    if (status.empty())
        status = "1";
    else
        status[0] = status[0] == '1' ? '0' : '1';
    set_cell(row, status_col, status);
}

RowStore::RowId RowStore::row_id(size_t row) const
{
    return row < rows_.size() ? rows_[row].id : 0;
}

std::optional<size_t> RowStore::find_row(RowId id) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == id)
            return i;
    return std::nullopt;
}

namespace {

char lower_ascii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool starts_without_case(std::string_view cell, std::string_view text)
{
    if (cell.size() < text.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (lower_ascii(cell[i]) != lower_ascii(text[i]))
            return false;
    return true;
}

} // namespace

std::optional<size_t> RowStore::find_date(std::string_view text, size_t start, bool whole, bool wrap) const
{
    auto matches = [&](size_t row) {
        std::string_view date = cell(row, 0);
        return starts_without_case(date, text) && (!whole || date.size() == text.size());
    };
    for (size_t row = start; row < rows_.size(); ++row)
        if (matches(row))
            return row;
    for (size_t row = 0; wrap && row < start && row < rows_.size(); ++row)
        if (matches(row))
            return row;
    return std::nullopt;
}

dl::LineViews RowStore::line_views() const
{
    dl::LineViews views;
    views.reserve(lines.size() + rows_.size());
    // An empty held line writes nothing (file_text), so it is no line of the file either.
    for (const std::string& line : lines)
        if (!line.empty())
            views.push_back(without_newline(line));
    for (const Row& row : rows_)
        views.emplace_back(row.joined);
    return views;
}

std::string RowStore::file_text() const
{
    std::string out = dl::encode_lines(lines);
    // A row holds no newline; the encoder ends it with one, as reading it back would.
    for (const Row& row : rows_)
        dl::append_encoded(out, row.joined);
    return out;
}
