#include "core/line_merge.h"

#include <algorithm>
#include <unordered_map>

#include "core/date_text.h"

namespace dl {

namespace {

using Counts = std::unordered_map<std::string_view, long>;

// Lines further apart than this after an edit are not looked for: the rest is counted whole.
constexpr size_t resync_window = 64;

void count_range(Counts& counts, const LineViews& lines, size_t from, size_t to, long step)
{
    for (size_t i = from; i < to; ++i)
        counts[lines[i]] += step;
}

// How many more copies of each line after has than before; lines of equal count left out. Equal
// lines are paired off as both are walked, and a few lines deleted, added or changed are stepped
// over, so only the lines around an edit are hashed: a file written back unchanged costs one
// comparison a line. Any pairing of equal lines gives the same counts.
Counts count_changes(const LineViews& before, const LineViews& after)
{
    Counts counts;
    size_t i = 0, j = 0;
    while (i < before.size() && j < after.size()) {
        if (before[i] == after[j]) {
            ++i, ++j;
            continue;
        }
        size_t skip_before = 0, skip_after = 0;
        for (size_t k = 1; k <= resync_window && skip_before + skip_after == 0; ++k) {
            const bool before_ok = i + k < before.size(), after_ok = j + k < after.size();
            if (before_ok && before[i + k] == after[j])
                skip_before = k;
            else if (after_ok && after[j + k] == before[i])
                skip_after = k;
            else if (before_ok && after_ok && before[i + k] == after[j + k])
                skip_before = skip_after = k;
        }
        if (skip_before + skip_after == 0)
            break;
        count_range(counts, before, i, i + skip_before, -1);
        count_range(counts, after, j, j + skip_after, +1);
        i += skip_before;
        j += skip_after;
    }
    count_range(counts, before, i, before.size(), -1);
    count_range(counts, after, j, after.size(), +1);
    for (auto it = counts.begin(); it != counts.end();)
        it = it->second == 0 ? counts.erase(it) : std::next(it);
    return counts;
}

long count_in(const Counts& counts, std::string_view line)
{
    auto it = counts.find(line);
    return it == counts.end() ? 0 : it->second;
}

// The change of one line's count in the merge, from its changes on either side: additions on
// both sides are the same addition, deletions on both sides the same deletion; otherwise both
// sides' changes add up.
long merged_change(long ours, long theirs)
{
    if (ours > 0 && theirs > 0)
        return std::max(ours, theirs);
    if (ours < 0 && theirs < 0)
        return std::min(ours, theirs);
    return ours + theirs;
}

} // namespace

LineViews line_views(std::string_view bytes)
{
    size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == ctrl_z)
        --end;
    bytes = bytes.substr(0, end);
    LineViews lines;
    // Date lines are some forty bytes long: one guess saves counting them first.
    lines.reserve(bytes.size() / 32 + 1);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t lf = bytes.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        size_t stop = lf > start && bytes[lf - 1] == '\r' ? lf - 1 : lf;
        lines.push_back(bytes.substr(start, stop - start));
        start = lf + 1;
    }
    return lines;
}

LineChanges merge_changes(const LineViews& base, const LineViews& ours, const LineViews& theirs)
{
    const Counts ours_changed = count_changes(base, ours);
    const Counts theirs_changed = count_changes(base, theirs);
    // How far the merge moves ours, line by line.
    Counts moves;
    for (const auto& [line, theirs_change] : theirs_changed) {
        const long ours_change = count_in(ours_changed, line);
        if (long move = merged_change(ours_change, theirs_change) - ours_change)
            moves[line] = move;
    }
    // Lines only ours changed stay as ours has them.
    LineChanges changes;
    // Added lines in the order theirs has them, so that held-back lines keep a sensible order.
    for (std::string_view line : theirs) {
        auto it = moves.find(line);
        if (it == moves.end() || it->second <= 0)
            continue;
        changes.added.push_back(line);
        --it->second;
    }
    for (const auto& [line, move] : moves)
        for (long i = move; i < 0; ++i)
            changes.removed.push_back(line);
    std::sort(changes.removed.begin(), changes.removed.end());
    return changes;
}

std::vector<std::string> merged_lines(const LineViews& ours, const LineChanges& changes)
{
    Counts to_remove;
    for (std::string_view line : changes.removed)
        ++to_remove[line];
    std::vector<std::string> merged;
    merged.reserve(ours.size() + changes.added.size());
    for (std::string_view line : ours) {
        auto it = to_remove.find(line);
        if (it != to_remove.end() && it->second > 0) {
            --it->second;
            continue;
        }
        merged.emplace_back(line);
    }
    for (std::string_view line : changes.added)
        merged.emplace_back(line);
    return merged;
}

} // namespace dl
