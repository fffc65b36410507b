// Hostile input and faults on the running program: date files of odd bytes loaded, shown, saved
// and reloaded; a folder or a locked file as the date file; hostile registry values; saves that
// fail or are killed half-way. The dates on disk are never lost, cut or mixed.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>
#include "fw/registry.h"
#include "fw/app.h"
#include "fw/frame.h"
#include "core/alert_rule.h"
#include "res/resource.h"
#include "store/file_io.h"
#include "store/mdoc.h"
#include "view/mvie.h"
#include "win_test.h"

using namespace std::string_literals;

namespace {

using Lines = std::vector<std::string>;

mdoc* document()
{
    return static_cast<mdoc*>(papp->main_frame()->document());
}

std::string entry(const std::string& date, const std::string& text, const std::string& status)
{
    return date + "\tMon\t\t" + text + "\t" + status + "\n";
}

std::string on_disk(const Lines& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        for (char c : line)
            bytes += c == '\n' ? "\r\n"s : std::string(1, c);
    return bytes;
}

// A saved file is CR LF lines only: a lone LF or an unended last line would be a fault.
Lines saved_lines(const std::string& bytes)
{
    Lines lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start) + "\n");
    EXPECT_EQ(start, bytes.size()) << "the file ends in the middle of a line";
    for (const std::string& line : lines)
        EXPECT_EQ(line.find('\n'), line.size() - 1) << "a lone line feed in the saved file";
    return lines;
}

Lines sorted(Lines v)
{
    std::sort(v.begin(), v.end());
    return v;
}

int open_count(const Lines& entries)
{
    int n = 0;
    for (const std::string& e : entries)
        n += e.size() >= 2 && e[e.size() - 2] == '0';
    return n;
}

void select_tab(int tab)
{
    wt::choose_tab(tab);
    wt::pump();
    wt::paint_view();
    wt::pump();
}

// Every tab painted once: the list draws the rows, the grids parse every date.
void show_every_tab()
{
    wt::paint_view();
    UpdateWindow(papp->list.hwnd());
    select_tab(1);
    select_tab(2);
    select_tab(0);
    UpdateWindow(papp->list.hwnd());
}

// A click into the check box of the row and back, as the user toggles it.
void toggle_first_row_twice()
{
    if (papp->list.row_count() == 0)
        return;
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    SendMessageA(papp->list.hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM(5, (rc.top + rc.bottom) / 2);
    const std::string before = papp->list.cell_text(0, 4);
    for (int i = 0; i < 2; ++i) {
        SendMessageA(papp->list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(papp->list.hwnd(), WM_LBUTTONUP, 0, at);
        wt::pump();
        if (i == 0) {
            EXPECT_NE(papp->list.cell_text(0, 4), before);
        }
    }
    EXPECT_EQ(papp->list.cell_text(0, 4), before);
}

// Deletes the writer's temporary files ("trm*.tmp" beside the target); returns how many there were.
int remove_temporary_files(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\trm*.tmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do {
        DeleteFileA((folder + "\\" + found.cFileName).c_str());
        ++count;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return count;
}

class HostileFile : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = wt::temp_dir("hostile");
        wt::reset_dates({});
        // A save that asks for a name is a fault here: every target exists and is writable.
        fw::set_file_dialog_hook([this](bool, std::string&) {
            ++dialogs_;
            return false;
        });
    }
    void TearDown() override
    {
        fw::set_file_dialog_hook(nullptr);
        // A test may leave a current file that cannot be written: leave it without asking.
        wt::MessageBoxes leave(IDYES);
        open(at("scratch.dat"), "");
        wt::reset_dates({});
    }
    std::string at(const std::string& name) const { return dir_ + "\\" + name; }
    void open(const std::string& path, const std::string& bytes)
    {
        wt::write_file(path, bytes);
        papp->open_document_file(path.c_str());
        wt::pump();
    }

    // Loaded through the document, shown on every tab, toggled, saved by the Save command and
    // loaded again: every entry is in the file exactly as it came.
    void expect_survives(const std::string& name, const Lines& entries)
    {
        SCOPED_TRACE(name);
        const std::string path = at(name);
        open(path, on_disk(entries));
        EXPECT_EQ(papp->list.row_count(), open_count(entries));
        show_every_tab();
        toggle_first_row_twice();
        wt::command(ID_FILE_SAVE);
        EXPECT_EQ(dialogs_, 0);
        EXPECT_TRUE(sorted(saved_lines(wt::read_file(path))) == sorted(entries));

        open(at("between.dat"), "");
        papp->open_document_file(path.c_str());
        wt::pump();
        EXPECT_EQ(papp->list.row_count(), open_count(entries));
        select_tab(1); // Show all: the file then holds exactly the rows
        EXPECT_EQ(papp->list.row_count(), static_cast<int>(entries.size()));
        EXPECT_TRUE(document()->ask_save(path.c_str()));
        select_tab(0);
        EXPECT_TRUE(sorted(saved_lines(wt::read_file(path))) == sorted(entries));
    }

    std::string dir_;
    int dialogs_ = 0;
};

std::string entry_of_length(size_t length, const std::string& status)
{
    const size_t frame = entry("2011.05.02", "", status).size();
    return entry("2011.05.02", std::string(length - frame, 'x'), status);
}

const Lines ordinary = {entry("2011.05.02", "Dentist", "0"), entry("2011.05.01", "Shopping", "1"),
                        entry("2012.01.01", "New year", "0")};

Lines with_ordinary(Lines hostile)
{
    hostile.insert(hostile.end(), ordinary.begin(), ordinary.end());
    return hostile;
}

} // namespace

