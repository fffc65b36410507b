#include "ical/export.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

#include "ical/content.h"
#include "store/date_line.h"

namespace ical {

namespace {

struct Clock {
    int hour = 0, minute = 0;
};

struct EntryTime {
    Clock start, end;
    bool range = false;
};

// Digits of a number field; false when there are none or too many.
bool read_number(std::string_view& text, size_t max_digits, int& value) {
    size_t n = 0;
    value = 0;
    while (n < text.size() && n <= max_digits && text[n] >= '0' && text[n] <= '9') value = value * 10 + (text[n++] - '0');
    text.remove_prefix(n);
    return n > 0 && n <= max_digits;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// "YYYY.MM.DD" as the file holds it (the year may be padded with blanks).
std::optional<Civil> read_date(std::string_view text) {
    text = trimmed(text);
    Civil c;
    if (!read_number(text, 4, c.year) || text.empty() || text[0] != '.') return std::nullopt;
    text.remove_prefix(1);
    if (!read_number(text, 2, c.month) || text.empty() || text[0] != '.') return std::nullopt;
    text.remove_prefix(1);
    if (!read_number(text, 2, c.day) || !text.empty()) return std::nullopt;
    if (c.year < 1 || c.month < 1 || c.month > 12 || c.day < 1) return std::nullopt;
    if (to_civil(to_seconds(c)).day != c.day) return std::nullopt;  // 31 April and the like
    return c;
}

bool read_clock(std::string_view& text, Clock& c) {
    if (!read_number(text, 2, c.hour) || text.empty() || text[0] != ':') return false;
    text.remove_prefix(1);
    const size_t before = text.size();
    return read_number(text, 2, c.minute) && before - text.size() == 2 && c.hour <= 23 && c.minute <= 59;
}

// "HH:MM" or "HH:MM-HH:MM".
std::optional<EntryTime> read_time(std::string_view text) {
    text = trimmed(text);
    EntryTime t;
    if (!read_clock(text, t.start)) return std::nullopt;
    if (text.empty()) return t;
    if (text[0] != '-') return std::nullopt;
    text.remove_prefix(1);
    t.range = true;
    if (!read_clock(text, t.end) || !text.empty()) return std::nullopt;
    return t;
}

// Exporting the same entry again gives the same UID, so a calendar updates instead of doubling.
std::string uid_of(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    std::uint64_t hash = 14695981039346656037ULL;
    for (char c : line) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%016llx@termaris", static_cast<unsigned long long>(hash));
    return text;
}

std::string date_text(Seconds s) {
    const Civil c = to_civil(s);
    char text[16];
    std::snprintf(text, sizeof text, "%04i%02i%02i", c.year, c.month, c.day);
    return text;
}

std::string date_time_text(Seconds s) {
    const Civil c = to_civil(s);
    char text[24];
    std::snprintf(text, sizeof text, "%04i%02i%02iT%02i%02i%02i", c.year, c.month, c.day, c.hour, c.minute, c.second);
    return text;
}

Seconds at(const Civil& day, const Clock& c) { return to_seconds(day) + c.hour * 3600 + c.minute * 60; }

class Writer {
public:
    Writer(Seconds stamp, const TextCodec& codec) : stamp_(date_time_text(stamp) + "Z"), codec_(codec) {}

    void begin() {
        out.text += "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:";
        out.text += product_id;
        out.text += "\r\nCALSCALE:GREGORIAN\r\n";
    }

    void entry(const std::string& line) {
        const dl::Cells cells = dl::line_to_row(line);
        const std::optional<Civil> day = read_date(cells[0]);
        if (!day) {
            ++out.skipped;
            return;
        }
        std::string summary;
        const std::optional<EntryTime> time = read_time(cells[2]);
        // A time that does not read stays with the text, so nothing of the entry is lost.
        if (!time && !trimmed(cells[2]).empty()) summary = std::string(cells[2]) + " ";
        summary += cells[3];
        out.text += "BEGIN:VEVENT\r\n";
        property("UID:" + uid_of(line));
        property("DTSTAMP:" + stamp_);
        if (time) timed(*day, *time);
        else all_day(*day);
        std::string text = "SUMMARY:";
        append_escaped(text, codec_.to_utf8(summary));
        property(text);
        property(std::string("X-TERMARIS-STATUS:") + (cells[4] == "0" ? "0" : "1"));
        out.text += "END:VEVENT\r\n";
        ++out.exported;
    }

    void end() { out.text += "END:VCALENDAR\r\n"; }

    ExportResult out;

private:
    void property(const std::string& line) { append_folded(out.text, line); }

    void timed(const Civil& day, const EntryTime& t) {
        const Seconds start = at(day, t.start);
        property("DTSTART:" + date_time_text(start));
        if (!t.range) return;
        Seconds end = at(day, t.end);
        if (end <= start) end += day_seconds;  // a range past midnight ends on the next day
        property("DTEND:" + date_time_text(end));
    }

    void all_day(const Civil& day) {
        const Seconds start = to_seconds(day);
        property("DTSTART;VALUE=DATE:" + date_text(start));
        property("DTEND;VALUE=DATE:" + date_text(start + day_seconds));
    }

    std::string stamp_;
    const TextCodec& codec_;
};

}  // namespace

ExportResult export_calendar(const std::vector<std::string>& lines, Seconds stamp, const TextCodec& codec) {
    Writer w(stamp, codec);
    w.out.text.reserve(lines.size() * 220 + 128);
    w.begin();
    for (const std::string& line : lines) w.entry(line);
    w.end();
    return std::move(w.out);
}

}  // namespace ical
