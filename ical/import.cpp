#include "ical/import.h"

#include <algorithm>
#include <climits>
#include <cstdint>
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

void append_digits(std::string& out, int value, int width) {
    char digits[12];
    for (int i = width - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<char>('0' + value % 10);
    out.append(digits, static_cast<size_t>(width));
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

// Appends the summary in the code page, with control characters as blanks, within room bytes. Every
// code point gives one or two bytes there, so the cut is found in a few conversions.
void append_fitted(std::string& out, std::string_view utf8, size_t room, const TextCodec& codec) {
    const bool plain = utf8.size() <= room && std::none_of(utf8.begin(), utf8.end(), [](char c) {
                           return is_control(c) || static_cast<unsigned char>(c) >= 0x80;
                       });
    if (plain) {
        out.append(utf8.data(), utf8.size());
        return;
    }
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
    out += text;
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
        const std::string_view text = summary(c);
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

    std::string_view summary(const Component& c) {
        const Property* p = c.first("SUMMARY");
        if (!p) return {};
        if (p->value.find('\\') == std::string_view::npos) return p->value;
        summary_ = unescape_text(p->value);
        return summary_;
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
        const Property* uid = moved_.empty() ? nullptr : c.first("UID");
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

    void add_line(const Moment& start, Seconds wall, std::optional<Seconds> length, std::string_view text,
                  const char* state) {
        const Seconds local_start = start.value.date_only ? wall : to_local(start, wall);
        const Civil day = to_civil(local_start);
        if (day.year < first_year || day.year > last_year) {
            ++r_.skipped;
            return;
        }
        std::string line;
        line.reserve(64 + text.size());
        append_digits(line, day.year, 4);
        line += '.';
        append_digits(line, day.month, 2);
        line += '.';
        append_digits(line, day.day, 2);
        line += '\t';
        line += day_label(day.day, day.month, day.year);
        line += '\t';
        if (!start.value.date_only) {
            std::optional<Seconds> local_end;
            if (length)
                local_end = floating(start) ? local_start + *length : local().utc_to_wall(to_utc(start, wall) + *length);
            append_time(line, local_start, local_end);
        }
        line += '\t';
        const size_t room = static_cast<size_t>(dl::line_limit) - line.size() - 3;  // tab, status, newline
        append_fitted(line, text, room, *o_.codec);
        line += '\t';
        line += state;
        line += '\n';
        r_.lines.push_back(std::move(line));
    }

    static void append_clock(std::string& out, const Civil& c) {
        append_digits(out, c.hour, 2);
        out += ':';
        append_digits(out, c.minute, 2);
    }

    // "HH:MM", or "HH:MM-HH:MM" when the end comes within a day (on the same day, or on the
    // next before the start time, as an entry's range that runs past midnight).
    static void append_time(std::string& text, Seconds local_start, std::optional<Seconds> local_end) {
        append_clock(text, to_civil(local_start));
        if (local_end && *local_end > local_start && *local_end - local_start <= day_seconds) {
            text += '-';
            append_clock(text, to_civil(*local_end));
        }
    }

    const ImportOptions& o_;
    ImportResult& r_;
    Seconds today_ = 0, last_ = 0;
    bool unknown_zone_ = false;
    std::string summary_;  // an unescaped summary
    std::map<std::string, ZoneRules> defined_;
    std::map<std::string, std::optional<ZoneRules>> system_;
    std::map<std::string, std::vector<const Property*>> moved_;
};

// Rows are compared without their newline, which held-back lines carry.
std::string_view without_newline(std::string_view line) {
    return !line.empty() && line.back() == '\n' ? line.substr(0, line.size() - 1) : line;
}

std::uint64_t hash_of(std::string_view line) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (char c : line) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

// Removes the lines equal to one already there or to an earlier one of them, keeping the order
// of the others; returns how many went. Sorted hashes instead of a hash set: a file of 100,000
// entries is checked without an allocation per line.
int drop_duplicates(std::vector<std::string>& lines, const std::vector<std::string_view>* existing) {
    using Key = std::pair<std::uint64_t, size_t>;  // hash, index
    std::vector<Key> there;
    if (existing) {
        there.reserve(existing->size());
        for (size_t i = 0; i < existing->size(); ++i) there.emplace_back(hash_of(without_newline((*existing)[i])), i);
        std::sort(there.begin(), there.end());
    }
    std::vector<Key> fresh;
    fresh.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) fresh.emplace_back(hash_of(without_newline(lines[i])), i);
    std::sort(fresh.begin(), fresh.end());
    std::vector<bool> drop(lines.size(), false);
    for (size_t k = 0; k < fresh.size(); ++k) {
        const auto [hash, index] = fresh[k];
        for (size_t j = k; j-- > 0 && fresh[j].first == hash;)
            if (!drop[fresh[j].second] && lines[fresh[j].second] == lines[index]) drop[index] = true;
        auto it = std::lower_bound(there.begin(), there.end(), Key{hash, 0});
        for (; !drop[index] && it != there.end() && it->first == hash; ++it)
            if (without_newline((*existing)[it->second]) == without_newline(lines[index])) drop[index] = true;
    }
    size_t kept = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (drop[i]) continue;
        if (kept != i) lines[kept] = std::move(lines[i]);
        ++kept;
    }
    const int dropped = static_cast<int>(lines.size() - kept);
    lines.resize(kept);
    return dropped;
}

}  // namespace

ImportResult import_calendar(std::string_view bytes, const ImportOptions& options) {
    ImportResult result;
    Calendar calendar;
    result.is_calendar = calendar.read(bytes);
    if (!result.is_calendar) return result;
    Importer importer(options, result);
    for (const Component& c : calendar.calendars()) importer.read(c);
    result.already_there = drop_duplicates(result.lines, options.existing);
    result.imported = static_cast<int>(result.lines.size());
    return result;
}

}  // namespace ical
