// Time zones as data: a standard and a daylight offset with the yearly rules that switch
// between them, as a VTIMEZONE states them and as the system's time-zone list holds them.
#pragma once

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace ical {

struct Component;

// Seconds since 1970-01-01 00:00 on some clock: UTC, or the wall clock of a zone.
using Seconds = long long;
constexpr Seconds day_seconds = 86400;

struct Civil {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
Seconds to_seconds(const Civil& c);
Civil to_civil(Seconds s);

// A DATE ("20240131") or DATE-TIME ("20240131T093000", "...Z") value.
struct TimeValue {
    Seconds wall = 0;
    bool date_only = false;
    bool utc = false;
};
std::optional<TimeValue> parse_time_value(std::string_view text);

// When a switch happens each year: the week-th weekday of the month (week 5 the last), or a
// fixed day when week is 0; at a wall-clock time of the offset in force before it.
struct Transition {
    int month = 0;
    int week = 0;
    int weekday = 0; // 0 Monday .. 6 Sunday
    int day = 0;
    int seconds = 0; // of the day
    bool operator==(const Transition& o) const
    {
        return month == o.month && week == o.week && weekday == o.weekday && day == o.day && seconds == o.seconds;
    }
};

// The rules of one year; offsets are seconds east of UTC.
struct ZoneYear {
    int standard = 0;
    int daylight = 0;
    bool has_daylight = false;
    Transition to_daylight, to_standard;
    bool operator==(const ZoneYear& o) const
    {
        return standard == o.standard && daylight == o.daylight && has_daylight == o.has_daylight &&
               (!has_daylight || (to_daylight == o.to_daylight && to_standard == o.to_standard));
    }
};

class ZoneRules {
public:
    ZoneRules() = default;
    explicit ZoneRules(const ZoneYear& always) { add(-32768, always); }
    // Rules in force from first_year on, until a later era begins; eras are added in order.
    void add(int first_year, const ZoneYear& rules);
    const ZoneYear& year(int y) const;
    bool empty() const { return eras_.empty(); }

    Seconds utc_to_wall(Seconds utc) const;
    // A wall time that a switch skips is read with the offset before the gap; one that occurs
    // twice is the first of the two.
    Seconds wall_to_utc(Seconds wall) const;

private:
    bool daylight_at(Seconds utc) const;
    std::vector<std::pair<int, ZoneYear>> eras_;
};

// The rules a VTIMEZONE gives through its STANDARD and DAYLIGHT parts; empty when it has none.
ZoneRules rules_of_vtimezone(const Component& vtimezone);

// The Windows zone of an IANA name ("Europe/Berlin" -> "W. Europe Standard Time") from the
// common zones of the Unicode CLDR mapping; null when it is not among them. Older prefixed
// forms ("/mozilla.org/20050126_1/Europe/Berlin") are found by their IANA tail.
const char* windows_zone_of_iana(std::string_view iana);

// Where zones the file does not define come from: the system's list of Windows zones.
class ZoneSource {
public:
    virtual ~ZoneSource() = default;
    // Rules of a Windows zone name such as "W. Europe Standard Time", if the system has it.
    virtual std::optional<ZoneRules> windows_zone(std::string_view name) const = 0;
    // The zone of this machine, which every time is converted into.
    virtual const ZoneRules& local_zone() const = 0;
};

// A UTC offset text "+HHMM" or "-HHMMSS" in seconds, if it is one.
std::optional<int> parse_utc_offset(std::string_view text);

} // namespace ical
