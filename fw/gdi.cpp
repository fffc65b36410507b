#include "fw/gdi.h"
#include <cstdlib>
#include <cstring>
#include "fw/dpi.h"

namespace fw {

namespace {

HFONT font_of_height(int height, const char* face, int weight, int width)
{
    LOGFONTA lf{};
    lf.lfHeight = -std::abs(height);
    lf.lfWidth = width;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

} // namespace

HFONT create_point_font(int tenths, const char* face, int weight, int width, HDC for_dc)
{
    if (!for_dc)
        return create_screen_font(tenths, face, screen_dpi(), weight, width);
    // Tenths of a point to logical units, as the class library's point font does it.
    POINT pt{0, MulDiv(GetDeviceCaps(for_dc, LOGPIXELSY), tenths, 720)};
    DPtoLP(for_dc, &pt, 1);
    POINT origin{0, 0};
    DPtoLP(for_dc, &origin, 1);
    return font_of_height(pt.y - origin.y, face, weight, width);
}

HFONT create_screen_font(int tenths, const char* face, int dpi, int weight, int width)
{
    return font_of_height(MulDiv(dpi, tenths, 720), face, weight, width);
}

} // namespace fw
