#include "core/media_cmd.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MediaCmd, PlayCommandKeyOfAClass)
{
    EXPECT_EQ(play_command_key("soundrec"), "Software\\Classes\\soundrec\\shell\\play\\command");
    EXPECT_EQ(play_command_key(""), std::nullopt);
    EXPECT_EQ(play_command_key(nullptr), std::nullopt);
}

TEST(MediaCmd, PlayCommandKeyMustFitItsBuffer)
{
    const std::size_t fixed = std::string("Software\\Classes\\\\shell\\play\\command").size();
    const std::string longest(255 - fixed, 'c');
    ASSERT_TRUE(play_command_key(longest.c_str()));
    EXPECT_EQ(play_command_key(longest.c_str())->size(), 255u);
    EXPECT_EQ(play_command_key((longest + "c").c_str()), std::nullopt);
}

TEST(MediaCmd, QuotedPlayerKeepsItsQuote)
{
    EXPECT_EQ(build_media_cmd("\"C:\\Program Files\\Player\\wmplayer.exe\" /play /close \"%L\"", "C:\\trm\\ring.mp3"),
              "\"C:\\Program Files\\Player\\wmplayer.exe\" \"C:\\trm\\ring.mp3\"");
}

TEST(MediaCmd, UnquotedPlayerGetsOneQuote)
{
    EXPECT_EQ(build_media_cmd("C:\\WINDOWS\\sndrec32.exe /play /close %1", "D:\\My Media\\ring tone.mp3"),
              "\"C:\\WINDOWS\\sndrec32.exe\" \"D:\\My Media\\ring tone.mp3\"");
}

TEST(MediaCmd, CutAtTheFirstExe)
{
    EXPECT_EQ(build_media_cmd("\"C:\\Tools.exe\\bin\\player.exe\" %1", "ring.mp3"), "\"C:\\Tools.exe\" \"ring.mp3\"");
}

TEST(MediaCmd, NoPlayerFound)
{
    EXPECT_EQ(build_media_cmd("C:\\PLAYER.EXE /play %1", "ring.mp3"), std::nullopt);
    EXPECT_EQ(build_media_cmd("rundll32 player,Play %1", "ring.mp3"), std::nullopt);
    EXPECT_EQ(build_media_cmd("", "ring.mp3"), std::nullopt);
    EXPECT_EQ(build_media_cmd(nullptr, "ring.mp3"), std::nullopt);
    EXPECT_EQ(build_media_cmd("player.exe", ""), std::nullopt);
    EXPECT_EQ(build_media_cmd("player.exe", nullptr), std::nullopt);
}

TEST(MediaCmd, OverlongCommandEndsDiscovery)
{
    const std::string player(100, 'p');
    std::string media(255 - (player.size() + 9), 'm'); // two pairs of quotes, ".exe" and a blank
    const std::string expected = "\"" + player + ".exe\" \"" + media + "\"";
    ASSERT_EQ(expected.size(), 255u);
    EXPECT_EQ(build_media_cmd((player + ".exe %1").c_str(), media.c_str()), expected);
    media += 'm';
    EXPECT_EQ(build_media_cmd((player + ".exe %1").c_str(), media.c_str()), std::nullopt);
    // The arguments behind ".exe" do not count.
    EXPECT_TRUE(build_media_cmd(("x.exe " + std::string(1000, 'a')).c_str(), "ring.mp3"));
}

} // namespace
