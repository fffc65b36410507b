// Hostile date files on the whole road of their entries: read, rebuilt as rows with and without
// "Show all Dates", toggled, read back, saved and read again. No entry may be lost, cut, merged
// or changed on the way; one that cannot be a row is kept whole in the line store.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/row_store.h"
#include "core/date_line.h"
#include "core/date_text.h"

using namespace std::string_literals;

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TRM_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TRM_SANITIZED 1
#endif

namespace {

#ifdef TRM_SANITIZED
constexpr bool sanitized_build = true;
#else
constexpr bool sanitized_build = false;
#endif

using Lines = std::vector<std::string>;

std::string entry(const std::string& date, const std::string& text, const std::string& status,
                  const std::string& time = "")
{
    return date + "\tMon\t" + time + "\t" + text + "\t" + status + "\n";
}

// The lines as the date file holds them, every newline as CR LF.
std::string on_disk(const Lines& lines)
{
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 1;
    std::string bytes;
    bytes.reserve(size);
    for (const std::string& line : lines) {
        size_t start = 0;
        for (size_t lf; (lf = line.find('\n', start)) != std::string::npos; start = lf + 1) {
            bytes.append(line, start, lf - start);
            bytes += "\r\n";
        }
        bytes.append(line, start, std::string::npos);
    }
    return bytes;
}

Lines sorted(Lines v)
{
    std::sort(v.begin(), v.end());
    return v;
}

// The entry with its status flipped as a click in the check box does it.
std::string flipped(const std::string& line)
{
    std::string f = line;
    const size_t status = f.rfind('\t') + 1;
    f[status] = f[status] == '1' ? '0' : '1';
    return f;
}

RowStore loaded(const std::string& file, bool show_all)
{
    RowStore store;
    store.lines = dl::decode_lines(file);
    store.fill(show_all);
    return store;
}

// Every row toggled twice, everything moved across and back: the file then saved and read again.
Lines after_round_trip(const std::string& file, bool show_all)
{
    RowStore store = loaded(file, show_all);
    for (size_t i = 0; i < store.row_count(); ++i)
        store.toggle_status(i);
    for (size_t i = 0; i < store.row_count(); ++i)
        store.toggle_status(i);
    for (size_t i = 0; i < store.row_count(); ++i)
        EXPECT_EQ(dl::line_to_row(store.read_back(i)).size(), 5u);
    store.fill(!show_all);
    store.fill(show_all);
    return dl::decode_lines(store.file_text());
}

Lines with_each_row_toggled_once(const std::string& file, bool show_all)
{
    RowStore store = loaded(file, show_all);
    for (size_t i = 0; i < store.row_count(); ++i)
        store.toggle_status(i);
    return dl::decode_lines(store.file_text());
}

// The file of well-formed entries keeps every one of them, in both modes, and a toggle changes
// nothing but the status.
void expect_every_entry_survives(const Lines& entries)
{
    const std::string file = on_disk(entries);
    for (bool show_all : {false, true}) {
        SCOPED_TRACE(show_all ? "Show all on" : "Show all off");
        const Lines saved = after_round_trip(file, show_all);
        ASSERT_EQ(saved.size(), entries.size());
        EXPECT_TRUE(sorted(saved) == sorted(entries));

        Lines expected;
        for (const std::string& e : entries)
            expected.push_back(show_all || dl::is_open_line(e) ? flipped(e) : e);
        EXPECT_TRUE(sorted(with_each_row_toggled_once(file, show_all)) == sorted(expected));
    }
    // Held entries come first, in file order.
    Lines held;
    for (const std::string& e : entries)
        if (!dl::is_open_line(e))
            held.push_back(e);
    const Lines saved = dl::decode_lines(loaded(file, false).file_text());
    EXPECT_TRUE(Lines(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(held.size())) == held);
}

// An entry line of exactly length characters, its newline included.
std::string entry_of_length(size_t length, const std::string& status)
{
    const std::string frame = entry("2011.05.02", "", status);
    return entry("2011.05.02", std::string(length - frame.size(), 'x'), status);
}

const Lines ordinary = {entry("2011.05.02", "Dentist", "0", "09:30-10:00"), entry("2011.05.01", "Shopping", "1"),
                        entry("2012.01.01", "New year", "0")};

Lines with_ordinary(Lines hostile)
{
    hostile.insert(hostile.begin() + 1, ordinary.begin(), ordinary.end());
    return hostile;
}

} // namespace

