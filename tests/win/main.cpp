// The Windows test program: one application object for the whole run, started before the tests.
#include <gtest/gtest.h>
#include <cstdio>
#include "win_test.h"

static mapp test_app;
mapp* papp = &test_app;

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    DeleteFileA("trm.dat");
    if (!papp->InitInstance()) {
        std::fprintf(stderr, "the application did not start\n");
        return 1;
    }
    wt::paint_view();
    wt::pump();
    wt::startup_log = wt::read_text("trm.log");
    int result = RUN_ALL_TESTS();
    if (HWND main = papp->main_window()) {
        wt::MessageBoxes boxes;
        DestroyWindow(main);
    }
    return result;
}
