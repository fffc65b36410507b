// Start-up and exit of trm.exe against a bare window program, both started the same way.
// Start: from CreateProcess until the main window answers a message (its first paint is done
// then: the program paints before its loop runs). Exit: from the close request until the
// process has ended (trm.exe saves its dates on the way).
// Usage (under Wine): win_startexit.exe [folder of trm.exe and bare_window.exe]
#include <windows.h>
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

Timing run_once(const std::string& exe, const std::string& dir)
{
    Timing t;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\"";
    auto t0 = clock_type::now();
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return t;
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

Timing best_of(int runs, const std::string& exe, const std::string& dir)
{
    Timing best;
    for (int i = 0; i < runs; ++i) {
        Timing t = run_once(exe, dir);
        if (best.start_ms < 0 || (t.start_ms >= 0 && t.start_ms < best.start_ms))
            best.start_ms = t.start_ms;
        if (best.exit_ms < 0 || (t.exit_ms >= 0 && t.exit_ms < best.exit_ms))
            best.exit_ms = t.exit_ms;
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    std::string bin = argc > 1 ? argv[1] : ".";
    std::string trm = bin + "\\trm.exe", bare = bin + "\\bare_window.exe";
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    std::string dir = std::string(cwd) + "\\startexit";
    CreateDirectoryA(dir.c_str(), nullptr);
    const int runs = 3;
    Timing floor = best_of(runs, bare, dir);
    std::printf("bare window: start %.0f ms, exit %.0f ms\n", floor.start_ms, floor.exit_ms);
    for (int count : {0, 100000, 1000000}) {
        write_dates(dir + "\\trm.dat", count);
        Timing t = best_of(count >= 1000000 ? 1 : runs, trm, dir);
        std::printf("trm.exe with %7i entries: start %6.0f ms (%.2fx bare), exit with save %6.0f ms (+%.0f ms over bare)\n",
                    count, t.start_ms, t.start_ms / floor.start_ms, t.exit_ms, t.exit_ms - floor.exit_ms);
    }
    return 0;
}
