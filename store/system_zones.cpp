#include "store/system_zones.h"
#include <windows.h>
#include <string>

namespace {

const char* const zones_key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\";

// The layout of the registry's "TZI" values.
struct RegistryTzi {
    LONG bias;
    LONG standard_bias;
    LONG daylight_bias;
    SYSTEMTIME standard_date;
    SYSTEMTIME daylight_date;
};

class Key {
public:
    Key(HKEY parent, const std::string& name)
    {
        if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ, &h_) != ERROR_SUCCESS)
            h_ = nullptr;
    }
    ~Key()
    {
        if (h_)
            RegCloseKey(h_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return h_; }

    bool read(const char* value, void* data, DWORD size) const
    {
        DWORD type = 0, got = size;
        return h_ && RegQueryValueExA(h_, value, nullptr, &type, static_cast<BYTE*>(data), &got) == ERROR_SUCCESS &&
               got == size;
    }

private:
    HKEY h_ = nullptr;
};

ical::Transition transition_of(const SYSTEMTIME& t)
{
    ical::Transition out;
    out.month = t.wMonth;
    // A year in the date makes it a fixed day; otherwise wDay counts the weekday (5: the last).
    out.week = t.wYear == 0 ? t.wDay : 0;
    out.day = t.wDay;
    out.weekday = (t.wDayOfWeek + 6) % 7;
    out.seconds = t.wHour * 3600 + t.wMinute * 60 + t.wSecond;
    return out;
}

ical::ZoneYear year_of(LONG bias, LONG standard_bias, LONG daylight_bias, const SYSTEMTIME& standard_date,
                       const SYSTEMTIME& daylight_date)
{
    ical::ZoneYear z;
    z.standard = -(bias + standard_bias) * 60;
    z.daylight = -(bias + daylight_bias) * 60;
    z.has_daylight = standard_date.wMonth != 0 && daylight_date.wMonth != 0;
    if (z.has_daylight) {
        z.to_standard = transition_of(standard_date);
        z.to_daylight = transition_of(daylight_date);
    }
    return z;
}

ical::ZoneYear year_of(const RegistryTzi& t)
{
    return year_of(t.bias, t.standard_bias, t.daylight_bias, t.standard_date, t.daylight_date);
}

std::optional<ical::ZoneRules> registry_zone(const std::string& name)
{
    if (name.empty() || name.find('\\') != std::string::npos)
        return std::nullopt;
    Key zone(HKEY_LOCAL_MACHINE, zones_key + name);
    RegistryTzi tzi{};
    if (!zone.read("TZI", &tzi, sizeof tzi))
        return std::nullopt;
    ical::ZoneRules rules;
    Key dynamic(zone.get(), "Dynamic DST");
    DWORD first = 0, last = 0;
    if (zone.get() && dynamic.read("FirstEntry", &first, sizeof first) &&
        dynamic.read("LastEntry", &last, sizeof last) && first <= last && last - first < 500) {
        for (DWORD y = first; y <= last; ++y) {
            RegistryTzi year_tzi{};
            if (dynamic.read(std::to_string(y).c_str(), &year_tzi, sizeof year_tzi))
                rules.add(static_cast<int>(y), year_of(year_tzi));
        }
    }
    if (rules.empty())
        rules.add(-32768, year_of(tzi));
    return rules;
}

std::string narrow(const WCHAR* text)
{
    char buf[256] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

bool is_ascii(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::string convert(std::string_view text, UINT from, UINT to)
{
    if (is_ascii(text) || text.size() > 0x3FFFFFFF)
        return std::string(text);
    const int length = static_cast<int>(text.size());
    const int wide_length = MultiByteToWideChar(from, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wide_length), L'\0');
    MultiByteToWideChar(from, 0, text.data(), length, &wide[0], wide_length);
    // The UTF-8 code page takes no replacement character: it can hold everything anyway.
    const char* replacement = to == CP_UTF8 ? nullptr : "?";
    const int out_length = WideCharToMultiByte(to, 0, wide.data(), wide_length, nullptr, 0, replacement, nullptr);
    std::string out(static_cast<size_t>(out_length), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wide_length, &out[0], out_length, replacement, nullptr);
    return out;
}

UINT ansi_page()
{
    return GetACP() == CP_UTF8 ? CP_UTF8 : CP_ACP;
}

// The characters of the upper 128 bytes of a single-byte ANSI code page, each only when it
// converts back to its byte; false for a code page of more bytes a character.
bool single_byte_table(char32_t (&upper)[128])
{
    CPINFO info{};
    if (ansi_page() == CP_UTF8 || !GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1)
        return false;
    for (int i = 0; i < 128; ++i) {
        const char byte = static_cast<char>(0x80 + i);
        WCHAR wide = 0;
        char back = 0;
        BOOL replaced = FALSE;
        const bool both_ways = MultiByteToWideChar(CP_ACP, 0, &byte, 1, &wide, 1) == 1 &&
                               WideCharToMultiByte(CP_ACP, 0, &wide, 1, &back, 1, "?", &replaced) == 1 && !replaced &&
                               back == byte;
        upper[i] = both_ways ? wide : 0;
    }
    return true;
}

} // namespace

SystemZones::SystemZones()
{
    DYNAMIC_TIME_ZONE_INFORMATION dtzi{};
    const DWORD got = GetDynamicTimeZoneInformation(&dtzi);
    // With automatic daylight saving switched off the clock keeps standard time all year.
    if (dtzi.DynamicDaylightTimeDisabled)
        dtzi.DaylightDate.wMonth = 0;
    else if (got != TIME_ZONE_ID_INVALID)
        if (std::optional<ical::ZoneRules> rules = registry_zone(narrow(dtzi.TimeZoneKeyName)))
            local_ = std::move(*rules);
    if (local_.empty() && got != TIME_ZONE_ID_INVALID)
        local_.add(-32768,
                   year_of(dtzi.Bias, dtzi.StandardBias, dtzi.DaylightBias, dtzi.StandardDate, dtzi.DaylightDate));
}

std::optional<ical::ZoneRules> SystemZones::windows_zone(std::string_view name) const
{
    return registry_zone(std::string(name));
}

const ical::TextCodec& ansi_codec()
{
    static const ical::TextCodec codec = [] {
        ical::TextCodec::Convert to_utf8 = [](std::string_view text) { return convert(text, ansi_page(), CP_UTF8); };
        ical::TextCodec::Convert from_utf8 = [](std::string_view text) { return convert(text, CP_UTF8, ansi_page()); };
        char32_t upper[128];
        if (!single_byte_table(upper))
            return ical::TextCodec(to_utf8, from_utf8);
        return ical::TextCodec(to_utf8, from_utf8, upper);
    }();
    return codec;
}
