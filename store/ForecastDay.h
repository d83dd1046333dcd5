#pragma once

#include "store/DateTime.h"
#include "store/DayPart.h"

// One "day" element of the daily feed.
class CForecastDay
{
public:
    CForecastDay() = default;
    ~CForecastDay();
    CForecastDay(const CForecastDay&) = delete;
    CForecastDay& operator=(const CForecastDay&) = delete;

    void ReadXml(const TiXmlElement* pElement);

    int m_nDay = 0;
    char* m_pszWeekday = nullptr;  // attribute "t", the document's bytes
    char* m_pszDate = nullptr;     // attribute "dt", the document's bytes
    double m_dLow = 0.0;           // degrees Celsius, NA_TEMPERATURE for "N/A"
    double m_dHigh = 0.0;
    CDateTime m_dtSunrise;         // time only
    CDateTime m_dtSunset;
    CDayPart m_parts[2];           // 0 day, 1 night
};
