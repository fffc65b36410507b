#include "core/ical/import.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <deque>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "core/date_calc.h"
#include "core/ical/content.h"
#include "core/ical/hash.h"
#include "core/ical/recurrence.h"
#include "core/date_line.h"

namespace ical {

namespace {

// A time value and the clock it is read on: UTC, a zone, or floating (neither).
struct Moment {
    TimeValue value;
    const ZoneRules* zone = nullptr;
};

long long floor_days(Seconds s)
{
    return s / day_seconds - (s % day_seconds < 0);
}

// "P1W", "PT1H30M", "-P2D": seconds, if it reads.
std::optional<Seconds> parse_duration(std::string_view text)
{
    Seconds sign = 1;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        sign = text[0] == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    if (text.empty() || (text[0] != 'P' && text[0] != 'p'))
        return std::nullopt;
    Seconds total = 0, number = 0;
    bool digits = false;
    for (char c : text.substr(1)) {
        if (c >= '0' && c <= '9') {
            if (number > 100000000)
                return std::nullopt;
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
        if (!digits)
            return std::nullopt;
        total += number * unit;
        number = 0;
        digits = false;
    }
    if (digits)
        return std::nullopt;
    return sign * total;
}

template <class Visit> void each_listed(std::string_view list, Visit&& visit)
{
    while (!list.empty()) {
        const size_t comma = list.find(',');
        visit(list.substr(0, comma));
        list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    }
}

// The last width digits of value.
char* put_digits(char* out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        out[i] = static_cast<char>('0' + value % 10);
    return out + width;
}

bool is_control(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// The code points of a UTF-8 text, cut after the first count of them.
std::string_view first_code_points(std::string_view text, size_t count)
{
    size_t at = 0;
    for (size_t n = 0; n < count && at < text.size(); ++n)
        at += utf8_sequence_length(static_cast<unsigned char>(text[at]));
    return text.substr(0, std::min(at, text.size()));
}

size_t code_points(std::string_view text)
{
    size_t n = 0;
    for (size_t at = 0; at < text.size(); ++n)
        at += utf8_sequence_length(static_cast<unsigned char>(text[at]));
    return n;
}

// Summaries in the code page, with control characters as blanks, within the room a line has left.
// Every code point gives one or two bytes there, so the cut is found in a few conversions. The
// buffers are kept from one summary to the next.
class SummaryFitter {
public:
    explicit SummaryFitter(const TextCodec& codec) : codec_(codec) { }

    // Writes at most room bytes to out; returns the end of what it wrote.
    char* write(char* out, std::string_view utf8, size_t room)
    {
        if (utf8.size() <= room && std::none_of(utf8.begin(), utf8.end(), is_control)) {
            // A code point never takes more bytes in the code page than in UTF-8: a summary that
            // fits as UTF-8 fits converted.
            if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
                return std::copy(utf8.begin(), utf8.end(), out); // an empty view may have no data at all
            }
            if (char* end = codec_.write_from_utf8(out, utf8))
                return end;
        }
        clean_.assign(utf8.size() <= room ? utf8 : first_code_points(utf8, room));
        for (char& c : clean_)
            if (is_control(c))
                c = ' ';
        convert();
        while (text_.size() > room) {
            const size_t excess = text_.size() - room;
            const size_t keep = code_points(clean_) - (excess + 1) / 2;
            clean_.resize(first_code_points(clean_, keep).size());
            convert();
        }
        return std::copy(text_.begin(), text_.end(), out);
    }

private:
    void convert()
    {
        text_.clear();
        codec_.append_from_utf8(text_, clean_);
    }

    const TextCodec& codec_;
    std::string clean_, text_;
};

// The properties the import reads, named once when the line is read.
enum class Field {
    other,
    dtstart,
    dtend,
    duration,
    due,
    summary,
    status,
    completed,
    own_status,
    rrule,
    rdate,
    exdate,
    uid,
    recurrence_id
};

Field field_of(std::string_view name)
{
    // By length and first letter, so that most names are told apart with one comparison at most.
    auto is = [name](std::string_view known, Field field) { return same_name(name, known) ? field : Field::other; };
    const char first = static_cast<char>(name.empty() ? 0 : name[0] & ~0x20);
    switch (name.size()) {
    case 3: return first == 'D' ? is("DUE", Field::due) : is("UID", Field::uid);
    case 5:
        return first == 'D'                               ? is("DTEND", Field::dtend)
               : first == 'R' && (name[1] & ~0x20) == 'D' ? is("RDATE", Field::rdate)
                                                          : is("RRULE", Field::rrule);
    case 6: return first == 'S' ? is("STATUS", Field::status) : is("EXDATE", Field::exdate);
    case 7: return first == 'D' ? is("DTSTART", Field::dtstart) : is("SUMMARY", Field::summary);
    case 8: return is("DURATION", Field::duration);
    case 9: return is("COMPLETED", Field::completed);
    case 13: return is("RECURRENCE-ID", Field::recurrence_id);
    case 17: return is("X-TERMARIS-STATUS", Field::own_status);
    default: return Field::other;
    }
}

// The properties of one event or to-do that the import reads, in the order of the file.
class Event {
public:
    Event() { first_.fill(none); }
    void clear()
    {
        props_.clear();
        first_.fill(none);
    }
    void add(const Property& p)
    {
        const Field field = field_of(p.name);
        if (field == Field::other)
            return;
        std::uint8_t& first = first_[static_cast<size_t>(field)];
        if (first == none && props_.size() < none)
            first = static_cast<std::uint8_t>(props_.size());
        props_.emplace_back(field, p);
    }
    // The first of that kind, or null: a repeated single property counts once.
    const Property* first(Field field) const
    {
        const std::uint8_t at = first_[static_cast<size_t>(field)];
        if (at != none)
            return &props_[at].second;
        if (props_.size() < none)
            return nullptr;
        for (const auto& [f, p] : props_) // past the indexed ones
            if (f == field)
                return &p;
        return nullptr;
    }
    template <class Visit> void each(Field field, Visit&& visit) const
    {
        if (first_[static_cast<size_t>(field)] == none && props_.size() < none)
            return;
        for (const auto& [f, p] : props_)
            if (f == field)
                visit(p);
    }

private:
    static constexpr std::uint8_t none = 0xFF;
    std::vector<std::pair<Field, Property>> props_;
    // Where each kind first shows in props_, for the first 255 of them.
    std::array<std::uint8_t, static_cast<size_t>(Field::recurrence_id) + 1> first_;
};

// Rows are compared without their newline, which held-back lines carry.
std::string_view without_newline(std::string_view line)
{
    return !line.empty() && line.back() == '\n' ? line.substr(0, line.size() - 1) : line;
}

// Folded to the 32 bits the duplicate table keeps.
std::uint32_t hash_of(std::string_view line)
{
    const std::uint64_t hash = hash_bytes(line);
    return static_cast<std::uint32_t>(hash ^ hash >> 32);
}

// Lines by number, told apart by their text, in open addressing: eight bytes a slot and nothing
// allocated per line, as a large import has a line per entry and the table is fresh memory.
class LineSet {
public:
    // A third of the slots stays free, so that a search ends soon.
    explicit LineSet(size_t most) : slots_(most + most / 2 + 1) { }

    // False when a line of the same text was added before; text(n) is the text of line n.
    template <class Text> bool add(std::uint32_t number, std::uint32_t hash, const Text& text)
    {
        // The hash scaled to the table, as the table's size is no power of two.
        size_t at = static_cast<size_t>((std::uint64_t{hash} * slots_.size()) >> 32);
        for (;; at = at + 1 == slots_.size() ? 0 : at + 1) {
            Slot& slot = slots_[at];
            if (slot.number_after == 0) {
                slot = Slot{hash, number + 1};
                return true;
            }
            if (slot.hash == hash && text(slot.number_after - 1) == text(number))
                return false;
        }
    }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t number_after = 0; // the line's number plus one; 0 when free
    };

    std::vector<Slot> slots_;
};

// Removes the lines equal to one already there or to an earlier one of them, keeping the order
// of the others; returns how many went. hashes are those of the lines.
int drop_duplicates(std::vector<std::string>& lines, const std::vector<std::uint32_t>& hashes,
                    const std::vector<std::string_view>* existing)
{
    // Numbered the existing lines first, then the new ones.
    const size_t old_count = existing ? existing->size() : 0;
    auto text = [&](std::uint32_t n) {
        return without_newline(n < old_count ? (*existing)[n] : std::string_view(lines[n - old_count]));
    };
    LineSet seen(old_count + lines.size());
    for (size_t n = 0; n < old_count; ++n)
        seen.add(static_cast<std::uint32_t>(n), hash_of(text(static_cast<std::uint32_t>(n))), text);
    std::vector<bool> added(lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        added[i] = seen.add(static_cast<std::uint32_t>(old_count + i), hashes[i], text);
    size_t kept = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!added[i])
            continue;
        if (kept != i)
            lines[kept] = std::move(lines[i]);
        ++kept;
    }
    const int dropped = static_cast<int>(lines.size() - kept);
    lines.resize(kept);
    return dropped;
}

class Importer {
public:
    // r's lines are reserved already: a hash for each of them.
    Importer(const ImportOptions& o, ImportResult& r) : o_(o), r_(r), fitter_(*o.codec)
    {
        hashes_.reserve(r.lines.capacity());
        today_ = days_from_civil(o.today_day, o.today_month, o.today_year) * day_seconds;
        last_ = days_from_civil(o.today_day, o.today_month, o.today_year + 2) * day_seconds + day_seconds - 1;
    }

