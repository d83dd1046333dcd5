#include "store/DayPart.h"

#include "store/FeedReader.h"
#include "store/ForecastMarkers.h"

#include <tinyxml.h>

void CDayPart::ReadXml(const TiXmlElement* pElement)
{
    const char* pszText;
    if (CFeedReader::ChildText(pElement, "icon", pszText))
        m_nIcon = CFeedReader::Integer(pszText);
    if (CFeedReader::ChildText(pElement, "ppcp", pszText))
        m_nPrecip = CFeedReader::IsMissing(pszText) ? NA_VALUE : CFeedReader::Integer(pszText);
    if (const TiXmlElement* pWind = pElement->FirstChildElement("wind"))
        m_wind.ReadXml(pWind);
}
