// The date document: start on trm.dat, open, save, save as, the write-back on close, and the
// faults a save or an open must survive without losing a file.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include "editor_steps.h"
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

std::vector<std::string> file_lines(const std::string& path)
{
    std::vector<std::string> lines;
    std::string text = wt::read_text(path);
    for (size_t start = 0, lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1)
        lines.push_back(text.substr(start, lf - start + 1));
    std::sort(lines.begin(), lines.end());
    return lines;
}

int row_of(const std::string& line)
{
    for (size_t i = 0; i < papp->list.store.row_count(); ++i)
        if (papp->list.store.read_back(i) == line)
            return static_cast<int>(i);
    return -1;
}

bool rows_hold(const std::string& line)
{
    return row_of(line) >= 0;
}

// Handles messages, as the running program does, until the condition holds or time runs out.
bool pump_until(const std::function<bool()>& done, DWORD ms = 3000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms)
            return false;
        wt::pump();
        Sleep(10);
    }
    return true;
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

TEST_F(Document, AnUnreadableFileIsTriedAgainAndMergedOnceItReads)
{
    std::string locked = at("locked2.dat");
    wt::write_file(locked, kOpenA);
    HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    papp->open_document_file(locked.c_str());
    wt::pump();
    papp->list.add_line(std::string(kOpenB).data());
    // While it cannot be read, dates entered since are reported as not saved.
    EXPECT_FALSE(document()->ask_save(locked.c_str()));
    {
        wt::MessageBoxes keep(IDNO);
        document()->PreCloseFrame(papp->main_frame());
        EXPECT_EQ(keep.shown().size(), 1u);
        EXPECT_TRUE(document()->close_cancelled());
    }
    // The next look after the lock is gone reads it: both entries, and saving works again.
    CloseHandle(hold);
    EXPECT_EQ(wt::read_text(locked), kOpenA);
    wt::command(ID_CHECK_FILE);
    EXPECT_EQ(papp->list.row_count(), 2);
    EXPECT_TRUE(document()->ask_save(locked.c_str()));
    EXPECT_EQ(wt::read_text(locked), std::string(kOpenB) + kOpenA);
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

// Another program writes the current file while Termaris runs (a sync client by rename, or a
// deletion and a new file, an editor in place): the list shows it within a moment, an open
// editor stays as it is, and the close keeps both sides' entries and the other's deletion.
TEST_F(Document, AnotherWritersChangesShowLiveAndSurviveTheClose)
{
    const std::string kept = "2011.07.01\tFri\t\tKept\t0\n", theirs = "2011.08.01\tMon\t\tTheirs\t0\n",
                      ours = "2011.09.01\tThu\t\tOurs\t0\n",
                      edited = "2011.05.02\tMon\t09:30-10:00\tDentist edited\t0\n";
    enum class Way { in_place, rename, delete_and_create };
    struct Case {
        const char* what;
        Way way;
        std::vector<std::string> their_file;
    };
    const Case cases[] = {
        {"an entry appended in place", Way::in_place, {kDoneA, kOpenA, kept, kOpenB, theirs}},
        {"an entry deleted in place", Way::in_place, {kDoneA, kOpenA, kept}},
        {"replaced by rename, one added and one deleted", Way::rename, {kDoneA, kOpenA, kept, theirs}},
        {"deleted and made again", Way::delete_and_create, {kOpenA, kept, theirs}},
    };
    wt::MessageBoxes none;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string a = at(("shared" + std::to_string(&c - cases) + ".dat").c_str()), temp = a + ".tmp";
        open_as_current(a, std::string(kDoneA) + kOpenA + kept + kOpenB);
        wt::paint_view();
        papp->list.add_line(std::string(ours).data());
        es::double_click_row(row_of(kOpenA));
        ASSERT_EQ(es::box_text(3), "Dentist");
        es::set_box(3, "Dentist edited");

        std::string content;
        for (const std::string& line : c.their_file)
            content += line;
        if (c.way == Way::rename) {
            wt::write_file(temp, crlf(content));
            ASSERT_TRUE(MoveFileExA(temp.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING));
        } else {
            if (c.way == Way::delete_and_create) {
                DeleteFileA(a.c_str());
                Sleep(300);
                wt::pump();
            }
            wt::write_file(a, crlf(content));
        }
        const bool adds = std::count(c.their_file.begin(), c.their_file.end(), theirs) > 0;
        const bool deletes = std::count(c.their_file.begin(), c.their_file.end(), kOpenB) == 0;
        EXPECT_TRUE(pump_until([&] { return rows_hold(theirs) == adds && rows_hold(kOpenB) != deletes; }))
            << "not shown live";
        EXPECT_EQ(es::box_text(3), "Dentist edited");
        es::release_key(es::box(0), VK_RETURN);

        std::vector<std::string> expected = c.their_file;
        std::replace(expected.begin(), expected.end(), std::string(kOpenA), edited);
        expected.push_back(ours);
        std::sort(expected.begin(), expected.end());
        document()->PreCloseFrame(papp->main_frame());
        EXPECT_EQ(file_lines(a), expected);
    }
    EXPECT_EQ(none.texts(), std::vector<std::string>{});
}

// The end of the session saves as a close does, merge included, and shows no window; a save
// that fails there keeps the old file and says so in the log.
TEST_F(Document, EndOfSessionSavesAsACloseWithoutAWindow)
{
    const std::string theirs = "2011.08.01\tMon\t\tTheirs\t0\n";
    struct Case {
        const char* what;
        bool read_only;
    };
    for (const Case& c : {Case{"a writable file", false}, Case{"a read-only file", true}}) {
        SCOPED_TRACE(c.what);
        const std::string a = at(c.read_only ? "session_ro.dat" : "session.dat");
        open_as_current(a, kOpenA);
        papp->list.add_line(std::string(kOpenB).data());
        wt::write_file(a, crlf(std::string(kOpenA) + theirs));
        if (c.read_only)
            SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_READONLY);
        const std::string before = wt::read_file(a);
        HWND main = papp->main_window();
        wt::MessageBoxes none;
        EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), TRUE);
        SendMessageA(main, WM_ENDSESSION, TRUE, 0);
        EXPECT_TRUE(none.shown().empty());
        if (c.read_only) {
            EXPECT_EQ(wt::read_file(a), before);
            EXPECT_NE(
                wt::read_file("trm.log").find("mdoc::PreCloseFrame () FAILED, the Dates could not be written to " + a),
                std::string::npos);
        } else {
            std::vector<std::string> all = {kOpenA, kOpenB, theirs};
            std::sort(all.begin(), all.end());
            EXPECT_EQ(file_lines(a), all);
        }
        // The session goes on after all (as when another program refused to end it).
        SendMessageA(main, WM_ENDSESSION, FALSE, 0);
        SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}
