// Any bytes as one date line and as five cells: the conversions between line and row must
// agree with each other and be stable, whatever the bytes.
#include <string>

#include "fuzz_input.h"
#include "core/date_line.h"

namespace {

std::string joined_of(const dl::Cells& cells)
{
    std::string line = dl::row_to_line(cells);
    line.pop_back();
    return line;
}

bool has_separator(const dl::Cells& cells)
{
    for (const std::string& c : cells)
        for (char ch : c)
            if (dl::is_field_end(ch))
                return true;
    return false;
}

void check_line(const std::string& line)
{
    const dl::Cells row = dl::line_to_row(line);
    fuzz::require(!has_separator(row), "cells hold no tab and no newline", line);
    // The fast paths for five-field lines must split like the plain conversion.
    fuzz::require(dl::line_to_joined(line) == joined_of(row), "joined form matches the row", line);
    fuzz::require(dl::take_joined(std::string(line)) == joined_of(row), "handed-over form matches the row", line);
    // A row written out and split again is the same row.
    const std::string back = dl::row_to_line(row);
    fuzz::require(dl::line_to_row(back) == row, "a written row splits into the same cells", line);
    fuzz::require(dl::line_to_joined(back) == joined_of(row), "a written row is already joined", line);
    // Open is decided by the status cell once the line is a row.
    fuzz::require(dl::is_open_line(back) == (!row[4].empty() && row[4].back() == '0'),
                  "a row is open when its status ends in 0", line);
    if (dl::is_open_line(line))
        fuzz::require(line.size() >= 2 && line[line.size() - 2] == '0', "open means 0 before the end", line);
}

// Five cells without separators survive a trip through their line.
void check_cells(fuzz::Input& in)
{
    dl::Cells cells;
    for (std::string& c : cells) {
        const size_t length = in.byte() % 40;
        for (size_t i = 0; i < length && !in.empty(); ++i) {
            char ch = static_cast<char>(in.byte());
            c += dl::is_field_end(ch) ? ' ' : ch;
        }
    }
    const std::string line = dl::row_to_line(cells);
    fuzz::require(dl::line_to_row(line) == cells, "cells survive their line", line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const bool as_cells = in.flag();
    if (as_cells) {
        check_cells(in);
    } else {
        const std::string line = in.rest();
        check_line(line);
        check_line(line + '\n');
    }
    return 0;
}
