// Reading the date file ahead: the lines come back only for the same, unchanged file, and a
// read ahead is used once.
#include <windows.h>
#include <gtest/gtest.h>
#include "core/date_text.h"
#include "store/read_ahead.h"
#include "win_test.h"

namespace {

// Moves the file's time of last write, which a quick rewrite may leave where it was.
void touch(const std::string& path, int seconds_later)
{
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    FILETIME t;
    GetFileTime(f, nullptr, nullptr, &t);
    ULARGE_INTEGER u{{t.dwLowDateTime, t.dwHighDateTime}};
    u.QuadPart += static_cast<ULONGLONG>(seconds_later) * 10000000ULL;
    t.dwLowDateTime = u.LowPart;
    t.dwHighDateTime = u.HighPart;
    SetFileTime(f, nullptr, nullptr, &t);
    CloseHandle(f);
}

} // namespace

TEST(ReadAhead, GivesTheLinesOfTheSameFileOnce)
{
    std::string path = wt::temp_dir("ahead") + "\\trm.dat";
    const std::string bytes = "2011.05.02\tMon\t\tDentist\t0\r\n2011.05.01\tSun\t\tShopping\t1\r\nlast without end";
    wt::write_file(path, bytes);
    read_ahead(path);
    DateFileRead got;
    ASSERT_TRUE(take_read_ahead(path, got));
    EXPECT_EQ(got.result, ReadResult::ok);
    EXPECT_EQ(got.lines, dl::decode_lines(bytes));
    EXPECT_EQ(got.bytes, bytes);
    // Used up: the next read goes to the file.
    EXPECT_FALSE(take_read_ahead(path, got));
}

TEST(ReadAhead, IsDroppedForAnotherOrAChangedFile)
{
    std::string dir = wt::temp_dir("ahead2");
    std::string path = dir + "\\trm.dat";
    wt::write_file(path, "2011.05.02\tMon\t\tDentist\t0\r\n");
    DateFileRead got;
    got.lines = {"kept"};

    read_ahead(path);
    EXPECT_FALSE(take_read_ahead(dir + "\\other.dat", got));
    EXPECT_EQ(got.lines, std::vector<std::string>{"kept"});
    // The mismatch used it up too: nothing stale is left for a later read.
    EXPECT_FALSE(take_read_ahead(path, got));

    // A change while or after the file is read ahead: what comes back is the file as it is
    // now, or nothing. The worker may read before or after the change; both must hold.
    const std::string versions[] = {"2012.01.01\tSun\t\tNew year\t0\r\n",
                                    "2013.03.04\tMon\t\tLonger entry text\t1\r\n"};
    for (int i = 0; i < 20; ++i) {
        const std::string& now = versions[i % 2];
        read_ahead(path);
        wt::write_file(path, now);
        touch(path, i + 1);
        got.lines = {"kept"};
        if (take_read_ahead(path, got))
            EXPECT_EQ(got.lines, dl::decode_lines(now)) << "round " << i;
        else
            EXPECT_EQ(got.lines, std::vector<std::string>{"kept"}) << "round " << i;
    }
}

TEST(ReadAhead, ReportsAMissingFileAsMissing)
{
    std::string path = wt::temp_dir("ahead3") + "\\none.dat";
    DeleteFileA(path.c_str());
    read_ahead(path);
    DateFileRead got;
    got.result = ReadResult::ok;
    ASSERT_TRUE(take_read_ahead(path, got));
    EXPECT_EQ(got.result, ReadResult::missing);
    EXPECT_TRUE(got.lines.empty());
}
