#include "core/ical/recurrence.h"

#include <algorithm>

#include "core/date_calc.h"
#include "core/ical/content.h"

namespace ical {

namespace {

constexpr const char* weekday_codes[7] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};
// An interval beyond this repeats after the last date anyone can plan.
constexpr int max_interval = 100000;

bool read_int(std::string_view text, int low, int high, int& value)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 9)
        return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    value = negative ? -v : v;
    return value >= low && value <= high;
}

int weekday_of_code(std::string_view code)
{
    for (int w = 0; w < 7; ++w)
        if (same_name(code, weekday_codes[w]))
            return w;
    return -1;
}

bool read_weekday_num(std::string_view text, WeekdayNum& d)
{
    if (text.size() < 2)
        return false;
    d.weekday = weekday_of_code(text.substr(text.size() - 2));
    d.ordinal = 0;
    const std::string_view ordinal = text.substr(0, text.size() - 2);
    if (d.weekday < 0)
        return false;
    return ordinal.empty() || (read_int(ordinal, -53, 53, d.ordinal) && d.ordinal != 0);
}

// Reads a comma list with one reader per item; false when any item does not read.
template <class Item, class Read> bool read_list(std::string_view list, std::vector<Item>& out, Read read)
{
    while (true) {
        const size_t comma = list.find(',');
        Item item{};
        if (!read(list.substr(0, comma), item))
            return false;
        out.push_back(item);
        if (comma == std::string_view::npos)
            return true;
        list.remove_prefix(comma + 1);
    }
}

bool read_part(std::string_view name, std::string_view value, Rule& r)
{
    auto month_day = [](std::string_view t, int& v) { return read_int(t, -31, 31, v) && v != 0; };
    auto month = [](std::string_view t, int& v) { return read_int(t, 1, 12, v); };
    if (same_name(name, "FREQ")) {
        if (same_name(value, "DAILY"))
            r.freq = Freq::daily;
        else if (same_name(value, "WEEKLY"))
            r.freq = Freq::weekly;
        else if (same_name(value, "MONTHLY"))
            r.freq = Freq::monthly;
        else if (same_name(value, "YEARLY"))
            r.freq = Freq::yearly;
        else
            return false;
        return true;
    }
    if (same_name(name, "INTERVAL"))
        return read_int(value, 1, max_interval, r.interval);
    if (same_name(name, "COUNT"))
        return read_int(value, 1, 1000000000, r.count);
    if (same_name(name, "UNTIL")) {
        r.until = value;
        return parse_time_value(value).has_value();
    }
    if (same_name(name, "BYDAY"))
        return read_list(value, r.by_day, read_weekday_num);
    if (same_name(name, "BYMONTHDAY"))
        return read_list(value, r.by_month_day, month_day);
    if (same_name(name, "BYMONTH"))
        return read_list(value, r.by_month, month);
    if (same_name(name, "WKST")) {
        r.week_start = weekday_of_code(value);
        return r.week_start >= 0;
    }
    return false;
}

int weekday_of_day(long long day)
{
    return static_cast<int>(((day + 3) % 7 + 7) % 7);
}

int length_of_month(int month, int year)
{
    return static_cast<int>(days_from_civil(1, month + 1, year) - days_from_civil(1, month, year));
}

// The days of a span (first .. first + length - 1) that fall on a weekday: every one, or the
// n-th from the start (n > 0) or from the end (n < 0).
void add_weekdays(long long first, int length, const WeekdayNum& d, std::vector<long long>& out)
{
    const long long first_match = first + (d.weekday - weekday_of_day(first) + 7) % 7;
    const long long last = first + length - 1;
    if (d.ordinal == 0) {
        for (long long day = first_match; day <= last; day += 7)
            out.push_back(day);
        return;
    }
    const long long last_match = last - (weekday_of_day(last) - d.weekday + 7) % 7;
    const long long day = d.ordinal > 0 ? first_match + 7LL * (d.ordinal - 1) : last_match + 7LL * (d.ordinal + 1);
    if (day >= first && day <= last)
        out.push_back(day);
}

class Expander {
public:
    Expander(const Rule& r, Seconds first) : r_(r)
    {
        first_day_ = first / day_seconds - (first % day_seconds < 0);
        time_ = first - first_day_ * day_seconds;
        civil_from_days(first_day_, day0_, month0_, year0_);
    }

