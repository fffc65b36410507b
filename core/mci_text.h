// The MCI command strings that play one media file.
#pragma once
#include <string>
#include <string_view>

namespace fw {

// "waveaudio" for a ".wav" file (any case), else "mpegvideo", which plays MP3 and the other
// formats the system's media framework knows.
const char* mci_device_type(std::string_view path);

// open "<path>" type <device> alias <alias>; nothing for an empty path or one holding a double
// quote, which no file name has and which would end the quoted name early.
std::string mci_open_command(std::string_view path, std::string_view alias);

// Milliseconds to wait at most for a sound whose "status ... length" answer was given: its
// length and some slack, or a fixed bound when the answer is no number.
unsigned long mci_wait_limit_ms(std::string_view length_answer);

} // namespace fw
