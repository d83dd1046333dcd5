#include "app/ForecastBridge.h"

#include "platform/CodePage.h"
#include "store/ServiceConfig.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

// An address where nothing ever answers, so that each request fails at once
// as an unreachable service rather than reaching whatever holds the default port.
const wchar_t* const kNowhere = L"127.0.0.1:0";

CServiceOptions::Source SourceFromEnvironment()
{
    const char* pszSource = std::getenv("CIRROVAN_SOURCE");
    if (!pszSource || !*pszSource || std::strcmp(pszSource, "live") == 0)
        return CServiceOptions::OPEN_METEO;
    if (std::strcmp(pszSource, "demo") == 0)
        return CServiceOptions::DEMO;
    if (std::strcmp(pszSource, "auto") == 0)
        return CServiceOptions::AUTO;
    std::fprintf(stderr, "cirrovan: CIRROVAN_SOURCE is live, demo or auto, not \"%s\"; using live\n", pszSource);
    return CServiceOptions::OPEN_METEO;
}

} // namespace

CForecastBridge::~CForecastBridge()
{
    m_service.Stop();
    CServiceConfig::ForgetEmbedded();
}

bool CForecastBridge::Start(const std::wstring& strDataFolder)
{
    if (CServiceConfig::IsConfigured())
        return true;
    CServiceOptions options;
    options.ReadEnvironment();
    options.m_source = SourceFromEnvironment();
    options.m_strDataFolder = CCodePage::Encode(strDataFolder);

    // Set before the service's thread starts, which calls it; the port is
    // known by then.
    m_service.m_onChosen = [this](bool bLive, const std::string& strLine) {
        std::lock_guard<std::mutex> lock(m_chosenLock);
        m_bChosen = true;
        UseSource(bLive);
        m_chosen.notify_all();
        std::fprintf(stderr, "cirrovan: forecast service at http://%s/, %s\n", CCodePage::Encode(Host()).c_str(),
                     strLine.c_str());
    };
    std::string strError;
    if (!m_service.Start(options, strError)) {
        std::fprintf(stderr, "cirrovan: the forecast service could not start: %s\n", strError.c_str());
        CServiceConfig::UseEmbedded(kNowhere, CServiceConfig::DEFAULT_NAME, L"");
        return false;
    }
    // Named for the source asked for until the service has chosen: the demo
    // never passes for live weather. Auto's choice takes a probe (a few
    // seconds at most), which the first screen waits for, so that every screen
    // names the service as its chosen source does.
    std::unique_lock<std::mutex> lock(m_chosenLock);
    if (options.m_source == CServiceOptions::AUTO && !m_bChosen) {
        std::fprintf(stderr, "cirrovan: forecast service at http://%s/: asking Open-Meteo whether it answers...\n",
                     CCodePage::Encode(Host()).c_str());
        m_chosen.wait(lock, [this] { return m_bChosen; });
    }
    if (m_bChosen)
        return true;
    const bool bLive = options.m_source == CServiceOptions::OPEN_METEO;
    UseSource(bLive);
    const char* pszAsked = bLive ? "live forecasts from Open-Meteo" : "the demo's made-up forecasts";
    std::fprintf(stderr, "cirrovan: forecast service at http://%s/: %s\n", CCodePage::Encode(Host()).c_str(), pszAsked);
    return true;
}

void CForecastBridge::UseSource(bool bLive) const
{
    // The live source's makers are credited by name and home page, as their
    // licence asks; the demo points at its own page, which says what it is.
    if (bLive)
        CServiceConfig::UseEmbedded(Host(), LIVE_NAME, LIVE_HOME);
    else
        CServiceConfig::UseEmbedded(Host(), DEMO_NAME, L"http://" + Host() + L"/");
}

std::wstring CForecastBridge::Host() const
{
    return L"127.0.0.1:" + std::to_wstring(m_service.m_nPort);
}
