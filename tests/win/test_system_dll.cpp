// System functions looked up on first use: found in the system folder, null when missing.
#include <windows.h>
#include <commdlg.h>
#include <gtest/gtest.h>
#include "fw/system_dll.h"

TEST(SystemDll, FindsAFunctionAndNamesNothingThatIsMissing)
{
    auto* error = fw::system_function<decltype(CommDlgExtendedError)>("comdlg32.dll", "CommDlgExtendedError");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error(), 0u);
    EXPECT_EQ(fw::system_proc("comdlg32.dll", "NoSuchFunction"), nullptr);
    EXPECT_EQ(fw::system_proc("no_such_library.dll", "PrintDlgA"), nullptr);
}
