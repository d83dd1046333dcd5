#include "service/EmbeddedService.h"

#include "service/SourceChoice.h"
#include "service/http/ForecastServer.h"

#include <chrono>

namespace {

// One program asks one request at a time; a few threads leave room for a
// connection it keeps alive beside a new one.
const int kThreads = 4;

} // namespace

CEmbeddedService::CEmbeddedService() = default;

CEmbeddedService::~CEmbeddedService()
{
    Stop();
}

bool CEmbeddedService::Start(const CServiceOptions& options, std::string& strError)
{
    m_pChoice = std::make_unique<CSourceChoice>(options);
    m_pChoice->m_onOpened = m_onChosen;
    m_pServer = std::make_unique<CForecastServer>(m_pChoice->m_places, *m_pChoice, kThreads);
    m_nPort = m_pServer->Bind("127.0.0.1", 0);
    if (m_nPort < 0) {
        strError = "no port on 127.0.0.1 could be had for the forecast service";
        m_pServer.reset();
        m_pChoice.reset();
        return false;
    }
    m_pChoice->m_nOwnPort = m_nPort;
    m_pServer->m_nCacheSeconds = options.m_nCacheMinutes * 60;
    m_bDone = false;
    m_thread = std::thread(&CEmbeddedService::Serve, this, options.m_source);
    return true;
}

void CEmbeddedService::Serve(CServiceOptions::Source source)
{
    // Auto's choice takes a probe of Open-Meteo, which must not hold up the
    // first request; the others open at the first request.
    if (source == CServiceOptions::AUTO) {
        std::string strError;
        m_pChoice->Open(strError);
    }
    if (!m_bStopping)
        m_pServer->Run();
    m_bDone = true;
}

void CEmbeddedService::Stop()
{
    m_bStopping = true;
    if (!m_thread.joinable())
        return;
    // A stop that comes before the server has started serving would be lost
    // on it, so keep asking until the thread has ended.
    while (!m_bDone) {
        m_pServer->Stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_thread.join();
    m_pServer.reset();
    m_pChoice.reset();
}
