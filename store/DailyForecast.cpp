#include "store/DailyForecast.h"

#include <tinyxml.h>

void CDailyForecast::Load(const std::wstring& strPath)
{
    TiXmlDocument doc;
    const TiXmlElement* pSection = LoadSection(doc, strPath, "dayf");
    if (!pSection)
        return;
    Clear();
    for (const TiXmlElement* pDay = pSection->FirstChildElement("day"); pDay; pDay = pDay->NextSiblingElement("day")) {
        CForecastDay* pRecord = new CForecastDay;
        m_days.Add(pRecord);
        pRecord->ReadXml(pDay);
    }
}

void CDailyForecast::Clear()
{
    m_days.RemoveAll();
}

bool CDailyForecast::IsEmpty()
{
    return m_days.GetCount() == 0;
}

CForecastDay* CDailyForecast::FindDay(int nDay) const
{
    for (int i = 0; i < m_days.GetCount(); ++i) {
        if (m_days.GetAt(i)->m_nDay == nDay)
            return m_days.GetAt(i);
    }
    return nullptr;
}
