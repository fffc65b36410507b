#include "ical/import.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

#include "grid/date_calc.h"
#include "ical/content.h"
#include "ical/recurrence.h"
#include "store/date_line.h"

namespace ical {

namespace {

// A time value and the clock it is read on: UTC, a zone, or floating (neither).
struct Moment {
    TimeValue value;
    const ZoneRules* zone = nullptr;
};

long long floor_days(Seconds s) { return s / day_seconds - (s % day_seconds < 0); }

// "P1W", "PT1H30M", "-P2D": seconds, if it reads.
std::optional<Seconds> parse_duration(std::string_view text) {
    Seconds sign = 1;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        sign = text[0] == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    if (text.empty() || (text[0] != 'P' && text[0] != 'p')) return std::nullopt;
    Seconds total = 0, number = 0;
    bool digits = false;
    for (char c : text.substr(1)) {
        if (c >= '0' && c <= '9') {
            if (number > 100000000) return std::nullopt;
            number = number * 10 + (c - '0');
            digits = true;
            continue;
        }
        Seconds unit = 0;
        switch (c | 0x20) {
        case 'w': unit = 7 * day_seconds; break;
        case 'd': unit = day_seconds; break;
        case 'h': unit = 3600; break;
        case 'm': unit = 60; break;
        case 's': unit = 1; break;
        case 't': continue;
        default: return std::nullopt;
        }
        if (!digits) return std::nullopt;
        total += number * unit;
        number = 0;
        digits = false;
    }
    if (digits) return std::nullopt;
    return sign * total;
}

template <class Visit>
void each_listed(std::string_view list, Visit&& visit) {
    while (!list.empty()) {
        const size_t comma = list.find(',');
        visit(list.substr(0, comma));
        list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    }
}

bool is_control(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// The code points of a UTF-8 text, cut after the first count of them.
std::string_view first_code_points(std::string_view text, size_t count) {
    size_t at = 0;
    for (size_t n = 0; n < count && at < text.size(); ++n)
        at += utf8_sequence_length(static_cast<unsigned char>(text[at]));
    return text.substr(0, std::min(at, text.size()));
}

size_t code_points(std::string_view text) {
    size_t n = 0;
    for (size_t at = 0; at < text.size(); ++n) at += utf8_sequence_length(static_cast<unsigned char>(text[at]));
    return n;
}

// The summary in the code page, with control characters as blanks, within room bytes. Every
// code point gives one or two bytes there, so the cut is found in a few conversions.
std::string fit_text(std::string_view utf8, size_t room, const TextCodec& codec) {
    std::string clean(first_code_points(utf8, room));
    for (char& c : clean)
        if (is_control(c)) c = ' ';
    std::string text = codec.from_utf8(clean);
    while (text.size() > room) {
        const size_t excess = text.size() - room;
        const size_t keep = code_points(clean) - (excess + 1) / 2;
        clean.resize(first_code_points(clean, keep).size());
        text = codec.from_utf8(clean);
    }
    return text;
}

class Importer {
public:
    Importer(const ImportOptions& o, ImportResult& r) : o_(o), r_(r) {
        today_ = days_from_civil(o.today_day, o.today_month, o.today_year) * day_seconds;
        last_ = days_from_civil(o.today_day, o.today_month, o.today_year + 2) * day_seconds + day_seconds - 1;
    }

    void read(const Component& calendar) {
        for (const Component& c : calendar.children) {
            if (same_name(c.name, "VTIMEZONE")) {
                if (const Property* id = c.first("TZID")) defined_.emplace(std::string(id->value), rules_of_vtimezone(c));
            } else if (same_name(c.name, "VEVENT") && c.first("RECURRENCE-ID")) {
                if (const Property* uid = c.first("UID")) moved_[std::string(uid->value)].push_back(c.first("RECURRENCE-ID"));
            }
        }
        for (const Component& c : calendar.children) {
            if (same_name(c.name, "VEVENT")) entry(c, false);
            else if (same_name(c.name, "VTODO")) entry(c, true);
        }
    }

private:
    const ZoneRules& local() const { return o_.zones->local_zone(); }

    // The rules of a TZID: the file's VTIMEZONE, the system's zone of that Windows name, or the
    // Windows zone of an IANA name; null when none knows it.
    const ZoneRules* zone(std::string_view tzid) {
        const std::string key(tzid);
        auto defined = defined_.find(key);
        if (defined != defined_.end() && !defined->second.empty()) return &defined->second;
        auto cached = system_.find(key);
        if (cached == system_.end()) {
            std::optional<ZoneRules> rules = o_.zones->windows_zone(key);
            if (!rules) {
                if (const char* windows = windows_zone_of_iana(tzid)) rules = o_.zones->windows_zone(windows);
            }
            cached = system_.emplace(key, std::move(rules)).first;
        }
        return cached->second ? &*cached->second : nullptr;
    }

    std::optional<Moment> moment(const Property& p, std::string_view value) {
        const auto v = parse_time_value(value);
        if (!v) return std::nullopt;
        Moment m{*v, nullptr};
        const std::string_view tzid = p.param("TZID");
        if (!v->utc && !v->date_only && !tzid.empty()) {
            m.zone = zone(tzid);
            if (!m.zone) unknown_zone_ = true;
        }
        return m;
    }

    std::optional<Moment> moment(const Property* p) {
        if (!p) return std::nullopt;
        return moment(*p, p->value);
    }

    Seconds to_utc(const Moment& m, Seconds wall) const {
        if (m.value.utc) return wall;
        if (m.zone) return m.zone->wall_to_utc(wall);
        return local().wall_to_utc(wall);
    }

    // A wall time of one moment's clock on the clock of another.
    Seconds on_clock(const Moment& from, Seconds wall, const Moment& clock) const {
        if (floating(from)) return wall;
        const Seconds utc = to_utc(from, wall);
        if (clock.value.utc) return utc;
        if (clock.zone) return clock.zone->utc_to_wall(utc);
        return local().utc_to_wall(utc);
    }

    Seconds to_local(const Moment& m, Seconds wall) const {
        if (floating(m)) return wall;
        return local().utc_to_wall(to_utc(m, wall));
    }

    void entry(const Component& c, bool todo) {
        unknown_zone_ = false;
        const Property* status = c.first("STATUS");
        if (status && same_name(status->value, "CANCELLED")) {
            ++r_.skipped;
            return;
        }
        const Property* anchor = todo && c.first("DUE") ? c.first("DUE") : c.first("DTSTART");
        const std::optional<Moment> start = moment(anchor);
        if (!start) {
            ++r_.skipped;
            return;
        }
        std::vector<Seconds> starts = todo ? std::vector<Seconds>{start->value.wall} : occurrences(c, *start);
        const std::optional<Seconds> length = todo ? std::nullopt : duration(c, *start);
        const std::string text = summary(c);
        const char* state = done(c, todo) ? "1" : "0";
        for (Seconds s : starts) add_line(*start, s, length, text, state);
        if (unknown_zone_) ++r_.unknown_zones;
    }

    static bool floating(const Moment& m) { return !m.value.utc && !m.zone; }

    // Exact seconds for a time on a clock; wall-clock seconds for a floating one, whose end is
    // read on the same wall clock.
    std::optional<Seconds> duration(const Component& c, const Moment& start) {
        if (start.value.date_only) return std::nullopt;
        if (const std::optional<Moment> end = moment(c.first("DTEND"))) {
            if (floating(start)) return to_local(*end, end->value.wall) - start.value.wall;
            return to_utc(*end, end->value.wall) - to_utc(start, start.value.wall);
        }
        if (const Property* d = c.first("DURATION")) return parse_duration(d->value);
        return std::nullopt;
    }

    static bool done(const Component& c, bool todo) {
        if (const Property* own = c.first("X-TERMARIS-STATUS")) return own->value == "1";
        const Property* status = c.first("STATUS");
        return todo && ((status && same_name(status->value, "COMPLETED")) || c.first("COMPLETED"));
    }

    std::string summary(const Component& c) const {
        const Property* p = c.first("SUMMARY");
        return p ? unescape_text(p->value) : std::string();
    }

    std::vector<Seconds> occurrences(const Component& c, const Moment& start) {
        const Property* rrule = c.first("RRULE");
        std::vector<Seconds> starts{start.value.wall};
        if (rrule) {
            const Rule rule = parse_rule(rrule->value);
            if (rule.unsupported) ++r_.rules_taken_once;
            starts = expand_rule(rule, start.value.wall, until_of(rule, start), last_);
        }
        add_extra_dates(c, start, starts);
        remove_excluded(c, start, starts);
        keep_nearest_today(starts);
        return starts;
    }

    Seconds until_of(const Rule& rule, const Moment& start) const {
        const auto until = parse_time_value(rule.until);
        if (!until) return LLONG_MAX;
        if (until->date_only) return until->wall + (start.value.date_only ? 0 : day_seconds - 1);
        if (until->utc && !start.value.date_only) return on_clock(Moment{*until, nullptr}, until->wall, start);
        return until->wall;
    }

    void add_extra_dates(const Component& c, const Moment& start, std::vector<Seconds>& starts) {
        c.each("RDATE", [&](const Property& p) {
            each_listed(p.value, [&](std::string_view item) {
                // A PERIOD counts by its start.
                const std::optional<Moment> m = moment(p, item.substr(0, item.find('/')));
                if (!m) return;
                const Seconds t = start.value.date_only ? floor_days(m->value.wall) * day_seconds
                                                        : on_clock(*m, m->value.wall, start);
                if (t <= last_) starts.push_back(t);
            });
        });
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    }

    void remove_excluded(const Component& c, const Moment& start, std::vector<Seconds>& starts) {
        std::set<Seconds> times;
        std::set<long long> days;
        auto exclude = [&](const Property& p, std::string_view item) {
            const std::optional<Moment> m = moment(p, item);
            if (!m) return;
            if (m->value.date_only || start.value.date_only) days.insert(floor_days(m->value.wall));
            else times.insert(on_clock(*m, m->value.wall, start));
        };
        c.each("EXDATE", [&](const Property& p) { each_listed(p.value, [&](std::string_view v) { exclude(p, v); }); });
        // Occurrences moved by a component of their own (RECURRENCE-ID) come from that one.
        const Property* uid = c.first("UID");
        if (uid && !c.first("RECURRENCE-ID")) {
            auto moved = moved_.find(std::string(uid->value));
            if (moved != moved_.end())
                for (const Property* p : moved->second) exclude(*p, p->value);
        }
        if (times.empty() && days.empty()) return;
        starts.erase(std::remove_if(starts.begin(), starts.end(),
                                    [&](Seconds t) { return times.count(t) || days.count(floor_days(t)); }),
                     starts.end());
    }

    void keep_nearest_today(std::vector<Seconds>& starts) const {
        if (starts.size() <= static_cast<size_t>(max_occurrences)) return;
        auto distance = [this](Seconds t) { return t > today_ ? t - today_ : today_ - t; };
        std::nth_element(starts.begin(), starts.begin() + max_occurrences, starts.end(),
                         [&](Seconds a, Seconds b) { return distance(a) < distance(b); });
        starts.resize(max_occurrences);
        std::sort(starts.begin(), starts.end());
    }

    void add_line(const Moment& start, Seconds wall, std::optional<Seconds> length, const std::string& text,
                  const char* state) {
        const Seconds local_start = start.value.date_only ? wall : to_local(start, wall);
        const Civil day = to_civil(local_start);
        if (day.year < first_year || day.year > last_year) {
            ++r_.skipped;
            return;
        }
        char head[64];
        std::snprintf(head, sizeof head, "%4i.%02i.%02i\t%s\t", day.year, day.month, day.day,
                      day_label(day.day, day.month, day.year));
        std::string line = head;
        if (!start.value.date_only) {
            std::optional<Seconds> local_end;
            if (length)
                local_end = floating(start) ? local_start + *length : local().utc_to_wall(to_utc(start, wall) + *length);
            line += time_text(local_start, local_end);
        }
        line += '\t';
        const size_t room = static_cast<size_t>(dl::line_limit) - line.size() - 3;  // tab, status, newline
        line += fit_text(text, room, *o_.codec);
        line += '\t';
        line += state;
        line += '\n';
        if ((o_.existing && o_.existing->count(line)) || !added_.insert(line).second) {
            ++r_.already_there;
            return;
        }
        r_.lines.push_back(std::move(line));
        ++r_.imported;
    }

    // "HH:MM", or "HH:MM-HH:MM" when the end comes within a day (on the same day, or on the
    // next before the start time, as an entry's range that runs past midnight).
    static std::string time_text(Seconds local_start, std::optional<Seconds> local_end) {
        const Civil s = to_civil(local_start);
        char text[16];
        if (local_end && *local_end > local_start && *local_end - local_start <= day_seconds) {
            const Civil e = to_civil(*local_end);
            std::snprintf(text, sizeof text, "%02i:%02i-%02i:%02i", s.hour, s.minute, e.hour, e.minute);
        } else {
            std::snprintf(text, sizeof text, "%02i:%02i", s.hour, s.minute);
        }
        return text;
    }

    const ImportOptions& o_;
    ImportResult& r_;
    Seconds today_ = 0, last_ = 0;
    bool unknown_zone_ = false;
    std::map<std::string, ZoneRules> defined_;
    std::map<std::string, std::optional<ZoneRules>> system_;
    std::map<std::string, std::vector<const Property*>> moved_;
    std::unordered_set<std::string> added_;
};

}  // namespace

ImportResult import_calendar(std::string_view bytes, const ImportOptions& options) {
    ImportResult result;
    Calendar calendar;
    result.is_calendar = calendar.read(bytes);
    if (!result.is_calendar) return result;
    Importer importer(options, result);
    for (const Component& c : calendar.calendars()) importer.read(c);
    return result;
}

}  // namespace ical
