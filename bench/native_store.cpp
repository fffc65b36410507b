// Times the date store against a plain decode / split / sort / join / encode of the same file.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench_data.h"
#include "core/row_store.h"
#include "core/date_text.h"

namespace {

// The plain way, without the store: what the work costs at least.
size_t plain_round_trip(const std::string& bytes)
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
    for (size_t start = 0; start < bytes.size();) {
        size_t lf = bytes.find('\n', start);
        if (lf == std::string::npos)
            lf = bytes.size();
        size_t end = lf > start && bytes[lf - 1] == '\r' ? lf - 1 : lf;
        std::string& line = lines.emplace_back();
        line.reserve(end - start + 1);
        line.append(bytes, start, end - start);
        line += '\n';
        start = lf + 1;
    }
    using Fields = std::array<std::string_view, 5>;
    std::vector<Fields> rows(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view rest = lines[i];
        for (std::string_view& field : rows[i]) {
            const size_t cut = rest.find_first_of("\t\n");
            field = rest.substr(0, cut);
            rest.remove_prefix(cut == std::string_view::npos ? rest.size() : cut + 1);
        }
    }
    std::sort(rows.begin(), rows.end(), [](const Fields& a, const Fields& b) { return b[0] < a[0]; });
    std::string out;
    out.reserve(bytes.size());
    for (const Fields& row : rows) {
        for (size_t k = 0; k < row.size(); ++k) {
            if (k > 0)
                out += '\t';
            out += row[k];
        }
        out += "\r\n";
    }
    return out.size();
}

void report(size_t count, const char* figure, double ms, double floor_ms)
{
    std::printf("%8zu lines  %-26s %9.1f ms  %5.2fx floor\n", count, figure, ms, ms / floor_ms);
}

void bench(size_t count)
{
    const std::string bytes = date_file(count);
    size_t sink = 0;
    const double floor_ms = time_ms([&] { sink += plain_round_trip(bytes); });
    report(count, "floor (plain C++)", floor_ms, floor_ms);

    RowStore store;
    double total = 0;
    auto step = [&](const char* figure, auto work) {
        const double ms = time_ms(work);
        total += ms;
        report(count, figure, ms, floor_ms);
    };
    step("decode + load", [&] { store.lines = dl::decode_lines(bytes); });
    step("fill(false)", [&] { store.fill(false); });
    step("fill(true)", [&] { store.fill(true); });
    step("re-sort (flip + fill)", [&] {
        store.sort_up ^= 1;
        store.fill(true);
    });
    step("read back every row", [&] {
        for (size_t i = 0; i < store.row_count(); ++i)
            sink += store.read_back(i).size();
    });
    step("encode", [&] { sink += store.file_text().size(); });
    report(count, "store total", total, floor_ms);
    if (sink == 0)
        std::puts("(nothing processed)");
}

} // namespace

int main()
{
    for (size_t count : {size_t(10000), size_t(100000), size_t(1000000)})
        bench(count);
    return 0;
}
