#include "store/ical_file.h"
#include <windows.h>
#include <iterator>
#include <string>
#include <vector>
#include "core/row_store.h"
#include "store/file_io.h"
#include "store/system_zones.h"

namespace {

// Every entry in the order of the date file, the line store first, then the rows; the views
// stay valid while the store does not change.
std::vector<std::string_view> all_entries(const RowStore& store)
{
    std::vector<std::string_view> entries(store.lines.begin(), store.lines.end());
    entries.reserve(store.lines.size() + store.row_count());
    for (size_t row = 0; row < store.row_count(); ++row)
        entries.push_back(store.joined(row));
    return entries;
}

ical::Seconds utc_now()
{
    SYSTEMTIME st;
    GetSystemTime(&st);
    return ical::to_seconds(ical::Civil{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond});
}

} // namespace

IcalRead import_ical_file(const char* path, RowStore& store, int today_day, int today_month, int today_year,
                          ical::ImportResult& result)
{
    MappedFile file;
    if (file.open(path) != ReadResult::ok)
        return IcalRead::unreadable;
    const std::vector<std::string_view> existing = all_entries(store);
    const SystemZones zones;
    ical::ImportOptions options;
    options.zones = &zones;
    options.codec = &ansi_codec();
    options.today_day = today_day;
    options.today_month = today_month;
    options.today_year = today_year;
    options.existing = &existing;
    result = ical::import_calendar(file.bytes(), options);
    if (!result.is_calendar)
        return IcalRead::not_calendar;
    if (store.lines.empty())
        store.lines.swap(result.lines);
    else
        store.lines.insert(store.lines.end(), std::make_move_iterator(result.lines.begin()),
                           std::make_move_iterator(result.lines.end()));
    result.lines.clear(); // moved into the store
    return IcalRead::ok;
}

bool export_ical_file(const char* path, const RowStore& store, ical::ExportResult& result)
{
    const std::vector<std::string_view> entries = all_entries(store);
    const ical::Seconds now = utc_now();
    return write_file_replacing(path, [&](const PieceWriter& write) {
        return ical::export_calendar(entries, now, ansi_codec(), write, result);
    });
}
