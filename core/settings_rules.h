#pragma once
// How the settings holder turns the stored values into the settings it runs with.

#include <cstdint>
#include <string>
#include <string_view>

// The registry as the settings holder sees it: get_int gives -1 for a missing, mistyped or
// unreadable value; set_int gives 0 when written, 1 on failure.
struct SettingsStore {
    virtual int get_int(const char* name) = 0;
    virtual int set_int(const char* name, int v) = 0;
    virtual ~SettingsStore() = default;
};

struct Settings {
    int xo, yo, xs, ys, df, fs, ft, ss, tm, wm, wf, wn;
    std::uint32_t col_value[4]; // 0xRRGGBB as stored: background, highlight, Sunday, months
};

// Reads every value, writes the default back for each missing or negative one, and keeps the
// window's corner on a screen of the given size (in memory only: the store keeps what it had).
Settings load_settings(SettingsStore& store, int screen_w, int screen_h);

// 0xRRGGBB to a display colour with red in the low byte; bits 24-31 are ignored.
std::uint32_t display_colour(std::uint32_t rrggbb);

// Beside the executable: the last seven characters (the length of "trm.exe", whatever the real
// name) give way to "ring.mp3". The result may be too long for the media file field; see fits_path.
std::string default_media_path(std::string_view exe_path);

// Whether a path fits the 255 characters of a path field. A cut path names another file, so a
// path that does not fit is not to be stored.
bool fits_path(std::string_view path);