    // A whole VCALENDAR: its zones and moved occurrences first, then its events and to-dos.
    void read(const Component& calendar)
    {
        for (const Component& c : calendar.children) {
            if (same_name(c.name, "VTIMEZONE")) {
                define_zone(c);
            } else if (same_name(c.name, "VEVENT") && c.first("RECURRENCE-ID")) {
                if (const Property* uid = c.first("UID"))
                    moved_[std::string(uid->value)].push_back(c.first("RECURRENCE-ID"));
            }
        }
        for (const Component& c : calendar.children) {
            const bool todo = same_name(c.name, "VTODO");
            if (!todo && !same_name(c.name, "VEVENT"))
                continue;
            event_.clear();
            for (const Property& p : c.props)
                event_.add(p);
            entry(event_, todo);
        }
    }

    // Forgets the entries after the first count, as if they had never been made.
    void take_back(size_t count)
    {
        r_.lines.resize(count);
        hashes_.resize(count);
    }

    // Drops the entries that are there already or were made twice.
    void finish() { r_.already_there = drop_duplicates(r_.lines, hashes_, o_.existing); }

    void define_zone(const Component& vtimezone)
    {
        if (const Property* id = vtimezone.first("TZID"))
            defined_.emplace(std::string(id->value), rules_of_vtimezone(vtimezone));
    }

