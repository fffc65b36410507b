// Date lines from the events and to-dos of an iCalendar file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/ical/codec.h"
#include "core/ical/zone.h"

namespace ical {

struct ImportOptions {
    const ZoneSource* zones = nullptr;
    const TextCodec* codec = nullptr;
    // Today on this machine: occurrences run up to two years after it, and a long series keeps
    // the ones nearest to it.
    int today_day = 1, today_month = 1, today_year = 2000;
    // Date lines already there (each with its newline); an equal new line is not added.
    const std::vector<std::string_view>* existing = nullptr;
};

struct ImportResult {
    bool is_calendar = false;
    std::vector<std::string> lines; // the new entries, each ended by '\n'
    int imported = 0;
    int already_there = 0;
    int skipped = 0;
    // Events in a zone that nobody defines, taken as local time.
    int unknown_zones = 0;
    // Rules with parts beyond the supported ones, taken for their first occurrence only.
    int rules_taken_once = 0;
};

constexpr int max_occurrences = 1000;
constexpr int first_year = 1971;
constexpr int last_year = 2037;

ImportResult import_calendar(std::string_view bytes, const ImportOptions& options);

} // namespace ical
