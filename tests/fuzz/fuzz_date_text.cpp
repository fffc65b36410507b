// Any bytes as a date file: read into the store, rebuilt with and without "Show all Dates",
// toggled and edited, saved and read again. Every entry must come out of each step exactly:
// held lines byte for byte, rows as their five cells.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "core/row_store.h"
#include "core/date_line.h"
#include "core/date_text.h"

namespace {

using Lines = std::vector<std::string>;

constexpr int status_col = dl::field_count - 1;

// What a line becomes as a row: its fields split by the plain conversion, not the store's own.
std::string as_row(const std::string& line)
{
    return dl::row_to_line(dl::line_to_row(line));
}

Lines rows_of(const RowStore& s)
{
    Lines rows;
    for (size_t i = 0; i < s.row_count(); ++i)
        rows.push_back(s.read_back(i));
    return rows;
}

// The entries in the order a rebuild hands them over: held lines, then the rows.
Lines entries_of(const RowStore& s)
{
    Lines all = s.lines;
    for (std::string& row : rows_of(s))
        all.push_back(std::move(row));
    return all;
}

Lines sorted(Lines v)
{
    std::sort(v.begin(), v.end());
    return v;
}

void check_rows_in_order(const RowStore& s)
{
    for (size_t i = 0; i + 1 < s.row_count(); ++i) {
        const std::string_view a = s.cell(i, 0), b = s.cell(i + 1, 0);
        fuzz::require(s.sort_up ? a <= b : b <= a, "rows are in date order", a);
    }
}

void check_row_shape(const RowStore& s)
{
    for (size_t i = 0; i < s.row_count(); ++i) {
        const std::string line = s.read_back(i);
        fuzz::require(std::count(line.begin(), line.end(), '\t') == dl::field_count - 1 &&
                          std::count(line.begin(), line.end(), '\n') == 1 && line.back() == '\n',
                      "a row reads back as one line of five fields", line);
        fuzz::require(s.read_back(i) == as_row(line), "a read-back row is a row again unchanged", line);
    }
}

// A rebuild keeps every held line that stays held, in its order, and makes every other entry
// a row: nothing lost, nothing doubled.
void fill_and_check(RowStore& s, bool show_all)
{
    const Lines before = entries_of(s);
    Lines held, rows;
    for (const std::string& e : before) {
        if (show_all || dl::is_open_line(e))
            rows.push_back(as_row(e));
        else
            held.push_back(e);
    }
    s.fill(show_all);
    fuzz::require(s.lines == held, "held lines stay in the store in their order");
    fuzz::require(sorted(rows_of(s)) == sorted(rows), "every other entry becomes exactly one row");
    check_rows_in_order(s);
    check_row_shape(s);
}

std::string toggled(std::string_view status)
{
    std::string t(status);
    if (t.empty())
        return "1";
    t[0] = t[0] == '1' ? '0' : '1';
    return t;
}

void toggle_and_check(RowStore& s, size_t row)
{
    const std::string before = s.read_back(row);
    const dl::Cells cells = dl::line_to_row(before);
    s.toggle_status(row);
    dl::Cells expected = cells;
    expected[status_col] = toggled(cells[status_col]);
    fuzz::require(s.read_back(row) == dl::row_to_line(expected), "a toggle changes the status only", before);
}

// A typed text lands in its cell with separators as blanks; the row keeps five cells.
void edit_and_check(RowStore& s, int col, const std::string& text)
{
    if (s.row_count() == 0)
        return;
    const RowStore::RowId id = s.row_id(0);
    dl::Cells expected = dl::line_to_row(s.read_back(0));
    expected[col] = text;
    for (char& c : expected[col])
        if (dl::is_field_end(c))
            c = ' ';
    s.set_cell(0, col, text);
    const auto row = s.find_row(id);
    fuzz::require(row.has_value(), "an edited row keeps its id");
    fuzz::require(s.read_back(*row) == dl::row_to_line(expected), "an edit changes its cell only");
    check_rows_in_order(s);
}

// The saved bytes read back as the held lines, each ended by a newline, then the rows.
Lines save_and_check(const RowStore& s)
{
    Lines expected;
    for (const std::string& line : s.lines)
        expected.push_back(line.back() == '\n' ? line : line + '\n');
    for (std::string& row : rows_of(s))
        expected.push_back(std::move(row));
    const Lines again = dl::decode_lines(s.file_text());
    fuzz::require(again == expected, "the saved file reads back entry for entry");
    return again;
}

void check_decoded(const Lines& lines)
{
    for (const std::string& line : lines) {
        fuzz::require(!line.empty(), "no empty piece is read");
        fuzz::require(line.find('\n') == line.size() - 1, "a line holds one newline, at its end", line);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const std::uint8_t control = in.byte();
    const bool show_all = control & 1;
    const size_t toggle_stride = 1 + ((control >> 1) & 7);
    const int edit_col = (control >> 4) % dl::field_count;
    const bool edit = control & 0x80;
    const std::string edit_text = edit ? in.text() : std::string();
    const std::string file = in.rest();

    const Lines lines = dl::decode_lines(file);
    check_decoded(lines);

    RowStore s;
    s.sort_up = control & 0x40 ? 1 : 0;
    s.lines = lines;
    fill_and_check(s, show_all);
    for (size_t i = 0; i < s.row_count(); i += toggle_stride)
        toggle_and_check(s, i);
    if (edit)
        edit_and_check(s, edit_col, edit_text);
    fill_and_check(s, !show_all);
    fill_and_check(s, show_all);

    RowStore reloaded;
    reloaded.sort_up = s.sort_up;
    reloaded.lines = save_and_check(s);
    fill_and_check(reloaded, show_all);
    save_and_check(reloaded);
    return 0;
}
