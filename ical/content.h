// iCalendar content lines: unfolding, properties and parameters, components, folding and
// escaping. Reading is tolerant; writing follows the standard strictly.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ical {

// Names compare without regard to ASCII case.
bool same_name(std::string_view a, std::string_view b);

// One property; every view points into the Calendar that holds it.
struct Property {
    std::string_view name;
    std::string_view params;  // everything between the name and the value, ";" included
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
    template <class Visit>
    void each(std::string_view prop_name, Visit&& visit) const {
        for (const Property& p : props)
            if (same_name(p.name, prop_name)) visit(p);
    }
};

// A whole file: the unfolded text and the components read from it.
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
    std::vector<Component> roots_;
};

// Backslash sequences of a TEXT value undone; "\n" and "\N" become a line feed.
std::string unescape_text(std::string_view value);
// Backslash, semicolon, comma and line feed escaped for a TEXT value.
void append_escaped(std::string& out, std::string_view text);

// Appends one content line, folded so that no line holds more than 75 octets and no UTF-8
// sequence is split, each line ended by CR LF.
void append_folded(std::string& out, std::string_view line);
// The most bytes a content line of that length can take folded, whatever its bytes: a cut that
// moves back over continuation bytes leaves at least one byte on a physical line.
constexpr size_t folded_size_limit(size_t length) { return 4 * length + 2; }
// The same into a buffer of at least folded_size_limit bytes; returns the end of what it wrote.
char* write_folded(char* out, std::string_view line);

}  // namespace ical
