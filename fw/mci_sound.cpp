#include "fw/mci_sound.h"
#include <mmsystem.h>
#include "core/mci_text.h"
#include "fw/system_dll.h"

namespace fw {

namespace {

MciSend& mci_hook()
{
    static MciSend hook;
    return hook;
}

unsigned long system_mci_send(const std::string& command, std::string& answer)
{
    static auto* const send = system_function<decltype(mciSendStringA)>("winmm.dll", "mciSendStringA");
    if (!send)
        return MCIERR_DEVICE_NOT_INSTALLED;
    char text[128] = "";
    const MCIERROR result = send(command.c_str(), text, sizeof text, nullptr);
    answer = text;
    return result;
}

} // namespace

void set_mci_send(MciSend send)
{
    mci_hook() = std::move(send);
}

MciSound::~MciSound()
{
    std::string ignored;
    if (open_)
        send("close " + alias_, ignored);
}

unsigned long MciSound::send(const std::string& command, std::string& answer) const
{
    answer.clear();
    const MciSend& hook = mci_hook();
    return hook ? hook(command, answer) : system_mci_send(command, answer);
}

std::string MciSound::answer_of(const std::string& command) const
{
    std::string answer;
    return send(command, answer) == 0 ? answer : std::string();
}

bool MciSound::play(const std::string& path)
{
    const std::string open = mci_open_command(path, alias_);
    std::string ignored;
    if (open.empty() || open_ || send(open, ignored) != 0)
        return false;
    open_ = true;
    return send("play " + alias_, ignored) == 0;
}

void MciSound::wait_end(DWORD poll_ms)
{
    if (!open_)
        return;
    std::string ignored;
    send("set " + alias_ + " time format milliseconds", ignored);
    const unsigned long limit = mci_wait_limit_ms(answer_of("status " + alias_ + " length"));
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < limit) {
        const std::string mode = answer_of("status " + alias_ + " mode");
        if (mode != "playing" && mode != "seeking")
            return;
        Sleep(poll_ms);
    }
}

} // namespace fw
