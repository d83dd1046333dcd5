#include "service/SourceChoice.h"

#include "service/demo/DemoSource.h"
#include "service/live/OpenMeteoSource.h"

#include <algorithm>

CSourceChoice::CSourceChoice(const CServiceOptions& options) : m_options(options) {}
CSourceChoice::~CSourceChoice() = default;

bool CSourceChoice::Open(std::string& strError)
{
    std::call_once(m_opened, [this] {
        m_bOpen = OpenOnce(m_strOpenError);
        if (m_onOpened)
            m_onOpened(m_bOpen && m_pChosen->IsLive(), m_bOpen ? m_strLine : "no source: " + m_strOpenError);
    });
    strError = m_strOpenError;
    return m_bOpen;
}

bool CSourceChoice::OpenOnce(std::string& strError)
{
    const CServiceOptions& options = m_options;
    if (!m_places.Load(CPlaces::DefaultZoneFolder(), strError))
        return false;
    if (options.m_source != CServiceOptions::DEMO) {
        m_pLive = std::make_unique<COpenMeteoSource>(m_places);
        COpenMeteoSource& live = *m_pLive;
        if (!options.m_strForecastURL.empty())
            live.m_strForecastURL = options.m_strForecastURL;
        if (!options.m_strGeocodingURL.empty())
            live.m_strGeocodingURL = options.m_strGeocodingURL;
        live.m_cache.m_nIntervalSeconds = options.m_nCacheMinutes * 60;
        live.m_cache.m_nMaxBytes = static_cast<size_t>(options.m_nCacheMegabytes) * 1024 * 1024;
        live.m_fetcher.m_nOwnPort = m_nOwnPort;
        live.m_fetcher.m_nTotalSeconds = options.m_nSourceTimeout;
        live.m_fetcher.m_nConnectSeconds = std::min(options.m_nSourceTimeout, 5);
        std::string strWhy;
        if (!live.Open(options.m_strDataFolder, strWhy)) {
            if (options.m_source == CServiceOptions::OPEN_METEO) {
                strError = strWhy;
                return false;
            }
            m_strLine = "source: demo (Open-Meteo unusable: " + strWhy + ")";
            m_pLive.reset();
        } else if (options.m_source == CServiceOptions::AUTO && !live.Probe(strWhy)) {
            m_strLine = "source: demo (Open-Meteo unreachable: " + strWhy + ")";
            m_pLive.reset();
        } else {
            m_strLine = "source: open-meteo (live)";
            m_pChosen = m_pLive.get();
            return true;
        }
    } else {
        m_strLine = "source: demo";
    }
    // The demo's weather is made up: it answers only when asked for, or when
    // the live source cannot be had and the options allowed it to stand in.
    m_pDemo = std::make_unique<CDemoSource>(m_places);
    // Stations the live source named before go on working with made-up
    // weather; a table that cannot be read only leaves them unknown.
    m_pLiveIds = std::make_unique<CStationIdTable>();
    std::string strIgnored;
    if (m_pLiveIds->Load(options.m_strDataFolder + "/" + COpenMeteoSource::TABLE_FILE, strIgnored))
        m_pDemo->m_pLiveIds = m_pLiveIds.get();
    m_pChosen = m_pDemo.get();
    return true;
}

CForecastSource::Outcome CSourceChoice::Search(const std::string& strText, std::vector<CPlace>& found,
                                               std::string& strWhy)
{
    if (!Open(strWhy))
        return BAD_ANSWER;
    return m_pChosen->Search(strText, found, strWhy);
}

CForecastSource::Outcome CSourceChoice::Forecast(const std::string& strID, CForecastRecord::Section section,
                                                 int nCount, int64_t nNowUtc, CForecastRecord& record,
                                                 std::string& strWhy)
{
    if (!Open(strWhy))
        return BAD_ANSWER;
    return m_pChosen->Forecast(strID, section, nCount, nNowUtc, record, strWhy);
}

bool CSourceChoice::IsLive()
{
    std::string strError;
    return Open(strError) && m_pChosen->IsLive();
}
