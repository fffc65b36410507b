#include "core/ical/zone.h"

#include <algorithm>
#include <set>

#include "core/date_calc.h"
#include "core/ical/content.h"
#include "core/ical/recurrence.h"

namespace ical {

namespace {

long long floor_div(long long a, long long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

bool read_digits(std::string_view text, size_t at, size_t count, int& value)
{
    if (at + count > text.size())
        return false;
    value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// Every time value read checks its day against this: the months of a year without arithmetic.
int month_length(int month, int year)
{
    if (month == 2)
        return 28 + (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0));
    if (month >= 1 && month <= 12)
        return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
    return static_cast<int>(days_from_civil(1, month + 1, year) - days_from_civil(1, month, year));
}

// Day of the month on which a transition falls in a year.
int transition_day(const Transition& t, int year)
{
    if (t.week == 0)
        return std::min(std::max(t.day, 1), month_length(t.month, year));
    const int first_weekday = weekday_column(1, t.month, year);
    int day = 1 + (t.weekday - first_weekday + 7) % 7 + 7 * (t.week - 1);
    while (day > month_length(t.month, year))
        day -= 7;
    return day;
}

Seconds transition_wall(const Transition& t, int year)
{
    return days_from_civil(transition_day(t, year), t.month, year) * day_seconds + t.seconds;
}

int year_of(Seconds s)
{
    return to_civil(s).year;
}

// One STANDARD or DAYLIGHT part of a VTIMEZONE.
struct Observance {
    bool daylight = false;
    int offset_to = 0;
    int start_year = 0;
    int last_year = 0; // of a yearly rule; the start year for a one-off switch
    Transition when;

    bool in_force(int year) const { return start_year <= year && year <= last_year; }
};

Transition transition_of(const Civil& start, const Rule* rule)
{
    Transition t;
    t.month = start.month;
    t.day = start.day;
    t.seconds = start.hour * 3600 + start.minute * 60 + start.second;
    if (!rule)
        return t;
    if (!rule->by_month.empty())
        t.month = rule->by_month.front();
    if (!rule->by_day.empty()) {
        const WeekdayNum& d = rule->by_day.front();
        t.weekday = d.weekday;
        if (d.ordinal < 0)
            t.week = 5;
        else if (d.ordinal > 0)
            t.week = std::min(d.ordinal, 5);
        else if (!rule->by_month_day.empty()) {
            // "BYMONTHDAY=8,9,10,11,12,13,14;BYDAY=SU": the week the first listed day falls in.
            const int first = rule->by_month_day.front();
            t.week = first < 0 ? 5 : std::min((first - 1) / 7 + 1, 5);
        } else {
            t.week = 1;
        }
    } else if (!rule->by_month_day.empty()) {
        t.day = rule->by_month_day.front();
    }
    return t;
}

// More switches than any real zone has are dropped: each era looks at all of them.
constexpr size_t max_observances = 512;

void add_observances(const Component& part, std::vector<Observance>& out)
{
    if (out.size() >= max_observances)
        return;
    const bool daylight = same_name(part.name, "DAYLIGHT");
    if (!daylight && !same_name(part.name, "STANDARD"))
        return;
    const Property* start_prop = part.first("DTSTART");
    const Property* to_prop = part.first("TZOFFSETTO");
    if (!start_prop || !to_prop)
        return;
    const auto start = parse_time_value(start_prop->value);
    const auto offset = parse_utc_offset(to_prop->value);
    if (!start || !offset)
        return;
    Observance o;
    o.daylight = daylight;
    o.offset_to = *offset;
    const Civil c = to_civil(start->wall);
    o.start_year = o.last_year = c.year;
    if (const Property* rrule = part.first("RRULE")) {
        const Rule rule = parse_rule(rrule->value);
        if (rule.freq == Freq::yearly) {
            o.when = transition_of(c, &rule);
            const auto until = parse_time_value(rule.until);
            o.last_year = until ? year_of(until->wall) : 32767;
            out.push_back(o);
        }
    } else {
        o.when = transition_of(c, nullptr);
        out.push_back(o);
    }
    // Each RDATE is one more one-off switch with the same offsets.
    part.each("RDATE", [&](const Property& p) {
        std::string_view list = p.value;
        while (!list.empty()) {
            const size_t comma = list.find(',');
            const auto when = parse_time_value(list.substr(0, comma));
            if (when && out.size() < max_observances) {
                Observance extra = o;
                const Civil rc = to_civil(when->wall);
                extra.start_year = extra.last_year = rc.year;
                extra.when = transition_of(rc, nullptr);
                out.push_back(extra);
            }
            list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
        }
    });
}

// The observance of a kind in force in a year: the one that started last.
const Observance* in_force(const std::vector<Observance>& all, bool daylight, int year)
{
    const Observance* found = nullptr;
    for (const Observance& o : all)
        if (o.daylight == daylight && o.in_force(year) && (!found || o.start_year >= found->start_year))
            found = &o;
    return found;
}

ZoneYear rules_in_year(const std::vector<Observance>& all, int year)
{
    ZoneYear z;
    const Observance* standard = in_force(all, false, year);
    const Observance* daylight = in_force(all, true, year);
    if (standard && daylight) {
        z.standard = standard->offset_to;
        z.daylight = daylight->offset_to;
        z.has_daylight = true;
        z.to_standard = standard->when;
        z.to_daylight = daylight->when;
        return z;
    }
    // No switch this year: the offset of the part that began last stays.
    const Observance* latest = nullptr;
    for (const Observance& o : all)
        if (o.start_year <= year && (!latest || o.start_year >= latest->start_year))
            latest = &o;
    if (!latest)
        latest = &all.front();
    z.standard = z.daylight = latest->offset_to;
    return z;
}

} // namespace

Seconds to_seconds(const Civil& c)
{
    return days_from_civil(c.day, c.month, c.year) * day_seconds + c.hour * 3600LL + c.minute * 60LL + c.second;
}

Civil to_civil(Seconds s)
{
    Civil c;
    const long long days = floor_div(s, day_seconds);
    civil_from_days(days, c.day, c.month, c.year);
    const long long rest = s - days * day_seconds;
    c.hour = static_cast<int>(rest / 3600);
    c.minute = static_cast<int>(rest / 60 % 60);
    c.second = static_cast<int>(rest % 60);
    return c;
}

std::optional<TimeValue> parse_time_value(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    Civil c;
    if (!read_digits(text, 0, 4, c.year) || !read_digits(text, 4, 2, c.month) || !read_digits(text, 6, 2, c.day))
        return std::nullopt;
    if (c.year < 1 || c.month < 1 || c.month > 12 || c.day < 1 || c.day > month_length(c.month, c.year))
        return std::nullopt;
    TimeValue v;
    if (text.size() == 8) {
        v.date_only = true;
    } else {
        if (text[8] != 'T' && text[8] != 't')
            return std::nullopt;
        if (!read_digits(text, 9, 2, c.hour) || !read_digits(text, 11, 2, c.minute) ||
            !read_digits(text, 13, 2, c.second))
            return std::nullopt;
        if (c.hour > 23 || c.minute > 59 || c.second > 60)
            return std::nullopt;
        if (c.second == 60)
            c.second = 59; // a leap second is the second before it
        const std::string_view rest = text.substr(15);
        if (rest == "Z" || rest == "z")
            v.utc = true;
        else if (!rest.empty())
            return std::nullopt;
    }
    v.wall = to_seconds(c);
    return v;
}

std::optional<int> parse_utc_offset(std::string_view text)
{
    if (text.size() != 5 && text.size() != 7)
        return std::nullopt;
    if (text[0] != '+' && text[0] != '-')
        return std::nullopt;
    int h = 0, m = 0, s = 0;
    if (!read_digits(text, 1, 2, h) || !read_digits(text, 3, 2, m))
        return std::nullopt;
    if (text.size() == 7 && !read_digits(text, 5, 2, s))
        return std::nullopt;
    if (m > 59 || s > 59)
        return std::nullopt;
    const int total = h * 3600 + m * 60 + s;
    return text[0] == '-' ? -total : total;
}

void ZoneRules::add(int first_year, const ZoneYear& rules)
{
    if (!eras_.empty() && eras_.back().second == rules)
        return;
    eras_.emplace_back(first_year, rules);
}

const ZoneYear& ZoneRules::year(int y) const
{
    static const ZoneYear utc;
    if (eras_.empty())
        return utc;
    auto it = std::upper_bound(eras_.begin(), eras_.end(), y,
                               [](int year, const std::pair<int, ZoneYear>& era) { return year < era.first; });
    return it == eras_.begin() ? eras_.front().second : std::prev(it)->second;
}

bool ZoneRules::daylight_at(Seconds utc) const
{
    const ZoneYear& z = year(year_of(utc));
    if (!z.has_daylight)
        return false;
    const int y = year_of(utc + z.standard);
    const Seconds start = transition_wall(z.to_daylight, y) - z.standard;
    const Seconds end = transition_wall(z.to_standard, y) - z.daylight;
    return start < end ? (utc >= start && utc < end) : (utc >= start || utc < end);
}

Seconds ZoneRules::utc_to_wall(Seconds utc) const
{
    const ZoneYear& z = year(year_of(utc));
    return utc + (daylight_at(utc) ? z.daylight : z.standard);
}

Seconds ZoneRules::wall_to_utc(Seconds wall) const
{
    const ZoneYear& z = year(year_of(wall));
    const Seconds as_daylight = wall - z.daylight;
    if (z.has_daylight && daylight_at(as_daylight))
        return as_daylight;
    return wall - z.standard;
}

ZoneRules rules_of_vtimezone(const Component& vtimezone)
{
    std::vector<Observance> all;
    for (const Component& part : vtimezone.children)
        add_observances(part, all);
    ZoneRules rules;
    if (all.empty())
        return rules;
    std::set<int> years;
    for (const Observance& o : all) {
        years.insert(o.start_year);
        if (o.last_year < 32767)
            years.insert(o.last_year + 1);
    }
    for (int y : years)
        rules.add(y, rules_in_year(all, y));
    return rules;
}

} // namespace ical
