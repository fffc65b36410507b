// Any three date files as base, ours and theirs: the merge keeps every added line, honours a
// change only one side made, counts the same change once and does not care which side is which.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "core/line_merge.h"

namespace {

using Counts = std::map<std::string_view, long>;

Counts counts_of(const dl::LineViews& lines)
{
    Counts c;
    for (std::string_view l : lines)
        ++c[l];
    return c;
}

long count(const Counts& c, std::string_view line)
{
    auto it = c.find(line);
    return it == c.end() ? 0 : it->second;
}

std::vector<std::string> sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const std::string base_bytes = in.text(), ours_bytes = in.text(), theirs_bytes = in.rest();
    const dl::LineViews base = dl::line_views(base_bytes), ours = dl::line_views(ours_bytes),
                        theirs = dl::line_views(theirs_bytes);

    const std::vector<std::string> merged = dl::merged_lines(ours, dl::merge_changes(base, ours, theirs));
    const std::vector<std::string> swapped = dl::merged_lines(theirs, dl::merge_changes(base, theirs, ours));
    fuzz::require(sorted(merged) == sorted(swapped), "the merge does not depend on which side is first");

    const Counts b = counts_of(base), o = counts_of(ours), t = counts_of(theirs);
    const Counts r = counts_of(dl::LineViews(merged.begin(), merged.end()));
    Counts every = o;
    every.insert(t.begin(), t.end());
    every.insert(b.begin(), b.end());
    for (const auto& entry : every) {
        const std::string_view line = entry.first;
        const long nb = count(b, line), no = count(o, line), nt = count(t, line), nr = count(r, line);
        fuzz::require(nr >= std::max({0L, no - nb, nt - nb}), "no added line is lost", line);
        fuzz::require(nr <= std::max(no, nt), "no line comes from nowhere", line);
        fuzz::require(nt != nb || nr == no, "a change of ours alone is kept", line);
        fuzz::require(no != nb || nr == nt, "a change of theirs alone is kept", line);
        fuzz::require(no != nt || nr == no, "the same change counts once", line);
    }
    return 0;
}
