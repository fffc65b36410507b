// Recurrence rules (RRULE): FREQ DAILY, WEEKLY, MONTHLY and YEARLY with INTERVAL, COUNT,
// UNTIL, BYDAY (with ordinals), BYMONTHDAY, BYMONTH and WKST.
#pragma once

#include <string_view>
#include <vector>

#include "core/ical/zone.h"

namespace ical {

enum class Freq { none, daily, weekly, monthly, yearly };

struct WeekdayNum {
    int ordinal = 0; // 0 every such weekday; 2 the second, -1 the last
    int weekday = 0; // 0 Monday .. 6 Sunday
};

struct Rule {
    Freq freq = Freq::none;
    int interval = 1;
    int count = 0; // 0: no COUNT
    std::string_view until;
    std::vector<WeekdayNum> by_day;
    std::vector<int> by_month_day;
    std::vector<int> by_month;
    int week_start = 0;
    // Parts or values beyond the supported ones: only the first occurrence can be trusted.
    bool unsupported = false;
};

Rule parse_rule(std::string_view value);

// Starts of the occurrences on the rule's own clock, ascending: first (which always counts as
// the first occurrence), then the rule's until COUNT, until or last ends them. Date-only
// rules give midnights.
std::vector<Seconds> expand_rule(const Rule& rule, Seconds first, Seconds until, Seconds last);

} // namespace ical
