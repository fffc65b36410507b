// The iCalendar reader and writer: the files Outlook, Google Calendar and Thunderbird write,
// tolerance, time zones across daylight-saving changes, recurrence rules, export and round trip.
// Expected occurrences were worked out with python3-dateutil's rrule, local times with Python's
// zoneinfo; the machine is taken to be in Berlin and today to be 1 June 2024.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/ical/content.h"
#include "core/ical/export.h"
#include "core/ical/import.h"
#include "core/ical/zone.h"

namespace {

using namespace ical;

Transition nth_sunday(int month, int week, int hour)
{
    return Transition{month, week, 6, 0, hour * 3600};
}

ZoneRules zone(int standard_hours, int daylight_hours, Transition to_daylight, Transition to_standard)
{
    return ZoneRules(ZoneYear{standard_hours * 3600, daylight_hours * 3600, true, to_daylight, to_standard});
}

// What the system's time-zone list holds for the zones the samples name.
class TestZones : public ZoneSource {
public:
    std::optional<ZoneRules> windows_zone(std::string_view name) const override
    {
        if (name == "W. Europe Standard Time")
            return berlin_;
        if (name == "Eastern Standard Time")
            return zone(-5, -4, nth_sunday(3, 2, 2), nth_sunday(11, 1, 2));
        if (name == "AUS Eastern Standard Time")
            return zone(10, 11, nth_sunday(10, 1, 2), nth_sunday(4, 1, 3));
        return std::nullopt;
    }
    const ZoneRules& local_zone() const override { return berlin_; }

private:
    ZoneRules berlin_ = zone(1, 2, nth_sunday(3, 5, 2), nth_sunday(10, 5, 3));
};

const TestZones test_zones;

ImportResult import_text(const std::string& text, const std::vector<std::string_view>* existing = nullptr)
{
    ImportOptions o;
    o.zones = &test_zones;
    o.codec = &latin1_codec();
    o.today_day = 1;
    o.today_month = 6;
    o.today_year = 2024;
    o.existing = existing;
    return import_calendar(text, o);
}

std::string sample(const std::string& name)
{
    std::ifstream in(std::string(TRM_TEST_DATA) + "/ical/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string event(const std::string& props)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\n" + props + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

struct FormCase {
    const char* file;
    std::vector<std::string> lines;
    int skipped, unknown_zones;
};

class ImportForms : public testing::TestWithParam<FormCase> { };

TEST_P(ImportForms, GivesEveryEntryInLocalTime)
{
    const FormCase& c = GetParam();
    const ImportResult r = import_text(sample(c.file));
    ASSERT_TRUE(r.is_calendar);
    EXPECT_EQ(r.lines, c.lines);
    EXPECT_EQ(r.imported, static_cast<int>(c.lines.size()));
    EXPECT_EQ(r.skipped, c.skipped);
    EXPECT_EQ(r.unknown_zones, c.unknown_zones);
    // The same file again adds nothing.
    const std::vector<std::string_view> there(r.lines.begin(), r.lines.end());
    const ImportResult again = import_text(sample(c.file), &there);
    EXPECT_EQ(again.imported, 0);
    EXPECT_EQ(again.already_there, static_cast<int>(c.lines.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImportForms,
    testing::Values(
        // Windows zone names with VTIMEZONE, fortnightly rule with UNTIL and EXDATE, all-day.
        FormCase{
            "outlook.ics",
            {"2024.01.08\tMon\t09:00-10:00\tJour fixe, Team\t0\n", "2024.01.22\tMon\t09:00-10:00\tJour fixe, Team\t0\n",
             "2024.02.19\tMon\t09:00-10:00\tJour fixe, Team\t0\n", "2024.03.04\tMon\t09:00-10:00\tJour fixe, Team\t0\n",
             "2024.03.18\tMon\t09:00-10:00\tJour fixe, Team\t0\n", "2024.04.01\tMon\t09:00-10:00\tJour fixe, Team\t0\n",
             "2024.03.15\tFri\t\tGeburtstag Anna ? Gr\xfc\xdf"
             "e\t0\n",
             "2024.03.15\tFri\t15:00-16:30\tCall with New York\t0\n"},
            0,
            0},
        // UTC times across the spring change, VALARM inside, a moved occurrence, several days.
        FormCase{
            "google.ics",
            {"2024.03.31\tSun\t00:00-03:30\tRelease party\t0\n", "2024.01.26\tFri\t10:00-11:00\tSprint review\t0\n",
             "2024.02.23\tFri\t10:00-11:00\tSprint review\t0\n", "2024.03.29\tFri\t10:00-11:00\tSprint review\t0\n",
             "2024.05.31\tFri\t11:00-12:00\tSprint review\t0\n",
             "2024.04.25\tThr\t11:00-12:00\tSprint review (moved)\t0\n", "2024.05.20\tMon\t\tConference\t0\n"},
            0,
            0},
        // IANA zones (with and without VTIMEZONE), to-dos with COMPLETED, an unknown zone.
        FormCase{"thunderbird.ics",
                 {"2024.10.27\tSun\t02:30-03:30\tZahnarzt\t0\n", "2024.11.30\tSat\t23:00-00:00\tCall Sydney\t0\n",
                  "2024.07.01\tMon\t12:00\tUnknown place\t0\n", "2024.05.31\tFri\t\tSteuererkl\xe4rung\t1\n",
                  "2024.10.19\tSat\t10:00\tReifen wechseln\t0\n"},
                 1,
                 1}));

struct ToleranceCase {
    const char* what;
    std::string text;
    std::vector<std::string> lines;
    int skipped;
};

class ImportTolerance : public testing::TestWithParam<ToleranceCase> { };

TEST_P(ImportTolerance, ReadsWhatOthersWrite)
{
    const ToleranceCase& c = GetParam();
    const ImportResult r = import_text(c.text);
    EXPECT_TRUE(r.is_calendar) << c.what;
    EXPECT_EQ(r.lines, c.lines) << c.what;
    EXPECT_EQ(r.skipped, c.skipped) << c.what;
}

const std::string long_text(300, 'x');

INSTANTIATE_TEST_SUITE_P(
    Forms, ImportTolerance,
    testing::Values(
        ToleranceCase{"LF only, BOM, any case, quoted and unknown parameters, unknown component, fold, repeat",
                      "\xEF\xBB\xBF"
                      "begin:vcalendar\nBEGIN:X-THING\nSUMMARY:not this\nEND:X-THING\n"
                      "Begin:VEvent\nx-unknown;foo=\"a;b:c\":zz\nsummary;X-P=\"q:r\";LANGUAGE=en:Two \n"
                      " words\\; more\\\\\nSUMMARY:second\ndtstart;value=date-time;tzid=\"Europe/Berlin\":"
                      "20240102T0800\n\t00\nDURATION:PT1H30M\nEND:VEVENT\nEND:VCALENDAR\n",
                      {"2024.01.02\tThu\t08:00-09:30\tTwo words; more\\\t0\n"},
                      0},
        ToleranceCase{"tabs and line breaks become blanks; the status of the program's own",
                      event("DTSTART;VALUE=DATE:20240229\r\nSUMMARY:a\\nb\tc\r\nX-TERMARIS-STATUS:1\r\n"),
                      {"2024.02.29\tThr\t\ta b c\t1\n"},
                      0},
        ToleranceCase{
            "no summary: an empty text", event("DTSTART;VALUE=DATE:20240301\r\n"), {"2024.03.01\tFri\t\t\t0\n"}, 0},
        ToleranceCase{"a long text is cut to keep the line within 254 characters",
                      event("DTSTART:20240102T080000\r\nSUMMARY:" + long_text + "\r\n"),
                      // 21 characters before the text, 3 after it.
                      {"2024.01.02\tThu\t08:00\t" + std::string(254 - 21 - 3, 'x') + "\t0\n"},
                      0},
        ToleranceCase{"outside 1971..2037, no DTSTART, a bad date: skipped",
                      event("DTSTART:19700101T080000\r\n") + event("DTSTART;VALUE=DATE:20380101\r\n") +
                          event("SUMMARY:no start\r\n") + event("DTSTART:20240231T080000\r\n"),
                      {},
                      4},
        ToleranceCase{"a zone defined after the event that uses it (13:00 at +05:00 is 09:00 in Berlin)",
                      "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;TZID=Far East:20240102T130000\r\nSUMMARY:x\r\n"
                      "END:VEVENT\r\nBEGIN:VTIMEZONE\r\nTZID:Far East\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
                      "TZOFFSETFROM:+0500\r\nTZOFFSETTO:+0500\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\nEND:VCALENDAR\r\n",
                      {"2024.01.02\tThu\t09:00\tx\t0\n"},
                      0},
        ToleranceCase{"a rule with parts beyond the supported ones gives its first occurrence",
                      event("DTSTART:20240101T080000\r\nRRULE:FREQ=MONTHLY;BYSETPOS=-1;BYDAY=MO,TU\r\nSUMMARY:x\r\n"),
                      {"2024.01.01\tMon\t08:00\tx\t0\n"},
                      0}));

TEST(ImportRefuses, WhatIsNotACalendar)
{
    for (const char* text : {"", "hello\n", "BEGIN:VEVENT\nDTSTART:20240101\nEND:VEVENT\n"})
        EXPECT_FALSE(import_text(text).is_calendar) << text;
    EXPECT_EQ(import_text(event("DTSTART:20240101T080000\r\nRRULE:FREQ=SECONDLY\r\n")).rules_taken_once, 1);
}

struct RuleCase {
    const char* start;
    const char* rule;
    const char* exdate;
    std::vector<const char*> dates; // local "YYYY.MM.DD HH:MM"
};

class Recurrence : public testing::TestWithParam<RuleCase> { };

TEST_P(Recurrence, GivesTheOccurrencesOfTheRule)
{
    const RuleCase& c = GetParam();
    std::string props = std::string("DTSTART:") + c.start + "\r\nRRULE:" + c.rule + "\r\n";
    if (*c.exdate)
        props += std::string("EXDATE:") + c.exdate + "\r\n";
    const ImportResult r = import_text(event(props));
    std::vector<std::string> got;
    for (const std::string& line : r.lines)
        got.push_back(line.substr(0, 10) + " " + line.substr(15, 5));
    EXPECT_EQ(got, std::vector<std::string>(c.dates.begin(), c.dates.end())) << c.rule;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Recurrence,
    testing::Values(
        RuleCase{"20240105T070000",
                 "FREQ=DAILY;INTERVAL=3;COUNT=5",
                 "20240111T070000,20240114T070000",
                 {"2024.01.05 07:00", "2024.01.08 07:00", "2024.01.17 07:00"}},
        RuleCase{"20240126T100000",
                 "FREQ=MONTHLY;BYDAY=-1FR;COUNT=5",
                 "",
                 {"2024.01.26 10:00", "2024.02.23 10:00", "2024.03.29 10:00", "2024.04.26 10:00", "2024.05.31 10:00"}},
        RuleCase{"20240131T120000",
                 "FREQ=MONTHLY;BYMONTHDAY=31;COUNT=4",
                 "20240331T120000",
                 {"2024.01.31 12:00", "2024.05.31 12:00", "2024.07.31 12:00"}},
        // Occurrences stop two years after today, whatever UNTIL says.
        RuleCase{"20240310T083000",
                 "FREQ=YEARLY;BYMONTH=3;BYDAY=2SU;UNTIL=20300101T000000",
                 "",
                 {"2024.03.10 08:30", "2025.03.09 08:30", "2026.03.08 08:30"}},
        RuleCase{"20240108T090000",
                 "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO;UNTIL=20240401T090000;WKST=SU",
                 "20240205T090000",
                 {"2024.01.08 09:00", "2024.01.22 09:00", "2024.02.19 09:00", "2024.03.04 09:00", "2024.03.18 09:00",
                  "2024.04.01 09:00"}},
        RuleCase{"19970805T090000",
                 "FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=MO",
                 "",
                 {"1997.08.05 09:00", "1997.08.10 09:00", "1997.08.19 09:00", "1997.08.24 09:00"}},
        RuleCase{"19970805T090000",
                 "FREQ=WEEKLY;INTERVAL=2;COUNT=4;BYDAY=TU,SU;WKST=SU",
                 "",
                 {"1997.08.05 09:00", "1997.08.17 09:00", "1997.08.19 09:00", "1997.08.31 09:00"}},
        RuleCase{"20240229T000000",
                 "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1;COUNT=3",
                 "",
                 {"2024.02.29 00:00", "2025.02.28 00:00", "2026.02.28 00:00"}},
        RuleCase{"20240102T000000",
                 "FREQ=MONTHLY;INTERVAL=2;BYDAY=1TU,3TU;COUNT=5",
                 "",
                 {"2024.01.02 00:00", "2024.01.16 00:00", "2024.03.05 00:00", "2024.03.19 00:00", "2024.05.07 00:00"}},
        RuleCase{"20240513T000000", "FREQ=YEARLY;BYDAY=20MO;COUNT=2", "", {"2024.05.13 00:00", "2025.05.19 00:00"}}));

TEST(Recurrence, AnEndlessRuleKeepsTheThousandNearestToday)
{
    const ImportResult r = import_text(event("DTSTART:20000101T090000\r\nRRULE:FREQ=DAILY\r\n"));
    ASSERT_EQ(r.lines.size(), 1000u);
    EXPECT_EQ(r.lines.front().substr(0, 10), "2023.01.18");
    EXPECT_EQ(r.lines.back().substr(0, 10), "2025.10.13");
}

struct ZoneCase {
    const char* start; // DTSTART with its parameters
    const char* local; // "YYYY.MM.DD HH:MM"
};

class ZoneConversion : public testing::TestWithParam<ZoneCase> { };

TEST_P(ZoneConversion, GivesLocalTimeAcrossDaylightSaving)
{
    const ImportResult r = import_text(event(std::string("DTSTART") + GetParam().start + "\r\n"));
    ASSERT_EQ(r.lines.size(), 1u) << GetParam().start;
    EXPECT_EQ(r.lines[0].substr(0, 10) + " " + r.lines[0].substr(15, 5), GetParam().local) << GetParam().start;
}

INSTANTIATE_TEST_SUITE_P(Times, ZoneConversion,
                         testing::Values(ZoneCase{":20240331T005900Z", "2024.03.31 01:59"},
                                         ZoneCase{":20240331T010000Z", "2024.03.31 03:00"},
                                         ZoneCase{":20241027T005900Z", "2024.10.27 02:59"},
                                         ZoneCase{":20241027T010000Z", "2024.10.27 02:00"},
                                         // New York already on summer time, Berlin not yet; then both.
                                         ZoneCase{";TZID=America/New_York:20240315T100000", "2024.03.15 15:00"},
                                         ZoneCase{";TZID=Eastern Standard Time:20240401T100000", "2024.04.01 16:00"},
                                         ZoneCase{";TZID=America/New_York:20241103T013000", "2024.11.03 06:30"},
                                         // Southern summer runs over the new year.
                                         ZoneCase{";TZID=Australia/Sydney:20240701T090000", "2024.07.01 01:00"},
                                         ZoneCase{";TZID=/mozilla.org/20070129_1/Australia/Sydney:20241201T090000",
                                                  "2024.11.30 23:00"},
                                         // A time the spring change skips is read with the offset before it.
                                         ZoneCase{";TZID=Europe/Berlin:20240331T023000", "2024.03.31 03:30"}));

std::vector<std::string> physical_lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find("\r\n", pos);
        lines.push_back(text.substr(pos, end - pos));
        pos = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

TEST(Export, FoldsAt75OctetsWithoutSplittingACharacter)
{
    std::string out;
    std::string utf8 = "SUMMARY:" + std::string(70, 'a');
    for (int i = 0; i < 60; ++i)
        utf8 += "\xC3\xA9"; // é
    append_folded(out, utf8);
    for (const std::string& line : physical_lines(out)) {
        EXPECT_LE(line.size(), 75u);
        EXPECT_NE(static_cast<unsigned char>(line.back()), 0xC3) << "split after a lead byte";
    }
    Calendar c;
    ASSERT_TRUE(c.read("BEGIN:VCALENDAR\r\n" + out + "END:VCALENDAR\r\n"));
    EXPECT_EQ(c.calendars()[0].first("SUMMARY")->value, utf8.substr(8));
}

struct CodecCase {
    std::string from, to;
    bool to_utf8;
};

class CodecTable : public testing::TestWithParam<CodecCase> { };

// A table that knows only "\xe9" (e acute): what it cannot say goes to the general conversion.
TEST_P(CodecTable, ConvertsWhatItHoldsAndHandsOnTheRest)
{
    char32_t upper[128] = {};
    upper[0xe9 - 0x80] = 0xe9;
    const TextCodec codec([](std::string_view) { return std::string("<general>"); },
                          [](std::string_view) { return std::string("<general>"); }, upper);
    const CodecCase& c = GetParam();
    EXPECT_EQ(c.to_utf8 ? codec.to_utf8(c.from) : codec.from_utf8(c.from), c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CodecTable,
    testing::Values(CodecCase{"caf\xe9, caf\xe9", "caf\xc3\xa9, caf\xc3\xa9", true},
                    CodecCase{"Gr\xfc\xdf"
                              "e",
                              "<general>", true},
                    CodecCase{"caf\xc3\xa9 ok", "caf\xe9 ok", false},
                    CodecCase{"\xc3\xbc", "<general>", false}, // a character of no byte
                    CodecCase{"caf\xc3", "<general>", false}, // cut short
                    CodecCase{"\xc0\xa9", "<general>", false}, // overlong
                    CodecCase{"\xed\xa0\x80", "<general>", false}, // a surrogate
                    CodecCase{"plain", "plain", false},
                    // Runs of ASCII longer than eight bytes, with the character at either side of a word.
                    CodecCase{"0123456\xc3\xa9"
                              "89abcdef\xc3\xa9",
                              "0123456\xe9"
                              "89abcdef\xe9",
                              false},
                    CodecCase{"01234567\xc3\xa9"
                              "abcdefghijklmnop",
                              "01234567\xe9"
                              "abcdefghijklmnop",
                              false},
                    CodecCase{"0123456789abcdef\xc3\xbc", "<general>", false}));

struct ExportCase {
    const char* line;
    std::vector<const char*> properties; // between UID/DTSTAMP and END:VEVENT
};

class ExportEntries : public testing::TestWithParam<ExportCase> { };

TEST_P(ExportEntries, WritesOneEventPerEntry)
{
    const ExportCase& c = GetParam();
    const ExportResult r =
        export_calendar({std::string_view(c.line)}, to_seconds(Civil{2024, 6, 1, 10, 0, 0}), latin1_codec());
    ASSERT_EQ(r.exported, 1);
    const std::vector<std::string> lines = physical_lines(r.text);
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              (std::vector<std::string>{"BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Orvandel//Termaris//EN",
                                        "CALSCALE:GREGORIAN", "BEGIN:VEVENT"}));
    EXPECT_EQ(lines[5].substr(0, 4) + lines[5].substr(20), "UID:@termaris");
    EXPECT_EQ(lines[6], "DTSTAMP:20240601T100000Z");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 7, lines.end() - 2),
              std::vector<std::string>(c.properties.begin(), c.properties.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ExportEntries,
    testing::Values(ExportCase{"2024.03.05\tThu\t08:30\tDentist\t0\n",
                               {"DTSTART:20240305T083000", "SUMMARY:Dentist", "X-TERMARIS-STATUS:0"}},
                    ExportCase{"2024.03.05\tThu\t22:00-01:30\tNight shift; sleep, then\\\t1\n",
                               {"DTSTART:20240305T220000", "DTEND:20240306T013000",
                                "SUMMARY:Night shift\\; sleep\\, then\\\\", "X-TERMARIS-STATUS:1"}},
                    ExportCase{"2024.12.31\tThu\t\tSilvester \xe0 Paris\t0\n",
                               {"DTSTART;VALUE=DATE:20241231", "DTEND;VALUE=DATE:20250101",
                                "SUMMARY:Silvester \xc3\xa0 Paris", "X-TERMARIS-STATUS:0"}},
                    ExportCase{"2024.03.05\tThu\tlunch\tPasta\t\n",
                               {"DTSTART;VALUE=DATE:20240305", "DTEND;VALUE=DATE:20240306", "SUMMARY:lunch Pasta",
                                "X-TERMARIS-STATUS:1"}}));

TEST(Export, SkipsEntriesWithoutADateAndKeepsUidsStable)
{
    const std::vector<std::string> lines = {"2024.02.30\tFri\t\tNo such day\t0\n", "\t\t\t\t\n",
                                            "2024.02.29\tThr\t\tLeap\t0\n"};
    const ExportResult a = export_calendar(lines, 0, latin1_codec());
    const ExportResult b = export_calendar(lines, 0, latin1_codec());
    EXPECT_EQ(a.exported, 1);
    EXPECT_EQ(a.skipped, 2);
    EXPECT_EQ(a.text, b.text);
}

// The UID is read from the whole line: a change of any byte of the text or the status gives another.
TEST(Export, EveryByteOfTheEntryChangesItsUid)
{
    const std::string line = "2024.02.29\tThr\t10:00\tThirty-one bytes of text, here!\t0\n";
    auto uid = [](const std::string& entry) {
        return physical_lines(export_calendar(std::vector<std::string>{entry}, 0, latin1_codec()).text)[5];
    };
    std::set<std::string> uids{uid(line)};
    const size_t text = line.find("Thirty");
    for (size_t at = text; at + 1 < line.size(); ++at) {
        std::string changed = line;
        changed[at] = changed[at] == '0' ? '1' : '0';
        EXPECT_TRUE(uids.insert(uid(changed)).second) << "byte " << at;
    }
}

// Names, parameters and values of every length, so that each byte of a line falls once at each
// place of the searches that go eight bytes at a time.
TEST(ContentLines, SplitAlikeAtEveryLength)
{
    std::string text, expected;
    for (size_t name = 1; name <= 19; ++name) {
        for (size_t value = 0; value <= 19; ++value) {
            const std::string n(name, 'N'), v(value, 'v'), params = value % 3 ? ";P=\"a:b\"" : "";
            text += n + params + ":" + v + (value % 2 ? "\r\n" : "\n");
            expected += n + "|" + params + "|" + v + "\n";
        }
    }
    LineReader lines(text);
    std::string got;
    std::string_view line;
    Property p;
    while (lines.next(line))
        if (split_property(line, p))
            got += std::string(p.name) + "|" + std::string(p.params) + "|" + std::string(p.value) + "\n";
    EXPECT_EQ(got, expected);
}

TEST(ContentLines, TextValuesUnescaped)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"plain text of more than eight bytes", "plain text of more than eight bytes"},
        {"a\\,b\\;c\\\\d\\ne\\Nf", "a,b;c\\d\ne\nf"},
        {"0123456\\,89abcdef\\n", "0123456,89abcdef\n"}, // escapes at either side of a word
        {"unknown \\x", "unknown x"},
        {"ends in \\", "ends in \\"}};
    for (const auto& [escaped, text] : cases)
        EXPECT_EQ(unescape_text(escaped), text) << escaped;
}

TEST(RoundTrip, GivesBackDateTimeTextAndStatus)
{
    const std::vector<std::string> entries = {"2024.03.05\tThu\t08:30\tDentist\t0\n",
                                              "2024.03.05\tThu\t22:00-01:30\tNight, shift\t1\n",
                                              "2024.03.31\tSun\t01:30-04:00\tAcross the change\t0\n",
                                              "2030.12.31\tTue\t\tSilvester \xe0 Paris; \\o/\t1\n",
                                              "1971.01.01\tFri\t10:00-10:00\tA whole day\t0\n",
                                              "2037.12.31\tThr\t00:00-23:59\t" + std::string(220, 'y') + "\t0\n"};
    const ExportResult out = export_calendar(entries, 0, latin1_codec());
    const ImportResult back = import_text(out.text);
    ASSERT_EQ(back.lines.size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        // The weekday label is computed again; everything else comes back as it was.
        EXPECT_EQ(back.lines[i].substr(0, 10), entries[i].substr(0, 10));
        EXPECT_EQ(back.lines[i].substr(14), entries[i].substr(14));
    }
}

} // namespace
