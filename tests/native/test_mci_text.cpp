#include "core/mci_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MciText, OpenCommandNamesTheDeviceByTheFileType)
{
    const struct {
        const char* path;
        std::string command;
    } cases[] = {
        {"C:\\trm\\ring.mp3", "open \"C:\\trm\\ring.mp3\" type mpegvideo alias a1"},
        {"C:\\My Sounds\\bell.WAV", "open \"C:\\My Sounds\\bell.WAV\" type waveaudio alias a1"},
        {"C:\\sounds.wav\\bell.ogg", "open \"C:\\sounds.wav\\bell.ogg\" type mpegvideo alias a1"},
        {"wav", "open \"wav\" type mpegvideo alias a1"},
        {"", ""},
        {"C:\\a\" type waveaudio alias x\".mp3", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fw::mci_open_command(c.path, "a1"), c.command) << c.path;
}

TEST(MciText, WaitLimitIsTheLengthWithSlackOrAFixedBound)
{
    const struct {
        const char* answer;
        unsigned long ms;
    } cases[] = {
        {"1520", 6520}, {"0", 5000}, {"", 600000}, {"12a", 600000}, {"-5", 600000}, {"99999999999999999999", 86400000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fw::mci_wait_limit_ms(c.answer), c.ms) << c.answer;
}

} // namespace
