// Start-up: the log lines in order, the settings written on a first start, the settings rules
// against the real registry, and the media command built from the ".wav" play command.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "fw/registry.h"
#include "fw/app.h"
#include "win_test.h"

namespace {

using wt::FreshSettings;

int stored(const char* name)
{
    return reg_get_int("HKCU", settings_key, name);
}

void set_wav_player(const char* cls, const char* play, DWORD type = REG_SZ)
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.wav");
    if (cls) {
        HKEY k;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.wav", 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr);
        RegSetValueExA(k, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(cls), static_cast<DWORD>(std::strlen(cls)));
        RegCloseKey(k);
    }
    if (cls && play) {
        std::string key = std::string("Software\\Classes\\") + cls + "\\shell\\play\\command";
        HKEY k;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr);
        RegSetValueExA(k, "", 0, type, reinterpret_cast<const BYTE*>(play), static_cast<DWORD>(std::strlen(play) + 1));
        RegCloseKey(k);
    }
}

std::string media_cmd_for(const char* cls, const char* play, DWORD type = REG_SZ)
{
    set_wav_player(cls, play, type);
    papp->media_cmd[0] = '\0';
    papp->chek_comm();
    return papp->media_cmd;
}

} // namespace

TEST(Startup, WritesTheLogLinesInOrder)
{
    const char* expected = "Logfile created by trm.exe:\n"
                           "CGUI::CGUI () OK ...\n"
                           "CLst::CLst () OK ...\n"
                           "CTrm::CTrm () OK ...\n"
                           "mapp::mapp () OK ...\n"
                           "mdoc::mdoc () OK ...\n"
                           "mwin::mwin () OK ...\n"
                           "mvie::mvie () OK ...\n"
                           "mdoc::read_file () OK ...\n";
    ASSERT_GE(wt::startup_log.size(), std::strlen(expected));
    EXPECT_EQ(wt::startup_log.substr(0, std::strlen(expected)), expected);
    EXPECT_NE(wt::startup_log.find("mapp::init_inst () OK ...\n"), std::string::npos);
    EXPECT_NE(wt::startup_log.find("mvie::init_mvie () OK ...\n"), std::string::npos);
}

TEST(Startup, FirstStartWritesEveryDefault)
{
    wt::clear_settings();
    FreshSettings s;
    const struct {
        const char* name;
        int value;
    } defaults[] = {{"xo", 100},        {"yo", 100},        {"xs", 450},        {"ys", 350},       {"df", 1}, {"fs", 0},
                    {"ft", 1},          {"ss", 0},          {"tm", 10},         {"wm", 60},        {"wf", 0}, {"wn", 1},
                    {"col0", 0xfcfcfc}, {"col1", 0xe0e0e0}, {"col2", 0xff0000}, {"col3", 0xffbc00}};
    for (const auto& d : defaults)
        EXPECT_EQ(stored(d.name), d.value) << d.name;
    std::string exe = fw::module_path();
    std::string media = exe.substr(0, exe.size() - 7) + "ring.mp3";
    EXPECT_STREQ(s.gui().media_file, media.c_str());
    const char* back = reg_get_str("HKCU", settings_key, "");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(std::string(back), media);
}

TEST(Startup, ReplacesMistypedAndNegativeValues)
{
    wt::clear_settings();
    reg_set_str("HKCU", settings_key, "tm", "10");
    reg_set_int("HKCU", settings_key, "wm", -5);
    reg_set_int("HKCU", settings_key, "col2", -1);
    reg_set_int("HKCU", settings_key, "col1", -7);
    FreshSettings s;
    EXPECT_EQ(s.gui().tm, 10);
    EXPECT_EQ(stored("tm"), 10);
    EXPECT_EQ(s.gui().wm, 60);
    EXPECT_EQ(stored("wm"), 60);
    EXPECT_EQ(stored("col2"), 0xff0000);
    EXPECT_EQ(s.gui().col[2], RGB(255, 0, 0));
    // Any other negative colour is used as it was read.
    EXPECT_EQ(stored("col1"), -7);
}

TEST(Startup, KeepsTheWindowOnTheScreenInMemoryOnly)
{
    wt::clear_settings();
    reg_set_int("HKCU", settings_key, "xo", 5000);
    reg_set_int("HKCU", settings_key, "yo", 7);
    reg_set_int("HKCU", settings_key, "col3", 0xffbc00);
    FreshSettings s;
    EXPECT_EQ(s.gui().xo, 0);
    EXPECT_EQ(s.gui().yo, 7);
    EXPECT_EQ(stored("xo"), 5000);
    EXPECT_EQ(GetRValue(s.gui().col[3]), 255);
    EXPECT_EQ(GetGValue(s.gui().col[3]), 188);
    EXPECT_EQ(GetBValue(s.gui().col[3]), 0);
}

