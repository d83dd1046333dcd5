#include "service/demo/DemoSource.h"

#include "service/places/Places.h"
#include "service/places/StationIdTable.h"

CForecastSource::Outcome CDemoSource::Search(const std::string& strText, std::vector<CPlace>& found, std::string&)
{
    CPlace named;
    if (m_pLiveIds && m_pLiveIds->Find(strText, named)) {
        CPlace hit;
        hit.m_strID = named.m_strID;
        hit.m_strName = named.m_strName;
        found.push_back(std::move(hit));
        return ANSWERED;
    }
    // The answer needs only the ID and the name; the clocks stay in the table.
    for (const CPlace* pPlace : m_places.Search(strText)) {
        CPlace hit;
        hit.m_strID = pPlace->m_strID;
        hit.m_strName = pPlace->m_strName;
        found.push_back(std::move(hit));
    }
    return ANSWERED;
}

CForecastSource::Outcome CDemoSource::Forecast(const std::string& strID, CForecastRecord::Section section, int nCount,
                                               int64_t nNowUtc, CForecastRecord& record, std::string&)
{
    if (const CPlace* pPlace = m_places.Find(strID)) {
        m_weather.Fill(*pPlace, section, nCount, nNowUtc, record);
        return ANSWERED;
    }
    CPlace named;
    if (m_pLiveIds && m_pLiveIds->Find(strID, named)) {
        m_weather.Fill(named, section, nCount, nNowUtc, record);
        return ANSWERED;
    }
    return UNKNOWN_PLACE;
}
