#include "core/settings_rules.h"

#include "core/number_text.h"

namespace {

struct IntSetting {
    const char* name;
    int Settings::*field;
    int fallback;
};

// Read and defaulted in this order.
const IntSetting int_settings[] = {
    {"xo", &Settings::xo, 100}, {"yo", &Settings::yo, 100}, {"xs", &Settings::xs, 450}, {"ys", &Settings::ys, 350},
    {"df", &Settings::df, 1},   {"fs", &Settings::fs, 0},   {"ft", &Settings::ft, 1},   {"ss", &Settings::ss, 0},
    {"tm", &Settings::tm, 10},  {"wm", &Settings::wm, 60},  {"wf", &Settings::wf, 0},   {"wn", &Settings::wn, 1},
};

struct ColourSetting {
    const char* name;
    const char* fallback_hex;
};

const ColourSetting colour_settings[4] = {
    {"col0", "fcfcfc"}, {"col1", "e0e0e0"}, {"col2", "ff0000"}, {"col3", "ffbc00"}};

// The fixed size the window is kept on the screen with, whatever its stored size.
constexpr long long kept_width = 450;
constexpr long long kept_height = 350;
constexpr std::size_t path_chars = 255;
constexpr std::size_t exe_name_chars = 7; // "trm.exe"

void read_ints(SettingsStore& store, Settings& s)
{
    for (const IntSetting& setting : int_settings)
        s.*setting.field = store.get_int(setting.name);
}

void default_negative_ints(SettingsStore& store, Settings& s)
{
    for (const IntSetting& setting : int_settings) {
        if (s.*setting.field >= 0)
            continue;
        s.*setting.field = setting.fallback;
        store.set_int(setting.name, setting.fallback);
    }
}

// 64-bit, so that no screen size can overflow the comparison.
void keep_on_screen(Settings& s, int screen_w, int screen_h)
{
    if (s.xo > static_cast<long long>(screen_w) - kept_width)
        s.xo = 0;
    if (s.yo > static_cast<long long>(screen_h) - kept_height)
        s.yo = 0;
}

// Only exactly -1 means missing; any other stored value is used as it stands.
std::uint32_t load_colour(SettingsStore& store, const ColourSetting& setting)
{
    const int stored = store.get_int(setting.name);
    if (stored != -1)
        return static_cast<std::uint32_t>(stored);
    const std::uint32_t fallback = scan_hex(setting.fallback_hex).value_or(0);
    store.set_int(setting.name, static_cast<int>(fallback));
    return fallback;
}

} // namespace

Settings load_settings(SettingsStore& store, int screen_w, int screen_h)
{
    Settings s{};
    read_ints(store, s);
    default_negative_ints(store, s);
    keep_on_screen(s, screen_w, screen_h);
    for (int i = 0; i < 4; ++i)
        s.col_value[i] = load_colour(store, colour_settings[i]);
    return s;
}

std::uint32_t display_colour(std::uint32_t rrggbb)
{
    const std::uint32_t red = (rrggbb >> 16) & 0xffu;
    const std::uint32_t green = (rrggbb >> 8) & 0xffu;
    const std::uint32_t blue = rrggbb & 0xffu;
    return red | (green << 8) | (blue << 16);
}

std::string default_media_path(std::string_view exe_path)
{
    const std::size_t keep = exe_path.size() > exe_name_chars ? exe_path.size() - exe_name_chars : 0;
    return std::string(exe_path.substr(0, keep)) + "ring.mp3";
}

bool fits_path(std::string_view path)
{
    return path.size() <= path_chars;
}
