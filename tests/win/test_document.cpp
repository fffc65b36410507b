// The date document: start on trm.dat, open, save, save as, the write-back on close, and the
// faults a save or an open must survive without losing a file.
#include <gtest/gtest.h>
#include "app/mwin.h"
#include "fw/frame.h"
#include "res/resource.h"
#include "store/mdoc.h"
#include "view/mvie.h"
#include "win_test.h"

namespace {

mdoc* document()
{
    return static_cast<mdoc*>(papp->main_frame()->document());
}

const char* const kOpenA = "2011.05.02\tMon\t09:30-10:00\tDentist\t0\n";
const char* const kDoneA = "2011.05.01\tSun\t\tShopping\t1\n";
const char* const kOpenB = "2012.01.01\tSun\t\tNew year\t0\n";
const char* const kDoneB = "2012.01.02\tMon\t\tCleaned\t1\n";

std::string crlf(std::string text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// Makes path the current file with the given content, as an open of it would.
void open_as_current(const std::string& path, const std::string& content)
{
    wt::write_file(path, content);
    papp->open_document_file(path.c_str());
    wt::pump();
}

class Document : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = wt::temp_dir("doc");
        wt::reset_dates({});
    }
    void TearDown() override
    {
        fw::set_file_dialog_hook(nullptr);
        // Back to a scratch current file, so later tests do not write into these; a current
        // file that cannot be written is left without asking.
        wt::MessageBoxes leave(IDYES);
        open_as_current(dir_ + "\\scratch.dat", "");
    }
    std::string at(const char* name) const { return dir_ + "\\" + name; }
    std::string dir_;
};

} // namespace

TEST_F(Document, StartsOnTrmDatInTheCurrentFolder)
{
    EXPECT_NE(wt::startup_log.find("mdoc::read_file () OK ...\n"), std::string::npos);
    // The title joins the file name and "Termaris" as documents usually do.
    open_as_current(at("trm.dat"), "");
    EXPECT_EQ(wt::window_text(papp->main_window()), "trm.dat - Termaris");
}

TEST_F(Document, CloseRewritesTheSameEntriesHeldBackFirst)
{
    std::string a = at("a.dat");
    open_as_current(a, std::string(kOpenA) + kDoneA);
    EXPECT_EQ(papp->list.row_count(), 1);
    document()->PreCloseFrame(papp->main_frame());
    EXPECT_EQ(wt::read_file(a), crlf(std::string(kDoneA) + kOpenA));
}

TEST_F(Document, OpeningAnotherFileWritesTheCurrentOneFirst)
{
    std::string a = at("a.dat"), b = at("b.dat");
    open_as_current(a, std::string(kOpenA) + kDoneA);
    papp->list.add_line(std::string("2011.06.01\tWen\t\tAdded\t0\n").data());
    wt::write_file(b, std::string(kOpenB) + kDoneB);
    papp->open_document_file(b.c_str());
    wt::pump();
    EXPECT_EQ(wt::read_text(a), std::string(kDoneA) + "2011.06.01\tWen\t\tAdded\t0\n" + kOpenA);
    ASSERT_EQ(papp->list.row_count(), 1);
    EXPECT_EQ(papp->list.cell_text(0, 3), "New year");
    EXPECT_EQ(papp->list.lines, std::vector<std::string>{kDoneB});
    EXPECT_EQ(wt::window_text(papp->main_window()), "b.dat - Termaris");
}

TEST_F(Document, OpeningTheCurrentFileDoesNothing)
{
    std::string a = at("a.dat");
    open_as_current(a, kOpenA);
    papp->list.add_line(std::string("2011.06.01\tWen\t\tAdded\t0\n").data());
    papp->open_document_file(a.c_str());
    EXPECT_EQ(wt::read_text(a), kOpenA);
    EXPECT_EQ(papp->list.row_count(), 2);
}

TEST_F(Document, SaveAsSwitchesTheCurrentFile)
{
    std::string a = at("a.dat"), c = at("c.dat");
    open_as_current(a, kOpenA);
    DeleteFileA(c.c_str());
    fw::set_file_dialog_hook([&](bool open, std::string& path) {
        EXPECT_FALSE(open);
        path = c;
        return true;
    });
    papp->list.add_line(std::string(kOpenB).data());
    wt::command(ID_FILE_SAVE_AS);
    EXPECT_EQ(wt::read_text(c), std::string(kOpenB) + kOpenA);
    EXPECT_EQ(wt::read_text(a), kOpenA);
    EXPECT_EQ(wt::window_text(papp->main_window()), "c.dat - Termaris");
}

