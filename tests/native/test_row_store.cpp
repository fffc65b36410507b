#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/row_store.h"
#include "core/date_line.h"
#include "core/date_text.h"

namespace {

std::string entry(const std::string& date, const std::string& text, const std::string& status)
{
    return date + "\tMon\t09:30\t" + text + "\t" + status + "\n";
}

std::vector<std::string> texts_of(const RowStore& store)
{
    std::vector<std::string> texts;
    for (size_t i = 0; i < store.row_count(); ++i)
        texts.emplace_back(store.cell(i, 3));
    return texts;
}

std::vector<std::string> dates_of(const RowStore& store)
{
    std::vector<std::string> dates;
    for (size_t i = 0; i < store.row_count(); ++i)
        dates.emplace_back(store.cell(i, 0));
    return dates;
}

bool is_in_order(const RowStore& store, bool up)
{
    const std::vector<std::string> d = dates_of(store);
    return up ? std::is_sorted(d.begin(), d.end()) : std::is_sorted(d.begin(), d.end(), std::greater<std::string>());
}

RowStore loaded(const std::vector<std::string>& lines)
{
    RowStore store;
    store.lines = lines;
    return store;
}

} // namespace

TEST(RowStore, ShowAllMovesEveryLineAndBack)
{
    RowStore store =
        loaded({entry("2011.05.01", "a", "0"), entry("2011.05.02", "b", "1"), entry("2011.05.03", "c", "0")});
    store.fill(false);
    EXPECT_EQ(store.row_count(), 2u);
    EXPECT_EQ(store.lines, std::vector<std::string>{entry("2011.05.02", "b", "1")});

    store.fill(true);
    EXPECT_EQ(store.row_count(), 3u);
    EXPECT_TRUE(store.lines.empty());

    store.fill(false);
    EXPECT_EQ(texts_of(store), (std::vector<std::string>{"c", "a"}));
    EXPECT_EQ(store.lines, std::vector<std::string>{entry("2011.05.02", "b", "1")});
}

TEST(RowStore, HeldLinesKeepTheirOrderAndHandedBackRowsFollow)
{
    RowStore store = loaded(
        {entry("2011.01.01", "x", "1"), entry("2011.01.02", "open", "0"), "odd line\n", entry("2011.01.03", "y", "1")});
    store.fill(false);
    ASSERT_EQ(store.row_count(), 1u);
    store.toggle_status(0);
    store.fill(false);
    EXPECT_EQ(store.row_count(), 0u);
    EXPECT_EQ(store.lines, (std::vector<std::string>{entry("2011.01.01", "x", "1"), "odd line\n",
                                                     entry("2011.01.03", "y", "1"), entry("2011.01.02", "open", "1")}));
}

TEST(RowStore, SavedFileHasHeldLinesFirstThenRowsInListOrder)
{
    RowStore store =
        loaded({entry("2011.05.01", "a", "0"), entry("2011.05.02", "done", "1"), entry("2011.05.03", "c", "0")});
    store.fill(false);
    EXPECT_EQ(store.file_text(), dl::encode_lines({entry("2011.05.02", "done", "1"), entry("2011.05.03", "c", "0"),
                                                   entry("2011.05.01", "a", "0")}));
    // Read back and rebuilt, the file gives the same split.
    RowStore again = loaded(dl::decode_lines(store.file_text()));
    again.fill(false);
    EXPECT_EQ(again.lines, store.lines);
    EXPECT_EQ(texts_of(again), texts_of(store));

    // Lines loaded while every entry is a row are written too.
    again.fill(true);
    again.lines.push_back(entry("2011.07.01", "late load", "1"));
    EXPECT_EQ(dl::decode_lines(again.file_text()).front(), entry("2011.07.01", "late load", "1"));
}

