#include "fw/gdi.h"
#include <cstdlib>
#include <cstring>

namespace fw {

HFONT create_point_font(int tenths, const char* face, int weight, int width, HDC for_dc)
{
    HDC dc = for_dc ? for_dc : GetDC(nullptr);
    LOGFONTA lf{};
    // Tenths of a point to logical units, as the class library's point font does it.
    POINT pt{0, MulDiv(GetDeviceCaps(dc, LOGPIXELSY), tenths, 720)};
    if (for_dc) {
        DPtoLP(dc, &pt, 1);
        POINT origin{0, 0};
        DPtoLP(dc, &origin, 1);
        pt.y = pt.y - origin.y;
    }
    lf.lfHeight = -std::abs(static_cast<int>(pt.y));
    lf.lfWidth = width;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    if (!for_dc)
        ReleaseDC(nullptr, dc);
    return CreateFontIndirectA(&lf);
}

} // namespace fw
