// Display scale: the window told by WM_DPICHANGED that it is shown at 96, 120, 144 or 192 DPI
// lays itself out, draws and makes its fonts at that scale; the program declares itself DPI aware.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string>
#include "app/mwin.h"
#include "fw/frame.h"
#include "fw/gdi.h"
#include "res/resource.h"
#include "view/mvie.h"
#include "editor_steps.h"
#include "win_test.h"

namespace {

using es::child_rect;

int column_width(int col)
{
    return static_cast<int>(SendMessageA(papp->list.hwnd(), LVM_GETCOLUMNWIDTH, col, 0));
}

SIZE text_size(HFONT font, const std::string& text)
{
    fw::WindowDc screen(nullptr);
    fw::Selected held(screen.get(), font);
    SIZE size{};
    GetTextExtentPoint32A(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

int bitmap_width(HBITMAP bmp)
{
    BITMAP bm{};
    GetObjectA(bmp, sizeof bm, &bm);
    return bm.bmWidth;
}

// What Windows does when the window reaches a screen of another scale.
void tell_dpi(int dpi, const RECT& suggested)
{
    SendMessageA(papp->main_window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    wt::pump();
    wt::paint_view();
}

} // namespace

TEST(Dpi, EveryFigureFollowsTheScaleTheFrameIsTold)
{
    wt::reset_dates({"2026.12.28\tMon\t08:15-09:45\tDentist\t0\n"});
    HWND frame = papp->main_window();
    mwin* main = static_cast<mwin*>(papp->main_frame());
    // A pressed button stays pressed through the tool bar's new images.
    main->tool_bar.press(ID_SHOW_ALL, true);
    RECT at_96;
    GetWindowRect(frame, &at_96);
    const char* const widest_texts[] = {"28.12.2026", "2026.12.28"};
    // 96 first as the program started, and again last: the tests after it find the window as it was.
    for (int dpi : {96, 120, 144, 192, 96}) {
        SCOPED_TRACE(dpi);
        auto px = [dpi](int figure) { return MulDiv(figure, dpi, 96); };
        const RECT suggested{at_96.left, at_96.top, at_96.left + px(at_96.right - at_96.left),
                             at_96.top + px(at_96.bottom - at_96.top)};
        tell_dpi(dpi, suggested);
        RECT now;
        GetWindowRect(frame, &now);
        EXPECT_TRUE(EqualRect(&now, &suggested));
        EXPECT_EQ(papp->main_frame()->dpi(), dpi);

        CLst& list = papp->list;
        EXPECT_EQ(column_width(0), px(85));
        EXPECT_EQ(column_width(1), px(35));
        EXPECT_EQ(column_width(2), px(70));
        LOGFONTA lf{};
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(list.hwnd(), WM_GETFONT, 0, 0));
        GetObjectA(font, sizeof lf, &lf);
        EXPECT_EQ(lf.lfHeight, -MulDiv(dpi, 85, 720));

        // Behind the status images and the text's inset, before the column's line.
        for (const char* date : widest_texts)
            EXPECT_LE(px(20) + px(3) + text_size(font, date).cx, column_width(0) - 1) << date;
        for (int i = 0; i < 7; ++i)
            EXPECT_LE(text_size(font, papp->grid.day_names[i]).cx + 2, column_width(1) - 1) << papp->grid.day_names[i];
        EXPECT_LE(px(3) + text_size(font, "08:15-09:45").cx, column_width(2) - 1);

        RECT row{LVIR_BOUNDS, 0, 0, 0};
        ASSERT_TRUE(SendMessageA(list.hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
        const int row_h = row.bottom - row.top;
        EXPECT_GE(row_h, text_size(font, "Ag").cy);
        EXPECT_GE(row_h, px(12));
        EXPECT_EQ(bitmap_width(list.bmp_done.get()), px(12));
        EXPECT_EQ(bitmap_width(list.bmp_due.get()), px(2));

        wt::command(ID_NEW_DATE);
        mvie* view = active_view();
        RECT client;
        GetClientRect(view->hwnd(), &client);
        const RECT box = child_rect(list.edit[0].hwnd());
        EXPECT_GE(box.bottom - box.top, row_h);
        EXPECT_EQ(box.bottom, client.bottom);
        EXPECT_EQ(child_rect(list.hint).bottom, box.top);
        wt::paint_view();
        EXPECT_EQ(child_rect(list.hwnd()).bottom, client.bottom - px(40));
        wt::command(ID_CANCEL_EDIT);
        wt::paint_view();
        EXPECT_EQ(child_rect(list.hwnd()).top, px(23));
        EXPECT_EQ(child_rect(view->tab_ctrl).bottom, px(24));

        HWND bar = FindWindowExA(frame, nullptr, TOOLBARCLASSNAMEA, nullptr);
        const LRESULT button = SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0);
        EXPECT_EQ(LOWORD(button), px(23));
        EXPECT_EQ(HIWORD(button), px(22));
        int image_w = 0, image_h = 0;
        ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(bar, TB_GETIMAGELIST, 0, 0)), &image_w,
                              &image_h);
        EXPECT_EQ(image_w, px(16));
        EXPECT_TRUE(main->tool_bar.pressed(ID_SHOW_ALL));
    }
    main->tool_bar.press(ID_SHOW_ALL, false);
}

TEST(Dpi, ProgramDeclaresPerMonitorAndSystemAwareness)
{
    std::string exe = fw::module_path();
    exe = exe.substr(0, exe.find_last_of('\\') + 1) + "trm.exe";
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << exe;
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(res, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, res)));
    const std::string manifest(text, SizeofResource(module, res));
    FreeLibrary(module);
    EXPECT_NE(
        manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>"),
        std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
}
