// The due-date alert: which ticks start a player, with a stand-in player registered for ".wav",
// and the worker that waits for each player without holding up the window.
#include <windows.h>
#include <mmsystem.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>
#include "fw/registry.h"
#include "fw/app.h"
#include "fw/mci_sound.h"
#include "fw/system_dll.h"
#include "list/alert.h"
#include "res/resource.h"
#include "view/mvie.h"
#include "win_test.h"

namespace {

const char* const wav_key = "Software\\Classes\\.wav";
const char* const test_class = "trmtest.wav";
const char* const test_class_key = "Software\\Classes\\trmtest.wav";
const char* const not_started = "  CreateProcess () not started\n";
const char* const builtin_started = "  built-in playback started\n";
const char* const builtin_failed = "  built-in playback failed\n";
constexpr DWORD patience_ms = 20000;

std::string program_folder()
{
    std::string exe = fw::module_path();
    return exe.substr(0, exe.find_last_of('\\') + 1);
}

std::string date_line(int days, const char* time, const char* status)
{
    return wt::date_in_days(days) + "\tMon\t" + time + "\tCall the bank\t" + status + "\n";
}

size_t count_of(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

struct PlayerRecord {
    DWORD pid, tid;
    std::string command;
};

struct FrameQuestion {
    LRESULT sent = 0;
};

DWORD WINAPI ask_frame(void* param)
{
    DWORD_PTR answer = 0;
    static_cast<FrameQuestion*>(param)->sent =
        SendMessageTimeoutA(papp->main_window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    return 0;
}

// Lets the window's thread answer messages sent from elsewhere while it waits for a thread.
bool wait_answering(HANDLE thread, DWORD limit_ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < limit_ms) {
        DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, 50, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0)
            return true;
        MSG msg;
        // Sent messages are delivered inside the peek; posted ones (timer ticks) stay queued.
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return false;
}

// Stands in front of the system's MCI: records each command, answers like a device that plays
// for as long as the test holds it, or refuses to open.
class FakeMci {
public:
    FakeMci()
    {
        fw::set_mci_send([this](const std::string& command, std::string& answer) { return send(command, answer); });
    }
    ~FakeMci() { fw::set_mci_send(nullptr); }
    FakeMci(const FakeMci&) = delete;
    FakeMci& operator=(const FakeMci&) = delete;

    void refuse_open() { open_result_ = 263; }
    void hold(bool on) { held_ = on; }
    std::vector<std::string> commands() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return commands_;
    }
    size_t count_of(const std::string& command) const
    {
        std::vector<std::string> all = commands();
        return static_cast<size_t>(std::count(all.begin(), all.end(), command));
    }
    bool wait_for(const std::string& command, size_t count) const
    {
        DWORD start = GetTickCount();
        while (count_of(command) < count)
            if (GetTickCount() - start > patience_ms)
                return false;
            else
                Sleep(5);
        return true;
    }

private:
    unsigned long send(const std::string& command, std::string& answer)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            commands_.push_back(command);
        }
        if (command.compare(0, 5, "open ") == 0)
            return open_result_;
        if (command == "status trm_alert length")
            answer = "1500";
        if (command == "status trm_alert mode")
            answer = held_ ? "playing" : "stopped";
        return 0;
    }

    mutable std::mutex mutex_;
    std::vector<std::string> commands_;
    std::atomic<bool> held_{false};
    unsigned long open_result_ = 0;
};

