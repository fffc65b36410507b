// Any date lines as rows, any clock and date format: the notification names only open entries
// that are due, each once, and its text always fits the shell's 255 characters.
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "core/due_notice.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    Today today{};
    today.day = in.byte() % 32;
    today.month = in.byte() % 13;
    today.year = 1970 + in.byte();
    today.hour = in.byte() % 24;
    today.min = in.byte() % 60;
    const int df = in.flag() ? 1 : 0;
    RowStore rows;
    while (!in.empty() && rows.row_count() < 64)
        rows.add_line(in.text() + "\n");

    DueNotices notices;
    const std::vector<size_t> due = notices.take_newly_due(rows, today);
    for (size_t row : due) {
        fuzz::require(row < rows.row_count(), "a named row exists");
        fuzz::require(rows.cell(row, 4) == "0", "only open entries are named", rows.read_back(row));
        DueScratch s;
        const bool parsed = chek_date(s, rows.cell(row, 0), today);
        chek_time(s, rows.cell(row, 2), today, parsed);
        fuzz::require(s.due == 1, "only due entries are named", rows.read_back(row));
    }
    fuzz::require(notices.take_newly_due(rows, today).empty(), "no entry is named twice");

    const std::string text = notice_text(rows, due, df);
    fuzz::require(text.size() <= notice_chars, "the text fits the notification", text);
    fuzz::require(due.empty() == text.empty(), "a text exactly when something is due", text);
    fuzz::require(notice_title(due.size()).size() < 64, "the title fits the notification");
    return 0;
}