TEST_F(Document, SaveAsksForANameWhenTheFileDoesNotExist)
{
    std::string a = at("a.dat"), d = at("d.dat");
    open_as_current(a, kOpenA);
    DeleteFileA(a.c_str());
    DeleteFileA(d.c_str());
    int asked = 0;
    fw::set_file_dialog_hook([&](bool, std::string& path) {
        ++asked;
        path = d;
        return true;
    });
    wt::command(ID_FILE_SAVE);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(wt::read_text(d), kOpenA);
    wt::command(ID_FILE_SAVE);
    EXPECT_EQ(asked, 1);
}

TEST_F(Document, SaveDialogOfAMissingFileStartsWithItsName)
{
    const std::string a = at("missing.dat");
    open_as_current(a, kOpenA);
    DeleteFileA(a.c_str());
    int shown = 0;
    std::string name;
    {
        // The explorer dialog's file name is combo box cmb13 (edit edt1 in older forms); the dialog
        // is cancelled once read.
        wt::Activations dialogs([&](HWND dlg) {
            HWND field = GetDlgItem(dlg, 0x47c) ? GetDlgItem(dlg, 0x47c) : GetDlgItem(dlg, 0x480);
            if (!field)
                return;
            ++shown;
            name = wt::window_text(field);
            PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        });
        wt::command(ID_FILE_SAVE);
    }
    ASSERT_EQ(shown, 1);
    EXPECT_NE(name.find("missing.dat"), std::string::npos) << name;
    EXPECT_FALSE(wt::file_exists(a)) << "cancelled: nothing written";
}

