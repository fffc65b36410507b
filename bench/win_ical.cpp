// Times Export iCalendar and Import iCalendar of 100,000 entries against the plain save of the
// same entries, in one run: the date lines through the system's code page and time-zone list
// into an .ics file, and that file back into an empty list (with its rebuild). The figures are
// the commands' work without their dialogs and message boxes.
#include <windows.h>
#include <algorithm>
#include <chrono>
#include <iterator>
#include <cstdio>
#include <random>
#include <string>
#include "app/mapp.h"
#include "core/row_store.h"
#include "store/file_io.h"
#include "store/ical_file.h"
#include "bench_data.h"
#include "scratch_folder.h"

static mapp bench_app;
mapp* papp = &bench_app;

namespace {

// The best of three runs, in milliseconds: the machine is shared, so the least disturbed run counts.
// after runs after each, outside the timing.
template <class Work, class After> double best_ms(Work work, After after)
{
    double runs[3];
    for (double& ms : runs) {
        const auto start = std::chrono::steady_clock::now();
        work();
        ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        after();
    }
    return *std::min_element(std::begin(runs), std::end(runs));
}

template <class Work> double best_ms(Work work)
{
    return best_ms(work, [] {});
}

// Every third entry done; a time on two of three, a range on every fourth of those.
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

} // namespace

int main()
{
    const std::string folder = scratch_folder("trm_bench_ical");
    const std::string dat = folder + "\\entries.dat", ics = folder + "\\entries.ics";
    const size_t count = 100000;
    RowStore store;
    fill(store, count);

    const double save = best_ms([&] { write_file_replacing(dat.c_str(), store.file_text()); });
    ical::ExportResult exported;
    const double out = best_ms([&] { export_ical_file(ics.c_str(), store, exported); });
    ical::ImportResult imported;
    SYSTEMTIME today;
    GetLocalTime(&today);
    // The list is emptied after each run, outside the timing: the command keeps what it imported.
    RowStore list;
    const double in = best_ms(
        [&] {
            import_ical_file(ics.c_str(), list, today.wDay, today.wMonth, today.wYear, imported);
            list.fill(false);
        },
        [&] { list = RowStore(); });

    std::printf("iCalendar export and import of %zu entries (best of 3)\n", count);
    std::printf("%-34s %9.1f ms\n", "plain save of the date file", save);
    std::printf("%-34s %9.1f ms  %5.2f x save  (%d exported)\n", "export to .ics", out, out / save, exported.exported);
    std::printf("%-34s %9.1f ms  %5.2f x save  (%d imported)\n", "import of that file, list rebuilt", in, in / save,
                imported.imported);
    const bool ok = out <= 1000 && in <= 1000 && out <= 3 * save && in <= 3 * save &&
                    exported.exported == static_cast<int>(count) && imported.imported == static_cast<int>(count);
    std::printf("targets (each at most 1 s and 3 x save): %s\n", ok ? "met" : "MISSED");
    DeleteFileA(dat.c_str());
    DeleteFileA(ics.c_str());
    return ok ? 0 : 1;
}