TEST(RowStore, EmptyLineIsHeldAndShownAsFiveEmptyCells)
{
    RowStore store = loaded({"\n"});
    store.fill(false);
    EXPECT_EQ(store.row_count(), 0u);
    EXPECT_EQ(store.lines, std::vector<std::string>{"\n"});

    store.fill(true);
    ASSERT_EQ(store.row_count(), 1u);
    for (int col = 0; col < dl::field_count; ++col)
        EXPECT_EQ(store.cell(0, col), "");
    EXPECT_EQ(store.read_back(0), "\t\t\t\t\n");
    EXPECT_EQ(store.file_text(), "\t\t\t\t\r\n");
}

TEST(RowStore, IncompleteAndOverfullLines)
{
    // No final newline: shown with an empty status, then held back at the next rebuild.
    RowStore store = loaded({"2011.05.02\tMon\t\tDentist\t0"});
    store.fill(true);
    ASSERT_EQ(store.row_count(), 1u);
    EXPECT_EQ(store.cell(0, 2), "");
    EXPECT_EQ(store.cell(0, 4), "");
    store.fill(false);
    EXPECT_EQ(store.row_count(), 0u);
    EXPECT_EQ(store.lines, std::vector<std::string>{"2011.05.02\tMon\t\tDentist\t\n"});

    // Extra fields survive while held, and are dropped once the line becomes a row.
    const std::string wide = "2011.05.02\tMon\t\tx\t1\tmore\n";
    RowStore held = loaded({wide});
    held.fill(false);
    EXPECT_EQ(held.file_text(), "2011.05.02\tMon\t\tx\t1\tmore\r\n");
    held.fill(true);
    EXPECT_EQ(held.read_back(0), "2011.05.02\tMon\t\tx\t1\n");
}

TEST(RowStore, RowsAreOrderedByDateBytes)
{
    RowStore store;
    for (const char* date : {"2011.05.02", " 999.05.02", "2011.05", "2011.05.02x", "\x80", ""})
        store.add_line(std::string(date) + "\t\t\t\t0\n");
    EXPECT_EQ(dates_of(store),
              (std::vector<std::string>{"\x80", "2011.05.02x", "2011.05.02", "2011.05", " 999.05.02", ""}));
}

// The rebuild sorts by a short key and falls back to the whole date; inserting one by one
// searches the whole dates. Both must give the same order, ties included.
TEST(RowStore, RebuildOrdersLikeSingleInserts)
{
    std::mt19937 rng(5);
    const std::string alphabet = std::string("2019.\x80\xff ") + '\0';
    for (int round = 0; round < 40; ++round) {
        std::vector<std::string> lines;
        for (int i = 0; i < 200; ++i) {
            std::string date(rng() % 11, ' ');
            for (char& c : date)
                c = alphabet[rng() % 4 == 0 ? rng() % alphabet.size() : rng() % 3];
            // Long dates that only differ after the sixteenth byte.
            if (rng() % 4 == 0)
                date = "2011.05.02 09:30" + date.substr(0, rng() % 3);
            lines.push_back(entry(date, std::to_string(i), "0"));
        }
        for (int up = 0; up <= 1; ++up) {
            RowStore rebuilt = loaded(lines);
            rebuilt.sort_up = up;
            rebuilt.fill(true);
            RowStore inserted;
            inserted.sort_up = up;
            for (const std::string& line : lines)
                inserted.add_line(line);
            ASSERT_EQ(texts_of(rebuilt), texts_of(inserted)) << "round " << round << " up " << up;
            ASSERT_TRUE(is_in_order(rebuilt, up));
        }
    }
}

TEST(RowStore, NewRowLandsInOrderInBothDirections)
{
    for (int up = 0; up <= 1; ++up) {
        RowStore store =
            loaded({entry("2011.03.01", "a", "0"), entry("2011.01.01", "b", "0"), entry("2011.05.01", "c", "0")});
        store.sort_up = up;
        store.fill(false);
        const size_t at = store.add_line(entry("2011.02.01", "new", "0"));
        EXPECT_EQ(store.cell(at, 3), "new");
        EXPECT_EQ(at, 2u - static_cast<size_t>(up)) << "up " << up;
        EXPECT_TRUE(is_in_order(store, up));
    }
}

