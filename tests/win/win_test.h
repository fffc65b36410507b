// Helpers of the in-process Windows tests: the running application, message pumping,
// message boxes closed without a person, files, registry and commands.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "app/mapp.h"

namespace wt {

// The start-up log as it stood right after the application had started (before any test).
extern std::string startup_log;

// Handles every message that is waiting (paints, timers already due, posted commands).
void pump();
// Sends a command to the main frame, as the menu or tool bar does.
void command(UINT id);
// Repaints the view at once so that its first-paint start-up and layout run.
void paint_view();
// Resizes the main frame so that the view's client area gets the given size, then repaints the
// view whole (full_paint) or only handles the paints the size change asked for.
void set_view_client_size(int w, int h, bool full_paint = true);

std::string read_file(const std::string& path);
// The file as text: CR LF read as '\n'.
std::string read_text(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);
bool file_exists(const std::string& path);
std::string temp_dir(const char* name);
std::string window_text(HWND hwnd);

// The local date days away from today as the date file holds it, "YYYY.MM.DD".
std::string date_in_days(int days);

// Changes the view's tab as the user does: the control's selection, then its notification.
void choose_tab(int tab);

// Removes the settings key, so the next settings holder starts as on a first run.
void clear_settings();

// A 32-bit memory bitmap in a device context of its own: paint into dc(), read the pixels back.
class MemoryBitmap {
public:
    MemoryBitmap(int w, int h);
    ~MemoryBitmap();
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;
    HDC dc() const { return dc_; }
    int width() const { return w_; }
    int height() const { return h_; }
    COLORREF pixel(int x, int y) const { return GetPixel(dc_, x, y); }
    // The stored pixel value, for comparing two drawings bit for bit.
    DWORD raw(int x, int y) const { return bits_[y * w_ + x]; }

private:
    int w_, h_;
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

// Records and closes every message box shown while it lives (an OK press, or the given answer).
class MessageBoxes {
public:
    struct Box {
        std::string caption, text;
        bool exclamation = false, stop = false, information = false;
    };
    explicit MessageBoxes(int answer = IDOK);
    ~MessageBoxes();
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;
    const std::vector<Box>& shown() const { return boxes_; }
    std::vector<std::string> texts() const;

private:
    static LRESULT CALLBACK hook(int code, WPARAM wp, LPARAM lp);
    HHOOK hook_ = nullptr;
    int answer_;
    std::vector<Box> boxes_;
};

// Calls seen with every window that becomes active on this thread while it lives (a CBT hook).
class Activations {
public:
    explicit Activations(std::function<void(HWND)> seen);
    ~Activations();
    Activations(const Activations&) = delete;
    Activations& operator=(const Activations&) = delete;

private:
    static LRESULT CALLBACK hook(int code, WPARAM wp, LPARAM lp);
    std::function<void(HWND)> seen_;
    HHOOK hook_ = nullptr;
};

// A settings holder of its own, read in a folder of its own so the program's log stays as it is.
class FreshSettings {
public:
    explicit FreshSettings(const char* folder = "settings");
    ~FreshSettings();
    FreshSettings(const FreshSettings&) = delete;
    FreshSettings& operator=(const FreshSettings&) = delete;
    CGUI& gui() { return *gui_; }

private:
    char cwd_[MAX_PATH];
    FILE* saved_log_;
    CGUI* gui_;
};

// The given date lines become the rows as they stand, whatever their status; no rebuild.
void set_rows(const std::vector<std::string>& lines);

// Puts the list back to a known content: the given date lines as the file "trm.dat" was read,
// Show all off, editor closed, List tab selected.
void reset_dates(const std::vector<std::string>& lines);

} // namespace wt