TEST(Startup, StoredMediaFileIsUsedAndOverlongOneIsCut)
{
    wt::clear_settings();
    reg_set_str("HKCU", settings_key, "", "C:\\sounds\\bell.wav");
    {
        FreshSettings s;
        EXPECT_STREQ(s.gui().media_file, "C:\\sounds\\bell.wav");
    }
    std::string huge(300, 'm');
    reg_set_str("HKCU", settings_key, "", huge.c_str());
    {
        FreshSettings s;
        EXPECT_EQ(std::strlen(s.gui().media_file), 255u);
        EXPECT_EQ(std::string(reg_get_str("HKCU", settings_key, "")), huge);
    }
    wt::clear_settings();
}

TEST(Startup, SetPageUsesOneTwentiethMargins)
{
    FreshSettings s;
    HDC screen = GetDC(nullptr);
    s.gui().set_page(screen);
    int w = GetDeviceCaps(screen, HORZRES), h = GetDeviceCaps(screen, VERTRES);
    EXPECT_EQ(s.gui().page_left, w / 20);
    EXPECT_EQ(s.gui().page_bottom, h - h / 20);
    EXPECT_EQ(s.gui().unit_x, w / GetDeviceCaps(screen, HORZSIZE));
    ReleaseDC(nullptr, screen);
}

TEST(Registry, StringReadsShareOneBuffer)
{
    reg_set_str("HKCU", settings_key, "s1", "first");
    reg_set_str("HKCU", settings_key, "s2", "second");
    const char* a = reg_get_str("HKCU", settings_key, "s1");
    ASSERT_NE(a, nullptr);
    std::string copy = a;
    const char* b = reg_get_str("HKCU", settings_key, "s2");
    EXPECT_EQ(copy, "first");
    EXPECT_STREQ(b, "second");
    EXPECT_EQ(reg_get_str("HKCU", settings_key, "missing"), nullptr);
    EXPECT_EQ(reg_get_int("HKCU", settings_key, "s1"), -1);
    reg_set_str("HKCU", settings_key, "empty", "");
    EXPECT_EQ(reg_get_str("HKCU", settings_key, "empty"), nullptr);
}

// Runs a test body with a media file of the test's own.
class MediaCommand : public testing::Test {
protected:
    void SetUp() override
    {
        std::strcpy(saved_, papp->gui.media_file);
        std::strcpy(papp->gui.media_file, "C:\\trm\\ring.mp3");
    }
    void TearDown() override { std::strcpy(papp->gui.media_file, saved_); }
    char saved_[256];
};

TEST_F(MediaCommand, BuiltFromThePlayCommand)
{
    std::string media = papp->gui.media_file;
    EXPECT_EQ(media_cmd_for("soundrec", "\"C:\\Program Files\\Player\\play.exe\" /play \"%1\""),
              "\"C:\\Program Files\\Player\\play.exe\" \"" + media + "\"");
    EXPECT_EQ(media_cmd_for("soundrec", "C:\\tools\\mplay32.exe /play /close %1"),
              "\"C:\\tools\\mplay32.exe\" \"" + media + "\"");
    EXPECT_EQ(media_cmd_for("soundrec", "C:\\my.exe.d\\player.exe %1"), "\"C:\\my.exe\" \"" + media + "\"");
    EXPECT_EQ(media_cmd_for("soundrec", "C:\\TOOLS\\PLAYER.EXE %1"), "");
    EXPECT_EQ(media_cmd_for("", "C:\\tools\\player.exe %1"), "");
    EXPECT_EQ(media_cmd_for(nullptr, nullptr), "");
    EXPECT_EQ(media_cmd_for("soundrec", (std::string("C:\\") + std::string(260, 'p') + ".exe").c_str()), "");
}

TEST_F(MediaCommand, ExpandablePlayCommandIsExpandedThenBuiltTheSameWay)
{
    std::string media = papp->gui.media_file;
    SetEnvironmentVariableA("TRM_EMPTY", "");
    SetEnvironmentVariableA("TRM_LONG", std::string(250, 'l').c_str());
    const struct {
        const char* play;
        std::string cmd;
    } cases[] = {
        {"%SystemDrive%\\tools\\play.exe %1", "\"C:\\tools\\play.exe\" \"" + media + "\""},
        {"\"%SystemDrive%\\Program Files\\play.exe\" /play \"%L\"",
         "\"C:\\Program Files\\play.exe\" \"" + media + "\""},
        {"C:\\%TRM_EMPTY%tools\\play.EXE %1", ""},
        {"%TRM_EMPTY%", ""},
        {"C:\\%TRM_LONG%\\play.exe %1", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(media_cmd_for("soundrec", c.play, REG_EXPAND_SZ), c.cmd) << c.play;
    // Other kinds of value still count as none.
    EXPECT_EQ(media_cmd_for("soundrec", "C:\\tools\\play.exe %1", REG_MULTI_SZ), "");
    SetEnvironmentVariableA("TRM_EMPTY", nullptr);
    SetEnvironmentVariableA("TRM_LONG", nullptr);
}

TEST_F(MediaCommand, MediaPathWithSpacesStaysQuoted)
{
    std::strcpy(papp->gui.media_file, "C:\\my sounds\\ring.mp3");
    EXPECT_EQ(media_cmd_for("soundrec", "C:\\tools\\player.exe %1"),
              "\"C:\\tools\\player.exe\" \"C:\\my sounds\\ring.mp3\"");
}
