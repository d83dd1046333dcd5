#pragma once

#include "store/DateTime.h"

#include <string>

class TiXmlDocument;
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

    // Loads the feed file into doc and reads the header: the location block and
    // the section's last-update time. Gives the section ("dayf" or "hbhf") whose
    // records the caller reads, or none: then a file that is missing, not
    // well-formed or without "weather" has changed nothing, and a document
    // without the section only the header.
    const TiXmlElement* LoadSection(TiXmlDocument& doc, const std::wstring& strPath, const char* pszSection);
};