TEST(HostileFile, LinesAroundTheLimitAndFarBeyondIt)
{
    Lines lines;
    for (size_t length : {253u, 254u, 255u, 256u, 10000u}) {
        lines.push_back(entry_of_length(length, "0"));
        lines.push_back(entry_of_length(length, "1"));
        ASSERT_EQ(lines.back().size(), length);
    }
    expect_every_entry_survives(with_ordinary(lines));
    // Each stays one line, with its status at the end where the hold-back test looks.
    const Lines read = dl::decode_lines(on_disk(lines));
    ASSERT_EQ(read.size(), lines.size());
    EXPECT_EQ(loaded(on_disk(lines), false).row_count(), 5u);
}

TEST(HostileFile, ShapelessLongLineIsKeptWholeOrInItsFirstCell)
{
    const std::string blob(10000, 'z');
    const std::string file = on_disk(with_ordinary({blob + "\n"}));
    RowStore held = loaded(file, false);
    ASSERT_EQ(held.lines.size(), 2u);
    EXPECT_EQ(held.lines[0], blob + "\n");
    EXPECT_EQ(dl::decode_lines(held.file_text())[0], blob + "\n");
    // As a row it gets the missing separators, and the text stays in its one cell.
    RowStore shown = loaded(file, true);
    bool found = false;
    for (size_t i = 0; i < shown.row_count(); ++i)
        found = found || shown.cell(i, 0) == blob;
    EXPECT_TRUE(found);
    const Lines saved = dl::decode_lines(shown.file_text());
    EXPECT_NE(std::find(saved.begin(), saved.end(), blob + "\t\t\t\t\n"), saved.end());
}

TEST(HostileFile, NulBytesInEveryField)
{
    expect_every_entry_survives(with_ordinary(
        {"2011.05.0\0\tM\0n\t\0\t\0a\0b\0\t0\n"s, "\0\0\0\t\t\t\0\t1\n"s, "2011.06.01\tSat\t\t\0\t0\n"s}));
}

TEST(HostileFile, LoneCarriageReturns)
{
    expect_every_entry_survives(
        with_ordinary({entry("2011.05.02", "a\rb", "0"), entry("\r", "\r\r", "1"), "2011.05.03\tTue\t\t\r\t0\r\n"}));
    // A lone CR ends no line: the entry around it stays one entry.
    EXPECT_EQ(dl::decode_lines("a\rb\t0\r\n").size(), 1u);
}

TEST(HostileFile, CtrlZInTheMiddle)
{
    const Lines lines =
        with_ordinary({entry("2011.05.02",
                             "before\x1a"
                             "after",
                             "0"),
                       "\x1a\t\x1a\t\x1a\t\x1a\t1\n", entry("2011.05.03", "\x1a", "1"), entry("\x1a", "x", "0")});
    expect_every_entry_survives(lines);
    // Nothing after a Ctrl-Z inside the file is lost.
    EXPECT_EQ(dl::decode_lines(on_disk(lines)).size(), lines.size());
}

TEST(HostileFile, BytesAboveSeventyFHex)
{
    std::string high;
    for (int b = 0x80; b <= 0xff; ++b)
        high += static_cast<char>(b);
    expect_every_entry_survives(with_ordinary({entry("2011.05.02", high, "0"), entry(high, "x", "0"),
                                               entry("\xff\xfe", high, "1"), entry("\x80", "y", "0")}));
    // High bytes sort as bytes above every digit, and stay in place.
    RowStore store = loaded(on_disk({entry("\x80", "y", "0"), entry("2011.05.02", "x", "0")}), false);
    EXPECT_EQ(store.cell(0, 0), "\x80");
}

TEST(HostileFile, EmptyFile)
{
    for (bool show_all : {false, true}) {
        EXPECT_TRUE(after_round_trip("", show_all).empty());
        EXPECT_EQ(loaded("", show_all).file_text(), "");
        EXPECT_EQ(loaded("\x1a", show_all).file_text(), "");
    }
}

