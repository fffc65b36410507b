#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/date_line.h"
#include "core/date_text.h"

using namespace std::string_literals;

namespace {

const std::string dentist = "2011.05.02\tMon\t09:30-10:00\tDentist\t0\n";

dl::Cells cells(std::string a, std::string b, std::string c, std::string d, std::string e)
{
    return {a, b, c, d, e};
}

} // namespace

TEST(DateLine, SplitsAFullLineIntoFiveCells)
{
    EXPECT_EQ(dl::line_to_row(dentist), cells("2011.05.02", "Mon", "09:30-10:00", "Dentist", "0"));
    EXPECT_EQ(dl::row_to_line(dl::line_to_row(dentist)), dentist);
}

TEST(DateLine, EmptyFieldsKeepTheOtherCellsInPlace)
{
    EXPECT_EQ(dl::line_to_row("2011.05.02\tMon\t\tDentist\t0\n"), cells("2011.05.02", "Mon", "", "Dentist", "0"));
    EXPECT_EQ(dl::line_to_row("\n"), cells("", "", "", "", ""));
    EXPECT_EQ(dl::row_to_line(dl::line_to_row("\n")), "\t\t\t\t\n");
}

TEST(DateLine, OnlyTerminatedFieldsAreTaken)
{
    // Without the final newline the status is lost.
    EXPECT_EQ(dl::line_to_row("2011.05.02\tMon\t\tDentist\t0"), cells("2011.05.02", "Mon", "", "Dentist", ""));
    EXPECT_EQ(dl::line_to_row("2011.05.02"), cells("", "", "", "", ""));
    // A short line gets the missing separators when written back.
    EXPECT_EQ(dl::row_to_line(dl::line_to_row("2011.05.02\tMon\n")), "2011.05.02\tMon\t\t\t\n");
}

TEST(DateLine, FieldsAfterTheFifthAreDropped)
{
    EXPECT_EQ(dl::line_to_row("a\tb\tc\td\t0\textra\tmore\n"), cells("a", "b", "c", "d", "0"));
    EXPECT_EQ(dl::line_to_joined("a\tb\tc\td\t0\textra\tmore\n"), "a\tb\tc\td\t0");
}

TEST(DateLine, ControlAndHighBytesAreData)
{
    const std::string line = "2011.05.02\tM\0n\t\r\t\x80\xff\x1a\t0\n"s;
    EXPECT_EQ(dl::line_to_row(line), cells("2011.05.02", "M\0n"s, "\r", "\x80\xff\x1a", "0"));
    EXPECT_EQ(dl::row_to_line(dl::line_to_row(line)), line);
}

TEST(DateLine, YearBelowThousandKeepsTenCharacters)
{
    const dl::Cells row = dl::line_to_row(" 999.05.02\tThr\t\tOld\t0\n");
    EXPECT_EQ(row[0], " 999.05.02");
    EXPECT_EQ(row[0].size(), 10u);
}

TEST(DateLine, OpenMeansZeroBeforeTheNewline)
{
    EXPECT_TRUE(dl::is_open_line(dentist));
    EXPECT_FALSE(dl::is_open_line("2011.05.02\tMon\t\tDentist\t1\n"));
    EXPECT_FALSE(dl::is_open_line("2011.05.02\tMon\t\tDentist\t0")); // no newline
    EXPECT_FALSE(dl::is_open_line("\n"));
    EXPECT_FALSE(dl::is_open_line("0"));
    EXPECT_FALSE(dl::is_open_line(""));
    EXPECT_TRUE(dl::is_open_line("0\n"));
}

// The joined form has a fast path for five-field lines; both must split like line_to_row.
TEST(DateLine, JoinedFormMatchesTheSplitRowForAnyLine)
{
    std::mt19937 rng(7);
    const char alphabet[] = {'a', '0', '1', '\t', '\t', '\n', '\r', '\0', '\x80', '\x1a'};
    for (int n = 0; n < 5000; ++n) {
        std::string line(rng() % 30, ' '); // past several words of eight bytes
        for (char& c : line)
            c = alphabet[rng() % sizeof alphabet];
        if (rng() % 2)
            line += '\n';
        std::string expected = dl::row_to_line(dl::line_to_row(line));
        expected.pop_back();
        ASSERT_EQ(dl::line_to_joined(line), expected) << testing::PrintToString(line);
        ASSERT_EQ(dl::take_joined(std::string(line)), expected) << testing::PrintToString(line);
    }
}

