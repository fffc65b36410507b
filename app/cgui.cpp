#include "app/cgui.h"
#include <cstdio>
#include <cstring>
#include <string>
#include "fw/log.h"
#include "app/mapp.h"
#include "fw/registry.h"
#include "core/settings_rules.h"
#include "fw/app.h"

const char* const settings_key = "Software\\Orvandel\\Trm";

namespace {

class RegistryStore : public SettingsStore {
public:
    int get_int(const char* name) override { return reg_get_int("HKCU", settings_key, name); }
    int set_int(const char* name, int v) override { return reg_set_int("HKCU", settings_key, name, v); }
};

void copy_path(char (&field)[256], const std::string& text)
{
    size_t n = text.size() < sizeof field - 1 ? text.size() : sizeof field - 1;
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

} // namespace

CGUI::CGUI()
{
    papp->log_file = std::fopen("trm.log", "wt");
    trm_log("Logfile created by trm.exe:\n");
    dpi = fw::screen_dpi();
    load_integers_and_colours();
    load_media_file();
    create_fonts();
    trm_log("CGUI::CGUI () OK ...\n");
}

CGUI::~CGUI()
{
    bold_font.reset();
    list_font.reset();
    trm_log("CGUI::~CGUI () OK ...\n");
}

void CGUI::load_integers_and_colours()
{
    RegistryStore store;
    // The window's place and size are figures at 96 DPI: so is the screen they are kept on.
    Settings s = load_settings(store, fw::unscale(GetSystemMetrics(SM_CXSCREEN), dpi),
                               fw::unscale(GetSystemMetrics(SM_CYSCREEN), dpi));
    xo = s.xo;
    yo = s.yo;
    xs = s.xs;
    ys = s.ys;
    df = s.df;
    fs = s.fs;
    ft = s.ft;
    ss = s.ss;
    tm = s.tm;
    wm = s.wm;
    wf = s.wf;
    wn = s.wn;
    for (int i = 0; i < 4; ++i)
        set_col(s.col_value[i], i);
}

void CGUI::load_media_file()
{
    if (const char* stored = reg_get_str("HKCU", settings_key, "")) {
        // An overlong stored path is cut in memory only; the registry keeps it.
        copy_path(media_file, stored);
        return;
    }
    std::string path = default_media_path(fw::module_path());
    if (!fits_path(path))
        return;
    copy_path(media_file, path);
    reg_set_str("HKCU", settings_key, "", media_file);
}

void CGUI::create_fonts()
{
    list_font.reset(fw::create_screen_font(85, "Arial", dpi));
    bold_font.reset(fw::create_screen_font(85, "Arial", dpi));
    LOGFONTA lf{};
    if (bold_font && GetObjectA(bold_font.get(), sizeof lf, &lf)) {
        lf.lfWeight = 700;
        lf.lfWidth = px(5);
        bold_font.reset(CreateFontIndirectA(&lf));
    }
}

void CGUI::set_dpi(int new_dpi)
{
    if (new_dpi <= 0 || new_dpi == dpi)
        return;
    dpi = new_dpi;
    create_fonts();
}

void CGUI::set_col(unsigned value, int i)
{
    if (i >= 0 && i < 4)
        col[i] = static_cast<COLORREF>(display_colour(value));
}

void CGUI::set_page(HDC dc)
{
    int hres = GetDeviceCaps(dc, HORZRES), vres = GetDeviceCaps(dc, VERTRES);
    int hsize = GetDeviceCaps(dc, HORZSIZE), vsize = GetDeviceCaps(dc, VERTSIZE);
    // A device that reports no size in millimetres is taken as one pixel per millimetre.
    unit_x = hsize > 0 ? hres / hsize : 1;
    unit_y = vsize > 0 ? vres / vsize : 1;
    if (unit_x < 1)
        unit_x = 1;
    if (unit_y < 1)
        unit_y = 1;
    page_left = hres / 20;
    page_top = vres / 20;
    page_right = hres - hres / 20;
    page_bottom = vres - vres / 20;
}
