#include "chart/Units.h"

#include "chart/Trunc.h"
#include "platform/Clock.h"
#include "platform/Translate.h"
#include "platform/WideFormat.h"
#include "store/ForecastMarkers.h"

int TenthsFromCelsius(double dCelsius, int nTempUnit)
{
    if (nTempUnit == 1)
        return TruncToInt(dCelsius * 90.0 * 0.2 + 320.0);
    return TruncToInt(dCelsius * 10.0);
}

std::wstring TemperatureLabel(int nTenths)
{
    // Half away from zero on both sides: adding 5 before a division that
    // truncates toward zero would label -10.0 as -9, one above its place on the scale.
    const long long t = nTenths;
    return std::to_wstring((t < 0 ? t - 5 : t + 5) / 10);
}

int WindTenths(int nKmh, int nWindUnit)
{
    if (nKmh == NA_VALUE)
        return 0;
    const long long v = nKmh;
    switch (nWindUnit) {
    case 1: return ClampToInt(v * 10000 / 1609);
    case 2: return ClampToInt(v * 10000 / 3600);
    case 3: return ClampToInt(v * 10000 / 1852);
    case 4: return BeaufortTenths(nKmh);
    default: return ClampToInt(v * 10);
    }
}

int BeaufortTenths(int nKmh)
{
    static const int s_bounds[] = {1, 6, 12, 20, 29, 39, 50, 62, 75, 89, 103, 118};
    for (int i = 0; i < 12; ++i) {
        if (nKmh < s_bounds[i])
            return 10 * i;
    }
    return 120;
}

int WindArrowIndex(int nDirection)
{
    static const int s_bounds[] = {12, 34, 57, 79, 102, 124, 147, 169,
                                   192, 214, 237, 259, 282, 304, 327, 348};
    static const int s_pictures[] = {0, 8, 4, 12, 1, 9, 5, 13, 2, 10, 6, 14, 3, 11, 7, 15};
    const long long r = (static_cast<long long>(nDirection) + 180) % 360;
    int k = 0;
    for (int i = 0; i < 16; ++i) {
        if (r < s_bounds[i]) {
            k = i;
            break;
        }
    }
    return s_pictures[k];
}

std::wstring TemperatureUnitName(int nTempUnit)
{
    return nTempUnit == 1 ? L"\u00b0F" : L"\u00b0C";
}

std::wstring WindUnitName(int nWindUnit)
{
    switch (nWindUnit) {
    case 1: return L"mph";
    case 2: return L"m/s";
    case 3: return L"kt";
    case 4: return L"Bft";
    default: return L"km/h";
    }
}

CDateTime LocalNow()
{
    return CDateTime(CClock::GetLocalTime());
}

CDeviceClock CDeviceClock::Now()
{
    CDeviceClock clock;
    clock.m_dtLocal = LocalNow();
    clock.m_nBiasMinutes = CClock::GetBiasMinutes();
    return clock;
}

CDateTime StationNow(const CDeviceClock& clock, int nZone)
{
    const int h = clock.m_nBiasMinutes / 60;
    // In double arithmetic: a hostile zone near the integer limit must not overflow.
    return CDateTime(clock.m_dtLocal.m_dt + (static_cast<double>(nZone) + h) / 24.0);
}

std::wstring FormatAge(const CDateTime& dtLastUpdate, int nZone, CDateTime& dtStationNow)
{
    dtStationNow = StationNow(CDeviceClock::Now(), nZone);

    const long long nSeconds = dtLastUpdate.SecondsUntil(dtStationNow);
    const long long nMinutes = nSeconds / 60;
    const long long nHours = nSeconds / 3600;
    const long long nDays = nSeconds / 86400;
    // The units are abbreviations each language has its own of.
    std::wstring strAge;
    if (nSeconds < 0)
        strAge = L"-";
    else if (nHours < 1)
        strAge = std::to_wstring(nMinutes) + L" " + TrC("age in minutes", "m");
    else if (nDays < 1)
        strAge = std::to_wstring(nHours) + L" " + TrC("age in hours", "h");
    else if (nDays < 30)
        strAge = std::to_wstring(nDays) + L" " + TrC("age in days", "d");
    else if (nDays < 365)
        strAge = std::to_wstring(nDays / 30) + L" " + TrC("age in months", "M");
    else
        strAge = std::to_wstring(nDays / 365) + L" " + TrC("age in years", "Y");
    return CWideFormat::Format(Tr("%s old").c_str(), strAge.c_str());
}
