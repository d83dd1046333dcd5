#include "service/ServiceOptions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

// The option's value as a whole number within the bounds; otherwise false,
// with a message that names the option and its bounds.
bool ReadNumber(const std::string& strOption, const char* pszText, int nMin, int nMax, int& nValue,
                std::string& strError)
{
    char* pEnd = nullptr;
    const long n = std::strtol(pszText, &pEnd, 10);
    if (!*pszText || *pEnd || n < nMin || n > nMax) {
        strError = strOption + " needs a number from " + std::to_string(nMin) + " to " + std::to_string(nMax) +
                   ", not \"" + pszText + "\"";
        return false;
    }
    nValue = static_cast<int>(n);
    return true;
}

std::string FromEnvironment(const char* pszName)
{
    const char* pszValue = std::getenv(pszName);
    return pszValue ? pszValue : "";
}

} // namespace

std::string CServiceOptions::DefaultDataFolder()
{
    const std::string strData = FromEnvironment("XDG_DATA_HOME");
    if (!strData.empty() && strData[0] == '/')
        return strData + "/cirrovan-service";
    const std::string strHome = FromEnvironment("HOME");
    return (strHome.empty() ? std::string(".") : strHome) + "/.local/share/cirrovan-service";
}

int CServiceOptions::DefaultThreads()
{
    return std::max(16, 4 * static_cast<int>(std::thread::hardware_concurrency()));
}

void CServiceOptions::ReadEnvironment()
{
    m_strForecastURL = FromEnvironment("CIRROVAN_OPENMETEO_FORECAST_URL");
    m_strGeocodingURL = FromEnvironment("CIRROVAN_OPENMETEO_GEOCODING_URL");
}

bool CServiceOptions::Parse(int argc, char** argv, std::string& strError, const OtherOption& other)
{
    ReadEnvironment();
    struct NumberOption
    {
        const char* pszName;
        int* pValue;
        int nMin;
        int nMax;
    };
    const NumberOption numbers[] = {
        {"--port", &m_nPort, 0, 65535},
        {"--threads", &m_nThreads, 1, 1024},
        {"--cache-minutes", &m_nCacheMinutes, 0, 1440},
        {"--source-timeout", &m_nSourceTimeout, 1, 300},
        {"--max-connections", &m_nMaxConnections, 1, 100000},
        {"--max-per-client", &m_nMaxPerClient, 1, 100000},
        {"--request-seconds", &m_nRequestSeconds, 1, 600},
        {"--idle-seconds", &m_nIdleSeconds, 1, 3600},
        {"--cache-mb", &m_nCacheMegabytes, 1, 4096},
    };
    for (int i = 1; i < argc; ++i) {
        const std::string strOption = argv[i];
        const bool bHasValue = i + 1 < argc;
        const NumberOption* pNumber = nullptr;
        for (const NumberOption& number : numbers) {
            if (strOption == number.pszName)
                pNumber = &number;
        }
        std::string* pText = strOption == "--host"            ? &m_strHost
                             : strOption == "--data-dir"      ? &m_strDataFolder
                             : strOption == "--forecast-url"  ? &m_strForecastURL
                             : strOption == "--geocoding-url" ? &m_strGeocodingURL
                                                              : nullptr;
        const bool bNeedsValue = pNumber || pText || strOption == "--source";
        if (bNeedsValue && !bHasValue) {
            strError = strOption + " needs a value";
            return false;
        }
        if (strOption == "--help" || strOption == "-h") {
            m_bHelp = true;
        } else if (strOption == "--verbose") {
            m_bVerbose = true;
        } else if (pNumber) {
            if (!ReadNumber(strOption, argv[++i], pNumber->nMin, pNumber->nMax, *pNumber->pValue, strError))
                return false;
        } else if (pText) {
            *pText = argv[++i];
        } else if (strOption == "--source") {
            const std::string strSource = argv[++i];
            if (strSource == "demo") {
                m_source = DEMO;
            } else if (strSource == "open-meteo") {
                m_source = OPEN_METEO;
            } else if (strSource == "auto") {
                m_source = AUTO;
            } else {
                strError = "--source is demo, open-meteo or auto, not \"" + strSource + "\"";
                return false;
            }
        } else if (!other || !other(argc, argv, i, strError)) {
            if (strError.empty())
                strError = "unknown option \"" + strOption + "\"";
            return false;
        } else if (!strError.empty()) {
            return false;
        }
    }
    for (const std::string* pURL : {&m_strForecastURL, &m_strGeocodingURL}) {
        if (!pURL->empty() && pURL->rfind("http://", 0) != 0 && pURL->rfind("https://", 0) != 0) {
            strError = "Open-Meteo's addresses start with http:// or https://, not \"" + *pURL + "\"";
            return false;
        }
    }
    return true;
}

