// Import iCalendar and Export iCalendar through the real frame: a round trip of every entry,
// the counts, a file that is not iCalendar, and a zone from the system's time-zone list.
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "fw/app.h"
#include "res/resource.h"
#include "win_test.h"

namespace {

const std::vector<std::string> kEntries = {
    "2024.03.05\tThu\t08:30\tDentist\t0\n",
    "2024.03.05\tThu\t22:00-01:30\tNight shift; sleep, then \\o/\t1\n",
    "2030.12.31\tThu\t\tSilvester \xe0 Paris\t0\n",
    "2011.05.01\tSun\t\tShopping\t1\n",
};

// Every entry, rows and held-back lines, in one sorted list.
std::vector<std::string> all_entries()
{
    std::vector<std::string> out = papp->list.lines;
    for (int row = 0; row < papp->list.row_count(); ++row)
        out.push_back(papp->list.store.read_back(static_cast<size_t>(row)));
    std::sort(out.begin(), out.end());
    return out;
}

class Ical : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = wt::temp_dir("ical");
        wt::reset_dates(kEntries);
    }
    void TearDown() override { fw::set_file_dialog_hook(nullptr); }

    // Runs a command whose file dialog answers with path; returns the message boxes it showed.
    std::vector<wt::MessageBoxes::Box> run(UINT command, const std::string& path)
    {
        fw::set_file_dialog_hook([path](bool, std::string& chosen) {
            chosen = path;
            return true;
        });
        wt::MessageBoxes boxes;
        wt::command(command);
        wt::pump();
        return boxes.shown();
    }

    std::string dir_;
};

} // namespace

TEST_F(Ical, ExportThenImportGivesBackEveryEntry)
{
    std::vector<std::string> before = kEntries;
    std::sort(before.begin(), before.end());
    // A name typed without extension gets ".ics".
    auto shown = run(ID_EXPORT_ICAL, dir_ + "\\dates");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "4 Dates exported, 0 skipped");
    EXPECT_TRUE(shown[0].information);
    const std::string file = wt::read_file(dir_ + "\\dates.ics");
    EXPECT_EQ(file.substr(0, 17), "BEGIN:VCALENDAR\r\n");

    wt::reset_dates({});
    shown = run(ID_IMPORT_ICAL, dir_ + "\\dates.ics");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "4 Dates imported, 0 already there, 0 skipped");
    EXPECT_TRUE(shown[0].information);
    EXPECT_EQ(all_entries(), before);
    // The list was rebuilt: open entries are rows, done ones held back.
    EXPECT_EQ(papp->list.row_count(), 2);

    shown = run(ID_IMPORT_ICAL, dir_ + "\\dates.ics");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "0 Dates imported, 4 already there, 0 skipped");
    EXPECT_EQ(all_entries(), before);
}

TEST_F(Ical, AFileThatIsNotICalendarChangesNothing)
{
    const std::vector<std::string> before = all_entries();
    // An empty file too: it has no bytes to map.
    for (const char* content : {"2024.01.01\tMon\t\tNot a calendar\t0\r\n", ""}) {
        SCOPED_TRACE(content);
        wt::write_file(dir_ + "\\notes.ics", content);
        const auto shown = run(ID_IMPORT_ICAL, dir_ + "\\notes.ics");
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_TRUE(shown[0].stop);
        EXPECT_NE(shown[0].text.find("is not an iCalendar file"), std::string::npos);
        EXPECT_EQ(all_entries(), before);
    }
}

TEST_F(Ical, ZonesComeFromTheSystemList)
{
    // This machine runs on UTC: Berlin's winter time is one hour ahead, its summer time two.
    wt::reset_dates({});
    wt::write_file(dir_ + "\\zones.ics",
                   "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;TZID=Europe/Berlin:20240115T100000\r\n"
                   "SUMMARY:winter\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\n"
                   "DTSTART;TZID=W. Europe Standard Time:20240715T100000\r\nSUMMARY:summer\r\nEND:VEVENT\r\n"
                   "END:VCALENDAR\r\n");
    run(ID_IMPORT_ICAL, dir_ + "\\zones.ics");
    EXPECT_EQ(all_entries(),
              (std::vector<std::string>{"2024.01.15\tMon\t09:00\twinter\t0\n", "2024.07.15\tMon\t08:00\tsummer\t0\n"}));
}