TEST(RowStore, EqualDatesKeepTheirOrderOfArrival)
{
    for (int up = 0; up <= 1; ++up) {
        RowStore store = loaded(
            {entry("2011.01.01", "first", "0"), entry("2011.09.09", "late", "0"), entry("2011.01.01", "second", "0")});
        store.sort_up = up;
        store.fill(false);
        store.add_line(entry("2011.01.01", "third", "0"));
        std::vector<std::string> same_day;
        for (const std::string& t : texts_of(store))
            if (t != "late")
                same_day.push_back(t);
        EXPECT_EQ(same_day, (std::vector<std::string>{"first", "second", "third"})) << "up " << up;
    }
}

TEST(RowStore, RebuildKeepsTheStoreOrderOfEqualDates)
{
    // Enough rows that the sort cannot get stability for free from a short insertion sort.
    const char* dates[] = {"2011.01.01", "2011.01.02", "2011.01.03"};
    std::vector<std::string> lines;
    for (int i = 0; i < 300; ++i)
        lines.push_back(entry(dates[(i * 7) % 3], std::to_string(1000 + i), "0"));
    for (int up = 0; up <= 1; ++up) {
        RowStore store = loaded(lines);
        store.sort_up = up;
        store.fill(true);
        ASSERT_TRUE(is_in_order(store, up));
        for (size_t i = 1; i < store.row_count(); ++i)
            if (store.cell(i, 0) == store.cell(i - 1, 0))
                ASSERT_LT(store.cell(i - 1, 3), store.cell(i, 3)) << "up " << up << " row " << i;
    }
}

TEST(RowStore, SortDirectionChangesAtTheNextFillAndTwiceRestoresTheOrder)
{
    RowStore store = loaded({entry("2011.03.01", "a", "0"), entry("2011.01.01", "b", "0"),
                             entry("2011.03.01", "c", "0"), entry("2011.02.01", "d", "0")});
    store.fill(false);
    const std::vector<std::string> first = texts_of(store);
    EXPECT_TRUE(is_in_order(store, false));

    store.sort_up = 1;
    // Rows stay as they are until the rebuild; an insert still finds its place.
    store.add_line(entry("2011.02.15", "e", "0"));
    EXPECT_TRUE(is_in_order(store, false));
    store.fill(false);
    EXPECT_TRUE(is_in_order(store, true));
    const std::vector<std::string> texts = texts_of(store);
    store.delete_row(static_cast<size_t>(std::find(texts.begin(), texts.end(), "e") - texts.begin()));

    store.sort_up = 0;
    store.fill(false);
    EXPECT_EQ(texts_of(store), first);
}

TEST(RowStore, StatusToggleFlipsTheFirstCharacter)
{
    RowStore store;
    store.add_line(entry("2011.05.02", "x", "0"));
    store.toggle_status(0);
    EXPECT_EQ(store.cell(0, 4), "1");
    store.toggle_status(0);
    EXPECT_EQ(store.cell(0, 4), "0");

    store.set_cell(0, 4, "");
    store.toggle_status(0);
    EXPECT_EQ(store.cell(0, 4), "1");
    store.set_cell(0, 4, "1ab");
    store.toggle_status(0);
    EXPECT_EQ(store.cell(0, 4), "0ab");
    store.set_cell(0, 4, "?");
    store.toggle_status(0);
    EXPECT_EQ(store.cell(0, 4), "1");
    // The other cells are untouched.
    EXPECT_EQ(store.read_back(0), entry("2011.05.02", "x", "1"));
}