class Alert : public testing::Test {
protected:
    void SetUp() override
    {
        saved_tick_ = papp->tick_count;
        saved_wf_ = papp->gui.wf;
        saved_wm_ = papp->gui.wm;
        std::strcpy(saved_cmd_, papp->media_cmd);
        CLst& list = papp->list;
        for (int row = 0; row < list.row_count(); ++row)
            saved_rows_.push_back(list.store.read_back(static_cast<size_t>(row)));
        saved_lines_ = list.lines;
        if (const char* cls = reg_get_str("HKLM", wav_key, ""))
            saved_class_ = std::string(cls);

        record_ = wt::temp_dir("alert") + "\\players.txt";
        DeleteFileA(record_.c_str());
        DeleteFileA(hold_marker().c_str());
        SetEnvironmentVariableA("TRM_PLAYER_RECORD", record_.c_str());
        SetEnvironmentVariableA("TRM_PLAYER_EXIT", nullptr);
        register_fake_player();
        papp->tick_count = 0;
        papp->gui.wf = 1;
    }

    void TearDown() override
    {
        DeleteFileA(hold_marker().c_str());
        end_players();
        for (HANDLE worker : workers_) {
            WaitForSingleObject(worker, patience_ms);
            CloseHandle(worker);
        }
        SetEnvironmentVariableA("TRM_PLAYER_RECORD", nullptr);
        SetEnvironmentVariableA("TRM_PLAYER_EXIT", nullptr);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, test_class_key);
        if (saved_class_)
            reg_set_str("HKLM", wav_key, "", saved_class_->c_str());
        else
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, wav_key);
        std::strcpy(papp->media_cmd, saved_cmd_);
        papp->tick_count = saved_tick_;
        papp->gui.wf = saved_wf_;
        papp->gui.wm = saved_wm_;
        wt::set_rows(saved_rows_);
        papp->list.lines = saved_lines_;
        papp->list.refresh_rows();
    }

    void register_fake_player()
    {
        reg_set_str("HKLM", wav_key, "", test_class);
        std::string play = "\"" + program_folder() + "fake_player.exe\" \"%1\"";
        reg_set_str("HKLM", (std::string(test_class_key) + "\\shell\\play\\command").c_str(), "", play.c_str());
        papp->media_cmd[0] = '\0';
        papp->chek_comm();
        ASSERT_NE(std::strstr(papp->media_cmd, "fake_player.exe\""), nullptr) << papp->media_cmd;
    }

    std::string hold_marker() const { return record_ + ".hold"; }
    void hold_players() { wt::write_file(hold_marker(), "hold"); }

    // One timer tick as the view receives it; true when the tick started a playback worker.
    bool tick()
    {
        papp->play_thread = 0;
        SendMessageA(active_view()->hwnd(), WM_TIMER, ID_ALERT_TIMER, 0);
        if (papp->play_thread == 0)
            return false;
        // Kept so that every worker has ended before the next test changes the media command.
        if (HANDLE worker = OpenThread(SYNCHRONIZE, FALSE, papp->play_thread))
            workers_.push_back(worker);
        return true;
    }

    // The numbers of the ticks, out of the next count, that started a worker.
    std::vector<int> starting_ticks(int count)
    {
        std::vector<int> started;
        for (int i = 0; i < count; ++i)
            if (tick())
                started.push_back(papp->tick_count);
        return started;
    }

    // The same, each tick's worker ended before the next tick: where no player starts, the
    // built-in playback of one tick makes a tick that comes while it plays skip its turn.
    std::vector<int> starting_ticks_one_by_one(int count)
    {
        std::vector<int> started;
        for (int i = 0; i < count; ++i)
            if (tick()) {
                started.push_back(papp->tick_count);
                EXPECT_TRUE(workers_ended());
            }
        return started;
    }

    std::vector<PlayerRecord> records() const
    {
        std::vector<PlayerRecord> out;
        std::istringstream in(wt::read_text(record_));
        std::string line;
        while (std::getline(in, line)) {
            size_t tab = line.find('\t');
            size_t second = tab == std::string::npos ? tab : line.find('\t', tab + 1);
            if (second == std::string::npos)
                continue;
            out.push_back({static_cast<DWORD>(std::strtoul(line.c_str(), nullptr, 10)),
                           static_cast<DWORD>(std::strtoul(line.c_str() + tab + 1, nullptr, 10)),
                           line.substr(second + 1)});
        }
        return out;
    }

    // Waits, within bounds, until count players have written their record.
    bool wait_for_players(size_t count) const
    {
        DWORD start = GetTickCount();
        while (records().size() < count) {
            if (GetTickCount() - start > patience_ms)
                return false;
            Sleep(10);
        }
        return true;
    }

    // Waits until every worker started so far has ended; their players have ended before them.
    bool workers_ended()
    {
        bool all = true;
        for (HANDLE worker : workers_) {
            all = WaitForSingleObject(worker, patience_ms) == WAIT_OBJECT_0 && all;
            CloseHandle(worker);
        }
        workers_.clear();
        return all;
    }

    // Kills the players of this test that still run, by the ids they recorded.
    void end_players()
    {
        for (const PlayerRecord& r : records()) {
            HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, r.pid);
            if (!p)
                continue;
            if (WaitForSingleObject(p, 0) == WAIT_TIMEOUT)
                TerminateProcess(p, 1);
            WaitForSingleObject(p, patience_ms);
            CloseHandle(p);
        }
    }

    size_t log_count(const char* line) const { return count_of(wt::read_text("trm.log"), line); }

    bool wait_for_log_count(const char* line, size_t count) const
    {
        DWORD start = GetTickCount();
        while (log_count(line) < count) {
            if (GetTickCount() - start > patience_ms)
                return false;
            Sleep(10);
        }
        return true;
    }

    std::string record_;
    std::vector<HANDLE> workers_;
    // Where no player starts, the built-in playback is asked: no test here needs a sound device.
    FakeMci mci;

