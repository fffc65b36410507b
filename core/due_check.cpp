#include "core/due_check.h"

#include <climits>

namespace {

// Reads numbers the way scanf's "%d" with literal separators does, but on a bounded view
// and without the undefined result of a number too large for int (it saturates).
class NumberScan {
public:
    explicit NumberScan(std::string_view text) : text_(text) { }

    bool number(int& out)
    {
        skip_space();
        size_t i = pos_;
        bool negative = false;
        if (i < text_.size() && (text_[i] == '+' || text_[i] == '-'))
            negative = text_[i++] == '-';
        if (i >= text_.size() || !is_digit(text_[i]))
            return false;
        long long value = 0;
        for (; i < text_.size() && is_digit(text_[i]); ++i)
            if (value <= INT_MAX)
                value = value * 10 + (text_[i] - '0');
        pos_ = i;
        out = clamp(negative ? -value : value);
        return true;
    }

    bool literal(char c)
    {
        if (pos_ >= text_.size() || text_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }

private:
    static bool is_digit(char c) { return c >= '0' && c <= '9'; }
    static bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
    static int clamp(long long v) { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v); }
    void skip_space()
    {
        while (pos_ < text_.size() && is_space(text_[pos_]))
            ++pos_;
    }

    std::string_view text_;
    size_t pos_ = 0;
};

// Reads up to count numbers separated by sep into the targets in order; returns how many.
int scan_numbers(std::string_view text, char sep, int* const* targets, int count)
{
    NumberScan scan(text);
    int read = 0;
    while (read < count) {
        if (read > 0 && !scan.literal(sep))
            break;
        if (!scan.number(*targets[read]))
            break;
        ++read;
    }
    return read;
}

bool is_before(int year, int month, int day, const Today& t)
{
    if (year != t.year)
        return year < t.year;
    if (month != t.month)
        return month < t.month;
    return day < t.day;
}

bool is_today(const DueScratch& s, const Today& t)
{
    return s.p_year == t.year && s.p_month == t.month && s.p_day == t.day;
}

bool has_come(int hour, int min, const Today& t)
{
    return t.hour > hour || (t.hour == hour && t.min >= min);
}

} // namespace

bool chek_date(DueScratch& s, std::string_view text, const Today& today)
{
    s.due = 0;
    int* const targets[] = {&s.p_year, &s.p_month, &s.p_day};
    if (scan_numbers(text, '.', targets, 3) != 3)
        return false;
    s.due = is_before(s.p_year, s.p_month, s.p_day, today);
    return true;
}

bool chek_date(DueScratch& s, const char* text, const Today& today)
{
    if (!text) {
        s.due = 0;
        return false;
    }
    return chek_date(s, std::string_view(text), today);
}

void chek_time(DueScratch& s, std::string_view text, const Today& today, bool date_parsed)
{
    int* const targets[] = {&s.p_hour, &s.p_min};
    const int read = scan_numbers(text, ':', targets, 2);
    if (!date_parsed || !is_today(s, today))
        return;
    // What was not read counts as zero: judged by this cell, not by the row tested before.
    const int hour = read >= 1 ? s.p_hour : 0;
    const int min = read >= 2 ? s.p_min : 0;
    if (has_come(hour, min, today))
        s.due = 1;
}

void chek_time(DueScratch& s, const char* text, const Today& today, bool date_parsed)
{
    if (text)
        chek_time(s, std::string_view(text), today, date_parsed);
}