TEST_F(HostileFile, LongLinesAroundTheLimitAndFarBeyond)
{
    Lines lines;
    for (size_t length : {253u, 254u, 255u, 256u, 10000u}) {
        lines.push_back(entry_of_length(length, "0"));
        lines.push_back(entry_of_length(length, "1"));
    }
    expect_survives("long.dat", with_ordinary(lines));
}

TEST_F(HostileFile, ControlBytesInTheFields)
{
    expect_survives("zero.dat", with_ordinary({"2011.05.0\0\tM\0n\t\0\t\0a\0b\0\t0\n"s, "\0\0\0\t\t\t\0\t1\n"s}));
    expect_survives("cr.dat", with_ordinary({entry("2011.05.02", "a\rb", "0"), entry("\r", "\r\r", "1"),
                                             "2011.05.03\tTue\t\t\r\t0\r\n"}));
    expect_survives("ctrlz.dat", with_ordinary({entry("2011.05.02",
                                                      "before\x1a"
                                                      "after",
                                                      "0"),
                                                "\x1a\t\x1a\t\x1a\t\x1a\t1\n", entry("\x1a", "x", "0")}));
}

TEST_F(HostileFile, HighBytesAndGarbageDates)
{
    std::string high;
    for (int b = 0x80; b <= 0xff; ++b)
        high += static_cast<char>(b);
    expect_survives("high.dat", with_ordinary({entry("2011.05.02", high, "0"), entry(high, "x", "0"),
                                               entry("\xff\xfe", high, "1")}));
    expect_survives(
        "garbage.dat",
        with_ordinary({entry("garbage", "?", "0"), entry("99999999999999999999.1.1", "big", "0"),
                       entry("-1.-1.-1", "neg", "0"), entry("", "", "0"), entry("2011.13.45", "bad", "0"),
                       entry("0.0.0", "zero", "0"), entry("2147483647.2147483647.2147483647", "max", "0")}));
}

TEST_F(HostileFile, EmptyFileAndManyEntries)
{
    expect_survives("empty.dat", {});
    Lines many;
    char date[16];
    for (int i = 0; i < 20000; ++i) {
        std::snprintf(date, sizeof date, "%4d.%02d.%02d", 2000 + i / 372, 1 + i / 31 % 12, 1 + i % 31);
        many.push_back(entry(date, "entry " + std::to_string(i), i % 3 ? "0" : "1"));
    }
    expect_survives("many.dat", many);
}

