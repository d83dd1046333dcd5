#include "store/Wind.h"

#include "store/FeedReader.h"
#include "store/ForecastMarkers.h"

CWind::~CWind()
{
    delete[] m_pszDirection;
}

void CWind::ReadXml(const TiXmlElement* pElement)
{
    const char* pszText;
    if (CFeedReader::ChildText(pElement, "s", pszText))
        m_nSpeed = CFeedReader::IsMissing(pszText) ? NA_VALUE : CFeedReader::KmhFromMph(CFeedReader::Integer(pszText));
    if (CFeedReader::ChildText(pElement, "d", pszText))
        m_nDirection = CFeedReader::Integer(pszText);
    if (CFeedReader::ChildText(pElement, "gust", pszText))
        m_nGust = CFeedReader::IsMissing(pszText) ? NA_VALUE : CFeedReader::Integer(pszText);
    if (CFeedReader::ChildText(pElement, "t", pszText))
        CFeedReader::CopyText(m_pszDirection, pszText ? pszText : "");
}
