// The month grid's entry collection as the painter runs it: straight over the list's row store,
// 100,000 rows, every row's Date, Time and To do cells read. Target: within 16 ms (one frame).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/day_texts.h"
#include "core/row_store.h"

namespace {

// Rows over 1990..2037, a few on every day, about 170 of them in any one month.
void fill_store(RowStore& store, int count)
{
    static const char* const texts[] = {"Dentist", "Meeting with the whole team", "Call back", "Shopping",
                                        "Birthday party at the lake house"};
    for (int i = 0; i < count; ++i) {
        const int year = 1990 + i % 48, month = 1 + i / 48 % 12, day = 1 + i / 576 % 31;
        char line[128];
        std::snprintf(line, sizeof line, "%4i.%02i.%02i\tMon\t%s\t%s\t%c\n", year, month, day, i % 3 ? "10:00" : "",
                      texts[i % 5], i % 4 ? '0' : '1');
        store.lines.push_back(line);
    }
    store.fill(true);
}

} // namespace

int main()
{
    const int count = 100000;
    RowStore store;
    fill_store(store, count);
    double best = 1e300;
    size_t chars = 0;
    for (int pass = 0; pass < 20; ++pass) {
        const auto start = std::chrono::steady_clock::now();
        const DayTexts texts = collect_month_texts(store, 12, 2011);
        const auto stop = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
        chars = 0;
        for (const std::string& t : texts)
            chars += t.size();
    }
    std::printf("grid collection over the row store, %zu rows: %.3f ms (best of 20); target < 16 ms\n",
                store.row_count(), best);
    std::printf("(December 2011 collected %zu characters)\n", chars);
    return best < 16.0 ? 0 : 1;
}
