#include "app/mwin.h"
#include <cstdio>
#include <cstdlib>
#include <string>
#include "fw/handles.h"
#include "fw/log.h"
#include "app/mapp.h"
#include "options/mdlg.h"
#include "res/resource.h"
#include "view/mvie.h"

namespace {

const size_t kPathChars = 255;

bool file_readable(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

std::string windows_folder()
{
    if (const char* dir = std::getenv("WINDIR"))
        return dir;
    // Without WINDIR the system knows where Windows lives.
    char buf[MAX_PATH];
    UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string();
}

} // namespace

mwin::mwin()
{
    trm_log("mwin::mwin () OK ...\n");
}

mwin::~mwin()
{
    trm_log("mwin::~mwin () OK ...\n");
}

int mwin::OnCreate(CREATESTRUCTA* cs)
{
    if (fw::Frame::OnCreate(cs) == -1)
        return -1;
    CGUI& gui = papp->gui;
    gui.set_dpi(dpi());
    // Place and size are kept at 96 DPI, so the window looks as large on every screen.
    MoveWindow(hwnd_, gui.px(gui.xo), gui.px(gui.yo), gui.px(gui.xs), gui.px(gui.ys), FALSE);
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TRM));
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    tool_bar.create(hwnd_, ID_VIEW_TOOLBAR, IDR_TOOLBAR, {IDR_TOOLBAR, IDR_TOOLBAR_150, IDR_TOOLBAR_200}, gui.ft != 0,
                    dpi());
    status_bar.create(hwnd_, ID_VIEW_STATUS_BAR, {IDS_INDICATOR_CAPS, IDS_INDICATOR_NUM, IDS_INDICATOR_SCRL}, dpi());
    set_bars(&tool_bar, &status_bar);
    return 0;
}

void mwin::OnDpiChanged(int dpi)
{
    papp->gui.set_dpi(dpi);
    fw::Frame::OnDpiChanged(dpi);
}

bool mwin::OnCmdMsg(UINT id)
{
    switch (id) {
    case ID_SHOW_ALL: OnShowAll(); return true;
    case ID_RELOAD_VIEW: OnReloadView(); return true;
    case ID_OPTIONS: OnOptions(); return true;
    case ID_HELP: OnHelp(); return true;
    case ID_INFO: OnInfo(); return true;
    case ID_EXIT: OnEnde(); return true;
    case ID_IMPORT_ICAL: OnImportIcal(); return true;
    case ID_EXPORT_ICAL: OnExportIcal(); return true;
    default: return fw::Frame::OnCmdMsg(id);
    }
}

LRESULT mwin::wnd_proc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (papp->rem.on_message(msg, wp, lp))
        return 0;
    return fw::Frame::wnd_proc(msg, wp, lp);
}

void mwin::OnShowAll()
{
    papp->show_all = papp->show_all == 0 ? 1 : 0;
    mark_show_all();
    if (fw::View* view = GetActiveView())
        SendMessageA(view->hwnd(), WM_COMMAND, ID_REFILL, 0);
    // The frame clips its children: the grid painted on the view needs its own invalidation.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void mwin::OnReloadView()
{
    if (fw::View* view = GetActiveView())
        SendMessageA(view->hwnd(), WM_COMMAND, ID_RELOAD, 0);
    // The reload leaves "Show all Dates" off: button and check mark say so.
    mark_show_all();
}

void mwin::mark_show_all()
{
    const bool on = papp->show_all == 1;
    tool_bar.press(ID_SHOW_ALL, on);
    CheckMenuItem(GetMenu(hwnd_), ID_SHOW_ALL, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void mwin::OnOptions()
{
    // One options dialog at a time: a second request brings the open one forward.
    if (papp->opt_dlg && papp->opt_dlg->hwnd()) {
        SetForegroundWindow(papp->opt_dlg->hwnd());
        return;
    }
    delete papp->opt_dlg;
    papp->opt_dlg = new mdlg;
    papp->opt_dlg->init_mdlg();
}

void mwin::OnHelp()
{
    std::string viewer = windows_folder() + "\\hh.exe";
    if (viewer.size() > kPathChars || !file_readable(viewer)) {
        fw::message_box(hwnd_, "Error with Help, hh.exe is missing !\n", MB_OK | MB_ICONSTOP);
        return;
    }
    std::string exe = fw::module_path();
    std::string help = (exe.size() >= 3 ? exe.substr(0, exe.size() - 3) : std::string()) + "chm";
    if (help.size() > kPathChars || !file_readable(help)) {
        fw::message_box(hwnd_, "Error with Help, trm.chm is expected in the directory of trm.exe !\n",
                        MB_OK | MB_ICONSTOP);
        return;
    }
    std::string cmd = "hh.exe " + help;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOW;
    fw::Process started;
    CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &started.info);
}

void mwin::OnInfo()
{
    fw::message_box(hwnd_, "Termaris date planner, developed by Orvandel.", MB_OK | MB_ICONINFORMATION);
}

void mwin::OnEnde()
{
    trm_log("mwin::OnEnde () OK ...\n");
    SendMessageA(hwnd_, WM_CLOSE, 0, 0);
}