private:
    int saved_tick_ = 0, saved_wf_ = 0, saved_wm_ = 0;
    char saved_cmd_[256] = "";
    std::vector<std::string> saved_rows_, saved_lines_;
    std::optional<std::string> saved_class_;
};

} // namespace

TEST_F(Alert, DueEntryPlaysAtTickOneAndAtEveryMultipleOfTheRepeat)
{
    papp->gui.wm = 3;
    wt::set_rows({date_line(-1, "", "0"), date_line(5, "", "0")});
    EXPECT_EQ(starting_ticks(7), (std::vector<int>{1, 3, 6}));
    ASSERT_TRUE(wait_for_players(3));
    ASSERT_TRUE(workers_ended());
    std::vector<PlayerRecord> started = records();
    ASSERT_EQ(started.size(), 3u);
    for (const PlayerRecord& r : started)
        EXPECT_EQ(r.command, papp->media_cmd);
}

TEST_F(Alert, ExpandablePlayCommandStartsItsPlayerAtTickOne)
{
    SetEnvironmentVariableA("TRM_PLAYER_DIR", program_folder().c_str());
    std::string key = std::string(test_class_key) + "\\shell\\play\\command";
    const char play[] = "%TRM_PLAYER_DIR%fake_player.exe /play %1";
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr), 0);
    RegSetValueExA(k, "", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(play), sizeof play);
    RegCloseKey(k);
    papp->media_cmd[0] = '\0';
    papp->chek_comm();
    SetEnvironmentVariableA("TRM_PLAYER_DIR", nullptr);
    EXPECT_EQ(std::string(papp->media_cmd),
              "\"" + program_folder() + "fake_player.exe\" \"" + papp->gui.media_file + "\"");
    wt::set_rows({date_line(-1, "", "0")});
    EXPECT_EQ(starting_ticks(1), (std::vector<int>{1}));
    ASSERT_TRUE(wait_for_players(1));
    ASSERT_TRUE(workers_ended());
    EXPECT_EQ(records().at(0).command, papp->media_cmd);
}

TEST_F(Alert, EntryDueOnlyFromTickTwoFirstPlaysAtTheRepeat)
{
    papp->gui.wm = 3;
    wt::set_rows({date_line(1, "", "0")});
    EXPECT_FALSE(tick());
    wt::set_rows({date_line(1, "", "0"), date_line(-2, "08:00", "0")});
    EXPECT_EQ(starting_ticks(5), (std::vector<int>{3, 6}));
    ASSERT_TRUE(wait_for_players(2));
    ASSERT_TRUE(workers_ended());
    EXPECT_EQ(records().size(), 2u);
}

