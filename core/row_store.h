// The date list's own storage: the rows, kept in date order, and the line store of the
// entries that are not rows. The list control only mirrors what is kept here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_merge.h"

class RowStore {
public:
    // Every new row gets a fresh id; 0 is never one. A row keeps its id through edits, rebuilds
    // and merges for as long as it stays a row; held back and made a row again it is a new row.
    using RowId = std::uint64_t;

    // Held-back lines, each exactly as read or as handed back by a rebuild.
    std::vector<std::string> lines;
    // 0: latest date first, 1: earliest first. Takes effect at the next fill.
    int sort_up = 0;

    // Splits the line into a row and inserts it after the rows of the same date;
    // returns its index.
    size_t add_line(std::string_view line);

    size_t row_count() const { return rows_.size(); }
    // Empty for a row or column that does not exist.
    std::string_view cell(size_t row, int col) const;
    // Tabs and newlines in text become spaces, so the row keeps its five cells. A new
    // Date moves the row to its place in the order (it keeps its id).
    void set_cell(size_t row, int col, std::string_view text);
    // The row as a date line: cells joined by tabs, ended by a newline.
    std::string read_back(size_t row) const;
    // The same without the newline, without a copy; valid until the rows change.
    std::string_view joined(size_t row) const { return rows_[row].joined; }
    void delete_row(size_t row);
    void delete_all_rows() { rows_.clear(); }

    // Rebuild: every row goes back to the end of the line store, then show_all makes every
    // line a row (and empties the store), otherwise only the open lines become rows and
    // the others stay in the store in their order.
    void fill(bool show_all);

    // Removes one copy of each removed line (held-back lines first, then rows) and adds the
    // added lines: as rows when show_all is set or they are open, otherwise held back. Rows that
    // stay keep their ids and their order.
    void apply_changes(const dl::LineChanges& changes, bool show_all);

    // Status "1" becomes "0", anything else "1"; the row stays until the next fill.
    void toggle_status(size_t row);

    RowId row_id(size_t row) const;
    std::optional<size_t> find_row(RowId id) const;
    // The first row from start whose Date begins with text (or equals it when whole), letters
    // compared without case; with wrap the search goes on from the first row up to start.
    std::optional<size_t> find_date(std::string_view text, size_t start, bool whole, bool wrap) const;

    // The date file's bytes: the line store first, then the rows in list order. The store is
    // written while every line is a row too: it is empty then, unless lines were loaded
    // after the last fill, and those must not be lost.
    std::string file_text() const;
    // The lines of file_text without line ends, as views into the store: valid until it changes.
    dl::LineViews line_views() const;

private:
    struct Row {
        std::string joined; // the five cells joined by tabs
        RowId id;
    };

    // The first sixteen bytes of a row's date, for sorting without touching the row.
    struct DateKey {
        static constexpr size_t width = 16;
        std::uint64_t head, tail;
        std::uint32_t length; // at most width + 1: past width bytes the dates themselves are compared
        std::uint32_t index; // of the row
    };

    static DateKey key_of(std::string_view date, size_t index);
    int compare_keys(const DateKey& a, const DateKey& b) const;
    bool in_order(std::string_view first, std::string_view second) const;
    size_t place_for(std::string_view date) const;
    size_t insert_row(Row row);
    // Returns the ids of the rows in the order they were appended to the line store.
    std::vector<RowId> hand_back_rows();
    void remove_lines(const dl::LineViews& removed);
    void add_lines(const dl::LineViews& added, bool show_all);
    void sort_rows();

    std::vector<Row> rows_;
    RowId next_id_ = 1;
    // The order the rows are in: sort_up as of the last fill, so that inserting between two
    // fills still finds the right place after sort_up changed.
    bool rows_up_ = false;
};
