#include "input.h"
#include <vector>

namespace e2e {

namespace {

const int kPollMs = 20;

bool is_extended(WORD vk)
{
    switch (vk) {
    case VK_HOME:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_DELETE:
    case VK_INSERT:
    case VK_PRIOR:
    case VK_NEXT: return true;
    default: return false;
    }
}

INPUT key_input(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (is_extended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

INPUT mouse_input(DWORD flags, POINT screen)
{
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    // Rounded up, so that the system's scaling back to pixels lands on the pixel asked for.
    in.mi.dx = static_cast<LONG>((static_cast<long long>(screen.x) * 65536 + w - 1) / w);
    in.mi.dy = static_cast<LONG>((static_cast<long long>(screen.y) * 65536 + h - 1) / h);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return in;
}

void send_inputs(std::vector<INPUT>& inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool cursor_at(POINT screen)
{
    POINT now{};
    return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
}

} // namespace

bool wait_for(const std::function<bool()>& condition, int timeout_ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (static_cast<int>(GetTickCount() - start) >= timeout_ms)
            return false;
        Sleep(kPollMs);
    }
}

bool wait_idle(HWND window)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
}

bool bring_to_front(HWND window)
{
    if (GetForegroundWindow() == window)
        return true;
    SetForegroundWindow(window);
    return wait_for([window] { return GetForegroundWindow() == window; }, 2000);
}

POINT centre(const RECT& rc)
{
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void move_mouse(POINT screen)
{
    std::vector<INPUT> in{mouse_input(0, screen)};
    send_inputs(in);
    // Takes the display's own pointer along, which Wine leaves behind on injected moves: events
    // from the display would otherwise put the pointer back over an earlier spot.
    SetCursorPos(screen.x, screen.y);
    wait_for([screen] { return cursor_at(screen); }, 2000);
}

void click(POINT screen)
{
    move_mouse(screen);
    std::vector<INPUT> in{mouse_input(MOUSEEVENTF_LEFTDOWN, screen), mouse_input(MOUSEEVENTF_LEFTUP, screen)};
    send_inputs(in);
}

void press(POINT screen)
{
    std::vector<INPUT> in{mouse_input(MOUSEEVENTF_LEFTDOWN, screen)};
    send_inputs(in);
}

void release(POINT screen)
{
    std::vector<INPUT> in{mouse_input(MOUSEEVENTF_LEFTUP, screen)};
    send_inputs(in);
}

void double_click(POINT screen)
{
    move_mouse(screen);
    std::vector<INPUT> in{mouse_input(MOUSEEVENTF_LEFTDOWN, screen), mouse_input(MOUSEEVENTF_LEFTUP, screen),
                          mouse_input(MOUSEEVENTF_LEFTDOWN, screen), mouse_input(MOUSEEVENTF_LEFTUP, screen)};
    send_inputs(in);
}

void park_mouse()
{
    move_mouse(POINT{GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2});
}

void key(WORD vk)
{
    std::vector<INPUT> in{key_input(vk, false), key_input(vk, true)};
    send_inputs(in);
}

void key_chord(WORD modifier, WORD vk)
{
    std::vector<INPUT> in{key_input(modifier, false), key_input(vk, false), key_input(vk, true),
                          key_input(modifier, true)};
    send_inputs(in);
}

void type_text(const std::string& text)
{
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        if (scan == -1) {
            INPUT in[2]{};
            for (int i = 0; i < 2; ++i) {
                in[i].type = INPUT_KEYBOARD;
                in[i].ki.wScan = static_cast<unsigned char>(c);
                in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
            }
            SendInput(2, in, sizeof(INPUT));
            continue;
        }
        WORD vk = LOBYTE(scan);
        if (HIBYTE(scan) & 1)
            key_chord(VK_SHIFT, vk);
        else
            key(vk);
    }
}

} // namespace e2e
