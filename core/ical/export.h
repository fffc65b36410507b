// Every entry as one VEVENT of an iCalendar file.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ical/codec.h"
#include "core/ical/zone.h"

namespace ical {

struct ExportResult {
    std::string text; // the whole file, CR LF line ends
    int exported = 0;
    int skipped = 0; // entries whose date does not read
};

// The product that writes the file, as other calendars show it.
constexpr const char* product_id = "-//Orvandel//Termaris//EN";

// Entries are date lines (held-back lines and rows alike; the newline may be missing); stamp is
// the export time in UTC.
ExportResult export_calendar(const std::vector<std::string_view>& lines, Seconds stamp, const TextCodec& codec);
// The same file handed to write in pieces as it is made, so that the whole text never needs to
// be in memory; result.text stays empty. A piece that write refuses ends the export: false.
using PieceWriter = std::function<bool(std::string_view)>;
bool export_calendar(const std::vector<std::string_view>& lines, Seconds stamp, const TextCodec& codec,
                     const PieceWriter& write, ExportResult& result);
inline ExportResult export_calendar(const std::vector<std::string>& lines, Seconds stamp, const TextCodec& codec)
{
    return export_calendar(std::vector<std::string_view>(lines.begin(), lines.end()), stamp, codec);
}

} // namespace ical
