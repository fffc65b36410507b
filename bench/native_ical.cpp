// The iCalendar writer and reader on their own, without file or system calls: 100,000 entries
// exported, and that text imported into an empty list (with its rebuild), against the date
// file's own text of the same entries. Where the work of bench/win_ical.cpp goes, natively.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/ical/export.h"
#include "core/ical/import.h"
#include "core/row_store.h"

namespace {

template <class Work> double best_ms(Work work)
{
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best =
            std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

std::string two_digits(unsigned v)
{
    return {static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
}

// The entries of the Windows bench: every third done, a time on two of three, a range on every
// fourth of those.
void fill(RowStore& store, size_t count)
{
    std::mt19937 rng(static_cast<unsigned>(count));
    for (size_t i = 0; i < count; ++i) {
        std::string line = std::to_string(2000 + rng() % 30) + "." + two_digits(1 + rng() % 12) + "." +
                           two_digits(1 + rng() % 28) + "\tMon\t";
        if (i % 3 != 2)
            line += two_digits(rng() % 24) + ":" + two_digits(rng() % 60) + (i % 4 == 0 ? "-23:59" : "");
        line += "\tEntry number " + std::to_string(i) + ", caf\xe9 (" + std::to_string(rng()) + ")" +
                (i % 3 == 0 ? "\t1\n" : "\t0\n");
        store.lines.push_back(line);
    }
    store.fill(false);
}

std::vector<std::string_view> all_entries(const RowStore& store)
{
    std::vector<std::string_view> entries(store.lines.begin(), store.lines.end());
    for (size_t row = 0; row < store.row_count(); ++row)
        entries.push_back(store.joined(row));
    return entries;
}

class UtcOnly : public ical::ZoneSource {
public:
    std::optional<ical::ZoneRules> windows_zone(std::string_view) const override { return std::nullopt; }
    const ical::ZoneRules& local_zone() const override { return utc_; }

private:
    ical::ZoneRules utc_{ical::ZoneYear{}};
};

} // namespace

int main()
{
    const size_t count = 100000;
    RowStore store;
    fill(store, count);
    size_t saved = 0;
    const double save = best_ms([&] { saved = store.file_text().size(); });
    ical::ExportResult exported;
    const double out = best_ms([&] { exported = ical::export_calendar(all_entries(store), 0, ical::latin1_codec()); });
    const UtcOnly zones;
    ical::ImportOptions options;
    options.zones = &zones;
    options.codec = &ical::latin1_codec();
    options.today_year = 2024;
    int imported = 0;
    const double in = best_ms([&] {
        RowStore empty;
        const std::vector<std::string_view> existing;
        options.existing = &existing;
        ical::ImportResult r = ical::import_calendar(exported.text, options);
        imported = r.imported;
        empty.lines.insert(empty.lines.end(), std::make_move_iterator(r.lines.begin()),
                           std::make_move_iterator(r.lines.end()));
        empty.fill(false);
    });
    std::printf("iCalendar export and import of %zu entries, no file calls (best of 5)\n", count);
    std::printf("%-34s %9.1f ms  %zu bytes\n", "date file text", save, saved);
    std::printf("%-34s %9.1f ms  %5.2f x  %zu bytes (%d exported)\n", "export to .ics text", out, out / save,
                exported.text.size(), exported.exported);
    std::printf("%-34s %9.1f ms  %5.2f x  (%d imported)\n", "import of that text, list rebuilt", in, in / save,
                imported);
    return 0;
}