    void entry(const Event& c, bool todo)
    {
        unknown_zone_ = false;
        const Property* status = c.first(Field::status);
        if (status && same_name(status->value, "CANCELLED")) {
            ++r_.skipped;
            return;
        }
        const Property* anchor = todo && c.first(Field::due) ? c.first(Field::due) : c.first(Field::dtstart);
        const std::optional<Moment> start = moment(anchor);
        if (!start) {
            ++r_.skipped;
            return;
        }
        if (todo)
            starts_.assign(1, start->value.wall);
        else
            occurrences(c, *start);
        const std::optional<Seconds> length = todo ? std::nullopt : duration(c, *start);
        const std::string_view text = summary(c);
        const char state = done(c, todo) ? '1' : '0';
        for (Seconds s : starts_)
            add_line(*start, s, length, text, state);
        if (unknown_zone_)
            ++r_.unknown_zones;
    }

private:
    const ZoneRules& local() const { return o_.zones->local_zone(); }

    // The rules of a TZID: the file's VTIMEZONE, the system's zone of that Windows name, or the
    // Windows zone of an IANA name; null when none knows it.
    const ZoneRules* zone(std::string_view tzid)
    {
        const std::string key(tzid);
        auto defined = defined_.find(key);
        if (defined != defined_.end() && !defined->second.empty())
            return &defined->second;
        auto cached = system_.find(key);
        if (cached == system_.end()) {
            std::optional<ZoneRules> rules = o_.zones->windows_zone(key);
            if (!rules) {
                if (const char* windows = windows_zone_of_iana(tzid))
                    rules = o_.zones->windows_zone(windows);
            }
            cached = system_.emplace(key, std::move(rules)).first;
        }
        return cached->second ? &*cached->second : nullptr;
    }

