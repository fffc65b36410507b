#include "store/date_line.h"

#include <cstdio>

namespace dl {

namespace {

// Calls take(field) for each terminated field, at most field_count times.
template <class Take>
void for_each_field(std::string_view line, Take take) {
    size_t start = 0;
    int taken = 0;
    for (size_t i = 0; i < line.size() && taken < field_count; ++i) {
        if (is_field_end(line[i])) {
            take(taken++, line.substr(start, i - start));
            start = i + 1;
        }
    }
}

// A line of exactly five fields whose only newline is the last character
// already is the joined form plus that newline.
bool is_canonical(std::string_view line) {
    if (line.empty() || line.back() != '\n') return false;
    int tabs = 0;
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        if (line[i] == '\n') return false;
        if (line[i] == '\t' && ++tabs >= field_count) return false;
    }
    return tabs == field_count - 1;
}

}  // namespace

Cells line_to_row(std::string_view line) {
    Cells cells;
    for_each_field(line, [&](int k, std::string_view field) { cells[k] = field; });
    return cells;
}

std::string row_to_line(const Cells& cells) {
    std::string line;
    for (int k = 0; k < field_count; ++k) {
        if (k > 0) line += '\t';
        line += cells[k];
    }
    line += '\n';
    return line;
}

std::string line_to_joined(std::string_view line) {
    if (is_canonical(line)) return std::string(line.substr(0, line.size() - 1));
    std::string joined;
    joined.reserve(line.size() + field_count);
    int taken = 0;
    for_each_field(line, [&](int k, std::string_view field) {
        if (k > 0) joined += '\t';
        joined += field;
        taken = k + 1;
    });
    // Missing fields still get their separators, so every row has five cells.
    joined.append(field_count - (taken > 0 ? taken : 1), '\t');
    return joined;
}

std::string take_joined(std::string&& line) {
    if (!is_canonical(line)) return line_to_joined(std::string_view(line));
    line.pop_back();
    return std::move(line);
}

bool is_open_line(std::string_view line) {
    return line.size() >= 2 && line[line.size() - 2] == '0';
}

std::string format_stored_date(int year, int month, int day) {
    char text[48];
    std::snprintf(text, sizeof text, "%4i.%02i.%02i", year, month, day);
    return text;
}

std::string format_display_date(int day, int month, int year) {
    char text[48];
    std::snprintf(text, sizeof text, "%02i.%02i.%4i", day, month, year);
    return text;
}

}  // namespace dl
