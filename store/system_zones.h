// The system's side of iCalendar files: its time-zone list and its ANSI code page.
#pragma once
#include <optional>
#include <string_view>
#include "core/ical/codec.h"
#include "core/ical/zone.h"

// Zones from the registry's "Time Zones" list (with its yearly "Dynamic DST" rules); the local
// zone is the one the system runs in.
class SystemZones : public ical::ZoneSource {
public:
    SystemZones();
    std::optional<ical::ZoneRules> windows_zone(std::string_view name) const override;
    const ical::ZoneRules& local_zone() const override { return local_; }

private:
    ical::ZoneRules local_;
};

// Between the ANSI code page and UTF-8; "?" for what the code page cannot hold.
const ical::TextCodec& ansi_codec();