    std::optional<Moment> moment(const Property& p, std::string_view value)
    {
        const auto v = parse_time_value(value);
        if (!v)
            return std::nullopt;
        Moment m{*v, nullptr};
        const std::string_view tzid = p.param("TZID");
        if (!v->utc && !v->date_only && !tzid.empty()) {
            m.zone = zone(tzid);
            if (!m.zone)
                unknown_zone_ = true;
        }
        return m;
    }

    std::optional<Moment> moment(const Property* p)
    {
        if (!p)
            return std::nullopt;
        return moment(*p, p->value);
    }

    Seconds to_utc(const Moment& m, Seconds wall) const
    {
        if (m.value.utc)
            return wall;
        if (m.zone)
            return m.zone->wall_to_utc(wall);
        return local().wall_to_utc(wall);
    }

    // A wall time of one moment's clock on the clock of another.
    Seconds on_clock(const Moment& from, Seconds wall, const Moment& clock) const
    {
        if (floating(from))
            return wall;
        const Seconds utc = to_utc(from, wall);
        if (clock.value.utc)
            return utc;
        if (clock.zone)
            return clock.zone->utc_to_wall(utc);
        return local().utc_to_wall(utc);
    }

    Seconds to_local(const Moment& m, Seconds wall) const
    {
        if (floating(m))
            return wall;
        return local().utc_to_wall(to_utc(m, wall));
    }

    static bool floating(const Moment& m) { return !m.value.utc && !m.zone; }

    // Exact seconds for a time on a clock; wall-clock seconds for a floating one, whose end is
    // read on the same wall clock.
    std::optional<Seconds> duration(const Event& c, const Moment& start)
    {
        if (start.value.date_only)
            return std::nullopt;
        if (const std::optional<Moment> end = moment(c.first(Field::dtend))) {
            if (floating(start))
                return to_local(*end, end->value.wall) - start.value.wall;
            return to_utc(*end, end->value.wall) - to_utc(start, start.value.wall);
        }
        if (const Property* d = c.first(Field::duration))
            return parse_duration(d->value);
        return std::nullopt;
    }

    static bool done(const Event& c, bool todo)
    {
        if (const Property* own = c.first(Field::own_status))
            return own->value == "1";
        const Property* status = c.first(Field::status);
        return todo && ((status && same_name(status->value, "COMPLETED")) || c.first(Field::completed));
    }

    std::string_view summary(const Event& c)
    {
        const Property* p = c.first(Field::summary);
        if (!p)
            return {};
        // Searched here rather than with the C library's memchr, which is slow on some systems.
        if (std::find(p->value.begin(), p->value.end(), '\\') == p->value.end())
            return p->value;
        summary_.clear();
        append_unescaped(summary_, p->value);
        return summary_;
    }

    // The starts of an event's occurrences into starts_.
    void occurrences(const Event& c, const Moment& start)
    {
        const Property* rrule = c.first(Field::rrule);
        starts_.assign(1, start.value.wall);
        if (rrule) {
            const Rule rule = parse_rule(rrule->value);
            if (rule.unsupported)
                ++r_.rules_taken_once;
            starts_ = expand_rule(rule, start.value.wall, until_of(rule, start), last_);
        }
        add_extra_dates(c, start, starts_);
        remove_excluded(c, start, starts_);
        keep_nearest_today(starts_);
    }

