// IANA zone names of the common Windows zones, from the Unicode CLDR mapping windowsZones.xml
// (each zone's main name, its larger countries' names, and the current spellings of renamed ones).
#include <cstring>
#include <string>

#include "core/ical/zone.h"

namespace ical {

namespace {

struct ZoneNames {
    const char* windows;
    const char* iana; // separated by blanks
};

const ZoneNames zone_names[] = {
    {"Dateline Standard Time", "Etc/GMT+12"},
    {"UTC-11", "Etc/GMT+11 Pacific/Pago_Pago Pacific/Niue Pacific/Midway"},
    {"Aleutian Standard Time", "America/Adak"},
    {"Hawaiian Standard Time", "Pacific/Honolulu Pacific/Rarotonga Pacific/Tahiti Etc/GMT+10"},
    {"Marquesas Standard Time", "Pacific/Marquesas"},
    {"Alaskan Standard Time", "America/Anchorage America/Juneau America/Nome America/Sitka America/Yakutat"},
    {"UTC-09", "Etc/GMT+9 Pacific/Gambier"},
    {"Pacific Standard Time (Mexico)", "America/Tijuana"},
    {"UTC-08", "Etc/GMT+8 Pacific/Pitcairn"},
    {"Pacific Standard Time", "America/Los_Angeles America/Vancouver"},
    {"US Mountain Standard Time", "America/Phoenix America/Creston America/Hermosillo Etc/GMT+7"},
    {"Mountain Standard Time (Mexico)", "America/Mazatlan"},
    {"Mountain Standard Time", "America/Denver America/Edmonton America/Boise America/Ciudad_Juarez"},
    {"Yukon Standard Time", "America/Whitehorse America/Dawson"},
    {"Central America Standard Time",
     "America/Guatemala America/Belize America/Costa_Rica America/Tegucigalpa America/Managua "
     "America/El_Salvador Etc/GMT+6"},
    {"Central Standard Time", "America/Chicago America/Winnipeg America/Matamoros America/Indiana/Knox"},
    {"Easter Island Standard Time", "Pacific/Easter"},
    {"Central Standard Time (Mexico)", "America/Mexico_City America/Monterrey America/Merida America/Chihuahua"},
    {"Canada Central Standard Time", "America/Regina America/Swift_Current"},
    {"SA Pacific Standard Time",
     "America/Bogota America/Lima America/Guayaquil America/Jamaica America/Panama America/Rio_Branco Etc/GMT+5"},
    {"Eastern Standard Time (Mexico)", "America/Cancun"},
    {"Eastern Standard Time", "America/New_York America/Toronto America/Detroit America/Nassau America/Louisville "
                              "America/Kentucky/Louisville"},
    {"Haiti Standard Time", "America/Port-au-Prince"},
    {"Cuba Standard Time", "America/Havana"},
    {"US Eastern Standard Time", "America/Indianapolis America/Indiana/Indianapolis"},
    {"Turks And Caicos Standard Time", "America/Grand_Turk"},
    {"Paraguay Standard Time", "America/Asuncion"},
    {"Atlantic Standard Time", "America/Halifax Atlantic/Bermuda America/Moncton America/Thule"},
    {"Venezuela Standard Time", "America/Caracas"},
    {"Central Brazilian Standard Time", "America/Cuiaba America/Campo_Grande"},
    {"SA Western Standard Time",
     "America/La_Paz America/Manaus America/Santo_Domingo America/Puerto_Rico America/Port_of_Spain "
     "America/Barbados America/Curacao Etc/GMT+4"},
    {"Pacific SA Standard Time", "America/Santiago"},
    {"Newfoundland Standard Time", "America/St_Johns"},
    {"Tocantins Standard Time", "America/Araguaina"},
    {"E. South America Standard Time", "America/Sao_Paulo"},
    {"SA Eastern Standard Time",
     "America/Cayenne America/Fortaleza America/Belem America/Recife America/Paramaribo Atlantic/Stanley Etc/GMT+3"},
    {"Argentina Standard Time",
     "America/Buenos_Aires America/Argentina/Buenos_Aires America/Cordoba America/Argentina/Cordoba "
     "America/Mendoza"},
    {"Greenland Standard Time", "America/Godthab America/Nuuk"},
    {"Montevideo Standard Time", "America/Montevideo"},
    {"Magallanes Standard Time", "America/Punta_Arenas"},
    {"Saint Pierre Standard Time", "America/Miquelon"},
    {"Bahia Standard Time", "America/Bahia"},
    {"UTC-02", "Etc/GMT+2 America/Noronha Atlantic/South_Georgia"},
    {"Azores Standard Time", "Atlantic/Azores America/Scoresbysund"},
    {"Cape Verde Standard Time", "Atlantic/Cape_Verde Etc/GMT+1"},
    {"UTC", "Etc/UTC Etc/GMT UTC GMT Etc/UCT Etc/Universal Etc/Zulu"},
    {"GMT Standard Time",
     "Europe/London Europe/Dublin Europe/Lisbon Atlantic/Canary Atlantic/Madeira Atlantic/Faeroe Atlantic/Faroe "
     "Europe/Guernsey Europe/Isle_of_Man Europe/Jersey"},
    {"Greenwich Standard Time",
     "Atlantic/Reykjavik Africa/Abidjan Africa/Accra Africa/Dakar Africa/Monrovia Africa/Bamako Africa/Conakry"},
    {"Sao Tome Standard Time", "Africa/Sao_Tome"},
    {"Morocco Standard Time", "Africa/Casablanca Africa/El_Aaiun"},
    {"W. Europe Standard Time",
     "Europe/Berlin Europe/Amsterdam Europe/Andorra Europe/Vienna Europe/Zurich Europe/Busingen Europe/Gibraltar "
     "Europe/Rome Europe/Vaduz Europe/Luxembourg Europe/Monaco Europe/Malta Europe/Oslo Europe/Stockholm "
     "Arctic/Longyearbyen Europe/San_Marino Europe/Vatican"},
    {"Central Europe Standard Time",
     "Europe/Budapest Europe/Tirane Europe/Prague Europe/Podgorica Europe/Belgrade Europe/Ljubljana "
     "Europe/Bratislava"},
    {"Romance Standard Time", "Europe/Paris Europe/Brussels Europe/Copenhagen Europe/Madrid Africa/Ceuta"},
    {"Central European Standard Time", "Europe/Warsaw Europe/Sarajevo Europe/Zagreb Europe/Skopje"},
    {"W. Central Africa Standard Time",
     "Africa/Lagos Africa/Luanda Africa/Kinshasa Africa/Douala Africa/Algiers Africa/Tunis Africa/Ndjamena "
     "Etc/GMT-1"},
    {"Jordan Standard Time", "Asia/Amman"},
    {"GTB Standard Time", "Europe/Bucharest Europe/Athens Asia/Nicosia Asia/Famagusta"},
    {"Middle East Standard Time", "Asia/Beirut"},
    {"Egypt Standard Time", "Africa/Cairo"},
    {"E. Europe Standard Time", "Europe/Chisinau"},
    {"Syria Standard Time", "Asia/Damascus"},
    {"West Bank Standard Time", "Asia/Hebron Asia/Gaza"},
    {"South Africa Standard Time",
     "Africa/Johannesburg Africa/Maputo Africa/Harare Africa/Lusaka Africa/Kigali Africa/Gaborone Etc/GMT-2"},
    {"FLE Standard Time",
     "Europe/Kiev Europe/Kyiv Europe/Helsinki Europe/Riga Europe/Sofia Europe/Tallinn Europe/Vilnius "
     "Europe/Mariehamn"},
    {"Israel Standard Time", "Asia/Jerusalem Asia/Tel_Aviv"},
    {"South Sudan Standard Time", "Africa/Juba"},
    {"Kaliningrad Standard Time", "Europe/Kaliningrad"},
    {"Sudan Standard Time", "Africa/Khartoum"},
    {"Libya Standard Time", "Africa/Tripoli"},
    {"Namibia Standard Time", "Africa/Windhoek"},
    {"Arabic Standard Time", "Asia/Baghdad"},
    {"Turkey Standard Time", "Europe/Istanbul Asia/Istanbul"},
    {"Arab Standard Time", "Asia/Riyadh Asia/Bahrain Asia/Kuwait Asia/Qatar Asia/Aden"},
    {"Belarus Standard Time", "Europe/Minsk"},
    {"Russian Standard Time", "Europe/Moscow Europe/Kirov Europe/Simferopol"},
    {"E. Africa Standard Time",
     "Africa/Nairobi Africa/Addis_Ababa Africa/Dar_es_Salaam Africa/Kampala Africa/Mogadishu "
     "Indian/Antananarivo Etc/GMT-3"},
    {"Iran Standard Time", "Asia/Tehran"},
    {"Arabian Standard Time", "Asia/Dubai Asia/Muscat Etc/GMT-4"},
    {"Astrakhan Standard Time", "Europe/Astrakhan Europe/Ulyanovsk"},
    {"Azerbaijan Standard Time", "Asia/Baku"},
    {"Russia Time Zone 3", "Europe/Samara"},
    {"Mauritius Standard Time", "Indian/Mauritius Indian/Reunion Indian/Mahe"},
    {"Saratov Standard Time", "Europe/Saratov"},
    {"Georgian Standard Time", "Asia/Tbilisi"},
    {"Volgograd Standard Time", "Europe/Volgograd"},
    {"Caucasus Standard Time", "Asia/Yerevan"},
    {"Afghanistan Standard Time", "Asia/Kabul"},
    {"West Asia Standard Time",
     "Asia/Tashkent Asia/Samarkand Asia/Almaty Asia/Oral Asia/Aqtobe Asia/Dushanbe Asia/Ashgabat "
     "Indian/Maldives Etc/GMT-5"},
    {"Ekaterinburg Standard Time", "Asia/Yekaterinburg"},
    {"Pakistan Standard Time", "Asia/Karachi"},
    {"Qyzylorda Standard Time", "Asia/Qyzylorda"},
    {"India Standard Time", "Asia/Calcutta Asia/Kolkata"},
    {"Sri Lanka Standard Time", "Asia/Colombo"},
    {"Nepal Standard Time", "Asia/Katmandu Asia/Kathmandu"},
    {"Central Asia Standard Time", "Asia/Bishkek Asia/Urumqi Etc/GMT-6"},
    {"Bangladesh Standard Time", "Asia/Dhaka Asia/Thimphu"},
    {"Omsk Standard Time", "Asia/Omsk"},
    {"Myanmar Standard Time", "Asia/Rangoon Asia/Yangon"},
    {"SE Asia Standard Time",
     "Asia/Bangkok Asia/Jakarta Asia/Pontianak Asia/Phnom_Penh Asia/Vientiane Asia/Saigon Asia/Ho_Chi_Minh "
     "Etc/GMT-7"},
    {"Altai Standard Time", "Asia/Barnaul"},
    {"W. Mongolia Standard Time", "Asia/Hovd"},
    {"North Asia Standard Time", "Asia/Krasnoyarsk Asia/Novokuznetsk"},
    {"N. Central Asia Standard Time", "Asia/Novosibirsk"},
    {"Tomsk Standard Time", "Asia/Tomsk"},
    {"China Standard Time", "Asia/Shanghai Asia/Hong_Kong Asia/Macau Asia/Chongqing"},
    {"North Asia East Standard Time", "Asia/Irkutsk"},
    {"Singapore Standard Time", "Asia/Singapore Asia/Kuala_Lumpur Asia/Manila Asia/Brunei Asia/Makassar Etc/GMT-8"},
    {"W. Australia Standard Time", "Australia/Perth"},
    {"Taipei Standard Time", "Asia/Taipei"},
    {"Ulaanbaatar Standard Time", "Asia/Ulaanbaatar"},
    {"Aus Central W. Standard Time", "Australia/Eucla"},
    {"Transbaikal Standard Time", "Asia/Chita"},
    {"Tokyo Standard Time", "Asia/Tokyo Asia/Jayapura Pacific/Palau Asia/Dili Etc/GMT-9"},
    {"North Korea Standard Time", "Asia/Pyongyang"},
    {"Korea Standard Time", "Asia/Seoul"},
    {"Yakutsk Standard Time", "Asia/Yakutsk Asia/Khandyga"},
    {"Cen. Australia Standard Time", "Australia/Adelaide Australia/Broken_Hill"},
    {"AUS Central Standard Time", "Australia/Darwin"},
    {"E. Australia Standard Time", "Australia/Brisbane Australia/Lindeman"},
    {"AUS Eastern Standard Time", "Australia/Sydney Australia/Melbourne Australia/Canberra"},
    {"West Pacific Standard Time", "Pacific/Port_Moresby Pacific/Guam Pacific/Saipan Etc/GMT-10"},
    {"Tasmania Standard Time", "Australia/Hobart"},
    {"Vladivostok Standard Time", "Asia/Vladivostok"},
    {"Lord Howe Standard Time", "Australia/Lord_Howe"},
    {"Bougainville Standard Time", "Pacific/Bougainville"},
    {"Russia Time Zone 10", "Asia/Srednekolymsk"},
    {"Magadan Standard Time", "Asia/Magadan"},
    {"Norfolk Standard Time", "Pacific/Norfolk"},
    {"Sakhalin Standard Time", "Asia/Sakhalin"},
    {"Central Pacific Standard Time", "Pacific/Guadalcanal Pacific/Noumea Pacific/Efate Etc/GMT-11"},
    {"Russia Time Zone 11", "Asia/Kamchatka Asia/Anadyr"},
    {"New Zealand Standard Time", "Pacific/Auckland Antarctica/McMurdo"},
    {"UTC+12", "Etc/GMT-12 Pacific/Tarawa Pacific/Majuro Pacific/Kwajalein Pacific/Nauru Pacific/Funafuti"},
    {"Fiji Standard Time", "Pacific/Fiji"},
    {"Chatham Islands Standard Time", "Pacific/Chatham"},
    {"UTC+13", "Etc/GMT-13 Pacific/Enderbury Pacific/Kanton Pacific/Fakaofo"},
    {"Tonga Standard Time", "Pacific/Tongatapu"},
    {"Samoa Standard Time", "Pacific/Apia"},
    {"Line Islands Standard Time", "Pacific/Kiritimati Etc/GMT-14"},
};

bool lists_name(const char* names, const std::string& name)
{
    const size_t n = name.size();
    for (const char* at = names; (at = std::strstr(at, name.c_str())) != nullptr; at += n) {
        const bool starts = at == names || at[-1] == ' ';
        const bool ends = at[n] == '\0' || at[n] == ' ';
        if (starts && ends)
            return true;
    }
    return false;
}

const char* lookup(std::string_view name)
{
    if (name.empty() || name.find(' ') != std::string_view::npos || name.find('\0') != std::string_view::npos)
        return nullptr;
    const std::string key(name);
    for (const ZoneNames& z : zone_names)
        if (lists_name(z.iana, key))
            return z.windows;
    return nullptr;
}

} // namespace

const char* windows_zone_of_iana(std::string_view iana)
{
    // "/mozilla.org/20050126_1/Europe/Berlin", "/citadel.org/.../Europe/Berlin": the tail counts.
    for (;;) {
        if (const char* found = lookup(iana))
            return found;
        const size_t slash = iana.find('/');
        if (slash == std::string_view::npos)
            return nullptr;
        iana.remove_prefix(slash + 1);
    }
}

} // namespace ical