std::string CServiceOptions::HelpText()
{
    return std::string(
        "Usage: cirrovan-service [options]\n"
        "\n"
        "The local forecast service of Cirrovan: answers the program's station searches\n"
        "and its daily and hour-by-hour forecast requests, with synthetic forecasts for a\n"
        "few hundred real places (the demo) or with live forecasts from Open-Meteo.\n"
        "Prints three lines: the address it listens on, the source it uses\n"
        "(\"source: demo\", \"source: open-meteo (live)\" or \"source: demo (Open-Meteo\n"
        "unreachable: REASON)\") and the name the program is to show for the service\n"
        "(\"name: Cirrovan demo\" or \"name: Open-Meteo\", for CIRROVAN_SERVICE_NAME).\n"
        "Stops on SIGINT or SIGTERM.\n"
        "\n"
        "Options:\n"
        "  --port N           port to listen on (default 8470; 0 picks a free one)\n"
        "  --host ADDR        address to listen on (default 127.0.0.1)\n"
        "  --threads N        requests served at once (default ") + std::to_string(DefaultThreads()) + ")\n"
        "  --source SOURCE    demo (default): synthetic forecasts, no network;\n"
        "                     open-meteo: live forecasts (Weather data by Open-Meteo.com,\n"
        "                     under CC BY 4.0; credited on the home page);\n"
        "                     auto: open-meteo if it answers at start, else demo\n"
        "  --data-dir DIR     where the live source keeps its station IDs (default\n"
        "                     $XDG_DATA_HOME/cirrovan-service, or\n"
        "                     ~/.local/share/cirrovan-service)\n"
        "  --forecast-url URL Open-Meteo's forecast API (default\n"
        "                     https://api.open-meteo.com/v1/forecast; or set\n"
        "                     CIRROVAN_OPENMETEO_FORECAST_URL)\n"
        "  --geocoding-url URL Open-Meteo's geocoding API (default\n"
        "                     https://geocoding-api.open-meteo.com/v1/search; or set\n"
        "                     CIRROVAN_OPENMETEO_GEOCODING_URL)\n"
        "  --cache-minutes N  live answers are used again for N minutes (default 15;\n"
        "                     0: ask every time)\n"
        "  --source-timeout S seconds a live answer may take (default 15)\n"
        "  --cache-mb N       memory for the live answers kept, in MiB (default 64)\n"
        "  --max-connections N  connections open at once (default 1000)\n"
        "  --max-per-client N   connections open at once from one address (default 200)\n"
        "  --request-seconds S  time for a request's head and body to arrive (default 10)\n"
        "  --idle-seconds S     time a kept-alive connection waits for the next request\n"
        "                     (default 30)\n"
        "  --verbose          print a line for every request on stderr\n"
        "  --help             print this text\n"
        "\n"
        "Requests:\n"
        "  GET  /search/search?where=TEXT     stations whose name holds TEXT\n"
        "  GET  /weather/local/ID?dayf=10     daily forecast (1 to 10 days)\n"
        "  GET  /weather/local/ID?hbhf=72     hour-by-hour forecast (1 to 72 hours)\n"
        "  GET  /                             home page\n"
        "An unknown station gets HTTP 404 with an <error> document. When the live source\n"
        "cannot be reached or answers badly, the request gets HTTP 502 (or 504 when it\n"
        "took too long) with one: never an old forecast in place of a new one.\n";
}
