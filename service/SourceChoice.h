#pragma once

#include "service/feed/ForecastSource.h"
#include "service/ServiceOptions.h"
#include "service/places/Places.h"
#include "service/places/StationIdTable.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>

class CDemoSource;
class COpenMeteoSource;

// The places and the source that answers for them, as the options ask: the
// demo's synthetic weather, Open-Meteo, or Open-Meteo when it answers and the
// demo otherwise. A server can be built on it before it is open, since it
// passes each request on to the source it chose, and the first request opens
// it when nobody has: a program that starts a service inside itself pays for
// the places and the sources only once it asks for weather.
class CSourceChoice : public CForecastSource
{
public:
    explicit CSourceChoice(const CServiceOptions& options);
    ~CSourceChoice() override;

    // Loads the places and opens the source, once; later calls, from any
    // thread, wait for the first and give its result. False with a reason when
    // the places cannot be read or the live source asked for cannot be used.
    // m_strLine then says which source answers, and why when it is not the
    // one asked for; m_onOpened hears it first.
    bool Open(std::string& strError);

    Outcome Search(const std::string& strText, std::vector<CPlace>& found, std::string& strWhy) override;
    Outcome Forecast(const std::string& strID, CForecastRecord::Section section, int nCount, int64_t nNowUtc,
                     CForecastRecord& record, std::string& strWhy) override;
    bool IsLive() override;

    // Called once, on the thread that opens: whether the live source answers,
    // and m_strLine (or why nothing can answer).
    std::function<void(bool bLive, const std::string& strLine)> m_onOpened;

    // The port the service listens on, which the live source must never ask
    // (a redirect back to the service would wait on itself); set before Open.
    int m_nOwnPort = 0;

    CPlaces m_places;
    std::string m_strLine;   // "source: demo", "source: open-meteo (live)", ...
    // Open-Meteo when it answers; else nothing (its station IDs are logged from here).
    std::unique_ptr<COpenMeteoSource> m_pLive;

private:
    bool OpenOnce(std::string& strError);

    const CServiceOptions m_options;
    std::once_flag m_opened;
    bool m_bOpen = false;
    std::string m_strOpenError;
    std::unique_ptr<CDemoSource> m_pDemo;
    std::unique_ptr<CStationIdTable> m_pLiveIds;   // read by the demo only
    CForecastSource* m_pChosen = nullptr;
};