TEST_F(Alert, OnlyRowsAreScannedAndTheirStatusDoesNotCount)
{
    papp->gui.wm = 1;
    // Nothing due: an empty list, a future entry, a due line held back in the line store.
    wt::set_rows({});
    EXPECT_FALSE(tick());
    wt::set_rows({date_line(3, "09:00", "0")});
    EXPECT_FALSE(tick());
    papp->list.lines = {date_line(-1, "", "1")};
    EXPECT_FALSE(tick());
    // A done entry that is a row counts; so does an entry of today from the start of the day.
    wt::set_rows({date_line(-1, "", "1")});
    EXPECT_TRUE(tick());
    wt::set_rows({date_line(0, "00:00", "0")});
    EXPECT_TRUE(tick());
    ASSERT_TRUE(wait_for_players(2));
    EXPECT_TRUE(workers_ended());
}

TEST_F(Alert, SwitchedOffNeverPlaysButTheTicksAreCounted)
{
    papp->gui.wm = 1;
    wt::set_rows({date_line(-1, "", "0")});
    papp->gui.wf = 0;
    EXPECT_TRUE(starting_ticks(4).empty());
    EXPECT_EQ(papp->tick_count, 4);
    // Only 1 switches it on.
    papp->gui.wf = 2;
    EXPECT_TRUE(starting_ticks(2).empty());
    EXPECT_EQ(papp->tick_count, 6);
    EXPECT_FALSE(wt::file_exists(record_));
}

TEST_F(Alert, RepeatOfZeroOrLessPlaysOnlyAtTickOne)
{
    wt::set_rows({date_line(-1, "", "0")});
    papp->gui.wm = 0;
    EXPECT_EQ(starting_ticks(5), (std::vector<int>{1}));
    papp->tick_count = 0;
    papp->gui.wm = -4;
    EXPECT_EQ(starting_ticks(5), (std::vector<int>{1}));
    ASSERT_TRUE(wait_for_players(2));
    ASSERT_TRUE(workers_ended());
    EXPECT_EQ(records().size(), 2u);
}

TEST_F(Alert, WithoutPlayerEachQualifyingTickLogsThatNothingStarted)
{
    papp->media_cmd[0] = '\0';
    papp->gui.wm = 2;
    wt::set_rows({date_line(-1, "", "0")});
    size_t before = log_count(not_started);
    EXPECT_EQ(starting_ticks_one_by_one(5), (std::vector<int>{1, 2, 4}));
    ASSERT_TRUE(wait_for_log_count(not_started, before + 3));
    ASSERT_TRUE(workers_ended());
    EXPECT_EQ(log_count(not_started), before + 3);
    EXPECT_FALSE(wt::file_exists(record_));
}

TEST_F(Alert, PlayersThatNeverEndPileUpWhileTheWindowAnswers)
{
    hold_players();
    papp->gui.wm = 1;
    wt::set_rows({date_line(-1, "", "0")});
    EXPECT_EQ(starting_ticks(3), (std::vector<int>{1, 2, 3}));
    ASSERT_TRUE(wait_for_players(3));
    std::vector<PlayerRecord> started = records();
    ASSERT_EQ(started.size(), 3u);
    for (const PlayerRecord& r : started) {
        HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, r.pid);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(WaitForSingleObject(p, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "player " << r.pid << " ended";
        CloseHandle(p);
    }
    EXPECT_NE(started[0].pid, started[1].pid);
    EXPECT_NE(started[1].pid, started[2].pid);

    // Another thread asks the frame while all three players run. The window's thread looks at
    // its queue first: one that has not for 5 s counts as hung, and SMTO_ABORTIFHUNG would give
    // up at once. This thread sent its ticks without looking since earlier tests, and under load
    // the asker could come before the first look inside wait_answering.
    MSG pending;
    PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);
    FrameQuestion question;
    HANDLE asker = CreateThread(nullptr, 0, ask_frame, &question, 0, nullptr);
    ASSERT_NE(asker, nullptr);
    EXPECT_TRUE(wait_answering(asker, patience_ms));
    WaitForSingleObject(asker, patience_ms);
    CloseHandle(asker);
    EXPECT_NE(question.sent, 0);

    end_players();
    EXPECT_TRUE(workers_ended());
}

