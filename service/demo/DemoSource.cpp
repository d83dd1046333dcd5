#include "service/demo/DemoSource.h"

#include "service/feed/ForecastHeader.h"
#include "service/places/Places.h"
#include "service/places/StationIdTable.h"

#include <mutex>

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
    const CPlace* pPlace = m_places.Find(strID);
    CPlace named;
    if (!pPlace) {
        if (!m_pLiveIds || !m_pLiveIds->Find(strID, named))
            return UNKNOWN_PLACE;
        pPlace = &named;
    }
    const Key key(pPlace->m_strID, section, nCount, CForecastHeader::IssueTime(*pPlace, nNowUtc));
    {
        std::shared_lock<std::shared_mutex> lock(m_mutex);
        const auto it = m_kept.find(key);
        if (it != m_kept.end()) {
            record = it->second;
            CForecastHeader::Fill(record, *pPlace, nNowUtc);
            return ANSWERED;
        }
    }
    m_weather.Fill(*pPlace, section, nCount, nNowUtc, record);
    std::unique_lock<std::shared_mutex> lock(m_mutex);
    // Past the bound (the next hour's forecasts coming in) the old ones go.
    if (m_kept.size() >= MAX_KEPT)
        m_kept.clear();
    m_kept.emplace(key, record);
    return ANSWERED;
}
