#pragma once

#include "store/DateTime.h"

#include <string>

class TiXmlDocument;
class TiXmlElement;

// What the daily and the hour-by-hour forecasts share: the header of the feed.
class CForecastBase
{
public:
    // Reads a feed file: the document CXmlFile loads from it, as Read reads
    // it. A file that is missing or not well-formed changes nothing.
    virtual void Load(const std::wstring& strPath);
    virtual void Clear() = 0;
    virtual bool IsEmpty() = 0;
    // Reads a feed that CXmlFile has parsed: a document without "weather"
    // (or one CXmlFile refused, which it leaves empty) changes nothing, one
    // without the section only the header. True when the records were
    // replaced.
    virtual bool Read(const TiXmlDocument& doc) = 0;

    std::wstring m_strLocation;
    int m_nZone = 0;              // hours from UTC
    CDateTime m_dtLocalTime;      // time only
    CDateTime m_dtLastUpdate;     // date and time, location's own time
    CDateTime m_dtSunrise;        // time only
    CDateTime m_dtSunset;         // time only

protected:
    ~CForecastBase() = default;

    // Reads the header, the location block and the section's last-update
    // time, and gives the section ("dayf" or "hbhf") whose records the caller
    // reads, or none.
    const TiXmlElement* ReadSection(const TiXmlDocument& doc, const char* pszSection);
};
