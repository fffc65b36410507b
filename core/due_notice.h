// Which open entries have become due since the last look, and the notification that names them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/due_check.h"
#include "core/row_store.h"

class DueNotices {
public:
    // The rows with status "0" that are due now and were not named before, in row order. Each
    // entry is named once a run, whatever rebuilds, sorting or status changes do to its row.
    std::vector<size_t> take_newly_due(const RowStore& rows, const Today& today);

    // What identifies an entry: its date, time and text.
    static std::string key_of(const RowStore& rows, size_t row);

private:
    // The same as a 64-bit hash: a million named entries take 8 MB, and a look allocates
    // nothing per row. Two entries of one hash count as one, which is as rare as it is harmless.
    static std::uint64_t hash_of(const RowStore& rows, size_t row);
    bool named(std::uint64_t hash) const;
    void remember(std::vector<std::uint64_t> hashes);

    std::vector<std::uint64_t> named_; // sorted
};

// "A Date is due" or "<count> Dates are due".
std::string notice_title(size_t count);

// One line for each of the first three rows: the date (as the list shows it with this df), the
// time if there is one, and the text; then "and N more". At most notice_chars characters.
std::string notice_text(const RowStore& rows, const std::vector<size_t>& due_rows, int df);

// What a notification holds at most (the shell's 256 with the terminator).
constexpr size_t notice_chars = 255;
