// Screenshots: a part of the screen copied from the screen's device context, kept as 24-bit
// pixels for checks and written as BMP files.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace e2e {

class Shot {
public:
    Shot() = default;
    // Copies the screen area (screen coordinates) as it is now.
    static Shot take(const RECT& area);
    // Takes the area until two pictures in a row agree, so a paint in progress is not caught.
    static Shot take_settled(const RECT& area);

    bool empty() const { return width_ <= 0 || height_ <= 0; }
    bool contains(int screen_x, int screen_y) const;
    // Pixel at a screen position as RGB(); CLR_INVALID outside the area.
    COLORREF pixel(int screen_x, int screen_y) const;
    // Pixels within the screen rectangle that are near black (text, not fills).
    int dark_pixels(const RECT& screen) const;
    bool save_bmp(const std::string& path) const;
    bool operator==(const Shot& other) const;

private:
    RECT area_{};
    int width_ = 0, height_ = 0, stride_ = 0;
    // Rows top to bottom, blue, green, red per pixel.
    std::vector<unsigned char> bgr_;
};

// A top-level window without its frame and caption, which stay unpainted where no window
// manager draws them: the client area and the menu bar above it.
RECT painted_rect(HWND hwnd);

// Union of the painted parts of the visible top-level windows of a process (tool tips left out).
RECT process_area(DWORD pid);

} // namespace e2e