TEST_F(Document, OpenShowsShowAllOffOnTheButtonAndTheCheckMark)
{
    auto* frame = static_cast<mwin*>(papp->main_frame());
    const auto checked = [] {
        return (GetMenuState(GetMenu(papp->main_window()), ID_SHOW_ALL, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    open_as_current(at("a.dat"), std::string(kOpenA) + kDoneA);
    wt::command(ID_SHOW_ALL);
    ASSERT_TRUE(frame->tool_bar.pressed(ID_SHOW_ALL));
    open_as_current(at("b.dat"), std::string(kOpenB) + kDoneB);
    EXPECT_EQ(papp->show_all, 0);
    EXPECT_EQ(papp->list.row_count(), 1);
    EXPECT_FALSE(frame->tool_bar.pressed(ID_SHOW_ALL));
    EXPECT_FALSE(checked());
    // The next press turns it on, and both say so.
    wt::command(ID_SHOW_ALL);
    EXPECT_EQ(papp->show_all, 1);
    EXPECT_TRUE(frame->tool_bar.pressed(ID_SHOW_ALL));
    EXPECT_TRUE(checked());
    wt::command(ID_SHOW_ALL);
}

TEST_F(Document, ShowAllSavesExactlyTheRows)
{
    std::string a = at("a.dat");
    open_as_current(a, std::string(kOpenA) + kDoneA);
    wt::command(ID_SHOW_ALL);
    EXPECT_TRUE(papp->list.lines.empty());
    document()->ask_save(a.c_str());
    wt::command(ID_SHOW_ALL);
    EXPECT_EQ(wt::read_text(a), std::string(kOpenA) + kDoneA);
}

TEST_F(Document, ReadOnlyTargetKeepsItsOldContent)
{
    std::string a = at("ro.dat");
    open_as_current(a, kOpenA);
    papp->list.add_line(std::string(kOpenB).data());
    std::string before = wt::read_file(a);
    SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(document()->ask_save(a.c_str()));
    {
        // An explicit save says that it failed.
        wt::MessageBoxes boxes;
        EXPECT_FALSE(document()->OnSaveDocument(a.c_str()));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_TRUE(boxes.shown()[0].stop);
    }
    EXPECT_EQ(wt::read_file(a), before);
    EXPECT_EQ(papp->list.row_count(), 2);
    SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Document, AFailedCloseSaveLetsTheUserKeepTheWindow)
{
    std::string a = at("ro2.dat");
    open_as_current(a, kOpenA);
    SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        wt::MessageBoxes keep(IDNO);
        document()->PreCloseFrame(papp->main_frame());
        EXPECT_EQ(keep.shown().size(), 1u);
        EXPECT_TRUE(document()->close_cancelled());
    }
    {
        wt::MessageBoxes close(IDYES);
        document()->PreCloseFrame(papp->main_frame());
        EXPECT_FALSE(document()->close_cancelled());
    }
    SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Document, AnUnreadableFileIsNeverEmptied)
{
    std::string locked = at("locked.dat"), other = at("other.dat");
    wt::write_file(locked, kOpenA);
    HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    papp->open_document_file(locked.c_str());
    wt::pump();
    EXPECT_EQ(papp->list.row_count(), 0);
    EXPECT_EQ(wt::window_text(papp->main_window()), "locked.dat - Termaris");
    CloseHandle(hold);
    // Leaving it (which saves the current file) and closing must not write the empty list there.
    document()->PreCloseFrame(papp->main_frame());
    wt::write_file(other, kOpenB);
    papp->open_document_file(other.c_str());
    wt::pump();
    EXPECT_EQ(wt::read_text(locked), kOpenA);
}

TEST_F(Document, LineFeedOnlyFileComesBackWithCrLf)
{
    std::string a = at("lf.dat");
    open_as_current(a, std::string(kOpenA) + kDoneA);
    document()->ask_save(a.c_str());
    EXPECT_EQ(wt::read_file(a), crlf(std::string(kDoneA) + kOpenA));
}

TEST_F(Document, OverlongAndUnterminatedLinesSurviveASave)
{
    std::string a = at("long.dat");
    std::string longline = "2011.05.02\tMon\t\t" + std::string(400, 'x') + "\t1\n";
    open_as_current(a, longline + kOpenA + "2011.07.07\tThu\t\tlast");
    document()->ask_save(a.c_str());
    open_as_current(at("scratch2.dat"), "");
    papp->open_document_file(a.c_str());
    wt::pump();
    // The reload after an open passes every line through the rows once: the short line gets its
    // missing tab, nothing is lost or merged, and the held lines come first in date order.
    EXPECT_EQ(wt::read_text(a), "2011.07.07\tThu\t\tlast\t\n" + longline + kOpenA);
    EXPECT_EQ(papp->list.row_count(), 1);
    EXPECT_EQ(papp->list.lines.size(), 2u);
}

TEST_F(Document, DatesEnteredAfterAnUnreadableOpenAreReportedNotSaved)
{
    std::string locked = at("locked2.dat");
    wt::write_file(locked, kOpenA);
    HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    papp->open_document_file(locked.c_str());
    wt::pump();
    CloseHandle(hold);
    papp->list.add_line(std::string(kOpenB).data());
    EXPECT_FALSE(document()->ask_save(locked.c_str()));
    {
        wt::MessageBoxes keep(IDNO);
        document()->PreCloseFrame(papp->main_frame());
        EXPECT_EQ(keep.shown().size(), 1u);
        EXPECT_TRUE(document()->close_cancelled());
    }
    EXPECT_EQ(wt::read_text(locked), kOpenA);
    wt::reset_dates({});
}

TEST_F(Document, OpenAfterAFailedSaveAsksFirst)
{
    std::string a = at("ro3.dat"), b = at("b3.dat");
    open_as_current(a, kOpenA);
    papp->list.add_line(std::string("2011.06.01\tWen\t\tAdded\t0\n").data());
    SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_READONLY);
    wt::write_file(b, kOpenB);
    {
        wt::MessageBoxes no(IDNO);
        papp->open_document_file(b.c_str());
        wt::pump();
        EXPECT_EQ(no.shown().size(), 1u);
    }
    // Nothing was opened: the dates in memory and the current file stay.
    EXPECT_EQ(papp->list.row_count(), 2);
    EXPECT_EQ(wt::window_text(papp->main_window()), "ro3.dat - Termaris");
    {
        wt::MessageBoxes yes(IDYES);
        papp->open_document_file(b.c_str());
        wt::pump();
    }
    EXPECT_EQ(wt::window_text(papp->main_window()), "b3.dat - Termaris");
    EXPECT_EQ(papp->list.row_count(), 1);
    SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(wt::read_text(a), kOpenA);
}
