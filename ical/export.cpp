#include "ical/export.h"

#include <cstdint>
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

void append_digits(std::string& out, int value, int width) {
    char digits[12];
    for (int i = width - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<char>('0' + value % 10);
    out.append(digits, static_cast<size_t>(width));
}

// Exporting the same entry again gives the same UID, so a calendar updates instead of doubling.
void append_uid(std::string& out, std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    std::uint64_t hash = 14695981039346656037ULL;
    for (char c : line) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    for (int shift = 60; shift >= 0; shift -= 4) out += "0123456789abcdef"[(hash >> shift) & 0xF];
    out += "@termaris";
}

void append_date(std::string& out, Seconds s) {
    const Civil c = to_civil(s);
    append_digits(out, c.year, 4);
    append_digits(out, c.month, 2);
    append_digits(out, c.day, 2);
}

void append_date_time(std::string& out, Seconds s) {
    append_date(out, s);
    const Civil c = to_civil(s);
    out += 'T';
    append_digits(out, c.hour, 2);
    append_digits(out, c.minute, 2);
    append_digits(out, c.second, 2);
}

bool is_ascii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

Seconds at(const Civil& day, const Clock& c) { return to_seconds(day) + c.hour * 3600 + c.minute * 60; }

class Writer {
public:
    Writer(Seconds stamp, const TextCodec& codec) : codec_(codec) {
        stamp_ = "DTSTAMP:";
        append_date_time(stamp_, stamp);
        stamp_ += 'Z';
    }

    void begin() {
        out.text += "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:";
        out.text += product_id;
        out.text += "\r\nCALSCALE:GREGORIAN\r\n";
    }

    void entry(std::string_view line) {
        std::string_view cells[dl::field_count];
        split_cells(line, cells);
        const std::optional<Civil> day = read_date(cells[0]);
        if (!day) {
            ++out.skipped;
            return;
        }
        const std::optional<EntryTime> time = read_time(cells[2]);
        out.text += "BEGIN:VEVENT\r\n";
        start("UID:");
        append_uid(line_, line);
        finish();
        out.text += stamp_;
        out.text += "\r\n";
        if (time) timed(*day, *time);
        else all_day(*day);
        start("SUMMARY:");
        // A time that does not read stays with the text, so nothing of the entry is lost.
        if (!time && !trimmed(cells[2]).empty()) {
            append_text(cells[2]);
            line_ += ' ';
        }
        append_text(cells[3]);
        finish();
        out.text += cells[4] == "0" ? "X-TERMARIS-STATUS:0\r\n" : "X-TERMARIS-STATUS:1\r\n";
        out.text += "END:VEVENT\r\n";
        ++out.exported;
    }

    void end() { out.text += "END:VCALENDAR\r\n"; }

    ExportResult out;

private:
    // The fields of a date line as the list splits it: each ended by a tab, the newline or
    // the end of a row's text.
    static void split_cells(std::string_view line, std::string_view (&cells)[dl::field_count]) {
        size_t begin = 0;
        for (int k = 0; k < dl::field_count && begin <= line.size(); ++k) {
            size_t end = begin;
            while (end < line.size() && !dl::is_field_end(line[end])) ++end;
            cells[k] = line.substr(begin, end - begin);
            begin = end + 1;
        }
    }

    void start(const char* name) { line_.assign(name); }
    void finish() { append_folded(out.text, line_); }

    void append_text(std::string_view text) {
        if (is_ascii(text)) append_escaped(line_, text);
        else append_escaped(line_, codec_.to_utf8(text));
    }

    void timed(const Civil& day, const EntryTime& t) {
        const Seconds start_at = at(day, t.start);
        start("DTSTART:");
        append_date_time(line_, start_at);
        finish();
        if (!t.range) return;
        Seconds end_at = at(day, t.end);
        if (end_at <= start_at) end_at += day_seconds;  // a range past midnight ends on the next day
        start("DTEND:");
        append_date_time(line_, end_at);
        finish();
    }

    void all_day(const Civil& day) {
        const Seconds start_at = to_seconds(day);
        start("DTSTART;VALUE=DATE:");
        append_date(line_, start_at);
        finish();
        start("DTEND;VALUE=DATE:");
        append_date(line_, start_at + day_seconds);
        finish();
    }

    std::string stamp_;
    std::string line_;
    const TextCodec& codec_;
};

}  // namespace

ExportResult export_calendar(const std::vector<std::string_view>& lines, Seconds stamp, const TextCodec& codec) {
    Writer w(stamp, codec);
    w.out.text.reserve(lines.size() * 220 + 128);
    w.begin();
    for (std::string_view line : lines) w.entry(line);
    w.end();
    return std::move(w.out);
}

}  // namespace ical
