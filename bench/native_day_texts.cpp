// Month-grid entry collection over 100,000 rows; the grid repaints with it, so it must stay well
// under one frame (16 ms). Also times the same pass with sscanf reading the dates, to show
// what the hand-written reader saves.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/day_texts.h"

namespace {

struct Row {
    std::string date, time, todo;
};

std::vector<Row> make_rows(std::size_t count)
{
    std::vector<Row> rows;
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int year = 2010 + static_cast<int>((i / 12) % 3); // a twelfth of the rows in 2011
        const int month = 1 + static_cast<int>(i % 12);
        const int day = 1 + static_cast<int>(i % 31);
        char date[16];
        std::snprintf(date, sizeof date, "%4i.%02i.%02i", year, month, day);
        rows.push_back({date, i % 2 ? "10:00" : "", "Meeting with the team"});
    }
    return rows;
}

// The Win32 side hands over views into the list's cells in the same way.
template <class Collect> double best_ms(const std::vector<Row>& rows, int passes, Collect collect, std::size_t& sink)
{
    double best = 1e300;
    for (int p = 0; p < passes; ++p) {
        const auto start = std::chrono::steady_clock::now();
        const DayTexts texts = collect(rows);
        const auto stop = std::chrono::steady_clock::now();
        for (const std::string& t : texts)
            sink += t.size();
        best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
    }
    return best;
}

DayTexts collect_with_reader(const std::vector<Row>& rows)
{
    std::size_t next = 0;
    return collect_day_texts(12, 2011, [&](DayRow& row) {
        if (next == rows.size())
            return false;
        row = {rows[next].date, rows[next].time, rows[next].todo};
        ++next;
        return true;
    });
}

DayTexts collect_with_sscanf(const std::vector<Row>& rows)
{
    DayTexts texts;
    for (const Row& r : rows) {
        int y = 0, m = 0, d = 0;
        if (r.date.size() != 10 || std::sscanf(r.date.c_str(), "%d.%d.%d", &y, &m, &d) != 3)
            continue;
        if (y != 2011 || m != 12 || d < 1 || d > 31)
            continue;
        std::string& t = texts[static_cast<std::size_t>(d - 1)];
        if (!r.time.empty())
            t += r.time + ' ';
        if (!r.todo.empty())
            t += r.todo + ' ';
    }
    return texts;
}

} // namespace

int main()
{
    const std::size_t count = 100000;
    const std::vector<Row> rows = make_rows(count);
    std::size_t sink = 0;
    const double reader_ms = best_ms(rows, 20, collect_with_reader, sink);
    const double sscanf_ms = best_ms(rows, 20, collect_with_sscanf, sink);
    std::printf("day texts, %zu rows: %.3f ms (best of 20), with sscanf %.3f ms; target < 16 ms\n", count, reader_ms,
                sscanf_ms);
    std::printf("(collected %zu characters)\n", sink);
    return reader_ms < 16.0 ? 0 : 1;
}