TEST_F(HostileFile, LastLineWithoutNewlineKeepsItsStatus)
{
    const std::string path = at("unended.dat");
    open(path, on_disk(ordinary) + "2013.03.03\tSun\t\tNo end\t0");
    EXPECT_EQ(papp->list.row_count(), 3);
    select_tab(1);
    EXPECT_TRUE(document()->ask_save(path.c_str()));
    select_tab(0);
    EXPECT_TRUE(sorted(saved_lines(wt::read_file(path))) == sorted(with_ordinary({"2013.03.03\tSun\t\tNo end\t0\n"})));
}

// Folders and locked files chosen as the date file.
TEST_F(HostileFile, AFolderAsTheDateFile)
{
    const std::string current = at("current.dat"), folder = wt::temp_dir("hostile\\folder.dat");
    wt::write_file(folder + "\\inside.txt", "kept");
    open(current, on_disk(ordinary));
    papp->open_document_file(folder.c_str());
    wt::pump();
    // The dates went to the current file first; the folder gives an empty list.
    EXPECT_TRUE(sorted(saved_lines(wt::read_file(current))) == sorted(ordinary));
    EXPECT_EQ(papp->list.row_count(), 0);
    show_every_tab();
    EXPECT_FALSE(write_file_replacing(folder.c_str(), "x\r\n"));
    wt::command(ID_FILE_SAVE); // not a writable file: asks for a name, and is cancelled
    EXPECT_EQ(dialogs_, 1);
    {
        wt::MessageBoxes boxes;
        document()->PreCloseFrame(papp->main_frame());
        EXPECT_FALSE(document()->close_cancelled());
    }
    EXPECT_EQ(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(wt::read_file(folder + "\\inside.txt"), "kept");
    DeleteFileA((folder + "\\inside.txt").c_str());
}

TEST_F(HostileFile, ALockedCurrentFileKeepsItsContent)
{
    const std::string path = at("locked.dat");
    open(path, on_disk(ordinary));
    papp->list.add_line(entry("2014.01.01", "added", "0").data());
    const std::string before = wt::read_file(path);
    HANDLE hold = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(document()->ask_save(path.c_str()));
    {
        wt::MessageBoxes boxes;
        EXPECT_FALSE(document()->OnSaveDocument(path.c_str()));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, "The Dates could not be written to " + path + " !\n");
    }
    CloseHandle(hold);
    EXPECT_EQ(wt::read_file(path), before);
    EXPECT_EQ(papp->list.row_count(), 3);
    // Once the lock is gone the dates still in memory are saved.
    EXPECT_TRUE(document()->ask_save(path.c_str()));
    EXPECT_EQ(saved_lines(wt::read_file(path)).size(), 4u);
}

TEST_F(HostileFile, ALockedFileChosenAsTheDateFileIsNeverEmptied)
{
    const std::string path = at("held.dat");
    wt::write_file(path, on_disk(ordinary));
    HANDLE hold = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    papp->open_document_file(path.c_str());
    wt::pump();
    EXPECT_EQ(papp->list.row_count(), 0);
    show_every_tab();
    EXPECT_TRUE(document()->ask_save(path.c_str())); // nothing to write: nothing lost
    CloseHandle(hold);
    // Readable now: its entries come in, and the save writes them back in the usual order.
    EXPECT_TRUE(document()->ask_save(path.c_str()));
    EXPECT_EQ(papp->list.row_count(), 2);
    {
        wt::MessageBoxes boxes;
        document()->PreCloseFrame(papp->main_frame());
    }
    EXPECT_EQ(sorted(saved_lines(wt::read_file(path))), sorted(ordinary));
}

// Faults in the middle of a save leave the old file as it was.
TEST_F(HostileFile, FailedSavesLeaveTheOldContent)
{
    const std::string path = at("target.dat");
    const std::string old = on_disk(ordinary);
    wt::write_file(path, old);

    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(write_file_replacing(path.c_str(), "new\r\n"));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(wt::read_file(path), old);

    HANDLE hold = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(write_file_replacing(path.c_str(), "new\r\n"));
    CloseHandle(hold);
    EXPECT_EQ(wt::read_file(path), old);

    // A folder that is gone: neither target nor temporary file can be made.
    const std::string gone = wt::temp_dir("hostile\\gone");
    RemoveDirectoryA(gone.c_str());
    EXPECT_FALSE(write_file_replacing((gone + "\\x.dat").c_str(), "new\r\n"));
    EXPECT_FALSE(wt::file_exists(gone));

    EXPECT_EQ(remove_temporary_files(dir_), 0) << "a failed save left its temporary file";
}