    Seconds until_of(const Rule& rule, const Moment& start) const
    {
        const auto until = parse_time_value(rule.until);
        if (!until)
            return LLONG_MAX;
        if (until->date_only)
            return until->wall + (start.value.date_only ? 0 : day_seconds - 1);
        if (until->utc && !start.value.date_only)
            return on_clock(Moment{*until, nullptr}, until->wall, start);
        return until->wall;
    }

    void add_extra_dates(const Event& c, const Moment& start, std::vector<Seconds>& starts)
    {
        c.each(Field::rdate, [&](const Property& p) {
            each_listed(p.value, [&](std::string_view item) {
                // A PERIOD counts by its start.
                const std::optional<Moment> m = moment(p, item.substr(0, item.find('/')));
                if (!m)
                    return;
                const Seconds t = start.value.date_only ? floor_days(m->value.wall) * day_seconds
                                                        : on_clock(*m, m->value.wall, start);
                if (t <= last_)
                    starts.push_back(t);
            });
        });
        if (starts.size() < 2)
            return;
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    }

    void remove_excluded(const Event& c, const Moment& start, std::vector<Seconds>& starts)
    {
        std::set<Seconds> times;
        std::set<long long> days;
        auto exclude = [&](const Property& p, std::string_view item) {
            const std::optional<Moment> m = moment(p, item);
            if (!m)
                return;
            if (m->value.date_only || start.value.date_only)
                days.insert(floor_days(m->value.wall));
            else
                times.insert(on_clock(*m, m->value.wall, start));
        };
        c.each(Field::exdate,
               [&](const Property& p) { each_listed(p.value, [&](std::string_view v) { exclude(p, v); }); });
        // Occurrences moved by a component of their own (RECURRENCE-ID) come from that one.
        const Property* uid = moved_.empty() ? nullptr : c.first(Field::uid);
        if (uid && !c.first(Field::recurrence_id)) {
            auto moved = moved_.find(std::string(uid->value));
            if (moved != moved_.end())
                for (const Property* p : moved->second)
                    exclude(*p, p->value);
        }
        if (times.empty() && days.empty())
            return;
        starts.erase(std::remove_if(starts.begin(), starts.end(),
                                    [&](Seconds t) { return times.count(t) || days.count(floor_days(t)); }),
                     starts.end());
    }

    void keep_nearest_today(std::vector<Seconds>& starts) const
    {
        if (starts.size() <= static_cast<size_t>(max_occurrences))
            return;
        auto distance = [this](Seconds t) { return t > today_ ? t - today_ : today_ - t; };
        std::nth_element(starts.begin(), starts.begin() + max_occurrences, starts.end(),
                         [&](Seconds a, Seconds b) { return distance(a) < distance(b); });
        starts.resize(max_occurrences);
        std::sort(starts.begin(), starts.end());
    }

    void add_line(const Moment& start, Seconds wall, std::optional<Seconds> length, std::string_view text, char state)
    {
        const Seconds local_start = start.value.date_only ? wall : to_local(start, wall);
        const Civil day = to_civil(local_start);
        if (day.year < first_year || day.year > last_year) {
            ++r_.skipped;
            return;
        }
        // Made in a buffer of the longest line, then stored in one allocation.
        char line[dl::line_limit];
        char* p = put_digits(line, day.year, 4);
        *p++ = '.';
        p = put_digits(p, day.month, 2);
        *p++ = '.';
        p = put_digits(p, day.day, 2);
        *p++ = '\t';
        const char* label = day_labels[(floor_days(local_start) + 3) % 7]; // 1970-01-01 was a Thursday
        p = std::copy(label, label + std::strlen(label), p);
        *p++ = '\t';
        if (!start.value.date_only) {
            std::optional<Seconds> local_end;
            if (length)
                local_end =
                    floating(start) ? local_start + *length : local().utc_to_wall(to_utc(start, wall) + *length);
            p = put_time(p, local_start, local_end);
        }
        *p++ = '\t';
        const size_t room = static_cast<size_t>(line + dl::line_limit - p) - 3; // tab, status, newline
        p = fitter_.write(p, text, room);
        *p++ = '\t';
        *p++ = state;
        *p++ = '\n';
        const std::string_view made(line, static_cast<size_t>(p - line));
        r_.lines.emplace_back(made);
        hashes_.push_back(hash_of(without_newline(made)));
    }

