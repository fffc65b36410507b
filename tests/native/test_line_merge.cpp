#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/line_merge.h"

namespace {

using Lines = std::vector<std::string>;

dl::LineViews views(const Lines& lines)
{
    return dl::LineViews(lines.begin(), lines.end());
}

Lines sorted(Lines v)
{
    std::sort(v.begin(), v.end());
    return v;
}

Lines merge(const Lines& base, const Lines& ours, const Lines& theirs)
{
    const dl::LineChanges changes = dl::merge_changes(views(base), views(ours), views(theirs));
    return dl::merged_lines(views(ours), changes);
}

std::map<std::string, long> counts(const Lines& lines)
{
    std::map<std::string, long> c;
    for (const std::string& l : lines)
        ++c[l];
    return c;
}

long count(const std::map<std::string, long>& c, const std::string& line)
{
    auto it = c.find(line);
    return it == c.end() ? 0 : it->second;
}

// A side's own edits of the base: deletions, additions, changes, a new order.
Lines edited(const Lines& base, std::mt19937& rng, const Lines& pool)
{
    Lines out;
    for (const std::string& line : base) {
        switch (rng() % 6) {
        case 0: break; // deleted
        case 1: out.push_back(pool[rng() % pool.size()]); break; // changed
        default: out.push_back(line); break;
        }
    }
    for (unsigned n = rng() % 3; n > 0; --n)
        out.push_back(pool[rng() % pool.size()]);
    if (rng() % 4 == 0)
        std::shuffle(out.begin(), out.end(), rng);
    return out;
}

} // namespace

TEST(LineMerge, EntryByEntry)
{
    const std::string a = "2024.01.01\tMon\t\tA\t0", b = "2024.01.02\tThu\t\tB\t0", c = "2024.01.03\tWen\t\tC\t1",
                      c_ours = "2024.01.03\tWen\t\tC ours\t1", c_theirs = "2024.01.03\tWen\t\tC theirs\t1",
                      d = "2024.01.04\tThr\t\tD\t0";
    struct Case {
        const char* what;
        Lines base, ours, theirs, merged;
    };
    const Case cases[] = {
        {"nothing changed", {a, b}, {a, b}, {a, b}, {a, b}},
        {"theirs appended", {a, b}, {a, b}, {a, b, d}, {a, b, d}},
        {"both added different lines", {a}, {a, b}, {a, d}, {a, b, d}},
        {"theirs deleted, ours untouched", {a, b, c}, {a, b, c}, {a, c}, {a, c}},
        {"ours deleted, theirs untouched", {a, b, c}, {a, c}, {a, b, c}, {a, c}},
        {"changed on both sides keeps both", {a, c}, {a, c_ours}, {a, c_theirs}, {a, c_ours, c_theirs}},
        {"the same change once", {a, c}, {a, c_ours}, {c_ours, a}, {a, c_ours}},
        {"the same addition once", {a}, {a, d}, {a, d}, {a, d}},
        {"ours changed, theirs deleted", {a, c}, {a, c_ours}, {a}, {a, c_ours}},
        {"a duplicate added beside a deletion", {a}, {a, a}, {}, {a}},
        {"theirs replaced everything in a new order", {a, b}, {a, b, c}, {d, b}, {b, c, d}},
        {"an empty base takes both", {}, {a, b}, {b, d}, {a, b, d}},
    };
    for (const Case& t : cases)
        EXPECT_EQ(sorted(merge(t.base, t.ours, t.theirs)), sorted(t.merged)) << t.what;
}

TEST(LineMerge, ViewsSplitAsTheFileReaderDoes)
{
    const std::string bytes = "a\r\nb\n\r\nc\r\r\n\x1a"
                              "d\x1a\x1a";
    EXPECT_EQ(dl::line_views(bytes), (dl::LineViews{"a", "b", "", "c\r",
                                                    "\x1a"
                                                    "d"}));
    EXPECT_EQ(dl::line_views("last"), dl::LineViews{"last"});
    EXPECT_TRUE(dl::line_views("").empty());
}

TEST(LineMerge, RandomSidesKeepEveryRule)
{
    std::mt19937 rng(13);
    const Lines pool = {"A", "B", "C", "D", "E", "F", "G", ""};
    for (int round = 0; round < 4000; ++round) {
        Lines base;
        for (unsigned n = rng() % 8; n > 0; --n)
            base.push_back(pool[rng() % pool.size()]);
        const Lines ours = edited(base, rng, pool), theirs = edited(base, rng, pool);
        const Lines merged = merge(base, ours, theirs);
        ASSERT_EQ(sorted(merged), sorted(merge(base, theirs, ours))) << "round " << round;
        const auto b = counts(base), o = counts(ours), t = counts(theirs), r = counts(merged);
        for (const std::string& line : pool) {
            const long nb = count(b, line), no = count(o, line), nt = count(t, line), nr = count(r, line);
            SCOPED_TRACE("round " + std::to_string(round) + " line '" + line + "'");
            ASSERT_GE(nr, std::max({0L, no - nb, nt - nb})) << "an added line was lost";
            ASSERT_LE(nr, std::max(no, nt)) << "a line came from nowhere";
            if (nt == nb)
                ASSERT_EQ(nr, no) << "theirs left it alone: ours decides";
            if (no == nb)
                ASSERT_EQ(nr, nt) << "ours left it alone: theirs decides";
            if (no == nt)
                ASSERT_EQ(nr, no) << "the same change counts once";
        }
    }
}
