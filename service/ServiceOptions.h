#pragma once

#include <functional>
#include <string>

// The service's command line.
class CServiceOptions
{
public:
    static constexpr int DEFAULT_PORT = 8470;   // the program's default host is localhost:8470

    // An option of a program built on the service: takes argv[i] and its
    // values (moving i past them) and answers true, or answers false for an
    // option it does not know; strError set means a bad value.
    using OtherOption = std::function<bool(int argc, char** argv, int& i, std::string& strError)>;

    // False with a reason for an unknown option or a bad value.
    bool Parse(int argc, char** argv, std::string& strError, const OtherOption& other = OtherOption());
    // The live source's addresses from CIRROVAN_OPENMETEO_FORECAST_URL and
    // CIRROVAN_OPENMETEO_GEOCODING_URL (a mirror, or a stand-in in the tests).
    void ReadEnvironment();
    static std::string HelpText();
    // Threads answering requests: idle and slow clients hold none, but a live
    // source's fetch holds one while it waits.
    static int DefaultThreads();

    // Where the forecasts come from: the synthetic weather, Open-Meteo, or
    // Open-Meteo when it answers at start and the demo otherwise.
    enum Source { DEMO, OPEN_METEO, AUTO };

    // $XDG_DATA_HOME/cirrovan-service, by default ~/.local/share/cirrovan-service.
    static std::string DefaultDataFolder();

    int m_nPort = DEFAULT_PORT;
    std::string m_strHost = "127.0.0.1";
    int m_nThreads = DefaultThreads();
    bool m_bVerbose = false;
    Source m_source = DEMO;
    std::string m_strDataFolder = DefaultDataFolder();
    // Open-Meteo's APIs, or a mirror or stand-in of them; empty: the real ones.
    std::string m_strForecastURL;
    std::string m_strGeocodingURL;
    int m_nCacheMinutes = 15;          // how long an answer of the live source is used
    int m_nSourceTimeout = 15;         // seconds a live source's answer may take
    bool m_bHelp = false;
    int m_nMaxConnections = 1000;      // open at once, in all
    int m_nMaxPerClient = 200;         // open at once from one address
    int m_nRequestSeconds = 10;        // for a request's head and body to arrive
    int m_nIdleSeconds = 30;           // a kept-alive connection waits for the next request
    int m_nCacheMegabytes = 64;        // the live source's answers kept
};
