#include "remote.h"
#include <commctrl.h>

namespace e2e {

namespace {

const UINT kSendTimeoutMs = 5000;
const int kTextRoom = 512;

} // namespace

LRESULT send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_NORMAL, kSendTimeoutMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

RemoteBlock::RemoteBlock(HWND window, size_t size) : size_(size)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = pid ? OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid) : nullptr;
    if (process_)
        base_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

RemoteBlock::~RemoteBlock()
{
    if (base_)
        VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_)
        CloseHandle(process_);
}

LPARAM RemoteBlock::address(size_t offset) const
{
    return reinterpret_cast<LPARAM>(base_ + offset);
}

bool RemoteBlock::write(const void* data, size_t size, size_t offset)
{
    SIZE_T done = 0;
    return base_ && offset + size <= size_ && WriteProcessMemory(process_, base_ + offset, data, size, &done) &&
           done == size;
}

bool RemoteBlock::read(void* data, size_t size, size_t offset) const
{
    SIZE_T done = 0;
    return base_ && offset + size <= size_ && ReadProcessMemory(process_, base_ + offset, data, size, &done) &&
           done == size;
}

std::string window_text(HWND hwnd)
{
    char buf[kTextRoom] = "";
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, kSendTimeoutMs,
                             &n))
        return {};
    return std::string(buf, n < sizeof buf ? n : sizeof buf - 1);
}

std::string class_name(HWND hwnd)
{
    char buf[256] = "";
    int n = GetClassNameA(hwnd, buf, sizeof buf);
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

RECT window_rect(HWND hwnd)
{
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

RECT client_to_screen(HWND hwnd, RECT rc)
{
    POINT tl{rc.left, rc.top}, br{rc.right, rc.bottom};
    ClientToScreen(hwnd, &tl);
    ClientToScreen(hwnd, &br);
    return RECT{tl.x, tl.y, br.x, br.y};
}

HWND focus_of(HWND any_window_of_thread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(any_window_of_thread, nullptr);
    return thread && GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// ---- list view

int list_count(HWND list)
{
    return static_cast<int>(send(list, LVM_GETITEMCOUNT));
}

std::string list_text(HWND list, int row, int col)
{
    RemoteBlock block(list, sizeof(LVITEMA) + kTextRoom);
    if (!block.ok())
        return {};
    LVITEMA item{};
    item.iSubItem = col;
    item.pszText = reinterpret_cast<char*>(block.address(sizeof item));
    item.cchTextMax = kTextRoom;
    char text[kTextRoom] = "";
    if (!block.write(&item, sizeof item) || !block.write(text, sizeof text, sizeof item))
        return {};
    LRESULT n = send(list, LVM_GETITEMTEXTA, row, block.address());
    if (n <= 0 || !block.read(text, sizeof text, sizeof item))
        return {};
    text[kTextRoom - 1] = '\0';
    return text;
}

std::vector<std::string> list_row(HWND list, int row, int cols)
{
    std::vector<std::string> cells;
    for (int c = 0; c < cols; ++c)
        cells.push_back(list_text(list, row, c));
    return cells;
}

std::vector<std::string> list_rows(HWND list, int cols)
{
    std::vector<std::string> rows;
    int n = list_count(list);
    for (int r = 0; r < n; ++r) {
        std::vector<std::string> cells = list_row(list, r, cols);
        std::string line;
        for (size_t c = 0; c < cells.size(); ++c)
            line += (c ? "\t" : "") + cells[c];
        rows.push_back(line);
    }
    return rows;
}

bool list_row_rect(HWND list, int row, RECT& screen)
{
    RemoteBlock block(list, sizeof(RECT));
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    if (!block.write(&rc, sizeof rc) || !send(list, LVM_GETITEMRECT, row, block.address()) ||
        !block.read(&rc, sizeof rc))
        return false;
    screen = client_to_screen(list, rc);
    return true;
}

int list_column_width(HWND list, int col)
{
    return static_cast<int>(send(list, LVM_GETCOLUMNWIDTH, col));
}

int list_selected(HWND list)
{
    return static_cast<int>(send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// ---- tab control

int tab_count(HWND tab)
{
    return static_cast<int>(send(tab, TCM_GETITEMCOUNT));
}

int tab_selected(HWND tab)
{
    return static_cast<int>(send(tab, TCM_GETCURSEL));
}

std::string tab_text(HWND tab, int index)
{
    RemoteBlock block(tab, sizeof(TCITEMA) + kTextRoom);
    if (!block.ok())
        return {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<char*>(block.address(sizeof item));
    item.cchTextMax = kTextRoom;
    char text[kTextRoom] = "";
    if (!block.write(&item, sizeof item) || !block.write(text, sizeof text, sizeof item) ||
        !send(tab, TCM_GETITEMA, index, block.address()))
        return {};
    if (!block.read(text, sizeof text, sizeof item))
        return {};
    text[kTextRoom - 1] = '\0';
    return text;
}

std::vector<std::string> tab_texts(HWND tab)
{
    std::vector<std::string> texts;
    int n = tab_count(tab);
    for (int i = 0; i < n; ++i)
        texts.push_back(tab_text(tab, i));
    return texts;
}

bool tab_rect(HWND tab, int index, RECT& screen)
{
    RemoteBlock block(tab, sizeof(RECT));
    RECT rc{};
    if (!block.ok() || !send(tab, TCM_GETITEMRECT, index, block.address()) || !block.read(&rc, sizeof rc))
        return false;
    screen = client_to_screen(tab, rc);
    return true;
}

// ---- tool bar

std::vector<int> toolbar_commands(HWND bar)
{
    std::vector<int> ids;
    int n = static_cast<int>(send(bar, TB_BUTTONCOUNT));
    RemoteBlock block(bar, sizeof(TBBUTTON));
    for (int i = 0; i < n && block.ok(); ++i) {
        TBBUTTON b{};
        if (!send(bar, TB_GETBUTTON, i, block.address()) || !block.read(&b, sizeof b))
            break;
        ids.push_back((b.fsStyle & BTNS_SEP) ? 0 : b.idCommand);
    }
    return ids;
}

bool toolbar_rect(HWND bar, UINT cmd, RECT& screen)
{
    LRESULT index = send(bar, TB_COMMANDTOINDEX, cmd);
    RemoteBlock block(bar, sizeof(RECT));
    RECT rc{};
    if (index < 0 || !block.ok() || !send(bar, TB_GETITEMRECT, index, block.address()) || !block.read(&rc, sizeof rc))
        return false;
    screen = client_to_screen(bar, rc);
    return true;
}

bool toolbar_pressed(HWND bar, UINT cmd)
{
    return send(bar, TB_ISBUTTONPRESSED, cmd) != 0;
}

std::string status_text(HWND bar, int part)
{
    size_t length = LOWORD(send(bar, SB_GETTEXTLENGTHA, part));
    RemoteBlock block(bar, length + 1);
    std::string text(length + 1, '\0');
    if (!block.ok() || !block.write(&text[0], text.size()))
        return {};
    send(bar, SB_GETTEXTA, part, block.address());
    if (!block.read(&text[0], text.size()))
        return {};
    text.resize(length);
    return text;
}

int check_state(HWND button)
{
    return static_cast<int>(send(button, BM_GETCHECK));
}

} // namespace e2e
