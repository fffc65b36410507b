// What the suite compares against: file bytes, log lines, registry values and calendar facts,
// each worked out here on its own rather than taken from the program.
#pragma once
#include <windows.h>
#include <map>
#include <string>
#include <vector>

namespace e2e {

// Control characters made readable: "\n", "\r", "\t".
std::string visible(const std::string& s);

std::string read_bytes(const std::string& path);
bool file_exists(const std::string& path);
void remove_file(const std::string& path);

// The log's lines, each with its '\n' (CR LF read as '\n').
std::vector<std::string> log_lines(const std::string& bytes);

// Compares a log with the expected lines. Two relaxations, both for lines whose number or
// place the program does not fix: a run of grid paint lines counts as one line, and the view's
// start-up line may stand anywhere between the date file read and the line after start-up.
// Returns an empty text when they agree, else where and how they differ.
std::string compare_log(const std::vector<std::string>& actual, const std::vector<std::string>& expected);
extern const char* const kGridPaintLine;

// A registry value as stored: its type and bytes.
struct RegValue {
    DWORD type = REG_NONE;
    std::string data;
    bool operator==(const RegValue& o) const { return type == o.type && data == o.data; }
};
RegValue dword_value(DWORD v);
// A string as RegSetValueExA stores it: with its terminator, which the system adds when the
// byte count leaves it out.
RegValue string_value(const std::string& s);
// Every value of a key by name; empty when the key is missing.
std::map<std::string, RegValue> registry_values(HKEY root, const char* key);
bool registry_key_exists(HKEY root, const char* key);
// Both maps side by side where they differ; empty when equal.
std::string compare_values(const std::map<std::string, RegValue>& actual,
                           const std::map<std::string, RegValue>& expected);
bool set_string(HKEY root, const char* key, const char* name, const std::string& value);

// Calendar facts from the system's own calendar.
struct Date {
    int year = 0, month = 0, day = 0;
};
Date today();
Date previous_month(Date d);
// Weekday with Monday as 0 and Sunday as 6.
int weekday_monday_first(const Date& d);
// The program's weekday label of a date ("Mon", "Thu", "Wen", "Thr", "Fri", "Sat", "Sun").
std::string weekday_label(const Date& d);
std::string month_name(int month);
std::string format(const char* fmt, int a, int b, int c);
// "YYYY.MM.DD", as the date file holds dates.
std::string stored_date(const Date& d);
// "DD.MM.YYYY", as the date format 1 shows and takes them.
std::string dmy_date(const Date& d);

// The folder part of a path, with its final backslash.
std::string folder_of(const std::string& path);

} // namespace e2e
