#include "win_test.h"
#include <commctrl.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <utility>
#include "fw/frame.h"
#include "res/resource.h"
#include "view/mvie.h"

namespace wt {

std::string startup_log;

void pump()
{
    MSG msg;
    for (int round = 0; round < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++round) {
        if (papp->pre_translate(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void command(UINT id)
{
    SendMessageA(papp->main_window(), WM_COMMAND, id, 0);
}

void paint_view()
{
    if (mvie* view = active_view()) {
        InvalidateRect(view->hwnd(), nullptr, TRUE);
        UpdateWindow(view->hwnd());
    }
}

void set_view_client_size(int w, int h, bool full_paint)
{
    mvie* view = active_view();
    HWND frame = papp->main_window();
    RECT vr, fr;
    GetClientRect(view->hwnd(), &vr);
    GetWindowRect(frame, &fr);
    int fw = fr.right - fr.left + (w - vr.right);
    int fh = fr.bottom - fr.top + (h - vr.bottom);
    SetWindowPos(frame, nullptr, 0, 0, fw, fh, SWP_NOMOVE | SWP_NOZORDER);
    pump();
    if (full_paint)
        paint_view();
    else if (mvie* view = active_view())
        UpdateWindow(view->hwnd());
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string read_text(const std::string& path)
{
    std::string bytes = read_file(path), text;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
            text += bytes[i];
    return text;
}

void write_file(const std::string& path, const std::string& bytes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool file_exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string temp_dir(const char* name)
{
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    std::string dir = std::string(cwd) + "\\" + name;
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

std::string window_text(HWND hwnd)
{
    char buf[1024] = "";
    GetWindowTextA(hwnd, buf, sizeof buf);
    return buf;
}

// The local date days away from today as the date file holds it.
std::string date_in_days(int days)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    t.QuadPart += static_cast<long long>(days) * 24 * 3600 * 10000000LL;
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    SYSTEMTIME day;
    FileTimeToSystemTime(&ft, &day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d.%02d.%02d", day.wYear, day.wMonth, day.wDay);
    return text;
}

void choose_tab(int tab)
{
    mvie* view = active_view();
    SendMessageA(view->tab_ctrl, TCM_SETCURSEL, tab, 0);
    NMHDR hdr{view->tab_ctrl, IDC_TAB, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(view->hwnd(), WM_NOTIFY, IDC_TAB, reinterpret_cast<LPARAM>(&hdr));
}

void clear_settings()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, settings_key);
}

namespace {
MessageBoxes* g_boxes = nullptr;
}

MessageBoxes::MessageBoxes(int answer) : answer_(answer)
{
    g_boxes = this;
    hook_ = SetWindowsHookExA(WH_CBT, hook, nullptr, GetCurrentThreadId());
}

MessageBoxes::~MessageBoxes()
{
    UnhookWindowsHookEx(hook_);
    g_boxes = nullptr;
}

std::vector<std::string> MessageBoxes::texts() const
{
    std::vector<std::string> out;
    for (const Box& b : boxes_)
        out.push_back(b.text);
    return out;
}

LRESULT CALLBACK MessageBoxes::hook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_ACTIVATE && g_boxes) {
        HWND box = reinterpret_cast<HWND>(wp);
        char cls[32] = "";
        GetClassNameA(box, cls, sizeof cls);
        // Only message boxes: a dialog with the message text control.
        if (std::string(cls) == "#32770" && GetDlgItem(box, 0xFFFF)) {
            Box b;
            b.caption = window_text(box);
            b.text = window_text(GetDlgItem(box, 0xFFFF));
            // The icon control's id differs between Windows and the versions of Wine.
            HICON icon = nullptr;
            for (int id : {0x14, 0x43c, 1088})
                if (!icon)
                    icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, id, STM_GETICON, 0, 0));
            b.exclamation = icon && icon == LoadIcon(nullptr, IDI_EXCLAMATION);
            b.stop = icon && icon == LoadIcon(nullptr, IDI_HAND);
            b.information = icon && icon == LoadIcon(nullptr, IDI_ASTERISK);
            g_boxes->boxes_.push_back(b);
            int answer = g_boxes->answer_;
            if (!GetDlgItem(box, answer))
                answer = GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

namespace {
Activations* g_activations = nullptr;
}

Activations::Activations(std::function<void(HWND)> seen) : seen_(std::move(seen))
{
    g_activations = this;
    hook_ = SetWindowsHookExA(WH_CBT, hook, nullptr, GetCurrentThreadId());
}

Activations::~Activations()
{
    UnhookWindowsHookEx(hook_);
    g_activations = nullptr;
}

LRESULT CALLBACK Activations::hook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_ACTIVATE && g_activations)
        g_activations->seen_(reinterpret_cast<HWND>(wp));
    return CallNextHookEx(nullptr, code, wp, lp);
}

FreshSettings::FreshSettings(const char* folder)
{
    GetCurrentDirectoryA(MAX_PATH, cwd_);
    SetCurrentDirectoryA(temp_dir(folder).c_str());
    saved_log_ = papp->log_file;
    gui_ = new CGUI;
}

FreshSettings::~FreshSettings()
{
    delete gui_;
    if (papp->log_file && papp->log_file != saved_log_)
        std::fclose(papp->log_file);
    papp->log_file = saved_log_;
    SetCurrentDirectoryA(cwd_);
}

void set_rows(const std::vector<std::string>& lines)
{
    CLst& list = papp->list;
    list.store.delete_all_rows();
    for (const std::string& line : lines)
        list.store.add_line(line);
    list.refresh_rows();
}

void reset_dates(const std::vector<std::string>& lines)
{
    CLst& list = papp->list;
    list.hide_edit();
    if (mvie* view = active_view()) {
        if (view->selected_tab() != 0) {
            SendMessageA(view->tab_ctrl, TCM_SETCURSEL, 0, 0);
            ShowWindow(list.hwnd(), SW_SHOW);
        }
        view->click_x = view->click_y = 0;
    }
    if (papp->show_all)
        command(ID_SHOW_ALL);
    list.store.delete_all_rows();
    list.lines = lines;
    list.sel_item = -1;
    list.store.sort_up = 0;
    command(ID_RELOAD_VIEW);
    pump();
}

MemoryBitmap::MemoryBitmap(int w, int h) : w_(w), h_(h)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bmp_);
}

MemoryBitmap::~MemoryBitmap()
{
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
}

} // namespace wt
