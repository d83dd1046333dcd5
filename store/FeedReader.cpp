#include "store/FeedReader.h"

#include "platform/UserLocale.h"
#include "store/ForecastMarkers.h"
#include "store/NumberText.h"

#include <tinyxml.h>

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool CFeedReader::ChildText(const TiXmlElement* pParent, const char* pszName, const char*& pszText)
{
    const TiXmlElement* pChild = pParent->FirstChildElement(pszName);
    pszText = pChild ? pChild->GetText() : nullptr;
    return pChild != nullptr;
}

int CFeedReader::Integer(const char* pszText)
{
    const int value = CNumberText::ToInt(pszText);
    return value == NA_VALUE ? NA_VALUE + 1 : value;
}

double CFeedReader::Decimal(const char* pszText)
{
    if (!pszText)
        return 0.0;
    // Only decimal notation counts: strtod alone would also take "inf", "nan"
    // and hexadecimal numbers.
    const char* p = pszText;
    while (IsBlank(*p))
        ++p;
    const char* pStart = p;
    if (*p == '+' || *p == '-')
        ++p;
    int nDigits = 0;
    while (IsDigit(*p)) {
        ++p;
        ++nDigits;
    }
    if (*p == '.') {
        ++p;
        while (IsDigit(*p)) {
            ++p;
            ++nDigits;
        }
    }
    if (nDigits == 0)
        return 0.0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-')
            ++q;
        if (IsDigit(*q)) {
            while (IsDigit(*q))
                ++q;
            p = q;
        }
    }
    const std::string number(pStart, p);
    const locale_t neutral = CUserLocale::Neutral();
    const double value = neutral ? strtod_l(number.c_str(), nullptr, neutral) : std::strtod(number.c_str(), nullptr);
    if (std::isinf(value))
        return value > 0 ? DBL_MAX : -DBL_MAX;
    return value;
}

int CFeedReader::NumberAttribute(const TiXmlElement* pElement, const char* pszName)
{
    const char* pszValue = pElement->Attribute(pszName);
    return pszValue ? Integer(pszValue) : -1;
}

int CFeedReader::Zone(const char* pszText)
{
    const int nZone = Integer(pszText);
    return nZone < -12 ? -12 : (nZone > 14 ? 14 : nZone);
}

int CFeedReader::ClockHour(int nClock)
{
    return nClock < 0 ? 0 : (nClock > 23 ? 23 : nClock);
}

bool CFeedReader::IsMissing(const char* pszText)
{
    return !pszText || !*pszText || std::strcmp(pszText, "N/A") == 0;
}

double CFeedReader::CelsiusFromFahrenheit(double dFahrenheit)
{
    // Multiplied by the double nearest 1/9, in this order, rather than divided
    // by 9: every value must match the established figures to the last bit.
    return (dFahrenheit - 32.0) * 5.0 * 0.1111111111111111;
}

int CFeedReader::KmhFromMph(int nMph)
{
    // Single precision and 1.609 rather than 1.609344, so that the speeds match
    // the established figures (10 mph is 16 km/h, 100 mph is 161).
    const double dKmh = static_cast<double>(static_cast<float>(nMph) * 1.609f) + 0.5;
    if (dKmh >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (dKmh <= static_cast<double>(NA_VALUE + 1))
        return NA_VALUE + 1;
    return static_cast<int>(dKmh);
}

void CFeedReader::CopyText(char*& psz, const char* pszText)
{
    delete[] psz;
    psz = nullptr;
    if (pszText) {
        const size_t n = std::strlen(pszText);
        psz = new char[n + 1];
        std::memcpy(psz, pszText, n + 1);
    }
}
