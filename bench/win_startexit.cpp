// Start-up and exit of trm.exe against a bare window program and a window with the same controls,
// all started the same way.
// Start: from CreateProcess until the program first waits in its message loop with nothing left
// to do (every paint done) and its main window answers a message. Exit: from the close request
// until the process has ended (trm.exe saves its dates on the way).
// Usage (under Wine): win_startexit.exe [folder of trm.exe, bare_window.exe, controls_window.exe]
#include <windows.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using clock_type = std::chrono::steady_clock;

double ms_since(clock_type::time_point t0)
{
    return std::chrono::duration<double, std::milli>(clock_type::now() - t0).count();
}

struct Found {
    DWORD pid;
    HWND hwnd;
};

BOOL CALLBACK find_top(HWND hwnd, LPARAM lp)
{
    auto* f = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == f->pid && IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) == nullptr) {
        f->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct Timing {
    double start_ms = -1, exit_ms = -1;
};

Timing run_once(const std::string& exe, const std::string& dir, const std::string& args)
{
    Timing t;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    auto t0 = clock_type::now();
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return t;
    // Idle: the program waits in its message loop with nothing left to do, every paint done.
    WaitForInputIdle(pi.hProcess, 120000);
    Found f{pi.dwProcessId, nullptr};
    while (!f.hwnd && ms_since(t0) < 120000) {
        EnumWindows(find_top, reinterpret_cast<LPARAM>(&f));
        if (!f.hwnd)
            Sleep(1);
    }
    DWORD_PTR answer = 0;
    if (f.hwnd && SendMessageTimeoutA(f.hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &answer))
        t.start_ms = ms_since(t0);
    auto t1 = clock_type::now();
    PostMessageA(f.hwnd, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0)
        t.exit_ms = ms_since(t1);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return t;
}

void write_dates(const std::string& path, int count)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    for (int i = 0; i < count; ++i) {
        int year = 2000 + i % 30, month = 1 + i % 12, day = 1 + i % 28;
        std::fprintf(f, "%4i.%02i.%02i\tMon\t%02i:%02i\tEntry number %i with some text\t%c\r\n", year, month, day,
                     i % 24, i % 60, i, i % 3 == 0 ? '1' : '0');
    }
    std::fclose(f);
}

// One program started again and again, with every figure kept.
struct Case {
    std::string label, exe, dir, args;
    int runs;
    std::vector<double> starts, exits;

    void run_once_more()
    {
        Timing t = run_once(exe, dir, args);
        if (t.start_ms >= 0)
            starts.push_back(t.start_ms);
        if (t.exit_ms >= 0)
            exits.push_back(t.exit_ms);
    }
};

double best(const std::vector<double>& v)
{
    return v.empty() ? -1 : *std::min_element(v.begin(), v.end());
}

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string folder(const std::string& parent, const std::string& name)
{
    std::string dir = parent + "\\" + name;
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

} // namespace

int main(int argc, char** argv)
{
    std::string bin = argc > 1 ? argv[1] : ".";
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    std::string dir = folder(cwd, "startexit");
    // Start-up under Wine varies by tens of milliseconds from run to run. The programs take
    // turns, so that a slow moment falls on all of them alike; the best of the runs repeats.
    const int runs = 9;
    std::vector<Case> cases;
    cases.push_back({"bare window", bin + "\\bare_window.exe", dir, "", runs, {}, {}});
    // The same controls as trm.exe's main window, none of its code: what the controls cost alone.
    for (const char* rows : {"0", "100000"})
        cases.push_back({std::string("controls window, ") + rows + " rows",
                         bin + "\\controls_window.exe",
                         dir,
                         rows,
                         runs,
                         {},
                         {}});
    for (int count : {0, 100000, 1000000}) {
        std::string data = folder(dir, std::to_string(count));
        write_dates(data + "\\trm.dat", count);
        cases.push_back({"trm.exe, " + std::to_string(count) + " entries",
                         bin + "\\trm.exe",
                         data,
                         "",
                         count >= 1000000 ? 2 : runs,
                         {},
                         {}});
    }
    for (int round = 0; round < runs; ++round)
        for (Case& c : cases)
            if (round < c.runs)
                c.run_once_more();

    const double bare_start = best(cases[0].starts), bare_exit = best(cases[0].exits);
    const double floor_0 = best(cases[1].starts), floor_100k = best(cases[2].starts);
    std::printf("start = until the first paint is done and the loop waits; exit = close until the process ended\n");
    std::printf("%-30s %10s %10s %12s %14s\n", "program (best of runs)", "start ms", "median", "x bare", "exit ms");
    for (const Case& c : cases) {
        double start = best(c.starts), exit = best(c.exits);
        std::printf("%-30s %10.0f %10.0f %11.2fx %10.0f (+%.0f)\n", c.label.c_str(), start, median(c.starts),
                    start / bare_start, exit, exit - bare_exit);
    }
    std::printf("trm.exe over the controls alone: 0 entries %.2fx, 100000 entries %.2fx\n",
                best(cases[3].starts) / floor_0, best(cases[4].starts) / floor_100k);
    return 0;
}
