#pragma once

#include "store/DateTime.h"

#include <string>

class TiXmlElement;

// What the daily and the hour-by-hour forecasts share: the header of the feed.
class CForecastBase
{
public:
    virtual void Load(const std::wstring& strPath) = 0;
    virtual void Clear() = 0;
    virtual bool IsEmpty() = 0;

    std::wstring m_strLocation;
    int m_nZone = 0;              // hours from UTC
    CDateTime m_dtLocalTime;      // time only
    CDateTime m_dtLastUpdate;     // date and time, location's own time
    CDateTime m_dtSunrise;        // time only
    CDateTime m_dtSunset;         // time only

protected:
    ~CForecastBase() = default;
};
