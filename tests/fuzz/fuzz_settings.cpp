// Any registry content and any screen: the settings holder runs with no negative setting except
// the colours, writes back exactly the defaults of the missing or negative values and nothing else.
#include <climits>
#include <map>
#include <string>
#include <vector>

#include "core/settings_rules.h"
#include "fuzz_input.h"

namespace {

struct Documented {
    const char* name;
    long long fallback;
};

const Documented int_values[] = {{"xo", 100}, {"yo", 100}, {"xs", 450}, {"ys", 350}, {"df", 1}, {"fs", 0},
                                 {"ft", 1},   {"ss", 0},   {"tm", 10},  {"wm", 60},  {"wf", 0}, {"wn", 1}};
const Documented colour_values[] = {{"col0", 0xfcfcfc}, {"col1", 0xe0e0e0}, {"col2", 0xff0000}, {"col3", 0xffbc00}};

class FuzzStore : public SettingsStore {
public:
    std::map<std::string, int> stored;
    std::vector<std::string> reads;
    std::map<std::string, std::vector<int>> writes;
    bool writes_fail = false;

    int get_int(const char* name) override
    {
        reads.push_back(name);
        const auto it = stored.find(name);
        return it == stored.end() ? -1 : it->second;
    }
    int set_int(const char* name, int v) override
    {
        writes[name].push_back(v);
        return writes_fail ? 1 : 0;
    }
};

// Missing values, -1, other negatives and plain numbers all turn up often.
int stored_value(fuzz::Input& in)
{
    switch (in.byte() % 4) {
    case 0: return -1;
    case 1: return in.byte();
    case 2: return -1 - in.byte();
    default: return in.int32();
    }
}

std::vector<int> fields_of(const Settings& s)
{
    return {s.xo, s.yo, s.xs, s.ys, s.df, s.fs, s.ft, s.ss, s.tm, s.wm, s.wf, s.wn};
}

void check_reads(const FuzzStore& store)
{
    std::vector<std::string> expected;
    for (const Documented& d : int_values)
        expected.push_back(d.name);
    for (const Documented& d : colour_values)
        expected.push_back(d.name);
    fuzz::require(store.reads == expected, "every value is read once, in order");
}

void check_ints(const FuzzStore& store, const Settings& s, int screen_w, int screen_h)
{
    const std::vector<int> fields = fields_of(s);
    for (size_t i = 0; i < fields.size(); ++i) {
        const Documented& d = int_values[i];
        const auto it = store.stored.find(d.name);
        const int v = it == store.stored.end() ? -1 : it->second;
        const auto w = store.writes.find(d.name);
        long long expected = v;
        if (v < 0) {
            expected = d.fallback;
            fuzz::require(w != store.writes.end() && w->second == std::vector<int>{static_cast<int>(d.fallback)},
                          "a missing or negative value gets its default written back", d.name);
        } else {
            fuzz::require(w == store.writes.end(), "a valid value is not written", d.name);
        }
        // The corner stays on the screen, judged with the fixed size 450 x 350.
        if (i == 0 && expected > static_cast<long long>(screen_w) - 450)
            expected = 0;
        if (i == 1 && expected > static_cast<long long>(screen_h) - 350)
            expected = 0;
        fuzz::require(fields[i] == expected, "the setting is the stored value or its default", d.name);
        fuzz::require(fields[i] >= 0, "no negative setting is left", d.name);
    }
}

void check_colours(const FuzzStore& store, const Settings& s)
{
    for (int i = 0; i < 4; ++i) {
        const Documented& d = colour_values[i];
        const auto it = store.stored.find(d.name);
        const int v = it == store.stored.end() ? -1 : it->second;
        const auto w = store.writes.find(d.name);
        if (v == -1) {
            fuzz::require(s.col_value[i] == static_cast<std::uint32_t>(d.fallback), "a missing colour is its default",
                          d.name);
            fuzz::require(w != store.writes.end() && w->second == std::vector<int>{static_cast<int>(d.fallback)},
                          "a missing colour gets its default written back", d.name);
        } else {
            fuzz::require(s.col_value[i] == static_cast<std::uint32_t>(v), "a stored colour is used as read", d.name);
            fuzz::require(w == store.writes.end(), "a stored colour is not written", d.name);
        }
        const std::uint32_t shown = display_colour(s.col_value[i]);
        const std::uint32_t rrggbb = s.col_value[i];
        fuzz::require(shown == (((rrggbb >> 16) & 0xff) | (rrggbb & 0xff00) | ((rrggbb & 0xff) << 16)),
                      "the display colour swaps red and blue and drops the top byte", d.name);
    }
}

void check_media_path(const std::string& exe)
{
    const std::string path = default_media_path(exe);
    const size_t keep = exe.size() > 7 ? exe.size() - 7 : 0;
    fuzz::require(path == exe.substr(0, keep) + "ring.mp3", "ring.mp3 takes the place of the last seven characters",
                  exe);
    fuzz::require(fits_path(path) == (path.size() <= 255), "a path fits 255 characters", exe);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    FuzzStore store;
    store.writes_fail = in.flag();
    for (const Documented& d : int_values) {
        const int v = stored_value(in);
        if (v != -1 || in.flag())
            store.stored[d.name] = v; // -1 stored reads as missing
    }
    for (const Documented& d : colour_values)
        store.stored[d.name] = stored_value(in);
    const int screen_w = in.int32();
    const int screen_h = in.int32();

    const Settings s = load_settings(store, screen_w, screen_h);
    check_reads(store);
    check_ints(store, s, screen_w, screen_h);
    check_colours(store, s);
    for (const auto& w : store.writes) {
        bool documented = false;
        for (const Documented& d : int_values)
            documented = documented || w.first == d.name;
        for (const Documented& d : colour_values)
            documented = documented || w.first == d.name;
        fuzz::require(documented, "only settings are written", w.first);
    }
    check_media_path(in.rest());
    return 0;
}
