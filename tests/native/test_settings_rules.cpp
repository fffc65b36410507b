#include "core/settings_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <vector>

#include "core/alert_rule.h"

namespace {

// The registry as the settings holder sees it; every call is recorded in order.
class FakeStore : public SettingsStore {
public:
    std::map<std::string, int> values;
    std::vector<std::string> calls; // "get xo", "set xo=100"
    std::map<std::string, int> writes;

    int get_int(const char* name) override
    {
        calls.push_back(std::string("get ") + name);
        const auto it = values.find(name);
        return it == values.end() ? -1 : it->second;
    }
    int set_int(const char* name, int v) override
    {
        calls.push_back(std::string("set ") + name + "=" + std::to_string(v));
        writes[name] = v;
        values[name] = v;
        return 0;
    }
};

// A store that is readable but refuses every write, like a key that cannot be created.
class ReadOnlyStore : public FakeStore {
public:
    int set_int(const char*, int) override { return 1; }
};

// The twelve integers in their stored order.
std::vector<int> ints_of(const Settings& s)
{
    return {s.xo, s.yo, s.xs, s.ys, s.df, s.fs, s.ft, s.ss, s.tm, s.wm, s.wf, s.wn};
}

FakeStore full_store()
{
    FakeStore store;
    store.values = {{"xo", 10},         {"yo", 20},  {"xs", 800},        {"ys", 600},       {"df", 0}, {"fs", 3},
                    {"ft", 0},          {"ss", 1},   {"tm", 5},          {"wm", 12},        {"wf", 1}, {"wn", 0},
                    {"col0", 0x112233}, {"col1", 0}, {"col2", 0xabcdef}, {"col3", 0x010203}};
    return store;
}

TEST(SettingsRules, FirstStartWritesEveryDefault)
{
    FakeStore store;
    const Settings s = load_settings(store, 1920, 1080);
    const std::map<std::string, int> defaults = {
        {"xo", 100},        {"yo", 100},        {"xs", 450},        {"ys", 350},       {"df", 1}, {"fs", 0},
        {"ft", 1},          {"ss", 0},          {"tm", 10},         {"wm", 60},        {"wf", 0}, {"wn", 1},
        {"col0", 0xfcfcfc}, {"col1", 0xe0e0e0}, {"col2", 0xff0000}, {"col3", 0xffbc00}};
    EXPECT_EQ(store.writes, defaults);
    EXPECT_EQ(ints_of(s), (std::vector<int>{100, 100, 450, 350, 1, 0, 1, 0, 10, 60, 0, 1}));
    EXPECT_EQ(s.col_value[0], 0xfcfcfcu);
    EXPECT_EQ(s.col_value[3], 0xffbc00u);
}

TEST(SettingsRules, AllIntegersAreReadBeforeAnyDefaultIsWritten)
{
    FakeStore store;
    load_settings(store, 1920, 1080);
    const std::vector<std::string> first = {"get xo", "get yo", "get xs", "get ys", "get df", "get fs",    "get ft",
                                            "get ss", "get tm", "get wm", "get wf", "get wn", "set xo=100"};
    ASSERT_GE(store.calls.size(), first.size());
    EXPECT_EQ(std::vector<std::string>(store.calls.begin(), store.calls.begin() + 13), first);
}

TEST(SettingsRules, StoredValuesAreUsedAndNothingIsWritten)
{
    FakeStore store = full_store();
    const Settings s = load_settings(store, 1920, 1080);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(ints_of(s), (std::vector<int>{10, 20, 800, 600, 0, 3, 0, 1, 5, 12, 1, 0}));
    EXPECT_EQ(s.col_value[1], 0u);
    EXPECT_EQ(s.col_value[2], 0xabcdefu);
}

TEST(SettingsRules, MissingOrNegativeValuesGetTheirDefault)
{
    FakeStore store = full_store();
    store.values.erase("tm"); // stored as a string: reads as missing
    store.values["wm"] = -7;
    store.values["xo"] = 0; // zero is a valid value
    const Settings s = load_settings(store, 1920, 1080);
    EXPECT_EQ(s.tm, 10);
    EXPECT_EQ(s.wm, 60);
    EXPECT_EQ(s.xo, 0);
    EXPECT_EQ(store.writes, (std::map<std::string, int>{{"tm", 10}, {"wm", 60}}));
}

TEST(SettingsRules, WindowKeptOnScreenInMemoryOnly)
{
    FakeStore store = full_store();
    store.values["xo"] = 5000;
    store.values["yo"] = 731;
    Settings s = load_settings(store, 1920, 1080);
    EXPECT_EQ(s.xo, 0);
    EXPECT_EQ(s.yo, 0);
    EXPECT_EQ(store.values["xo"], 5000);
    EXPECT_TRUE(store.writes.empty());

    store.values["xo"] = 1470; // exactly screen width - 450
    store.values["yo"] = 730;
    s = load_settings(store, 1920, 1080);
    EXPECT_EQ(s.xo, 1470);
    EXPECT_EQ(s.yo, 730);
}

TEST(SettingsRules, ExtremeScreenSizesDoNotOverflow)
{
    FakeStore store = full_store();
    Settings s = load_settings(store, INT_MIN, INT_MIN);
    EXPECT_EQ(s.xo, 0);
    EXPECT_EQ(s.yo, 0);
    store.values["xo"] = INT_MAX - 450;
    s = load_settings(store, INT_MAX, INT_MAX);
    EXPECT_EQ(s.xo, INT_MAX - 450);
}

TEST(SettingsRules, ColoursDefaultOnlyWhenMissing)
{
    FakeStore store = full_store();
    store.values.erase("col2"); // all bits set reads the same as missing
    store.values["col1"] = -2; // any other value is used as read
    const Settings s = load_settings(store, 1920, 1080);
    EXPECT_EQ(s.col_value[2], 0xff0000u);
    EXPECT_EQ(store.writes, (std::map<std::string, int>{{"col2", 0xff0000}}));
    EXPECT_EQ(s.col_value[1], 0xfffffffeu);
}

TEST(SettingsRules, FailedWritesKeepTheDefaultsInMemory)
{
    ReadOnlyStore store;
    const Settings s = load_settings(store, 1920, 1080);
    EXPECT_EQ(s.xs, 450);
    EXPECT_EQ(s.col_value[0], 0xfcfcfcu);
    EXPECT_TRUE(store.values.empty());
}

TEST(SettingsRules, DisplayColourPutsRedInTheLowByte)
{
    const std::uint32_t c = display_colour(0xffbc00);
    EXPECT_EQ(c & 0xffu, 255u);
    EXPECT_EQ((c >> 8) & 0xffu, 188u);
    EXPECT_EQ((c >> 16) & 0xffu, 0u);
    EXPECT_EQ(display_colour(0x123456), 0x563412u);
    EXPECT_EQ(display_colour(0xab123456), display_colour(0x123456));
}

TEST(SettingsRules, DefaultMediaPathReplacesSevenCharacters)
{
    EXPECT_EQ(default_media_path("C:\\Programs\\Termaris\\trm.exe"), "C:\\Programs\\Termaris\\ring.mp3");
    EXPECT_EQ(default_media_path("C:\\Programs\\termaris.exe"), "C:\\Programs\\termaring.mp3");
    EXPECT_EQ(default_media_path("a.exe"), "ring.mp3");
    EXPECT_EQ(default_media_path(""), "ring.mp3");
}

TEST(SettingsRules, PathsMustFitTheirField)
{
    EXPECT_TRUE(fits_path(std::string(255, 'a')));
    EXPECT_FALSE(fits_path(std::string(256, 'a')));
    EXPECT_FALSE(fits_path(default_media_path(std::string(255, 'a'))));
}

TEST(AlertRule, TimerPeriodWithoutOverflow)
{
    EXPECT_EQ(timer_period_ms(10), 10000);
    EXPECT_EQ(timer_period_ms(2147483), 2147483000);
    EXPECT_EQ(timer_period_ms(2147484), 0x7FFFFFFF);
    EXPECT_EQ(timer_period_ms(INT_MAX), 0x7FFFFFFF);
    EXPECT_EQ(timer_period_ms(0), 1);
    EXPECT_EQ(timer_period_ms(-5), 1);
    EXPECT_EQ(timer_period_ms(INT_MIN), 1);
}

TEST(AlertRule, PlaysAtTickOneAndEveryMultiple)
{
    for (int tick : {1, 60, 120, 600})
        EXPECT_TRUE(alert_tick_plays(tick, 60)) << tick;
    for (int tick : {2, 5, 59, 61, 119})
        EXPECT_FALSE(alert_tick_plays(tick, 60)) << tick;
    for (int tick = 1; tick < 5; ++tick)
        EXPECT_TRUE(alert_tick_plays(tick, 1));
}

TEST(AlertRule, NoRepeatWithoutAPositiveInterval)
{
    for (int wm : {0, -1, INT_MIN}) {
        EXPECT_TRUE(alert_tick_plays(1, wm));
        for (int tick : {2, 60, INT_MAX, INT_MIN})
            EXPECT_FALSE(alert_tick_plays(tick, wm)) << tick << " " << wm;
    }
}

} // namespace