// Another program looking at the date file during saves always finds it there.
TEST_F(HostileFile, TheTargetExistsAtEveryMomentOfASave)
{
    const std::string path = at("watched.dat");
    wt::write_file(path, "old\r\n");
    std::atomic<bool> stop{false};
    std::atomic<int> missing{0};
    std::thread watcher([&] {
        while (!stop)
            missing += GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    });
    int saved = 0;
    for (int i = 0; i < 300; ++i)
        saved += write_file_replacing(path.c_str(), i % 2 ? "odd\r\n" : "even\r\n");
    stop = true;
    watcher.join();
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(saved, 300);
    EXPECT_EQ(wt::read_file(path), "odd\r\n");
}

TEST_F(HostileFile, AHiddenTargetIsReplacedAndStaysHidden)
{
    const std::string path = at("hidden.dat");
    wt::write_file(path, "old\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(write_file_replacing(path.c_str(), "new\r\n"));
    EXPECT_EQ(wt::read_file(path), "new\r\n");
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A date file reached through a symbolic link: the save writes the file the link names, and
// the link stays a link.
TEST_F(HostileFile, ASymbolicLinkIsWrittenThrough)
{
    const std::string target = at("linked_target.dat"), link = at("link.dat");
    wt::write_file(target, "old\r\n");
    DeleteFileA(link.c_str());
    // Wine answers yes and makes nothing.
    if (!CreateSymbolicLinkA(link.c_str(), target.c_str(), 0) || !wt::file_exists(link))
        GTEST_SKIP() << "no symbolic links can be made here";
    EXPECT_TRUE(write_file_replacing(link.c_str(), "new\r\n"));
    EXPECT_EQ(wt::read_file(target), "new\r\n");
    EXPECT_TRUE(GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(remove_temporary_files(dir_), 0);
    DeleteFileA(link.c_str());
}

TEST_F(HostileFile, TheCurrentFolderRemovedBeforeTheSave)
{
    const std::string folder = wt::temp_dir("hostile\\vanishing");
    const std::string path = folder + "\\dates.dat";
    open(path, on_disk(ordinary));
    DeleteFileA(path.c_str());
    ASSERT_TRUE(RemoveDirectoryA(folder.c_str()));
    // The folder may still be held open by a watch on it (Wine then removes it only once the
    // watch lets go): the save goes there, or it fails with a message and makes no folder.
    bool saved = false;
    {
        wt::MessageBoxes boxes;
        saved = document()->OnSaveDocument(path.c_str());
        EXPECT_EQ(boxes.shown().size(), saved ? 0u : 1u);
    }
    if (saved)
        EXPECT_TRUE(sorted(saved_lines(wt::read_file(path))) == sorted(ordinary));
    else
        EXPECT_FALSE(wt::file_exists(folder));
    // The dates are still in memory and go to the next good target.
    EXPECT_EQ(papp->list.row_count(), 2);
    const std::string elsewhere = at("rescued.dat");
    EXPECT_TRUE(document()->ask_save(elsewhere.c_str()));
    EXPECT_TRUE(sorted(saved_lines(wt::read_file(elsewhere))) == sorted(ordinary));
}

// A folder so deep that a temporary file name beside the target does not fit a path where
// paths end at 259 characters. Where longer paths work the save must succeed: either way the
// file holds exactly what the result says, and no temporary file is left.
TEST_F(HostileFile, NoRoomForTheTemporaryFile)
{
    const size_t deep_length = 248; // the longest folder that can be created
    std::string deep = dir_;
    while (deep.size() < deep_length) {
        const size_t rest = deep_length - deep.size() - 1;
        size_t part = std::min<size_t>(rest, 40);
        if (rest - part == 1)
            --part; // leave room for one more backslash and name
        deep += "\\" + std::string(part, 'd');
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) << deep;
    }
    ASSERT_EQ(deep.size(), deep_length);
    const std::string path = deep + "\\a.dat";
    wt::write_file(path, "old\r\n");
    ASSERT_EQ(wt::read_file(path), "old\r\n");
    const bool saved = write_file_replacing(path.c_str(), "new\r\n");
    EXPECT_EQ(wt::read_file(path), saved ? "new\r\n" : "old\r\n");
    EXPECT_EQ(remove_temporary_files(deep), 0);
}

// Hostile registry values, each read by a settings holder of its own in a folder of its own.
namespace {

// Each read by a settings holder of its own in a folder of its own.
class SettingsInFolder : public wt::FreshSettings {
public:
    SettingsInFolder() : wt::FreshSettings("hostile-settings") { }
};

void set_raw(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, settings_key, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

int stored(const char* name)
{
    return reg_get_int("HKCU", settings_key, name);
}

DWORD stored_type(const char* name)
{
    DWORD type = REG_NONE;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settings_key, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, name, nullptr, &type, nullptr, nullptr);
        RegCloseKey(key);
    }
    return type;
}

struct IntSetting {
    const char* name;
    int fallback;
    int CGUI::*field;
};

const IntSetting int_settings[] = {{"xo", 100, &CGUI::xo}, {"yo", 100, &CGUI::yo}, {"xs", 450, &CGUI::xs},
                                   {"ys", 350, &CGUI::ys}, {"df", 1, &CGUI::df},   {"fs", 0, &CGUI::fs},
                                   {"ft", 1, &CGUI::ft},   {"ss", 0, &CGUI::ss},   {"tm", 10, &CGUI::tm},
                                   {"wm", 60, &CGUI::wm},  {"wf", 0, &CGUI::wf},   {"wn", 1, &CGUI::wn}};

// Back to what a start of the program leaves: every default written.
class HostileRegistry : public testing::Test {
protected:
    void SetUp() override { wt::clear_settings(); }
    void TearDown() override
    {
        wt::clear_settings();
        SettingsInFolder defaults;
    }
};

} // namespace

TEST_F(HostileRegistry, WrongTypesAndSizesAreReplacedByTheDefaults)
{
    const std::string text300(300, '7');
    const DWORD two = 5;
    const unsigned long long eight = 5;
    const BYTE four_bytes[4] = {5, 0, 0, 0};
    set_raw("xo", REG_SZ, "", 1);
    set_raw("yo", REG_SZ, text300.c_str(), 301);
    set_raw("xs", REG_BINARY, four_bytes, 4);
    set_raw("ys", REG_DWORD, &two, 2);
    set_raw("df", REG_QWORD, &eight, 8);
    set_raw("fs", REG_DWORD_BIG_ENDIAN, four_bytes, 4);
    set_raw("ft", REG_EXPAND_SZ, "1", 2);
    set_raw("ss", REG_MULTI_SZ, "1\0\0", 3);
    set_raw("tm", REG_SZ, "10", 3);
    set_raw("wm", REG_NONE, nullptr, 0);
    set_raw("wf", REG_DWORD, nullptr, 0);
    SettingsInFolder s;
    for (const IntSetting& i : int_settings) {
        EXPECT_EQ(s.gui().*i.field, i.fallback) << i.name;
        EXPECT_EQ(stored(i.name), i.fallback) << i.name;
        EXPECT_EQ(stored_type(i.name), static_cast<DWORD>(REG_DWORD)) << i.name;
    }
}

TEST_F(HostileRegistry, NegativeValuesAreReplacedHugeOnesKept)
{
    for (const IntSetting& i : int_settings)
        reg_set_int("HKCU", settings_key, i.name, i.fallback % 2 ? -1 : INT_MIN);
    {
        SettingsInFolder s;
        for (const IntSetting& i : int_settings) {
            EXPECT_EQ(s.gui().*i.field, i.fallback) << i.name;
            EXPECT_EQ(stored(i.name), i.fallback) << i.name;
        }
    }
    for (const IntSetting& i : int_settings)
        reg_set_int("HKCU", settings_key, i.name, INT_MAX);
    SettingsInFolder s;
    for (const IntSetting& i : int_settings)
        EXPECT_EQ(stored(i.name), INT_MAX) << i.name;
    // The corner is kept on the screen in memory only; everything else is used as stored.
    EXPECT_EQ(s.gui().xo, 0);
    EXPECT_EQ(s.gui().yo, 0);
    EXPECT_EQ(s.gui().xs, INT_MAX);
    EXPECT_EQ(s.gui().df, INT_MAX);
    EXPECT_EQ(s.gui().wf, INT_MAX);
}

TEST_F(HostileRegistry, TimerAndRepeatExtremes)
{
    reg_set_int("HKCU", settings_key, "tm", 0);
    reg_set_int("HKCU", settings_key, "wm", 0);
    {
        SettingsInFolder s;
        EXPECT_EQ(s.gui().tm, 0);
        EXPECT_EQ(s.gui().wm, 0);
        // A zero period would be no timer at all, and a repeat of 0 divides by zero.
        EXPECT_EQ(timer_period_ms(s.gui().tm), 1);
        EXPECT_TRUE(alert_tick_plays(1, s.gui().wm));
        EXPECT_FALSE(alert_tick_plays(60, s.gui().wm));
        EXPECT_EQ(stored("tm"), 0);
    }
    reg_set_int("HKCU", settings_key, "tm", INT_MAX);
    reg_set_int("HKCU", settings_key, "wm", INT_MAX);
    SettingsInFolder s;
    EXPECT_EQ(s.gui().tm, INT_MAX);
    EXPECT_EQ(timer_period_ms(s.gui().tm), INT_MAX); // never the overflowed product
    EXPECT_TRUE(alert_tick_plays(INT_MAX, s.gui().wm));
}

TEST_F(HostileRegistry, ColoursOfEveryKind)
{
    const char* names[] = {"col0", "col1", "col2", "col3"};
    reg_set_int("HKCU", settings_key, names[0], -1);
    reg_set_str("HKCU", settings_key, names[1], "ffffff");
    reg_set_int("HKCU", settings_key, names[2], INT_MIN);
    reg_set_int("HKCU", settings_key, names[3], INT_MAX);
    SettingsInFolder s;
    EXPECT_EQ(stored(names[0]), 0xfcfcfc);
    EXPECT_EQ(s.gui().col[0], RGB(0xfc, 0xfc, 0xfc));
    EXPECT_EQ(stored(names[1]), 0xe0e0e0); // a string reads as missing
    EXPECT_EQ(s.gui().col[1], RGB(0xe0, 0xe0, 0xe0));
    // Any other value is used as read: only the low 24 bits make the colour.
    EXPECT_EQ(stored(names[2]), INT_MIN);
    EXPECT_EQ(s.gui().col[2], RGB(0, 0, 0));
    EXPECT_EQ(stored(names[3]), INT_MAX);
    EXPECT_EQ(s.gui().col[3], RGB(0xff, 0xff, 0xff));
}

TEST_F(HostileRegistry, MediaFileOfEveryLengthAndType)
{
    const std::string exe = fw::module_path();
    const std::string fallback = exe.substr(0, exe.size() - 7) + "ring.mp3";
    set_raw("", REG_SZ, "", 0);
    {
        SettingsInFolder s;
        EXPECT_EQ(std::string(s.gui().media_file), fallback);
    }
    set_raw("", REG_DWORD, "\1\0\0\0", 4);
    {
        SettingsInFolder s;
        EXPECT_EQ(std::string(s.gui().media_file), fallback);
        EXPECT_EQ(stored_type(""), static_cast<DWORD>(REG_SZ));
    }
    const std::string huge(300, 'm');
    set_raw("", REG_SZ, huge.c_str(), 300); // stored without its terminating zero
    {
        SettingsInFolder s;
        EXPECT_EQ(std::strlen(s.gui().media_file), 255u);
        EXPECT_EQ(std::string(s.gui().media_file), huge.substr(0, 255));
    }
    set_raw("", REG_SZ, "C:\\a.wav", 8); // no terminating zero either
    SettingsInFolder s;
    EXPECT_STREQ(s.gui().media_file, "C:\\a.wav");
}

// A save killed half-way: a child copy of this program saves a large list in a loop, and is
// killed after some saves. The file then holds one whole save, never a mix of two or less.
namespace {

const char* const loop_target_var = "TRM_SAVE_LOOP_TARGET";
const char* const loop_event_var = "TRM_SAVE_LOOP_EVENT";

// Held lines first, then open rows with falling dates: saved exactly in this order.
Lines large_list(char letter, int count)
{
    Lines lines;
    char date[16];
    for (int i = 0; i < 50; ++i)
        lines.push_back(entry("2000.01.01", std::string(40, letter) + std::to_string(i), "1"));
    for (int i = count; i > 0; --i) {
        std::snprintf(date, sizeof date, "%4d.%02d.%02d", 2000 + i / 372, 1 + i / 31 % 12, 1 + i % 31);
        lines.push_back(entry(date, std::string(40, letter) + std::to_string(i), "0"));
    }
    return lines;
}

const Lines& list_a()
{
    static const Lines a = large_list('a', 60000);
    return a;
}

const Lines& list_b()
{
    static const Lines b = large_list('b', 45000);
    return b;
}

std::string env(const char* name)
{
    char value[MAX_PATH] = "";
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? value : "";
}

struct Child {
    PROCESS_INFORMATION pi{};
    bool start(const std::string& folder)
    {
        std::string cmd = "\"" + fw::module_path() + "\" --gtest_filter=HostileSaveChild.*";
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE nul =
            CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = nul;
        si.hStdOutput = nul;
        si.hStdError = nul;
        BOOL ok = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &si, &pi);
        CloseHandle(nul);
        return ok != 0;
    }
    void kill()
    {
        TerminateProcess(pi.hProcess, 9);
        WaitForSingleObject(pi.hProcess, 30000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
};

} // namespace

// Run only as the child of the test below. The two lists change places in an instant, so that
// nearly all of the loop is saving.
TEST(HostileSaveChild, SavesALargeListInALoop)
{
    const std::string target = env(loop_target_var);
    if (target.empty())
        GTEST_SKIP() << "the child of HostileSave.KilledHalfWay";
    HANDLE saved = OpenEventA(EVENT_MODIFY_STATE, FALSE, env(loop_event_var).c_str());
    ASSERT_NE(saved, nullptr);
    wt::reset_dates(list_b());
    RowStore other = papp->list.store;
    wt::reset_dates(list_a());
    for (int i = 0; i < 100000; ++i) {
        ASSERT_TRUE(document()->ask_save(target.c_str()));
        SetEvent(saved);
        std::swap(papp->list.store, other);
        papp->list.refresh_rows();
    }
    CloseHandle(saved);
}

TEST(HostileSave, KilledHalfWayLeavesOneWholeSave)
{
    const std::string folder = wt::temp_dir("hostile-kill");
    const std::string child_folder = wt::temp_dir("hostile-kill\\child");
    const std::string target = folder + "\\dates.dat";
    const std::string a = on_disk(list_a()), b = on_disk(list_b());
    wt::write_file(target, a);
    SetEnvironmentVariableA(loop_target_var, target.c_str());
    int interrupted = 0;
    // The result must not depend on when the kill comes; the delays only spread it over the save.
    const DWORD delays_ms[] = {0, 3, 10, 25, 50, 100};
    for (int round = 0; round < 6; ++round) {
        const std::string name = "TrmSaveLoop" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(round);
        HANDLE saved = CreateEventA(nullptr, FALSE, FALSE, name.c_str());
        SetEnvironmentVariableA(loop_event_var, name.c_str());
        Child child;
        ASSERT_TRUE(child.start(child_folder));
        int done = 0;
        const int saves = 1 + round % 3;
        for (; done < saves; ++done)
            if (WaitForSingleObject(saved, 60000) != WAIT_OBJECT_0)
                break;
        Sleep(delays_ms[round]);
        child.kill();
        CloseHandle(saved);
        EXPECT_EQ(done, saves) << "the child stopped saving";
        const std::string content = wt::read_file(target);
        EXPECT_TRUE(content == a || content == b) << "round " << round << ": " << content.size() << " bytes";
        // A temporary file left over shows that the kill came in the middle of a write.
        interrupted += remove_temporary_files(folder) > 0;
    }
    RecordProperty("saves_killed_while_writing", interrupted);
    SetEnvironmentVariableA(loop_target_var, nullptr);
    SetEnvironmentVariableA(loop_event_var, nullptr);
}
