// Times the date list window with large date files: loading, rebuilding with Show all off and
// on, re-sorting by the Date header, reading every row back through the control and through
// the store, and one paint, each against a plain read / split / sort / join of the same file.
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>
#include "app/mapp.h"
#include "fw/frame.h"
#include "res/resource.h"
#include "store/file_io.h"
#include "store/mdoc.h"
#include "view/mvie.h"
#include "scratch_folder.h"

static mapp bench_app;
mapp* papp = &bench_app;

namespace {

using Clock = std::chrono::steady_clock;

template <class Work> double time_ms(Work work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string two_digits(unsigned v)
{
    return {static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
}

// Every third entry done; a time on two of three.
std::string date_file(size_t count)
{
    std::mt19937 rng(static_cast<unsigned>(count));
    std::string bytes;
    bytes.reserve(count * 48);
    for (size_t i = 0; i < count; ++i) {
        bytes += std::to_string(2000 + rng() % 30) + "." + two_digits(1 + rng() % 12) + "." +
                 two_digits(1 + rng() % 28) + "\tMon\t";
        if (i % 3 != 2)
            bytes += two_digits(rng() % 24) + ":" + two_digits(rng() % 60);
        bytes += "\tEntry number " + std::to_string(i) + (i % 3 == 0 ? "\t1\r\n" : "\t0\r\n");
    }
    return bytes;
}

// What the work costs at least: the file read, split into lines, sorted by date, joined again.
size_t plain_floor(const char* path)
{
    std::string bytes;
    read_whole_file(path, bytes);
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < bytes.size();) {
        size_t lf = bytes.find('\n', start);
        if (lf == std::string::npos)
            lf = bytes.size();
        lines.emplace_back(bytes.data() + start, lf - start);
        start = lf + 1;
    }
    std::stable_sort(lines.begin(), lines.end(), [](std::string_view a, std::string_view b) {
        return b.substr(0, b.find('\t')) < a.substr(0, a.find('\t'));
    });
    std::string out;
    out.reserve(bytes.size());
    for (std::string_view l : lines) {
        out += l;
        out += '\n';
    }
    return out.size();
}

void pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void click_date_header()
{
    HWND list = papp->list.hwnd();
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = list;
    nm.hdr.idFrom = IDC_LIST;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = 0;
    SendMessageA(GetParent(list), WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&nm));
}

size_t read_through_control()
{
    HWND list = papp->list.hwnd();
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    char buf[256];
    size_t total = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < papp->list.col_count; ++c) {
            LVITEMA item{};
            item.iSubItem = c;
            item.pszText = buf;
            item.cchTextMax = sizeof buf;
            total += static_cast<size_t>(SendMessageA(list, LVM_GETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item)));
        }
    return total;
}

size_t read_through_store()
{
    size_t total = 0;
    for (int r = 0; r < papp->list.row_count(); ++r)
        for (int c = 0; c < papp->list.col_count; ++c)
            total += papp->list.cell_text(r, c).size();
    return total;
}

void empty_list()
{
    papp->show_all = 0;
    papp->list.store.delete_all_rows();
    papp->list.lines.clear();
    papp->list.refresh_rows();
}

void report(const char* what, double ms, double floor_ms)
{
    std::printf("  %-34s %9.1f ms  %7.2f x floor\n", what, ms, floor_ms > 0 ? ms / floor_ms : 0.0);
}

void run(size_t count)
{
    char path[64];
    std::snprintf(path, sizeof path, "dates_%u.dat", static_cast<unsigned>(count));
    const std::string bytes = date_file(count);
    write_file_replacing(path, bytes);
    auto* doc = static_cast<mdoc*>(papp->main_frame()->document());
    CLst& list = papp->list;
    empty_list();

    size_t sink = 0;
    const double floor_ms = time_ms([&] { sink += plain_floor(path); });
    std::printf("%u lines (%u bytes); floor (read, split, sort, join) %.1f ms\n", static_cast<unsigned>(count),
                static_cast<unsigned>(bytes.size()), floor_ms);
    report("load into lines", time_ms([&] { doc->read_file(path); }), floor_ms);
    report("fill_list, Show all off", time_ms([&] { list.fill_list(); }), floor_ms);
    std::printf("    rows %d, held lines %u\n", list.row_count(), static_cast<unsigned>(list.lines.size()));
    papp->show_all = 1;
    report("fill_list, Show all on", time_ms([&] { list.fill_list(); }), floor_ms);
    report("Date header click (ascending)", time_ms(click_date_header), floor_ms);
    report("Date header click (descending)", time_ms(click_date_header), floor_ms);
    report("read all cells via LVM_GETITEMTEXT", time_ms([&] { sink += read_through_control(); }), floor_ms);
    report("read all cells via the store", time_ms([&] { sink += read_through_store(); }), floor_ms);
    report("paint once (UpdateWindow)", time_ms([&] {
               InvalidateRect(list.hwnd(), nullptr, TRUE);
               UpdateWindow(list.hwnd());
           }),
           floor_ms);
    empty_list();
    DeleteFileA(path);
    if (sink == 1)
        std::printf("\n");
}

} // namespace

int main()
{
    const std::string scratch = scratch_folder("trm_bench_list");
    SetCurrentDirectoryA(scratch.c_str());
    DeleteFileA("trm.dat");
    if (!papp->InitInstance()) {
        std::fprintf(stderr, "the application did not start\n");
        return 1;
    }
    if (mvie* view = active_view()) {
        InvalidateRect(view->hwnd(), nullptr, TRUE);
        UpdateWindow(view->hwnd());
    }
    pump();
    if (!papp->list.hwnd()) {
        std::fprintf(stderr, "the list window was not created\n");
        return 1;
    }
    for (size_t count : {size_t{10000}, size_t{100000}, size_t{1000000}})
        run(count);
    DestroyWindow(papp->main_window());
    pump();
    return 0;
}
