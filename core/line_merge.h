// Three-way merge of date files, entry by entry: a line is an entry, lines compare as bytes, and
// where a line stands does not matter (the list orders its rows, the file follows the list).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dl {

using LineViews = std::vector<std::string_view>;

// The lines of a date file's bytes without their line ends, one for each line decode_lines gives.
LineViews line_views(std::string_view bytes);

// What the merge does to ours: one copy of each removed line goes, each added line comes in.
// The views point into the merged texts, which must outlive them.
struct LineChanges {
    LineViews removed;
    LineViews added;
    bool empty() const { return removed.empty() && added.empty(); }
};

// Base is what both sides started from. A line either side added is kept; a line one side
// deleted and the other left alone goes; an entry changed on both sides keeps both new versions;
// the same change made on both sides counts once. Swapping ours and theirs gives the same lines.
LineChanges merge_changes(const LineViews& base, const LineViews& ours, const LineViews& theirs);

// Ours with the changes applied: the kept lines of ours in their order, then the added ones.
std::vector<std::string> merged_lines(const LineViews& ours, const LineChanges& changes);

} // namespace dl
