#include "core/ical/export.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "core/ical/content.h"
#include "core/ical/hash.h"
#include "core/date_line.h"

namespace ical {

namespace {

// What the file is handed on in: large enough to make few writes, small enough to stay in cache.
constexpr size_t piece_size = 256 * 1024;
// Every line of an event but its SUMMARY, with room to spare.
constexpr size_t event_frame_size = 256;

struct Day {
    int year = 0, month = 0, day = 0;
};

struct Clock {
    int hour = 0, minute = 0;
};

struct EntryTime {
    Clock start, end;
    bool range = false;
};

// Digits of a number field; false when there are none or too many.
bool read_number(std::string_view& text, size_t max_digits, int& value)
{
    size_t n = 0;
    value = 0;
    while (n < text.size() && n <= max_digits && text[n] >= '0' && text[n] <= '9')
        value = value * 10 + (text[n++] - '0');
    text.remove_prefix(n);
    return n > 0 && n <= max_digits;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

int days_in_month(int month, int year)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : days[month - 1];
}

// "YYYY.MM.DD" as the file holds it (the year may be padded with blanks).
std::optional<Day> read_date(std::string_view text)
{
    text = trimmed(text);
    Day d;
    if (!read_number(text, 4, d.year) || text.empty() || text[0] != '.')
        return std::nullopt;
    text.remove_prefix(1);
    if (!read_number(text, 2, d.month) || text.empty() || text[0] != '.')
        return std::nullopt;
    text.remove_prefix(1);
    if (!read_number(text, 2, d.day) || !text.empty())
        return std::nullopt;
    if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1)
        return std::nullopt;
    if (d.day > days_in_month(d.month, d.year))
        return std::nullopt; // 31 April and the like
    return d;
}

Day next_day(Day d)
{
    if (d.day < days_in_month(d.month, d.year)) {
        ++d.day;
    } else if (d.month < 12) {
        d.day = 1;
        ++d.month;
    } else {
        d = Day{d.year + 1, 1, 1};
    }
    return d;
}

bool read_clock(std::string_view& text, Clock& c)
{
    if (!read_number(text, 2, c.hour) || text.empty() || text[0] != ':')
        return false;
    text.remove_prefix(1);
    const size_t before = text.size();
    return read_number(text, 2, c.minute) && before - text.size() == 2 && c.hour <= 23 && c.minute <= 59;
}

// "HH:MM" or "HH:MM-HH:MM".
std::optional<EntryTime> read_time(std::string_view text)
{
    text = trimmed(text);
    EntryTime t;
    if (!read_clock(text, t.start))
        return std::nullopt;
    if (text.empty())
        return t;
    if (text[0] != '-')
        return std::nullopt;
    text.remove_prefix(1);
    t.range = true;
    if (!read_clock(text, t.end) || !text.empty())
        return std::nullopt;
    return t;
}

char* put(char* out, std::string_view text)
{
    return std::copy(text.begin(), text.end(), out);
}

// The last width digits of value.
char* put_digits(char* out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        out[i] = static_cast<char>('0' + value % 10);
    return out + width;
}

char* put_date(char* out, const Day& d)
{
    out = put_digits(out, d.year, 4);
    out = put_digits(out, d.month, 2);
    return put_digits(out, d.day, 2);
}

char* put_date_time(char* out, const Day& d, const Clock& c)
{
    out = put_date(out, d);
    *out++ = 'T';
    out = put_digits(out, c.hour, 2);
    out = put_digits(out, c.minute, 2);
    return put(out, "00");
}

// Exporting the same entry again gives the same UID, so a calendar updates instead of doubling.
char* put_uid(char* out, std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    const std::uint64_t hash = hash_bytes(line);
    for (int shift = 60; shift >= 0; shift -= 4)
        *out++ = "0123456789abcdef"[(hash >> shift) & 0xF];
    return put(out, "@termaris");
}

bool is_ascii(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// The text handed on in pieces: gathered in a buffer of its own that goes to write whenever
// the next event might not fit.
class Pieces {
public:
    explicit Pieces(const PieceWriter& write) : write_(write), buffer_(piece_size) { }

    // Where to put at least bytes more.
    char* room(size_t bytes)
    {
        if (used_ + bytes > buffer_.size()) {
            flush();
            if (bytes > buffer_.size())
                buffer_.resize(bytes);
        }
        return buffer_.data() + used_;
    }
    void filled_to(const char* end) { used_ = static_cast<size_t>(end - buffer_.data()); }
    void flush()
    {
        if (used_ > 0 && ok_)
            ok_ = write_(std::string_view(buffer_.data(), used_));
        used_ = 0;
    }
    bool ok() const { return ok_; }

private:
    const PieceWriter& write_;
    std::vector<char> buffer_;
    size_t used_ = 0;
    bool ok_ = true;
};

class Writer {
public:
    Writer(Seconds stamp, const TextCodec& codec, const PieceWriter& write) : codec_(codec), out_(write)
    {
        const Civil c = to_civil(stamp);
        char* end = put(stamp_, "DTSTAMP:");
        end = put_date_time(end, Day{c.year, c.month, c.day}, Clock{c.hour, c.minute});
        end = put_digits(end - 2, c.second, 2);
        stamp_length_ = static_cast<size_t>(put(end, "Z\r\n") - stamp_);
    }

    void begin()
    {
        std::string head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:";
        head += product_id;
        head += "\r\nCALSCALE:GREGORIAN\r\n";
        out_.filled_to(put(out_.room(head.size()), head));
    }

    void entry(std::string_view line)
    {
        std::string_view cells[dl::field_count];
        split_cells(line, cells);
        const std::optional<Day> day = read_date(cells[0]);
        if (!day) {
            ++result.skipped;
            return;
        }
        const std::optional<EntryTime> time = read_time(cells[2]);
        summary_.assign("SUMMARY:");
        // A time that does not read stays with the text, so nothing of the entry is lost.
        if (!time && !trimmed(cells[2]).empty()) {
            append_text(cells[2]);
            summary_ += ' ';
        }
        append_text(cells[3]);

        char* p = out_.room(event_frame_size + folded_size_limit(summary_.size()));
        p = put(p, "BEGIN:VEVENT\r\nUID:");
        p = put_uid(p, line);
        p = put(p, "\r\n");
        p = put(p, std::string_view(stamp_, stamp_length_));
        p = time ? put_timed(p, *day, *time) : put_all_day(p, *day);
        p = write_folded(p, summary_);
        p = put(p, cells[4] == "0" ? "X-TERMARIS-STATUS:0\r\nEND:VEVENT\r\n" : "X-TERMARIS-STATUS:1\r\nEND:VEVENT\r\n");
        out_.filled_to(p);
        ++result.exported;
    }

    void end()
    {
        out_.filled_to(put(out_.room(16), "END:VCALENDAR\r\n"));
        out_.flush();
    }

    bool ok() const { return out_.ok(); }

    ExportResult result;

private:
    // The fields of a date line as the list splits it: each ended by a tab, the newline or
    // the end of a row's text.
    static void split_cells(std::string_view line, std::string_view (&cells)[dl::field_count])
    {
        size_t begin = 0;
        for (int k = 0; k < dl::field_count && begin <= line.size(); ++k) {
            size_t end = begin;
            while (end < line.size() && !dl::is_field_end(line[end]))
                ++end;
            cells[k] = line.substr(begin, end - begin);
            begin = end + 1;
        }
    }

    void append_text(std::string_view text)
    {
        if (codec_.has_table() && escape_through_table(text))
            return;
        if (is_ascii(text))
            append_escaped(summary_, text);
        else
            append_escaped(summary_, codec_.to_utf8(text));
    }

    // Converts and escapes in one pass; false (with nothing added) when a byte is not in the table.
    bool escape_through_table(std::string_view text)
    {
        const size_t before = summary_.size();
        summary_.resize(before + 3 * text.size()); // a byte gives at most three
        char* end = &summary_[before];
        for (char c : text) {
            if (static_cast<unsigned char>(c) < 0x80) {
                end = put_escaped(end, c);
                continue;
            }
            const std::string_view utf8 = codec_.utf8_of(static_cast<unsigned char>(c));
            if (utf8.empty()) {
                summary_.resize(before);
                return false;
            }
            end = put(end, utf8);
        }
        summary_.resize(static_cast<size_t>(end - summary_.data()));
        return true;
    }

    static char* put_timed(char* p, const Day& day, const EntryTime& t)
    {
        p = put(p, "DTSTART:");
        p = put(put_date_time(p, day, t.start), "\r\n");
        if (!t.range)
            return p;
        // A range that ends before it starts ends on the next day.
        const bool next = t.end.hour * 60 + t.end.minute <= t.start.hour * 60 + t.start.minute;
        p = put(p, "DTEND:");
        return put(put_date_time(p, next ? next_day(day) : day, t.end), "\r\n");
    }

    static char* put_all_day(char* p, const Day& day)
    {
        p = put(p, "DTSTART;VALUE=DATE:");
        p = put(put_date(p, day), "\r\nDTEND;VALUE=DATE:");
        return put(put_date(p, next_day(day)), "\r\n");
    }

    const TextCodec& codec_;
    Pieces out_;
    char stamp_[48] = {};
    size_t stamp_length_ = 0;
    std::string summary_; // the SUMMARY content line before folding
};

} // namespace

bool export_calendar(const std::vector<std::string_view>& lines, Seconds stamp, const TextCodec& codec,
                     const PieceWriter& write, ExportResult& result)
{
    Writer w(stamp, codec, write);
    w.begin();
    for (size_t i = 0; i < lines.size() && w.ok(); ++i)
        w.entry(lines[i]);
    w.end();
    result = std::move(w.result);
    return w.ok();
}

ExportResult export_calendar(const std::vector<std::string_view>& lines, Seconds stamp, const TextCodec& codec)
{
    std::string text;
    text.reserve(lines.size() * 220 + 128);
    ExportResult result;
    export_calendar(
        lines, stamp, codec,
        [&](std::string_view piece) {
            text += piece;
            return true;
        },
        result);
    result.text = std::move(text);
    return result;
}

} // namespace ical