TEST(HostileFile, GarbageBeforeValidLines)
{
    expect_every_entry_survives(
        with_ordinary({entry("garbage", "?", "0"), entry("99999999999999999999.1.1", "big", "0"),
                       entry("-1.-1.-1", "neg", "1"), entry("", "", "0"), entry("2011.13.45", "bad date", "0")}));
    // A shapeless line at the very front is held and kept whole, and the entries after it are unharmed.
    const std::string junk = "\x01\x02 not a date line at all \x7f";
    const std::string file = on_disk({junk + "\n"}) + on_disk(ordinary);
    RowStore store = loaded(file, false);
    ASSERT_EQ(store.lines.size(), 2u);
    EXPECT_EQ(store.lines[0], junk + "\n");
    EXPECT_EQ(store.row_count(), 2u);
    EXPECT_EQ(dl::decode_lines(store.file_text())[0], junk + "\n");
}

// Correctness of a huge file, not its speed: the saved order is known exactly. The sanitized
// builds run unoptimised code many times slower and take a tenth of the entries.
TEST(HostileFile, AMillionEntries)
{
    const size_t count = sanitized_build ? 100000 : 1000000;
    struct Slice {
        size_t at, length;
    };
    std::string file;
    std::vector<Slice> entries; // where each entry is in the file
    entries.reserve(count);
    char text[64];
    for (size_t i = 0; i < count; ++i) {
        // Ascending, distinct date texts; every third entry is done.
        const int n = std::snprintf(text, sizeof text, "%4zu.%02zu.%02zu\tMon\t\t%zu\t%c\r\n", 1000 + i / 372,
                                    1 + i / 31 % 12, 1 + i % 31, i, i % 3 == 0 ? '1' : '0');
        entries.push_back({file.size(), static_cast<size_t>(n)});
        file.append(text, static_cast<size_t>(n));
    }
    const auto is_done = [](size_t i) { return i % 3 == 0; };

    RowStore store = loaded(file, false);
    ASSERT_EQ(store.row_count(), count - (count + 2) / 3);
    for (size_t i = 0; i < store.row_count(); ++i)
        store.toggle_status(i);
    // Held entries as they came, then the toggled rows with the latest date first.
    std::string expected;
    expected.reserve(file.size());
    for (size_t i = 0; i < count; ++i)
        if (is_done(i))
            expected.append(file, entries[i].at, entries[i].length);
    for (size_t i = count; i-- > 0;) {
        if (is_done(i))
            continue;
        expected.append(file, entries[i].at, entries[i].length);
        expected[expected.size() - 3] = '1';
    }
    const std::string saved = store.file_text();
    EXPECT_TRUE(saved == expected);

    // Read again with every entry a row: all done now, latest first, none lost.
    RowStore reloaded = loaded(saved, true);
    EXPECT_TRUE(reloaded.lines.empty());
    ASSERT_EQ(reloaded.row_count(), count);
    EXPECT_EQ(reloaded.file_text().size(), saved.size());
    for (size_t row = 0; row < count; row += 9973) {
        const Slice& e = entries[count - 1 - row];
        std::string line = file.substr(e.at, e.length - 2) + "\n";
        line[line.size() - 2] = '1';
        EXPECT_EQ(reloaded.read_back(row), line) << row;
    }
}

// The last line of a file without its final newline: it was kept without one, so its status
// was no field, the open entry stayed hidden and "Show all Dates" wrote it back without status.
TEST(Regression, LastEntryWithoutFinalNewlineKeepsItsStatus)
{
    const std::string file = on_disk(ordinary) + "2013.03.03\tSun\t\tNo end\t0";
    RowStore store = loaded(file, false);
    EXPECT_EQ(store.row_count(), 3u);
    store.fill(true);
    store.fill(false);
    const Lines saved = dl::decode_lines(store.file_text());
    EXPECT_NE(std::find(saved.begin(), saved.end(), "2013.03.03\tSun\t\tNo end\t0\n"), saved.end());
    EXPECT_EQ(saved.size(), 4u);
}
