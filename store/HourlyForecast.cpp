#include "store/HourlyForecast.h"

#include <tinyxml.h>

bool CHourlyForecast::Read(const TiXmlDocument& doc)
{
    const TiXmlElement* pSection = ReadSection(doc, "hbhf");
    if (!pSection)
        return false;
    Clear();
    for (const TiXmlElement* pHour = pSection->FirstChildElement("hour"); pHour;
         pHour = pHour->NextSiblingElement("hour")) {
        CForecastHour* pRecord = new CForecastHour;
        m_hours.Add(pRecord);
        pRecord->ReadXml(pHour);
    }
    return true;
}

void CHourlyForecast::Clear()
{
    m_hours.RemoveAll();
}

bool CHourlyForecast::IsEmpty()
{
    return m_hours.GetCount() == 0;
}

CForecastHour* CHourlyForecast::FindHour(int nHour) const
{
    for (int i = 0; i < m_hours.GetCount(); ++i) {
        if (m_hours.GetAt(i)->m_nHour == nHour)
            return m_hours.GetAt(i);
    }
    return nullptr;
}
