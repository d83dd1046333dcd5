#include "service/feed/ForecastHeader.h"

#include "service/feed/ForecastRecord.h"
#include "service/places/Place.h"
#include "service/feed/SolarTimes.h"

void CForecastHeader::Fill(CForecastRecord& record, const CPlace& place, int64_t nNowUtc)
{
    record.m_strID = place.m_strID;
    record.m_strName = place.m_strName;
    record.m_dLatitude = place.m_dLatitude;
    record.m_dLongitude = place.m_dLongitude;
    record.m_nZoneHours = place.m_clock.OffsetAt(nNowUtc) / 3600;
    record.m_localTime = CCivilTime::FromSeconds(place.m_clock.LocalFromUtc(nNowUtc));
    record.m_lastUpdate = CCivilTime::FromSeconds(place.m_clock.LocalFromUtc(IssueTime(place, nNowUtc)));
    SunTimes(place, record.m_localTime.m_nYear, record.m_localTime.m_nMonth, record.m_localTime.m_nDay,
             record.m_sunrise, record.m_sunset);
}

int64_t CForecastHeader::IssueTime(const CPlace& place, int64_t nNowUtc)
{
    const int64_t nLocal = place.m_clock.LocalFromUtc(nNowUtc);
    const int64_t nIntoHour = ((nLocal % 3600) + 3600) % 3600;
    return nNowUtc - nIntoHour;
}

void CForecastHeader::SunTimes(const CPlace& place, int nYear, int nMonth, int nDay, CCivilTime& sunrise,
                               CCivilTime& sunset)
{
    const CSolarTimes sun = CSolarTimes::ForDate(nYear, nMonth, nDay, place.m_dLatitude, place.m_dLongitude);
    const int64_t nMidnight = CCivilTime::DaySeconds(nYear, nMonth, nDay);
    switch (sun.m_kind) {
    case CSolarTimes::POLAR_DAY:
        sunrise = CCivilTime::FromSeconds(nMidnight);
        sunset = CCivilTime::FromSeconds(nMidnight + 23 * 3600 + 59 * 60);
        return;
    case CSolarTimes::POLAR_NIGHT:
        sunrise = sunset = CCivilTime::FromSeconds(place.m_clock.LocalFromUtc(sun.m_nNoon));
        return;
    case CSolarTimes::NORMAL:
        sunrise = CCivilTime::FromSeconds(place.m_clock.LocalFromUtc(sun.m_nSunrise));
        sunset = CCivilTime::FromSeconds(place.m_clock.LocalFromUtc(sun.m_nSunset));
        return;
    }
}
