// System functions looked up on first use: found in the system folder, null when missing.
#include <windows.h>
#include <shlwapi.h>
#include <gtest/gtest.h>
#include "fw/system_dll.h"

TEST(SystemDll, FindsAFunctionAndNamesNothingThatIsMissing)
{
    auto* find = fw::system_function<decltype(PathFindExtensionA)>("shlwapi.dll", "PathFindExtensionA");
    ASSERT_NE(find, nullptr);
    const char* name = "dates\\trm.dat";
    EXPECT_STREQ(find(name), ".dat");
    EXPECT_EQ(fw::system_proc("comdlg32.dll", "NoSuchFunction"), nullptr);
    EXPECT_EQ(fw::system_proc("no_such_library.dll", "PrintDlgA"), nullptr);
}