    static char* put_clock(char* out, Seconds local)
    {
        const Seconds of_day = (local % day_seconds + day_seconds) % day_seconds;
        out = put_digits(out, static_cast<int>(of_day / 3600), 2);
        *out++ = ':';
        return put_digits(out, static_cast<int>(of_day / 60 % 60), 2);
    }

    // "HH:MM", or "HH:MM-HH:MM" when the end comes within a day (on the same day, or on the
    // next before the start time, as an entry's range that runs past midnight).
    static char* put_time(char* out, Seconds local_start, std::optional<Seconds> local_end)
    {
        out = put_clock(out, local_start);
        if (local_end && *local_end > local_start && *local_end - local_start <= day_seconds) {
            *out++ = '-';
            out = put_clock(out, *local_end);
        }
        return out;
    }

    const ImportOptions& o_;
    ImportResult& r_;
    Seconds today_ = 0, last_ = 0;
    bool unknown_zone_ = false;
    std::string summary_; // an unescaped summary
    SummaryFitter fitter_;
    std::vector<Seconds> starts_; // of the entry's occurrences
    Event event_; // the one being read from a tree
    std::vector<std::uint32_t> hashes_; // of the lines made, while they are hot
    std::map<std::string, ZoneRules> defined_;
    std::map<std::string, std::optional<ZoneRules>> system_;
    std::map<std::string, std::vector<const Property*>> moved_;
};

// Reads a file line by line and imports each event or to-do of a VCALENDAR as soon as it ends,
// without a tree. Two things change events that came before them in their VCALENDAR: a zone
// defined after them, and an occurrence moved by a component of its own. A VCALENDAR with
// either is read again from its start as a tree and imported whole, as if streaming never began.
class FileReading {
public:
    FileReading(std::string_view bytes, Importer& importer, ImportResult& result)
        : lines_(bytes), importer_(importer), result_(result)
    { }

    // False when there is no VCALENDAR in the file.
    bool run()
    {
        bool seen_calendar = false;
        const char* start = lines_.position();
        std::string_view line;
        while (lines_.next(line)) {
            Property p;
            if (split_property(line, p)) {
                if (same_name(p.name, "BEGIN") && same_name(p.value, "VCALENDAR"))
                    seen_calendar = true;
                add(p, start);
                if (reread_)
                    read_calendar_as_tree();
            }
            start = lines_.position();
        }
        while (!open_.empty())
            close_top();
        if (reread_)
            read_calendar_as_tree();
        return seen_calendar;
    }

private:
    enum class Child { other, event, todo, zone };

    // What the result held before the VCALENDAR being read began.
    struct Mark {
        size_t lines = 0;
        int skipped = 0, unknown_zones = 0, rules_taken_once = 0;
    };

    void add(const Property& p, const char* start)
    {
        if (zone_)
            zone_->add(p);
        if (same_name(p.name, "BEGIN"))
            begin(p.value, start);
        else if (same_name(p.name, "END"))
            end(p.value);
        else if (ignored_ == 0 && open_.size() == 2 && (child_ == Child::event || child_ == Child::todo))
            event_.add(p);
    }

    void begin(std::string_view name, const char* start)
    {
        if (ignored_ > 0 || open_.size() >= max_depth) {
            ++ignored_;
            return;
        }
        if (open_.empty()) {
            in_calendar_ = same_name(name, "VCALENDAR");
            calendar_start_ = start;
            mark_ = Mark{result_.lines.size(), result_.skipped, result_.unknown_zones, result_.rules_taken_once};
            calendar_has_entries_ = false;
        } else if (open_.size() == 1 && in_calendar_) {
            begin_child(name);
        }
        open_.push_back(name);
    }

