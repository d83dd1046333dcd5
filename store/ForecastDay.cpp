#include "store/ForecastDay.h"

#include "store/ClassUnicode.h"
#include "store/FeedReader.h"
#include "store/ForecastMarkers.h"
#include "platform/VarDate.h"

#include <tinyxml.h>

namespace {

void ReadTime(const TiXmlElement* pDay, const char* pszName, CDateTime& dt)
{
    const char* pszText;
    if (CFeedReader::ChildText(pDay, pszName, pszText)) {
        ClassUnicode conv;
        dt.ParseDateTime(conv.ToWide(pszText), VAR_TIMEVALUEONLY, LOCALE_USER_DEFAULT);
    }
}

void ReadTemperature(const TiXmlElement* pDay, const char* pszName, double& dCelsius)
{
    const char* pszText;
    if (CFeedReader::ChildText(pDay, pszName, pszText))
        dCelsius = CFeedReader::IsMissing(pszText) ? NA_TEMPERATURE
                                                   : CFeedReader::CelsiusFromFahrenheit(CFeedReader::Integer(pszText));
}

} // namespace

CForecastDay::~CForecastDay()
{
    delete[] m_pszWeekday;
    delete[] m_pszDate;
}

void CForecastDay::ReadXml(const TiXmlElement* pElement)
{
    m_nDay = CFeedReader::NumberAttribute(pElement, "d");
    CFeedReader::CopyText(m_pszWeekday, pElement->Attribute("t"));
    CFeedReader::CopyText(m_pszDate, pElement->Attribute("dt"));
    ReadTime(pElement, "sunr", m_dtSunrise);
    ReadTime(pElement, "suns", m_dtSunset);
    ReadTemperature(pElement, "hi", m_dHigh);
    ReadTemperature(pElement, "low", m_dLow);
    for (const TiXmlElement* pPart = pElement->FirstChildElement("part"); pPart;
         pPart = pPart->NextSiblingElement("part")) {
        // Only the first letter of "p" counts; a part of any other kind is skipped.
        const char* pszKind = pPart->Attribute("p");
        if (!pszKind)
            continue;
        if (pszKind[0] == 'd')
            m_parts[0].ReadXml(pPart);
        else if (pszKind[0] == 'n')
            m_parts[1].ReadXml(pPart);
    }
}
