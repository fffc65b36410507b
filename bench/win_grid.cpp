// Month and year grid paints with 100,000 rows in the list, into a 1000x700 memory bitmap and onto
// the running view (invalidate + UpdateWindow). Target: a whole month paint within 50 ms under Wine.
// Runs the program in a scratch folder "win_grid_run" below the current one.
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>
#include "app/mapp.h"
#include "res/resource.h"
#include "view/mvie.h"

static mapp the_app;
mapp* papp = &the_app;

namespace {

using clock_type = std::chrono::steady_clock;

const int kRows = 100000;
const int kPasses = 20;

void pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Rows over 1990..2037, a few on every day: about 170 in any one month.
std::vector<std::string> make_lines(int count)
{
    static const char* const texts[] = {"Dentist", "Meeting with the whole team", "Call back", "Shopping",
                                        "Birthday party at the lake house"};
    std::vector<std::string> lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int year = 1990 + i % 48, month = 1 + i / 48 % 12, day = 1 + i / 576 % 31;
        char line[128];
        std::snprintf(line, sizeof line, "%4i.%02i.%02i\tMon\t%s\t%s\t%c\n", year, month, day, i % 3 ? "10:00" : "",
                      texts[i % 5], i % 4 ? '0' : '1');
        lines.push_back(line);
    }
    return lines;
}

struct Times {
    double best = 1e300, median = 0;
};

Times time_passes(const std::function<void()>& work)
{
    std::vector<double> ms;
    for (int i = 0; i < kPasses; ++i) {
        const auto start = clock_type::now();
        work();
        ms.push_back(std::chrono::duration<double, std::milli>(clock_type::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

void report(const char* what, const Times& t)
{
    std::printf("%-40s best %7.2f ms, median %7.2f ms\n", what, t.best, t.median);
}

class MemoryBitmap {
public:
    MemoryBitmap(int w, int h) : w_(w), h_(h)
    {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bmp_ = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bmp_);
    }
    ~MemoryBitmap()
    {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    void paint(int mode)
    {
        fw::Dc dc{dc_, dc_, false};
        papp->grid.draw_view(dc, 0, 0, w_, h_, mode, 0, 0);
        GdiFlush();
    }

private:
    int w_, h_;
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
};

// The tab the user picks: the control's selection and its change notification.
void choose_tab(mvie* view, int tab)
{
    SendMessageA(view->tab_ctrl, TCM_SETCURSEL, tab, 0);
    NMHDR hdr{view->tab_ctrl, IDC_TAB, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(view->hwnd(), WM_NOTIFY, IDC_TAB, reinterpret_cast<LPARAM>(&hdr));
}

void repaint(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
}

void size_view_client(HWND frame, HWND view, int w, int h)
{
    RECT vr, fr;
    GetClientRect(view, &vr);
    GetWindowRect(frame, &fr);
    SetWindowPos(frame, nullptr, 0, 0, fr.right - fr.left + w - vr.right, fr.bottom - fr.top + h - vr.bottom,
                 SWP_NOMOVE | SWP_NOZORDER);
    pump();
}

} // namespace

int main()
{
    CreateDirectoryA("win_grid_run", nullptr);
    SetCurrentDirectoryA("win_grid_run");
    DeleteFileA("trm.dat");
    if (!papp->InitInstance()) {
        std::fprintf(stderr, "the application did not start\n");
        return 1;
    }
    mvie* view = active_view();
    HWND frame = papp->main_window();
    if (!view || !frame)
        return 1;
    repaint(view->hwnd());
    pump();
    size_view_client(frame, view->hwnd(), 1000, 700);

    papp->list.lines = make_lines(kRows);
    papp->grid.shown_month = 12;
    papp->grid.shown_year = 2011;
    const auto fill_start = clock_type::now();
    // The Month tab shows every date line: all of them become rows.
    choose_tab(view, 1);
    const double fill_ms = std::chrono::duration<double, std::milli>(clock_type::now() - fill_start).count();
    std::printf("%d rows in the list (Month tab: %.1f ms to fill)\n", papp->list.row_count(), fill_ms);

    MemoryBitmap bitmap(1000, 700);
    report("month grid, memory 1000x700:", time_passes([&] { bitmap.paint(1); }));
    report("year grid, memory 1000x700:", time_passes([&] { bitmap.paint(2); }));
    RECT rc;
    GetClientRect(view->hwnd(), &rc);
    char label[64];
    std::snprintf(label, sizeof label, "month grid, view %ldx%ld:", rc.right, rc.bottom);
    report(label, time_passes([&] { repaint(view->hwnd()); }));
    choose_tab(view, 2);
    std::snprintf(label, sizeof label, "year grid, view %ldx%ld:", rc.right, rc.bottom);
    report(label, time_passes([&] { repaint(view->hwnd()); }));
    std::printf("target: a month paint within 50 ms\n");

    // Nothing of this belongs in the scratch folder's date file.
    choose_tab(view, 0);
    papp->list.store.delete_all_rows();
    papp->list.lines.clear();
    DestroyWindow(frame);
    return 0;
}
