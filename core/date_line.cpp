#include "core/date_line.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace dl {

namespace {

// Calls take(field) for each terminated field, at most field_count times.
template <class Take> void for_each_field(std::string_view line, Take take)
{
    size_t start = 0;
    int taken = 0;
    for (size_t i = 0; i < line.size() && taken < field_count; ++i) {
        if (is_field_end(line[i])) {
            take(taken++, line.substr(start, i - start));
            start = i + 1;
        }
    }
}

// A high bit in each byte of word that equals that byte of pattern, and nowhere else.
std::uint64_t equal_bytes(std::uint64_t word, std::uint64_t pattern)
{
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t x = word ^ pattern;
    return ~(((x & low7) + low7) | x | low7);
}

// How many bytes of such a mask are set.
int count_marked(std::uint64_t mask)
{
    return static_cast<int>(((mask >> 7) * 0x0101010101010101ULL) >> 56);
}

// A line of exactly five fields whose only newline is the last character already is the joined
// form plus that newline. Eight bytes at a time: every line of a large file is checked.
bool is_canonical(std::string_view line)
{
    if (line.empty() || line.back() != '\n')
        return false;
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    const std::string_view body = line.substr(0, line.size() - 1);
    int tabs = 0;
    size_t at = 0;
    for (; at + 8 <= body.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, body.data() + at, 8);
        if (equal_bytes(word, ones * '\n') != 0)
            return false;
        tabs += count_marked(equal_bytes(word, ones * '\t'));
    }
    for (; at < body.size(); ++at) {
        if (body[at] == '\n')
            return false;
        tabs += body[at] == '\t';
    }
    return tabs == field_count - 1;
}

} // namespace

Cells line_to_row(std::string_view line)
{
    Cells cells;
    for_each_field(line, [&](int k, std::string_view field) { cells[k] = field; });
    return cells;
}

std::string row_to_line(const Cells& cells)
{
    std::string line;
    for (int k = 0; k < field_count; ++k) {
        if (k > 0)
            line += '\t';
        line += cells[k];
    }
    line += '\n';
    return line;
}

std::string line_to_joined(std::string_view line)
{
    if (is_canonical(line))
        return std::string(line.substr(0, line.size() - 1));
    std::string joined;
    joined.reserve(line.size() + field_count);
    int taken = 0;
    for_each_field(line, [&](int k, std::string_view field) {
        if (k > 0)
            joined += '\t';
        joined += field;
        taken = k + 1;
    });
    // Missing fields still get their separators, so every row has five cells.
    joined.append(field_count - (taken > 0 ? taken : 1), '\t');
    return joined;
}

std::string take_joined(std::string&& line)
{
    if (!is_canonical(line))
        return line_to_joined(std::string_view(line));
    line.pop_back();
    return std::move(line);
}

bool is_open_line(std::string_view line)
{
    return line.size() >= 2 && line[line.size() - 2] == '0';
}

std::string format_stored_date(int year, int month, int day)
{
    char text[48];
    std::snprintf(text, sizeof text, "%4i.%02i.%02i", year, month, day);
    return text;
}

std::string format_display_date(int day, int month, int year)
{
    char text[48];
    std::snprintf(text, sizeof text, "%02i.%02i.%4i", day, month, year);
    return text;
}

} // namespace dl