    // The candidate days of the k-th period, ascending; the period's first day in period_start.
    std::vector<long long> period(long long k, long long& period_start) const
    {
        std::vector<long long> days;
        const long long step = k * r_.interval;
        switch (r_.freq) {
        case Freq::daily:
            period_start = first_day_ + step;
            days.push_back(period_start);
            break;
        case Freq::weekly: {
            period_start = first_day_ - (weekday_of_day(first_day_) - r_.week_start + 7) % 7 + 7 * step;
            if (r_.by_day.empty())
                days.push_back(period_start + (weekday_of_day(first_day_) - r_.week_start + 7) % 7);
            for (const WeekdayNum& d : r_.by_day)
                days.push_back(period_start + (d.weekday - r_.week_start + 7) % 7);
            break;
        }
        case Freq::monthly: {
            const long long index = year0_ * 12LL + (month0_ - 1) + step;
            const int year = static_cast<int>(index / 12), month = static_cast<int>(index % 12) + 1;
            period_start = days_from_civil(1, month, year);
            month_days(month, year, days);
            break;
        }
        case Freq::yearly: {
            const int year = static_cast<int>(year0_ + step);
            period_start = days_from_civil(1, 1, year);
            year_days(year, days);
            break;
        }
        case Freq::none: period_start = first_day_; break;
        }
        std::sort(days.begin(), days.end());
        days.erase(std::unique(days.begin(), days.end()), days.end());
        days.erase(std::remove_if(days.begin(), days.end(), [this](long long d) { return !passes_filters(d); }),
                   days.end());
        return days;
    }

    Seconds at(long long day) const { return day * day_seconds + time_; }

private:
    void month_days(int month, int year, std::vector<long long>& out) const
    {
        const long long start = days_from_civil(1, month, year);
        const int length = length_of_month(month, year);
        for (int md : r_.by_month_day) {
            const int day = md > 0 ? md : length + md + 1;
            if (day >= 1 && day <= length)
                out.push_back(start + day - 1);
        }
        if (!r_.by_month_day.empty())
            return; // BYDAY then only filters
        for (const WeekdayNum& d : r_.by_day)
            add_weekdays(start, length, d, out);
        if (r_.by_day.empty() && day0_ <= length)
            out.push_back(start + day0_ - 1);
    }

    void year_days(int year, std::vector<long long>& out) const
    {
        if (!r_.by_month.empty() || !r_.by_month_day.empty()) {
            for (int m = 1; m <= 12; ++m)
                if (r_.by_month.empty() || in_months(m))
                    month_days(m, year, out);
        } else if (!r_.by_day.empty()) {
            const long long start = days_from_civil(1, 1, year);
            const int length = static_cast<int>(days_from_civil(1, 1, year + 1) - start);
            for (const WeekdayNum& d : r_.by_day)
                add_weekdays(start, length, d, out);
        } else if (day0_ <= length_of_month(month0_, year)) {
            out.push_back(days_from_civil(day0_, month0_, year));
        }
    }

    bool in_months(int month) const
    {
        return std::find(r_.by_month.begin(), r_.by_month.end(), month) != r_.by_month.end();
    }

    bool passes_filters(long long day) const
    {
        int d, m, y;
        civil_from_days(day, d, m, y);
        if (!r_.by_month.empty() && !in_months(m))
            return false;
        if (!r_.by_month_day.empty()) {
            const int length = length_of_month(m, y);
            const bool listed = std::any_of(r_.by_month_day.begin(), r_.by_month_day.end(),
                                            [&](int md) { return (md > 0 ? md : length + md + 1) == d; });
            if (!listed)
                return false;
        }
        if (!r_.by_day.empty()) {
            const int w = weekday_of_day(day);
            const bool listed =
                std::any_of(r_.by_day.begin(), r_.by_day.end(), [&](const WeekdayNum& n) { return n.weekday == w; });
            if (!listed)
                return false;
        }
        return true;
    }

    const Rule& r_;
    long long first_day_ = 0;
    Seconds time_ = 0;
    int day0_ = 1, month0_ = 1, year0_ = 1970;
};

} // namespace

Rule parse_rule(std::string_view value)
{
    Rule r;
    while (!value.empty()) {
        const size_t semi = value.find(';');
        const std::string_view part = value.substr(0, semi);
        const size_t eq = part.find('=');
        if (!part.empty() && (eq == std::string_view::npos || !read_part(part.substr(0, eq), part.substr(eq + 1), r)))
            r.unsupported = true;
        value.remove_prefix(semi == std::string_view::npos ? value.size() : semi + 1);
    }
    if (r.freq == Freq::none)
        r.unsupported = true;
    return r;
}

std::vector<Seconds> expand_rule(const Rule& rule, Seconds first, Seconds until, Seconds last)
{
    std::vector<Seconds> out{first};
    if (rule.unsupported)
        return out;
    const Seconds end = std::min(until, last);
    const Expander expander(rule, first);
    for (long long k = 0;; ++k) {
        long long period_start = 0;
        const std::vector<long long> days = expander.period(k, period_start);
        if (expander.at(period_start) > end)
            break;
        for (long long day : days) {
            const Seconds t = expander.at(day);
            if (t <= first)
                continue;
            if (t > end || (rule.count > 0 && out.size() >= static_cast<size_t>(rule.count)))
                return out;
            out.push_back(t);
        }
    }
    return out;
}

} // namespace ical
