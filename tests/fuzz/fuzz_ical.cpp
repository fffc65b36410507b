// The iCalendar reader over any bytes: every entry it gives is a well-formed date line within
// 1971..2037 and 254 characters, and exporting those entries and reading them back gives the same
// lines. The same bytes, taken as a date file, must export to CR LF lines of at most 75 octets.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_input.h"
#include "core/ical/export.h"
#include "core/ical/import.h"
#include "core/date_line.h"
#include "core/date_text.h"

namespace {

using namespace ical;

class BerlinOnly : public ZoneSource {
public:
    std::optional<ZoneRules> windows_zone(std::string_view name) const override
    {
        if (name == "W. Europe Standard Time")
            return berlin_;
        return std::nullopt;
    }
    const ZoneRules& local_zone() const override { return berlin_; }

private:
    ZoneRules berlin_{ZoneYear{3600, 7200, true, Transition{3, 5, 6, 0, 7200}, Transition{10, 5, 6, 0, 10800}}};
};

ImportResult read(std::string_view bytes)
{
    static const BerlinOnly zones;
    ImportOptions o;
    o.zones = &zones;
    o.codec = &latin1_codec();
    o.today_day = 1;
    o.today_month = 6;
    o.today_year = 2024;
    return import_calendar(bytes, o);
}

void check_line(const std::string& line)
{
    fuzz::require(line.size() <= static_cast<size_t>(dl::line_limit), "entry longer than 254", line);
    fuzz::require(!line.empty() && line.back() == '\n', "entry without newline", line);
    size_t tabs = 0;
    for (char c : line)
        tabs += c == '\t';
    fuzz::require(tabs == 4, "entry without five fields", line);
    const int year = std::stoi(line.substr(0, 4));
    fuzz::require(year >= first_year && year <= last_year, "entry out of range", line);
    const char status = line[line.size() - 2];
    fuzz::require(status == '0' || status == '1', "status neither 0 nor 1", line);
}

void check_export(const std::string& text)
{
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find("\r\n", pos);
        fuzz::require(end != std::string::npos, "export line without CR LF", text.substr(pos));
        fuzz::require(end - pos <= 75, "export line over 75 octets", text.substr(pos, end - pos));
        fuzz::require(text.substr(pos, end - pos).find('\n') == std::string::npos, "bare LF in export");
        pos = end + 2;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ImportResult first = read(bytes);
    fuzz::require(first.imported == static_cast<int>(first.lines.size()), "imported count differs");
    for (const std::string& line : first.lines)
        check_line(line);

    const ExportResult out = export_calendar(first.lines, 0, latin1_codec());
    check_export(out.text);
    const ImportResult again = read(out.text);
    fuzz::require(again.lines == first.lines, "export and import changed the entries", out.text);

    check_export(export_calendar(dl::decode_lines(bytes), 0, latin1_codec()).text);
    return 0;
}
