// The main window's controls and nothing else: a frame with menu, tool bar and status bar, a
// form with a tab control and a report list of five columns, and six hidden edit boxes. The
// floor that start-up measurements of trm.exe are read against: what these controls cost on
// the platform, before any date is read. Optional argument: rows the list claims to have.
#include <windows.h>
#include <commctrl.h>
#include <cstdlib>

namespace {

HWND g_form, g_tab, g_list, g_tool, g_status;

HMENU make_menu()
{
    HMENU bar = CreateMenu();
    const char* popups[] = {"File", "Dates", "View", "Help"};
    for (int p = 0; p < 4; ++p) {
        HMENU popup = CreatePopupMenu();
        for (int i = 0; i < 4; ++i)
            AppendMenuA(popup, MF_STRING, 1000 + p * 10 + i, "Command");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), popups[p]);
    }
    return bar;
}

HWND make_tool_bar(HWND parent, HINSTANCE inst)
{
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT,
                               0, 0, 0, 0, parent, reinterpret_cast<HMENU>(1), inst, nullptr);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
    TBADDBITMAP add{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
    SendMessageA(bar, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&add));
    TBBUTTON buttons[7]{};
    for (int i = 0; i < 7; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = 2000 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = TBSTYLE_BUTTON;
    }
    SendMessageA(bar, TB_ADDBUTTONS, 7, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(bar, TB_AUTOSIZE, 0, 0);
    return bar;
}

void make_form(HWND parent, HINSTANCE inst, int rows)
{
    g_form = CreateWindowExA(WS_EX_CONTROLPARENT, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0,
                             parent, nullptr, inst, nullptr);
    g_tab = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, g_form, nullptr, inst, nullptr);
    const char* tabs[] = {"List", "Month", "Year"};
    for (int i = 0; i < 3; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(tabs[i]);
        SendMessageA(g_tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    g_list = CreateWindowExA(0, WC_LISTVIEWA, "",
                             WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0,
                             0, 0, g_form, nullptr, inst, nullptr);
    const int widths[] = {85, 35, 70, 200, 40};
    for (int i = 0; i < 5; ++i) {
        LVCOLUMNA col{};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.fmt = LVCFMT_CENTER;
        col.cx = widths[i];
        col.pszText = const_cast<char*>("Column");
        col.iSubItem = i;
        SendMessageA(g_list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
    SendMessageA(g_list, LVM_SETITEMCOUNT, rows, 0);
    for (int i = 0; i < 6; ++i)
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_BORDER, 0, 0, 0, 0, g_form, nullptr, inst, nullptr);
}

void layout(HWND frame)
{
    RECT rc;
    GetClientRect(frame, &rc);
    SendMessageA(g_tool, TB_AUTOSIZE, 0, 0);
    SendMessageA(g_status, WM_SIZE, 0, 0);
    RECT tool, status;
    GetWindowRect(g_tool, &tool);
    GetWindowRect(g_status, &status);
    int top = tool.bottom - tool.top, bottom = rc.bottom - (status.bottom - status.top);
    MoveWindow(g_form, 0, top, rc.right, bottom - top, TRUE);
    MoveWindow(g_tab, 0, 0, rc.right, 24, TRUE);
    MoveWindow(g_list, 0, 23, rc.right, bottom - top - 23, TRUE);
}

LRESULT CALLBACK frame_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SIZE:
        if (g_list)
            layout(hwnd);
        return 0;
    case WM_NOTIFY: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lp);
        if (info->hdr.code == LVN_GETDISPINFOA && (info->item.mask & LVIF_TEXT))
            lstrcpynA(info->item.pszText, "2011.05.02", info->item.cchTextMax);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmd, int)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    int rows = std::atoi(cmd);
    WNDCLASSA wc{};
    wc.lpfnWndProc = frame_proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "ControlsWindow";
    RegisterClassA(&wc);
    HWND frame = CreateWindowA("ControlsWindow", "controls", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100, 100, 450, 350,
                               nullptr, make_menu(), inst, nullptr);
    g_tool = make_tool_bar(frame, inst);
    g_status = CreateWindowExA(0, STATUSCLASSNAMEA, "Ready", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, frame,
                               nullptr, inst, nullptr);
    make_form(frame, inst, rows);
    layout(frame);
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
