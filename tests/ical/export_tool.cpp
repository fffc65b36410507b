// Exports a date file to an iCalendar file, as the program's Export does, with ISO 8859-1 as the
// code page: the file that tests/ical/check_export.py gives to an independent parser.
// Usage: ical_export_tool <date file> <.ics file>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>

#include "core/ical/export.h"
#include "core/date_text.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: ical_export_tool <date file> <ics file>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const ical::ExportResult r = ical::export_calendar(
        dl::decode_lines(bytes.str()), static_cast<ical::Seconds>(std::time(nullptr)), ical::latin1_codec());
    std::ofstream out(argv[2], std::ios::binary);
    out << r.text;
    std::cout << r.exported << " exported, " << r.skipped << " skipped\n";
    return out ? 0 : 1;
}
