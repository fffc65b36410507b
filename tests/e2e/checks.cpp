#include "checks.h"
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace e2e {

const char* const kGridPaintLine = "mtrm::init_view () OK ...\n";

namespace {

const char* const kViewStartLine = "mvie::init_mvie () OK ...\n";
const char* const kReadLine = "mdoc::read_file () OK ...\n";
const char* const kStartedLine = "mapp::init_inst () OK ...\n";

const char* const kLabels[7] = {"Mon", "Thu", "Wen", "Thr", "Fri", "Sat", "Sun"};
const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};

} // namespace

std::string visible(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

namespace {

std::vector<std::string> collapse_grid_paints(const std::vector<std::string>& lines)
{
    std::vector<std::string> out;
    for (const std::string& line : lines)
        if (line != kGridPaintLine || out.empty() || out.back() != kGridPaintLine)
            out.push_back(line);
    return out;
}

long index_of(const std::vector<std::string>& lines, const char* line)
{
    auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : static_cast<long>(it - lines.begin());
}

// Moves the view's start-up line to just after the start-up sequence when it stands in the
// span where a first paint can come; anywhere else it stays and shows up as a difference.
std::vector<std::string> settle_view_start(std::vector<std::string> lines)
{
    long at = index_of(lines, kViewStartLine);
    long read = index_of(lines, kReadLine);
    if (at < 0 || read < 0 || at < read || std::count(lines.begin(), lines.end(), kViewStartLine) != 1)
        return lines;
    lines.erase(lines.begin() + at);
    long started = index_of(lines, kStartedLine);
    if (started < 0 || at > started + 1) {
        lines.insert(lines.begin() + at, kViewStartLine);
        return lines;
    }
    lines.insert(lines.begin() + started + 1, kViewStartLine);
    return lines;
}

std::string describe(const RegValue& v)
{
    if (v.type == REG_DWORD && v.data.size() == 4) {
        DWORD d;
        std::copy(v.data.begin(), v.data.end(), reinterpret_cast<char*>(&d));
        char buf[48];
        std::snprintf(buf, sizeof buf, "DWORD 0x%lx (%ld)", static_cast<unsigned long>(d), static_cast<long>(d));
        return buf;
    }
    std::string kind = v.type == REG_SZ ? "SZ" : "type " + std::to_string(v.type);
    return kind + " [" + std::to_string(v.data.size()) + " bytes] \"" + visible(v.data) + "\"";
}

} // namespace

std::string read_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool file_exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void remove_file(const std::string& path)
{
    DeleteFileA(path.c_str());
}

std::vector<std::string> log_lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        line += bytes[i];
        if (bytes[i] == '\n') {
            lines.push_back(line);
            line.clear();
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::string compare_log(const std::vector<std::string>& actual_lines, const std::vector<std::string>& expected_lines)
{
    std::vector<std::string> actual = collapse_grid_paints(settle_view_start(actual_lines));
    std::vector<std::string> expected = collapse_grid_paints(expected_lines);
    if (actual == expected)
        return {};
    std::ostringstream out;
    size_t first = 0;
    while (first < actual.size() && first < expected.size() && actual[first] == expected[first])
        ++first;
    out << "logs differ from line " << first + 1 << " (runs of grid paint lines counted once)\n";
    size_t n = std::max(actual.size(), expected.size());
    for (size_t i = 0; i < n; ++i) {
        std::string a = i < actual.size() ? visible(actual[i]) : "(none)";
        std::string e = i < expected.size() ? visible(expected[i]) : "(none)";
        out << (a == e ? "   " : " ! ") << i + 1 << ": expected " << e;
        if (a != e)
            out << "\n        got      " << a;
        out << "\n";
    }
    return out.str();
}

RegValue dword_value(DWORD v)
{
    RegValue r;
    r.type = REG_DWORD;
    r.data.assign(reinterpret_cast<const char*>(&v), sizeof v);
    return r;
}

RegValue string_value(const std::string& s)
{
    RegValue r;
    r.type = REG_SZ;
    r.data = s + '\0';
    return r;
}

std::map<std::string, RegValue> registry_values(HKEY root, const char* key)
{
    std::map<std::string, RegValue> values;
    HKEY k;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD name_len = sizeof name;
        BYTE data[2048];
        DWORD data_len = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(k, i, name, &name_len, nullptr, &type, data, &data_len) != ERROR_SUCCESS)
            break;
        RegValue v;
        v.type = type;
        v.data.assign(reinterpret_cast<const char*>(data), data_len);
        values[std::string(name, name_len)] = v;
    }
    RegCloseKey(k);
    return values;
}

bool registry_key_exists(HKEY root, const char* key)
{
    HKEY k;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

std::string compare_values(const std::map<std::string, RegValue>& actual,
                           const std::map<std::string, RegValue>& expected)
{
    std::ostringstream out;
    for (const auto& [name, want] : expected) {
        auto it = actual.find(name);
        std::string label = name.empty() ? "(default)" : name;
        if (it == actual.end())
            out << "  " << label << ": missing, expected " << describe(want) << "\n";
        else if (!(it->second == want))
            out << "  " << label << ": " << describe(it->second) << ", expected " << describe(want) << "\n";
    }
    for (const auto& [name, have] : actual)
        if (!expected.count(name))
            out << "  " << (name.empty() ? "(default)" : name) << ": not expected, holds " << describe(have) << "\n";
    return out.str();
}

bool set_string(HKEY root, const char* key, const char* name, const std::string& value)
{
    HKEY k;
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

Date today()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    return Date{st.wYear, st.wMonth, st.wDay};
}

Date previous_month(Date d)
{
    if (--d.month < 1) {
        d.month = 12;
        --d.year;
    }
    return d;
}

int weekday_monday_first(const Date& d)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(d.year);
    st.wMonth = static_cast<WORD>(d.month);
    st.wDay = static_cast<WORD>(d.day);
    FILETIME ft;
    SYSTEMTIME back{};
    if (!SystemTimeToFileTime(&st, &ft) || !FileTimeToSystemTime(&ft, &back))
        return -1;
    return (back.wDayOfWeek + 6) % 7;
}

std::string weekday_label(const Date& d)
{
    int w = weekday_monday_first(d);
    return w < 0 ? std::string() : kLabels[w];
}

std::string month_name(int month)
{
    return month >= 1 && month <= 12 ? kMonths[month - 1] : "";
}

std::string format(const char* fmt, int a, int b, int c)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

std::string stored_date(const Date& d)
{
    return format("%4i.%02i.%02i", d.year, d.month, d.day);
}

std::string dmy_date(const Date& d)
{
    return format("%02i.%02i.%4i", d.day, d.month, d.year);
}

std::string folder_of(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace e2e
