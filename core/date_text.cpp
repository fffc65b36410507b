#include "core/date_text.h"

#include <algorithm>

namespace dl {

namespace {

std::string_view without_end_marker(std::string_view bytes)
{
    size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == ctrl_z)
        --end;
    return bytes.substr(0, end);
}

// The line from start up to and including the LF at lf, with a CR right before it dropped.
std::string line_before(std::string_view bytes, size_t start, size_t lf)
{
    size_t end = lf;
    if (end > start && bytes[end - 1] == '\r')
        --end;
    std::string line;
    line.reserve(end - start + 1);
    line.append(bytes.data() + start, end - start);
    line += '\n';
    return line;
}

} // namespace

std::vector<std::string> decode_lines(std::string_view bytes)
{
    const std::string_view text = without_end_marker(bytes);
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    size_t start = 0;
    while (start < text.size()) {
        size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            // A file that lacks its final newline still ends its last entry: without one, that
            // entry would lose its status as a row and never count as open.
            lines.emplace_back(text.substr(start));
            lines.back() += '\n';
            break;
        }
        lines.push_back(line_before(text, start, lf));
        start = lf + 1;
    }
    return lines;
}

void append_encoded(std::string& out, std::string_view line)
{
    if (line.empty())
        return;
    size_t start = 0;
    for (size_t lf; (lf = line.find('\n', start)) != std::string_view::npos; start = lf + 1) {
        out.append(line.data() + start, lf - start);
        out += "\r\n";
    }
    if (start < line.size()) {
        out.append(line.data() + start, line.size() - start);
        out += "\r\n";
    }
}

std::string encode_lines(const std::vector<std::string>& lines)
{
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 1;
    std::string out;
    out.reserve(size);
    for (const std::string& line : lines)
        append_encoded(out, line);
    return out;
}

} // namespace dl
