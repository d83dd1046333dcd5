#include "service/places/CityNames.h"

#include "service/places/TextFolding.h"

#include <unicode/locid.h>
#include <unicode/tznames.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace {

std::string Utf8(const icu::UnicodeString& text)
{
    std::string out;
    text.toUTF8String(out);
    return out;
}

} // namespace

CCityNames::CCityNames()
{
    UErrorCode status = U_ZERO_ERROR;
    m_english.reset(icu::TimeZoneNames::createInstance(icu::Locale::getEnglish(), status));
    if (U_FAILURE(status))
        m_english.reset();
}

CCityNames::~CCityNames() = default;

std::string CCityNames::Name(const std::string& strZone, const std::string& strCountryCode,
                             const CTextFolding& folding)
{
    const icu::UnicodeString zone = icu::UnicodeString::fromUTF8(strZone);
    icu::UnicodeString english;
    if (m_english)
        m_english->getExemplarLocationName(zone, english);
    const std::string strEnglish = english.isBogus() || english.isEmpty() ? ZoneCity(strZone) : Utf8(english);

    const icu::TimeZoneNames* pLocal = Local(strCountryCode);
    if (!pLocal)
        return strEnglish;
    icu::UnicodeString local;
    pLocal->getExemplarLocationName(zone, local);
    if (local.isBogus() || local.isEmpty())
        return strEnglish;
    const std::string strLocal = Utf8(local);
    return folding.Fold(strLocal) == folding.Fold(strEnglish) ? strLocal : strEnglish;
}

std::string CCityNames::ZoneCity(const std::string& strZone)
{
    std::string city = strZone.substr(strZone.rfind('/') + 1);
    std::replace(city.begin(), city.end(), '_', ' ');
    return city;
}

const icu::TimeZoneNames* CCityNames::Local(const std::string& strCountryCode)
{
    auto it = m_local.find(strCountryCode);
    if (it != m_local.end())
        return it->second.get();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale("und", strCountryCode.c_str());
    locale.addLikelySubtags(status);
    std::unique_ptr<icu::TimeZoneNames> pNames;
    if (U_SUCCESS(status) && std::string(locale.getScript()) == "Latn") {
        pNames.reset(icu::TimeZoneNames::createInstance(locale, status));
        if (U_FAILURE(status))
            pNames.reset();
    }
    return (m_local[strCountryCode] = std::move(pNames)).get();
}
