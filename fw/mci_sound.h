// A media file played through the system's MCI (winmm, looked up on first use).
#pragma once
#include <windows.h>
#include <functional>
#include <string>

namespace fw {

// Sends one MCI command string, fills in its answer and gives mciSendString's result: 0 done.
using MciSend = std::function<unsigned long(const std::string& command, std::string& answer)>;
// Tests put a stand-in in front of the system's MCI; an empty function puts the system back.
// Set it only while no sound plays.
void set_mci_send(MciSend send);

// One sound under one alias; closed when this ends.
class MciSound {
public:
    explicit MciSound(std::string alias) : alias_(std::move(alias)) { }
    ~MciSound();
    MciSound(const MciSound&) = delete;
    MciSound& operator=(const MciSound&) = delete;

    // Opens the file and starts it; false when the system cannot play it.
    bool play(const std::string& path);
    // Returns once the sound has stopped (asked every poll_ms), or when it runs far past its length.
    void wait_end(DWORD poll_ms);

private:
    unsigned long send(const std::string& command, std::string& answer) const;
    std::string answer_of(const std::string& command) const;

    std::string alias_;
    bool open_ = false;
};

} // namespace fw
