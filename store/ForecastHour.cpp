#include "store/ForecastHour.h"

#include "store/FeedReader.h"

#include <tinyxml.h>

void CForecastHour::ReadXml(const TiXmlElement* pElement)
{
    // A clock hour that is there is held to the day's hours; an absent one
    // stays -1, which no hour has and which is never labelled.
    const char* pszClock = pElement->Attribute("c");
    m_nClock = pszClock ? CFeedReader::ClockHour(CFeedReader::Integer(pszClock)) : -1;
    m_nHour = CFeedReader::NumberAttribute(pElement, "h");
    const char* pszText;
    if (CFeedReader::ChildText(pElement, "icon", pszText))
        m_nIcon = CFeedReader::Integer(pszText);
    // The hourly feed has no missing-value markers: "N/A" reads as 0 here.
    if (CFeedReader::ChildText(pElement, "ppcp", pszText))
        m_nPrecip = CFeedReader::Integer(pszText);
    if (CFeedReader::ChildText(pElement, "tmp", pszText))
        m_dTemp = CFeedReader::CelsiusFromFahrenheit(CFeedReader::Decimal(pszText));
    if (const TiXmlElement* pWind = pElement->FirstChildElement("wind"))
        m_wind.ReadXml(pWind);
}
