#pragma once

#include "store/Wind.h"

// The day or night half of a forecast day.
class CDayPart
{
public:
    void ReadXml(const TiXmlElement* pElement);

    int m_nPrecip = 0;   // percent, NA_VALUE for "N/A"
    int m_nIcon = 0;     // condition icon number
    CWind m_wind;
};
