#pragma once

#include <unicode/uversion.h>

#include <map>
#include <memory>
#include <string>

U_NAMESPACE_BEGIN
class TimeZoneNames;
U_NAMESPACE_END

class CTextFolding;

// The city of a tz zone as CLDR's time-zone names call it: in the country's
// own language where that is written in Latin letters and differs from the
// English name only by its accents ("Zürich", "São Paulo", "Reykjavík"), in
// English otherwise ("Vienna", not "Wien"; "Tokyo", not a name in another
// script). For start-up only: not to be shared between threads.
class CCityNames
{
public:
    CCityNames();
    ~CCityNames();
    CCityNames(const CCityNames&) = delete;
    CCityNames& operator=(const CCityNames&) = delete;

    // UTF-8.
    std::string Name(const std::string& strZone, const std::string& strCountryCode, const CTextFolding& folding);

    // The zone name's own city: "America/Argentina/Rio_Gallegos" gives "Rio Gallegos".
    static std::string ZoneCity(const std::string& strZone);

private:
    // Names in the country's most likely language when it is written in Latin.
    const icu::TimeZoneNames* Local(const std::string& strCountryCode);

    std::unique_ptr<icu::TimeZoneNames> m_english;
    std::map<std::string, std::unique_ptr<icu::TimeZoneNames>> m_local;
};
