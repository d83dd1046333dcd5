#include "store/DailyForecast.h"

#include "platform/VarDate.h"
#include "store/ClassUnicode.h"
#include <tinyxml.h>

#include <cmath>

bool CDailyForecast::Read(const TiXmlDocument& doc)
{
    const TiXmlElement* pSection = ReadSection(doc, "dayf");
    if (!pSection)
        return false;
    Clear();
    for (const TiXmlElement* pDay = pSection->FirstChildElement("day"); pDay; pDay = pDay->NextSiblingElement("day")) {
        CForecastDay* pRecord = new CForecastDay;
        m_days.Add(pRecord);
        pRecord->ReadXml(pDay);
    }
    return true;
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

CDateTime CDailyForecast::DateOfDay(const CForecastDay& day) const
{
    ClassUnicode convert;
    const wchar_t* pszDate = convert.ToWide(day.m_pszDate);
    const std::wstring strDate = pszDate ? pszDate : L"";

    SYSTEMTIME stNear;
    CDateTime dtNear = m_dtLastUpdate;
    if (!dtNear.GetAsSystemTime(stNear)) {
        dtNear = CDateTime(CClock::GetLocalTime());
        if (!dtNear.GetAsSystemTime(stNear))
            stNear.wYear = 0;
    }
    CDateTime dtBest;
    bool bFound = false;
    // The year is written into the text, so that "Feb 29" is read in a leap year
    // even when the device's own year is not one.
    for (int nYear = stNear.wYear - 1; stNear.wYear > 0 && nYear <= stNear.wYear + 1; ++nYear) {
        if (nYear < 100)
            continue;   // two digits would be read as 19xx or 20xx
        CDateTime dt;
        if (!dt.ParseDateTime((strDate + L" " + std::to_wstring(nYear)).c_str(), VAR_DATEVALUEONLY,
                              LOCALE_EN_US))
            continue;
        if (!bFound || std::fabs(dt.m_dt - dtNear.m_dt) < std::fabs(dtBest.m_dt - dtNear.m_dt))
            dtBest = dt;
        bFound = true;
    }
    if (bFound)
        return dtBest;
    CDateTime dt;
    dt.ParseDateTime(strDate.c_str(), VAR_DATEVALUEONLY, LOCALE_EN_US);
    return dt;
}
