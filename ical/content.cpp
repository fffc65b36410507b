#include "ical/content.h"

#include <cstring>
#include <utility>

namespace ical {

namespace {

constexpr size_t max_octets = 75;
// Deeper nesting is no calendar anyone writes; it is dropped so that a hostile file cannot
// exhaust the stack when the tree is freed.
constexpr size_t max_depth = 16;

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The lines of the file with folds undone, each ended by '\n'; CR before LF and a leading
// byte order mark dropped.
std::string unfold(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::string out;
    out.reserve(bytes.size() + 1);
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const bool folded = !line.empty() && (line[0] == ' ' || line[0] == '\t') && !out.empty();
        if (folded) {
            out.pop_back();  // the '\n' of the line it continues
            line.remove_prefix(1);
        }
        out.append(line.data(), line.size());
        out += '\n';
        pos = end + 1;
    }
    return out;
}

// Splits "NAME;PARAMS:VALUE"; false when there is no value separator.
bool split_property(std::string_view line, Property& p) {
    size_t name_end = 0;
    while (name_end < line.size() && line[name_end] != ';' && line[name_end] != ':') ++name_end;
    bool quoted = false;
    size_t colon = name_end;
    for (; colon < line.size(); ++colon) {
        if (line[colon] == '"') quoted = !quoted;
        else if (line[colon] == ':' && !quoted) break;
    }
    if (colon >= line.size() || name_end == 0) return false;
    p.name = line.substr(0, name_end);
    p.params = line.substr(name_end, colon - name_end);
    p.value = line.substr(colon + 1);
    return true;
}

struct Builder {
    std::vector<Component> open;  // the stack of components not yet closed
    std::vector<Component>& roots;
    size_t ignored = 0;           // levels dropped below max_depth

    void begin(std::string_view name) {
        if (ignored > 0 || open.size() >= max_depth) {
            ++ignored;
            return;
        }
        open.push_back(Component{name, {}, {}});
        open.back().props.reserve(12);  // what an event usually has
    }

    void end(std::string_view name) {
        if (ignored > 0) {
            --ignored;
            return;
        }
        // An END that closes an outer component closes the ones left open inside it.
        for (size_t k = open.size(); k-- > 0;) {
            if (!same_name(open[k].name, name)) continue;
            while (open.size() > k) close_top();
            return;
        }
    }

    void close_top() {
        Component done = std::move(open.back());
        open.pop_back();
        if (open.empty()) {
            if (same_name(done.name, "VCALENDAR")) roots.push_back(std::move(done));
        } else {
            open.back().children.push_back(std::move(done));
        }
    }

    void property(const Property& p) {
        if (ignored == 0 && !open.empty()) open.back().props.push_back(p);
    }
};

}  // namespace

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

std::string_view Property::param(std::string_view param_name) const {
    size_t pos = 0;
    while (pos < params.size()) {
        // Each parameter starts with ';': "NAME=value" or "NAME="quoted"".
        size_t start = pos + 1;
        size_t eq = start;
        while (eq < params.size() && params[eq] != '=' && params[eq] != ';') ++eq;
        size_t value_end = eq;
        bool quoted = false;
        while (value_end < params.size() && (quoted || params[value_end] != ';')) {
            if (params[value_end] == '"') quoted = !quoted;
            ++value_end;
        }
        if (eq < params.size() && params[eq] == '=' && same_name(params.substr(start, eq - start), param_name)) {
            std::string_view v = params.substr(eq + 1, value_end - eq - 1);
            if (!v.empty() && v.front() == '"') {
                const size_t close = v.find('"', 1);
                return v.substr(1, close == std::string_view::npos ? v.size() - 1 : close - 1);
            }
            return v.substr(0, v.find(','));
        }
        pos = value_end;
    }
    return {};
}

const Property* Component::first(std::string_view prop_name) const {
    for (const Property& p : props)
        if (same_name(p.name, prop_name)) return &p;
    return nullptr;
}

bool Calendar::read(std::string_view bytes) {
    text_ = unfold(bytes);
    roots_.clear();
    Builder b{{}, roots_};
    std::string_view text = text_;
    bool seen_calendar = false;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find('\n', pos);
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        Property p;
        if (!split_property(line, p)) continue;
        if (same_name(p.name, "BEGIN")) {
            if (same_name(p.value, "VCALENDAR")) seen_calendar = true;
            b.begin(p.value);
        } else if (same_name(p.name, "END")) {
            b.end(p.value);
        } else {
            b.property(p);
        }
    }
    while (!b.open.empty()) b.close_top();
    return seen_calendar;
}

std::string unescape_text(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[++i];
        out += next == 'n' || next == 'N' ? '\n' : next;
    }
    return out;
}

void append_escaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case ';': out += "\\;"; break;
        case ',': out += "\\,"; break;
        case '\n': out += "\\n"; break;
        case '\r': break;
        default: out += c;
        }
    }
}

char* write_folded(char* out, std::string_view line) {
    size_t room = max_octets;
    while (line.size() > room) {
        size_t cut = room;
        while (cut > 0 && is_continuation(static_cast<unsigned char>(line[cut]))) --cut;
        if (cut == 0) cut = room;  // no character start at all: not UTF-8, cut anywhere
        std::memcpy(out, line.data(), cut);
        std::memcpy(out + cut, "\r\n ", 3);
        out += cut + 3;
        line.remove_prefix(cut);
        room = max_octets - 1;  // the leading blank of a continuation counts
    }
    std::memcpy(out, line.data(), line.size());
    std::memcpy(out + line.size(), "\r\n", 2);
    return out + line.size() + 2;
}

void append_folded(std::string& out, std::string_view line) {
    const size_t before = out.size();
    out.resize(before + folded_size_limit(line.size()));
    out.resize(static_cast<size_t>(write_folded(&out[before], line) - out.data()));
}

}  // namespace ical
