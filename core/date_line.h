// One entry of the date file: "Date" tab "Day" tab "Time" tab "To do" tab "Stat." newline.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace dl {

// Characters of a line the editor may produce, newline included.
constexpr int line_limit = 254;
constexpr int field_count = 5;

using Cells = std::array<std::string, field_count>;

// Splits at every tab and newline. Only fields ended by a separator are taken, so a
// line without its final newline loses its last field; fields after the fifth are dropped.
Cells line_to_row(std::string_view line);

// The cells joined by tabs, ended by a newline.
std::string row_to_line(const Cells& cells);

// The same row as line_to_row gives, as one string: the five cells joined by tabs,
// without newline. Cheap when the line already has exactly five fields.
std::string line_to_joined(std::string_view line);
// The same, reusing the buffer of a line that is handed over.
std::string take_joined(std::string&& line);

// Open means status "0": the character before the final newline.
bool is_open_line(std::string_view line);

inline bool is_field_end(char c)
{
    return c == '\t' || c == '\n';
}

// A date as the file holds it, "YYYY.MM.DD", and as the list shows it with df 1, "DD.MM.YYYY".
std::string format_stored_date(int year, int month, int day);
std::string format_display_date(int day, int month, int year);

} // namespace dl
