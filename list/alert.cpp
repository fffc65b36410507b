#include "list/alert.h"
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include "fw/log.h"
#include "app/mapp.h"
#include "fw/handles.h"
#include "fw/mci_sound.h"
#include "fw/thread.h"
#include "core/alert_rule.h"
#include "core/media_cmd.h"
#include "list/clst.h"

namespace {

constexpr DWORD poll_ms = 100;
const char* const sound_alias = "trm_alert";

// Set while the built-in playback runs; a tick starts none beside it.
std::atomic<bool> builtin_running{false};

STARTUPINFOA player_startup(int show)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESIZE;
    si.wShowWindow = static_cast<WORD>(show ? SW_SHOWNORMAL : SW_HIDE);
    si.dwXSize = 300;
    si.dwYSize = 130;
    return si;
}

bool start_process(const char* command, int show, fw::Process& process)
{
    // A command that does not fit would start a cut program path: it is not started at all.
    if (!command || std::strlen(command) > media_cmd_chars)
        return false;
    // CreateProcessA writes into its command line: a copy of our own.
    char line[media_cmd_chars + 1];
    std::strcpy(line, command);
    STARTUPINFOA si = player_startup(show);
    return CreateProcessA(nullptr, line, nullptr, nullptr, TRUE, HIGH_PRIORITY_CLASS, nullptr, nullptr, &si,
                          &process.info) != 0;
}

void wait_until_ended(HANDLE process)
{
    for (;;) {
        DWORD waited = WaitForSingleObject(process, poll_ms);
        DWORD code = 0;
        if (!GetExitCodeProcess(process, &code)) {
            trm_log("  GetExitCodeProcess () = 0\n");
            return;
        }
        // A player that ended with the still-active code itself must not be waited for forever.
        if (code != STILL_ACTIVE || waited == WAIT_OBJECT_0)
            return;
    }
}

bool any_row_due(CLst& list)
{
    for (int row = 0; row < list.row_count(); ++row) {
        list.chek_date(list.cell_text(row, 0).c_str());
        list.chek_time(list.cell_text(row, 2).c_str());
        if (list.scratch.due)
            return true;
    }
    return false;
}

} // namespace

void CLst::chek_alrm()
{
    papp->grid.get_time();
    ++papp->tick_count;
    papp->rem.chek_due();
    if (papp->gui.wf != 1)
        return;
    if (!any_row_due(*this))
        return;
    if (!alert_tick_plays(papp->tick_count, papp->gui.wm) || builtin_running)
        return;
    // The worker gets its own copy: the options dialog may change the setting meanwhile.
    auto media_file = std::make_unique<std::string>(papp->gui.media_file);
    papp->play_thread = fw::begin_thread(play_media, media_file.get());
    if (papp->play_thread)
        media_file.release();
}

UINT play_media(void* param)
{
    std::unique_ptr<std::string> media_file(static_cast<std::string*>(param));
    if (exec_wait(papp->media_cmd, 1) == 1)
        play_builtin(*media_file);
    return 0;
}

void play_builtin(const std::string& media_file)
{
    if (builtin_running.exchange(true))
        return;
    {
        fw::MciSound sound(sound_alias);
        if (sound.play(media_file)) {
            trm_log("  built-in playback started\n");
            sound.wait_end(poll_ms);
        } else {
            trm_log("  built-in playback failed\n");
        }
    }
    builtin_running = false;
}

int exec_wait(const char* command, int show)
{
    fw::Process process;
    if (!start_process(command, show, process)) {
        trm_log("  CreateProcess () not started\n");
        return 1;
    }
    wait_until_ended(process.info.hProcess);
    return 0;
}