TEST(DateText, CrLfAndLoneLfEndLinesAlike)
{
    const auto crlf = dl::decode_lines("a\t0\r\nb\t1\r\n");
    const auto lf = dl::decode_lines("a\t0\nb\t1\n");
    EXPECT_EQ(crlf, (std::vector<std::string>{"a\t0\n", "b\t1\n"}));
    EXPECT_EQ(lf, crlf);
    // The next save writes CR LF.
    EXPECT_EQ(dl::encode_lines(lf), "a\t0\r\nb\t1\r\n");
}

TEST(DateText, LoneCrIsData)
{
    EXPECT_EQ(dl::decode_lines("a\rb\r\r\nc\r"), (std::vector<std::string>{"a\rb\r\n", "c\r\n"}));
}

TEST(DateText, EmptyFileHasNoLines)
{
    EXPECT_TRUE(dl::decode_lines("").empty());
    EXPECT_TRUE(dl::decode_lines("\x1a\x1a").empty());
    EXPECT_EQ(dl::encode_lines({}), "");
}

TEST(DateText, LastLineWithoutNewlineIsEndedOnRead)
{
    // Its status is the last field, which only a newline makes a field.
    const auto lines = dl::decode_lines("a\t0\r\nb\t0");
    EXPECT_EQ(lines, (std::vector<std::string>{"a\t0\n", "b\t0\n"}));
    EXPECT_TRUE(dl::is_open_line(lines.back()));
    // A held line without newline, written before another line, must not run into it.
    std::string out;
    dl::append_encoded(out, "b\t0");
    dl::append_encoded(out, "c\t0\n");
    EXPECT_EQ(dl::decode_lines(out), (std::vector<std::string>{"b\t0\n", "c\t0\n"}));
}

TEST(DateText, OverlongLineStaysOneLine)
{
    const std::string text(3 * dl::line_limit, 'x');
    const auto lines = dl::decode_lines("2011.05.02\t" + text + "\t0\r\nnext\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "2011.05.02\t" + text + "\t0\n");
    EXPECT_TRUE(dl::is_open_line(lines[0]));
}

TEST(DateText, CtrlZEndsTheFileOnlyAsTrailingMarker)
{
    EXPECT_EQ(dl::decode_lines("a\r\n\x1a"), (std::vector<std::string>{"a\n"}));
    EXPECT_EQ(dl::decode_lines("a\r\n\x1a\x1a\x1a"), (std::vector<std::string>{"a\n"}));
    // Inside the data it is a character, and nothing after it is lost.
    EXPECT_EQ(dl::decode_lines("a\x1a\tb\r\nc\r\n"), (std::vector<std::string>{"a\x1a\tb\n", "c\n"}));
    EXPECT_EQ(dl::decode_lines("a\r\n\x1a\r\nb\r\n"), (std::vector<std::string>{"a\n", "\x1a\n", "b\n"}));
    // A last entry ending in Ctrl-Z survives its own save.
    EXPECT_EQ(dl::decode_lines(dl::encode_lines({"a\x1a\n"})), (std::vector<std::string>{"a\x1a\n"}));
}

TEST(DateText, EncodeThenDecodeKeepsEveryLine)
{
    std::mt19937 rng(11);
    const std::string alphabet = "a0. \t\t\r\x1a\x80\xfe\xff"s + '\0';
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> lines(rng() % 20);
        for (std::string& line : lines) {
            const size_t length = rng() % 8 == 0 ? 300 + rng() % 300 : rng() % 40;
            line.resize(length);
            for (char& c : line)
                c = alphabet[rng() % alphabet.size()];
            line += '\n';
        }
        std::vector<std::string> expected = lines;
        // The last line of a file may lack its newline; the save gives it one.
        if (!lines.empty() && rng() % 2 && lines.back().size() > 1)
            lines.back().pop_back();
        ASSERT_EQ(dl::decode_lines(dl::encode_lines(lines)), expected) << "round " << round;
    }
}
