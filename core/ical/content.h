// iCalendar content lines: unfolding, properties and parameters, components, folding and
// escaping. Reading is tolerant; writing follows the standard strictly.
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ical {

// Names compare without regard to ASCII case.
inline bool same_name(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
        const char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 'a' + 'A') : b[i];
        if (x != y)
            return false;
    }
    return true;
}

// One property; every view points into the text it was read from.
struct Property {
    std::string_view name;
    std::string_view params; // everything between the name and the value, ";" included
    std::string_view value;

    // The first value of the named parameter, quotes removed; empty when it is not there.
    std::string_view param(std::string_view param_name) const;
};

struct Component {
    std::string_view name;
    std::vector<Property> props;
    std::vector<Component> children;

    // The first property of that name, or null: a repeated single property counts once.
    const Property* first(std::string_view prop_name) const;
    template <class Visit> void each(std::string_view prop_name, Visit&& visit) const
    {
        for (const Property& p : props)
            if (same_name(p.name, prop_name))
                visit(p);
    }
};

namespace content_detail {

inline bool is_fold(std::string_view rest)
{
    return !rest.empty() && (rest[0] == ' ' || rest[0] == '\t');
}

// The first byte of text that is a or b, or its size: eight bytes at a time, as the lines of a
// large file are many and the C library's search is not fast everywhere.
inline size_t find_either(std::string_view text, char a, char b)
{
    constexpr std::uint64_t ones = 0x0101010101010101ULL, highs = 0x8080808080808080ULL;
    const std::uint64_t as = ones * static_cast<unsigned char>(a), bs = ones * static_cast<unsigned char>(b);
    size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        // Zero bytes where a or b was. The lowest bit set marks the first exactly (bits above it
        // may be false).
        const std::uint64_t x = word ^ as, y = word ^ bs;
        const std::uint64_t found = (((x - ones) & ~x) | ((y - ones) & ~y)) & highs;
        if (found != 0) {
            // Bytes are loaded in memory order, the first one lowest (all Windows machines
            // are little-endian): the lowest set bit, 8k+7, gives byte k.
            const std::uint64_t lowest = (found & (~found + 1)) >> 7;
            return at + static_cast<size_t>((lowest * 0x0001020304050607ULL) >> 56);
        }
    }
    while (at < text.size() && text[at] != a && text[at] != b)
        ++at;
    return at;
}

// The physical line at the start of rest without its CR LF or LF; rest moves past it.
inline std::string_view take_physical_line(std::string_view& rest)
{
    const size_t end = find_either(rest, '\n', '\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end < rest.size() ? end + 1 : end);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

} // namespace content_detail

// The content lines of a file one at a time: folds undone, CR before LF and a leading byte
// order mark dropped. A line is a view into the bytes, or for a folded one into the reader's own
// storage; both stay valid for as long as the bytes and the reader do.
class LineReader {
public:
    explicit LineReader(std::string_view bytes);
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // False at the end. Here, as a large file has hundreds of thousands of lines.
    bool next(std::string_view& line)
    {
        if (rest_.empty())
            return false;
        line = content_detail::take_physical_line(rest_);
        if (content_detail::is_fold(rest_))
            unfold(line);
        return true;
    }
    // Where the next line starts, for reading again from there.
    const char* position() const { return rest_.data(); }
    void seek(const char* position) { rest_ = std::string_view(position, static_cast<size_t>(end_ - position)); }

private:
    void unfold(std::string_view& line);

    std::string_view rest_;
    const char* end_;
    std::deque<std::string> unfolded_; // never moved: lines point into them
};

// Splits "NAME;PARAMS:VALUE"; false when there is no value separator.
inline bool split_property(std::string_view line, Property& p)
{
    const size_t name_end = content_detail::find_either(line, ';', ':');
    bool quoted = false;
    size_t colon = name_end;
    for (; colon < line.size(); ++colon) {
        if (line[colon] == '"')
            quoted = !quoted;
        else if (line[colon] == ':' && !quoted)
            break;
    }
    if (colon >= line.size() || name_end == 0)
        return false;
    p.name = line.substr(0, name_end);
    p.params = line.substr(name_end, colon - name_end);
    p.value = line.substr(colon + 1);
    return true;
}

// Deeper nesting is no calendar anyone writes; it is dropped so that a hostile file cannot
// exhaust the stack when the tree is freed.
constexpr size_t max_depth = 16;

// Components from content lines: BEGIN opens one, END closes the innermost of that name (and
// what is still open inside it), the other lines are properties of the innermost open one.
class ComponentBuilder {
public:
    // closed gets each component that closes with nothing open around it; depth_limit is the
    // nesting left to the builder (less than max_depth for a part of a file).
    template <class Closed>
    explicit ComponentBuilder(Closed&& closed, size_t depth_limit = max_depth)
        : closed_(std::forward<Closed>(closed)), depth_limit_(depth_limit)
    { }

    void add(const Property& line);
    // Closes whatever is still open, as the end of the file does.
    void close_all();
    bool empty() const { return open_.empty() && ignored_ == 0; }

private:
    void begin(std::string_view name);
    void end(std::string_view name);
    void close_top();

    std::function<void(Component&&)> closed_;
    size_t depth_limit_;
    std::vector<Component> open_; // the stack of components not yet closed
    size_t ignored_ = 0; // levels dropped below the depth limit
};

// A whole file: its text and the components read from it.
class Calendar {
public:
    Calendar() = default;
    // The components point into the text: never copied or moved.
    Calendar(const Calendar&) = delete;
    Calendar& operator=(const Calendar&) = delete;

    // False when the bytes hold no VCALENDAR at all. Accepts LF or CR LF, a byte order mark,
    // folded lines, names in any case and components that are never closed.
    bool read(std::string_view bytes);
    // The VCALENDAR components (usually one).
    const std::vector<Component>& calendars() const { return roots_; }

private:
    std::string text_;
    std::unique_ptr<LineReader> lines_;
    std::vector<Component> roots_;
};

// Backslash sequences of a TEXT value undone; "\n" and "\N" become a line feed.
std::string unescape_text(std::string_view value);
void append_unescaped(std::string& out, std::string_view value);
// Backslash, semicolon, comma and line feed escaped for a TEXT value; a carriage return dropped.
void append_escaped(std::string& out, std::string_view text);
// One byte of it: at most two bytes written.
inline char* put_escaped(char* out, char c)
{
    switch (c) {
    case '\\':
    case ';':
    case ',': *out++ = '\\'; break;
    case '\n':
        *out++ = '\\';
        c = 'n';
        break;
    case '\r': return out;
    default: break;
    }
    *out++ = c;
    return out;
}

// Appends one content line, folded so that no line holds more than 75 octets and no UTF-8
// sequence is split, each line ended by CR LF.
void append_folded(std::string& out, std::string_view line);
// The most bytes a content line of that length can take folded, whatever its bytes: a cut that
// moves back over continuation bytes leaves at least one byte on a physical line.
constexpr size_t folded_size_limit(size_t length)
{
    return 4 * length + 2;
}
// The same into a buffer of at least folded_size_limit bytes; returns the end of what it wrote.
char* write_folded(char* out, std::string_view line);

} // namespace ical