TEST_F(Alert, PlayerEndingWithTheStillActiveCodeReleasesItsWorker)
{
    hold_players();
    SetEnvironmentVariableA("TRM_PLAYER_EXIT", "259");
    papp->gui.wm = 1;
    wt::set_rows({date_line(-1, "", "0")});
    ASSERT_TRUE(tick());
    ASSERT_TRUE(wait_for_players(1));
    ASSERT_EQ(workers_.size(), 1u);
    EXPECT_EQ(WaitForSingleObject(workers_[0], 0), static_cast<DWORD>(WAIT_TIMEOUT));
    DeleteFileA(hold_marker().c_str());
    EXPECT_TRUE(workers_ended());
}

TEST_F(Alert, ExecWaitReturnsOnceThePlayerHasEndedAndReleasesItsHandles)
{
    for (int show = 0; show < 2; ++show)
        EXPECT_EQ(exec_wait(papp->media_cmd, show), 0);
    // Synchronous: each player has written its record before exec_wait came back.
    std::vector<PlayerRecord> started = records();
    ASSERT_EQ(started.size(), 2u);
    // With its last handle closed the player's thread is gone, id and all. (Wine keeps an ended
    // process's object a while longer, so the process handle cannot be checked the same way.)
    for (const PlayerRecord& r : started) {
        HANDLE t = OpenThread(SYNCHRONIZE, FALSE, r.tid);
        EXPECT_EQ(t, nullptr) << "thread " << r.tid << " still held";
        if (t)
            CloseHandle(t);
    }
}

TEST_F(Alert, ExecWaitStartsNeitherAMissingNorAnOverlongCommand)
{
    size_t before = log_count(not_started);
    EXPECT_EQ(exec_wait("\"C:\\no such folder\\player.exe\" \"ring.mp3\"", 1), 1);
    std::string overlong = std::string(papp->media_cmd) + " \"" + std::string(260, 'x') + "\"";
    EXPECT_EQ(exec_wait(overlong.c_str(), 1), 1);
    EXPECT_EQ(exec_wait("", 0), 1);
    EXPECT_EQ(log_count(not_started), before + 3);
    EXPECT_FALSE(wt::file_exists(record_));
}

namespace {

class BuiltInPlayback : public Alert {
protected:
    void SetUp() override
    {
        Alert::SetUp();
        std::strcpy(saved_media_, papp->gui.media_file);
        std::strcpy(papp->gui.media_file, "C:\\trm sounds\\alert.mp3");
        papp->gui.wm = 1;
        wt::set_rows({date_line(-1, "", "0")});
        log_start_ = wt::read_text("trm.log").size();
    }
    void TearDown() override
    {
        mci.hold(false);
        Alert::TearDown();
        std::strcpy(papp->gui.media_file, saved_media_);
    }

    // The log written since the test began.
    std::string new_log() const { return wt::read_text("trm.log").substr(log_start_); }

private:
    size_t log_start_ = 0;
    char saved_media_[256] = "";
};

} // namespace