TEST(RowStore, SetCellKeepsFiveCellsAndTheOrder)
{
    RowStore store;
    store.add_line(entry("2011.01.01", "a", "0"));
    store.add_line(entry("2011.02.01", "b", "0"));
    store.add_line(entry("2011.03.01", "c", "0"));
    store.set_cell(1, 3, "tab\there\nand newline");
    EXPECT_EQ(store.cell(1, 3), "tab here and newline");
    EXPECT_EQ(store.cell(1, 4), "0");

    const RowStore::RowId id = store.row_id(2); // "a", the oldest
    store.set_cell(2, 0, "2012.01.01");
    const auto moved = store.find_row(id);
    ASSERT_TRUE(moved.has_value());
    EXPECT_EQ(*moved, 0u);
    EXPECT_EQ(store.cell(0, 3), "a");
    EXPECT_TRUE(is_in_order(store, false));

    // Storing the same date again does not move the row behind its equals.
    store.add_line(entry("2012.01.01", "a2", "0"));
    store.set_cell(0, 0, "2012.01.01");
    EXPECT_EQ(store.row_id(0), id);
}

TEST(RowStore, RowIdsFollowRowsWhileTheyStayRows)
{
    RowStore store;
    store.add_line(entry("2011.01.01", "a", "0"));
    store.add_line(entry("2011.03.01", "c", "0"));
    const RowStore::RowId a = store.row_id(1);
    EXPECT_NE(a, 0u);
    EXPECT_NE(a, store.row_id(0));

    store.add_line(entry("2011.02.01", "b", "0")); // lands between
    EXPECT_EQ(store.find_row(a), std::optional<size_t>(2));
    store.delete_row(0);
    EXPECT_EQ(store.find_row(a), std::optional<size_t>(1));

    store.sort_up = 1;
    store.fill(false);
    EXPECT_EQ(store.find_row(a), std::optional<size_t>(0));
    // Held back, the entry is no row any more; shown again it is a new one.
    store.toggle_status(0);
    store.fill(false);
    EXPECT_FALSE(store.find_row(a).has_value());
    store.fill(true);
    EXPECT_FALSE(store.find_row(a).has_value());
    EXPECT_EQ(store.row_id(99), 0u);
}

TEST(RowStore, MergedChangesKeepTheOtherRowsAndTheirIds)
{
    const std::string a = entry("2011.01.01", "a", "0"), b = entry("2011.02.01", "b", "0"),
                      done = entry("2011.03.01", "done", "1"), held = entry("2011.04.01", "held", "1");
    auto no_newline = [](const std::string& line) { return std::string_view(line).substr(0, line.size() - 1); };
    for (size_t added_rows : {size_t{1}, size_t{40}}) {
        SCOPED_TRACE(added_rows);
        RowStore store = loaded({a, b, done, done});
        store.fill(false);
        const RowStore::RowId kept = store.row_id(1); // "a"
        std::vector<std::string> added;
        for (size_t i = 0; i < added_rows; ++i)
            added.push_back(entry("2011.01.15", "new" + std::to_string(i), "0"));
        dl::LineChanges changes;
        changes.removed = {no_newline(b), no_newline(done)};
        for (const std::string& line : added)
            changes.added.push_back(no_newline(line));
        changes.added.push_back(no_newline(held));
        store.apply_changes(changes, false);

        EXPECT_EQ(store.lines, (std::vector<std::string>{done, held}));
        ASSERT_EQ(store.row_count(), added_rows + 1);
        EXPECT_EQ(store.find_row(kept), std::optional<size_t>(added_rows));
        EXPECT_TRUE(is_in_order(store, false));
    }
}

TEST(RowStore, MissingRowsAndColumnsAreIgnored)
{
    RowStore store;
    store.add_line(entry("2011.01.01", "a", "0"));
    EXPECT_EQ(store.cell(1, 0), "");
    EXPECT_EQ(store.cell(0, 5), "");
    EXPECT_EQ(store.cell(0, -1), "");
    EXPECT_EQ(store.read_back(1), "");
    store.set_cell(3, 0, "x");
    store.set_cell(0, 7, "x");
    store.toggle_status(1);
    store.delete_row(1);
    EXPECT_EQ(store.row_count(), 1u);
    EXPECT_EQ(store.read_back(0), entry("2011.01.01", "a", "0"));
    store.delete_all_rows();
    EXPECT_EQ(store.row_count(), 0u);
}

