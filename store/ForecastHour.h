#pragma once

#include "store/Wind.h"

// One "hour" element of the hour-by-hour feed.
class CForecastHour
{
public:
    void ReadXml(const TiXmlElement* pElement);

    int m_nClock = 0;     // hour of the day, 0 to 23
    int m_nHour = 0;      // the hour's number
    double m_dTemp = 0.0; // degrees Celsius
    int m_nIcon = 0;
    int m_nPrecip = 0;    // percent
    CWind m_wind;
};