TEST_F(BuiltInPlayback, PlaysTheMediaFileWhenNoPlayerStarts)
{
    const char* const commands[] = {"", "\"C:\\no such folder\\player.exe\" \"C:\\trm sounds\\alert.mp3\""};
    for (const char* command : commands) {
        std::strcpy(papp->media_cmd, command);
        const size_t opened = mci.count_of("close trm_alert");
        ASSERT_TRUE(tick());
        ASSERT_TRUE(workers_ended());
        EXPECT_EQ(mci.count_of("close trm_alert"), opened + 1) << command;
    }
    const std::vector<std::string> one = {"open \"C:\\trm sounds\\alert.mp3\" type mpegvideo alias trm_alert",
                                          "play trm_alert",
                                          "set trm_alert time format milliseconds",
                                          "status trm_alert length",
                                          "status trm_alert mode",
                                          "close trm_alert"};
    std::vector<std::string> both = one;
    both.insert(both.end(), one.begin(), one.end());
    EXPECT_EQ(mci.commands(), both);
    const std::string once = std::string(not_started) + builtin_started;
    EXPECT_EQ(new_log(), once + once);
    EXPECT_FALSE(wt::file_exists(record_));
}

TEST_F(BuiltInPlayback, IsNotAskedWhileAPlayerStarts)
{
    ASSERT_TRUE(tick());
    ASSERT_TRUE(wait_for_players(1));
    ASSERT_TRUE(workers_ended());
    EXPECT_TRUE(mci.commands().empty());
    EXPECT_EQ(new_log().find("built-in"), std::string::npos);
}

TEST_F(BuiltInPlayback, ASystemThatCannotPlayTheFileIsLogged)
{
    mci.refuse_open();
    papp->media_cmd[0] = '\0';
    ASSERT_TRUE(tick());
    ASSERT_TRUE(workers_ended());
    EXPECT_EQ(mci.commands(),
              (std::vector<std::string>{"open \"C:\\trm sounds\\alert.mp3\" type mpegvideo alias trm_alert"}));
    EXPECT_EQ(new_log(), std::string(not_started) + builtin_failed);
}

TEST_F(BuiltInPlayback, NeverOverlapsItself)
{
    papp->media_cmd[0] = '\0';
    mci.hold(true);
    ASSERT_TRUE(tick());
    ASSERT_TRUE(mci.wait_for("status trm_alert mode", 1));
    // Due at every tick, and a tick that may play: none starts while the sound plays.
    EXPECT_FALSE(tick());
    EXPECT_FALSE(tick());
    mci.hold(false);
    ASSERT_TRUE(workers_ended());
    EXPECT_TRUE(tick());
    ASSERT_TRUE(workers_ended());
    EXPECT_EQ(mci.count_of("play trm_alert"), 2u);
    EXPECT_EQ(papp->tick_count, 4);
}

// The shipped sound through the system's own MCI. Under Wine without a sound device (no wave
// output) the MP3 cannot be rendered and the failure is logged; with a device it plays to its end.
TEST(RealMci, ShippedSoundPlaysToItsEndWhereThereIsASoundDevice)
{
    std::string exe = fw::module_path();
    std::string ring = exe.substr(0, exe.find_last_of('\\') + 1) + "ring.mp3";
    if (!wt::file_exists(ring))
        GTEST_SKIP() << "no ring.mp3 in the build (sox or lame missing)";
    static auto* const devices = fw::system_function<decltype(waveOutGetNumDevs)>("winmm.dll", "waveOutGetNumDevs");
    ASSERT_NE(devices, nullptr);
    const bool can_sound = devices() > 0;
    const size_t before = wt::read_text("trm.log").size();
    const DWORD start = GetTickCount();
    play_builtin(ring);
    const DWORD took = GetTickCount() - start;
    const std::string log = wt::read_text("trm.log").substr(before);
    std::printf("wave output devices: %u, took %lu ms, log: %s", devices(), static_cast<unsigned long>(took),
                log.c_str());
    EXPECT_EQ(log, can_sound ? builtin_started : builtin_failed);
    // The sound lasts 1.5 s; a playback that started is waited for.
    if (can_sound)
        EXPECT_GE(took, 1000u);
}