// Random edits and rebuilds: the entries (rows and held lines together) change only by the
// adds, deletes and toggles made, and after each rebuild the split and order hold.
TEST(RowStore, RebuildsNeitherLoseNorDuplicateEntries)
{
    std::mt19937 rng(3);
    const char* dates[] = {"2011.01.01", "2011.01.02", "2010.12.31", " 999.05.02", "2011.01.01"};
    std::map<std::string, std::string> model; // text → the entry's line
    int next = 0;
    auto new_entry = [&] {
        const std::string text = "e" + std::to_string(next++);
        model[text] = entry(dates[rng() % 5], text, rng() % 2 ? "0" : "1");
        return model[text];
    };

    RowStore store;
    for (int i = 0; i < 30; ++i)
        store.lines.push_back(new_entry());
    bool up = false;
    for (int step = 0; step < 3000; ++step) {
        const size_t rows = store.row_count();
        switch (rng() % 6) {
        case 0:
            if (rows) {
                const size_t row = rng() % rows;
                const std::string text(store.cell(row, 3));
                store.toggle_status(row);
                std::string& line = model[text];
                line[line.size() - 2] = line[line.size() - 2] == '1' ? '0' : '1';
            }
            break;
        case 1: {
            const bool show_all = rng() % 2;
            store.fill(show_all);
            up = store.sort_up;
            ASSERT_TRUE(is_in_order(store, up));
            if (show_all)
                ASSERT_TRUE(store.lines.empty());
            for (size_t i = 0; i < store.row_count() && !show_all; ++i)
                ASSERT_TRUE(dl::is_open_line(store.read_back(i)));
            for (const std::string& line : store.lines)
                ASSERT_FALSE(dl::is_open_line(line));
            break;
        }
        case 2: {
            // Fewer than two rows have no order yet, so the current direction applies.
            if (rows < 2)
                up = store.sort_up;
            const std::string line = new_entry();
            const size_t at = store.add_line(line);
            ASSERT_EQ(store.read_back(at), line);
            break;
        }
        case 3:
            if (rows) {
                const size_t row = rng() % rows;
                model.erase(std::string(store.cell(row, 3)));
                store.delete_row(row);
            }
            break;
        default: store.sort_up ^= 1; break;
        }
        ASSERT_TRUE(is_in_order(store, up)) << "step " << step;

        std::vector<std::string> all = store.lines;
        for (size_t i = 0; i < store.row_count(); ++i)
            all.push_back(store.read_back(i));
        std::vector<std::string> expected;
        for (const auto& kv : model)
            expected.push_back(kv.second);
        std::sort(all.begin(), all.end());
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(all, expected) << "step " << step;
    }
}

TEST(RowStore, FindDateByItsBeginning)
{
    RowStore store;
    for (const char* date : {"2026.03.01", "2026.02.01", "2026.02.15", "2025.12.24"})
        store.add_line(entry(date, "x", "0"));
    // Newest first: 2026.03.01, 2026.02.15, 2026.02.01, 2025.12.24.
    const struct {
        const char* text;
        size_t start;
        bool whole, wrap;
        std::optional<size_t> row;
    } cases[] = {{"2026.02", 0, false, false, 1},
                 {"2026.02", 2, false, false, 2},
                 {"2026.03", 1, false, false, std::nullopt},
                 {"2026.03", 1, false, true, 0},
                 {"2026.02", 0, true, false, std::nullopt},
                 {"2025.12.24", 0, true, false, 3},
                 {"", 2, false, false, 2},
                 {"2026.02", 9, false, true, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(store.find_date(c.text, c.start, c.whole, c.wrap), c.row) << c.text << " from " << c.start;
}