    void begin_child(std::string_view name)
    {
        child_ = Child::other;
        if (same_name(name, "VEVENT") || same_name(name, "VTODO")) {
            child_ = same_name(name, "VTODO") ? Child::todo : Child::event;
            event_.clear();
        } else if (same_name(name, "VTIMEZONE")) {
            if (calendar_has_entries_) {
                reread_ = true;
                return;
            }
            child_ = Child::zone;
            zone_ = std::make_unique<ComponentBuilder>([this](Component&& done) { zone_done_ = std::move(done); },
                                                       max_depth - 1);
            zone_->add(Property{"BEGIN", {}, name});
        }
    }

    void end(std::string_view name)
    {
        if (ignored_ > 0) {
            --ignored_;
            return;
        }
        // An END that closes an outer component closes the ones left open inside it.
        for (size_t k = open_.size(); k-- > 0;) {
            if (!same_name(open_[k], name))
                continue;
            while (open_.size() > k)
                close_top();
            return;
        }
    }

    void close_top()
    {
        if (open_.size() == 2 && in_calendar_)
            close_child();
        open_.pop_back();
    }

    void close_child()
    {
        const Child child = std::exchange(child_, Child::other);
        if (reread_)
            return;
        if (child == Child::zone) {
            zone_->close_all();
            zone_.reset();
            importer_.define_zone(zone_done_);
        } else if (child == Child::event || child == Child::todo) {
            if (child == Child::event && event_.first(Field::recurrence_id) && event_.first(Field::uid)) {
                reread_ = true;
                return;
            }
            importer_.entry(event_, child == Child::todo);
            calendar_has_entries_ = true;
        }
    }

    // Takes back what streaming imported of the VCALENDAR and reads it whole from its start.
    void read_calendar_as_tree()
    {
        importer_.take_back(mark_.lines);
        result_.skipped = mark_.skipped;
        result_.unknown_zones = mark_.unknown_zones;
        result_.rules_taken_once = mark_.rules_taken_once;
        lines_.seek(calendar_start_);
        bool closed = false;
        Component& calendar = trees_.emplace_back();
        ComponentBuilder tree([&](Component&& done) {
            calendar = std::move(done);
            closed = true;
        });
        std::string_view line;
        while (!closed && lines_.next(line)) {
            Property p;
            if (split_property(line, p))
                tree.add(p);
        }
        tree.close_all();
        importer_.read(calendar);
        open_.clear();
        child_ = Child::other;
        zone_.reset();
        reread_ = false;
    }

    LineReader lines_;
    Importer& importer_;
    ImportResult& result_;
    std::vector<std::string_view> open_; // names of the components not yet closed
    size_t ignored_ = 0; // levels dropped below max_depth
    // The component at the bottom of open_, a VCALENDAR when in_calendar_.
    bool in_calendar_ = false;
    const char* calendar_start_ = nullptr;
    Mark mark_;
    bool calendar_has_entries_ = false;
    bool reread_ = false;
    // The VCALENDAR's child being read.
    Child child_ = Child::other;
    Event event_;
    std::unique_ptr<ComponentBuilder> zone_;
    Component zone_done_;
    // VCALENDARs read as trees: their moved occurrences are pointed to until the end.
    std::deque<Component> trees_;
};

} // namespace

ImportResult import_calendar(std::string_view bytes, const ImportOptions& options)
{
    ImportResult result;
    // An event takes more than a hundred bytes: room for the entries of most files at once.
    result.lines.reserve(std::min<size_t>(bytes.size() / 128, size_t{1} << 20));
    Importer importer(options, result);
    FileReading reading(bytes, importer, result);
    result.is_calendar = reading.run();
    if (!result.is_calendar)
        return ImportResult{};
    importer.finish();
    result.imported = static_cast<int>(result.lines.size());
    return result;
}

} // namespace ical
