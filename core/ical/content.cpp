#include "core/ical/content.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace ical {

namespace {

constexpr size_t max_octets = 75;

bool is_continuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

} // namespace

LineReader::LineReader(std::string_view bytes) : rest_(bytes), end_(bytes.data() + bytes.size())
{
    if (rest_.substr(0, 3) == "\xEF\xBB\xBF")
        rest_.remove_prefix(3);
}

void LineReader::unfold(std::string_view& line)
{
    std::string& joined = unfolded_.emplace_back(line);
    while (content_detail::is_fold(rest_))
        joined += content_detail::take_physical_line(rest_).substr(1);
    line = joined;
}

void ComponentBuilder::add(const Property& line)
{
    if (same_name(line.name, "BEGIN"))
        begin(line.value);
    else if (same_name(line.name, "END"))
        end(line.value);
    else if (ignored_ == 0 && !open_.empty())
        open_.back().props.push_back(line);
}

void ComponentBuilder::begin(std::string_view name)
{
    if (ignored_ > 0 || open_.size() >= depth_limit_) {
        ++ignored_;
        return;
    }
    open_.push_back(Component{name, {}, {}});
    open_.back().props.reserve(12); // what an event usually has
}

void ComponentBuilder::end(std::string_view name)
{
    if (ignored_ > 0) {
        --ignored_;
        return;
    }
    // An END that closes an outer component closes the ones left open inside it.
    for (size_t k = open_.size(); k-- > 0;) {
        if (!same_name(open_[k].name, name))
            continue;
        while (open_.size() > k)
            close_top();
        return;
    }
}

void ComponentBuilder::close_top()
{
    Component done = std::move(open_.back());
    open_.pop_back();
    if (open_.empty())
        closed_(std::move(done));
    else
        open_.back().children.push_back(std::move(done));
}

void ComponentBuilder::close_all()
{
    while (!open_.empty())
        close_top();
}

std::string_view Property::param(std::string_view param_name) const
{
    size_t pos = 0;
    while (pos < params.size()) {
        // Each parameter starts with ';': "NAME=value" or "NAME="quoted"".
        size_t start = pos + 1;
        size_t eq = start;
        while (eq < params.size() && params[eq] != '=' && params[eq] != ';')
            ++eq;
        size_t value_end = eq;
        bool quoted = false;
        while (value_end < params.size() && (quoted || params[value_end] != ';')) {
            if (params[value_end] == '"')
                quoted = !quoted;
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

const Property* Component::first(std::string_view prop_name) const
{
    for (const Property& p : props)
        if (same_name(p.name, prop_name))
            return &p;
    return nullptr;
}

bool Calendar::read(std::string_view bytes)
{
    text_.assign(bytes.data(), bytes.size());
    lines_ = std::make_unique<LineReader>(text_);
    roots_.clear();
    ComponentBuilder builder([this](Component&& done) {
        if (same_name(done.name, "VCALENDAR"))
            roots_.push_back(std::move(done));
    });
    bool seen_calendar = false;
    std::string_view line;
    while (lines_->next(line)) {
        Property p;
        if (!split_property(line, p))
            continue;
        if (same_name(p.name, "BEGIN") && same_name(p.value, "VCALENDAR"))
            seen_calendar = true;
        builder.add(p);
    }
    builder.close_all();
    return seen_calendar;
}

std::string unescape_text(std::string_view value)
{
    std::string out;
    append_unescaped(out, value);
    return out;
}

void append_unescaped(std::string& out, std::string_view value)
{
    const size_t before = out.size();
    out.resize(before + value.size()); // never longer than the escaped text
    char* end = &out[before];
    for (;;) {
        const size_t slash = content_detail::find_either(value, '\\', '\\');
        end = std::copy(value.begin(), value.begin() + static_cast<std::ptrdiff_t>(slash), end);
        if (slash + 1 >= value.size()) {
            if (slash < value.size())
                *end++ = '\\'; // a backslash at the end stays
            break;
        }
        const char next = value[slash + 1];
        *end++ = next == 'n' || next == 'N' ? '\n' : next;
        value.remove_prefix(slash + 2);
    }
    out.resize(static_cast<size_t>(end - out.data()));
}

void append_escaped(std::string& out, std::string_view text)
{
    const size_t before = out.size();
    out.resize(before + 2 * text.size());
    char* end = &out[before];
    for (char c : text)
        end = put_escaped(end, c);
    out.resize(static_cast<size_t>(end - out.data()));
}

char* write_folded(char* out, std::string_view line)
{
    size_t room = max_octets;
    while (line.size() > room) {
        size_t cut = room;
        while (cut > 0 && is_continuation(static_cast<unsigned char>(line[cut])))
            --cut;
        if (cut == 0)
            cut = room; // no character start at all: not UTF-8, cut anywhere
        std::memcpy(out, line.data(), cut);
        std::memcpy(out + cut, "\r\n ", 3);
        out += cut + 3;
        line.remove_prefix(cut);
        room = max_octets - 1; // the leading blank of a continuation counts
    }
    out = std::copy(line.begin(), line.end(), out); // an empty view may have no data at all
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

void append_folded(std::string& out, std::string_view line)
{
    const size_t before = out.size();
    out.resize(before + folded_size_limit(line.size()));
    out.resize(static_cast<size_t>(write_folded(&out[before], line) - out.data()));
}

} // namespace ical
