#include "tools/service/ServiceOptions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

bool ReadNumber(const char* pszText, int nMin, int nMax, int& nValue)
{
    char* pEnd = nullptr;
    const long n = std::strtol(pszText, &pEnd, 10);
    if (!*pszText || *pEnd || n < nMin || n > nMax)
        return false;
    nValue = static_cast<int>(n);
    return true;
}

} // namespace

int CServiceOptions::DefaultThreads()
{
    return std::max(32, 8 * static_cast<int>(std::thread::hardware_concurrency()));
}

bool CServiceOptions::Parse(int argc, char** argv, std::string& strError)
{
    for (int i = 1; i < argc; ++i) {
        const std::string strOption = argv[i];
        const bool bHasValue = i + 1 < argc;
        if (strOption == "--help" || strOption == "-h") {
            m_bHelp = true;
        } else if (strOption == "--verbose") {
            m_bVerbose = true;
        } else if (strOption == "--port" && bHasValue) {
            if (!ReadNumber(argv[++i], 0, 65535, m_nPort)) {
                strError = std::string("--port needs a number from 0 to 65535, not \"") + argv[i] + "\"";
                return false;
            }
        } else if (strOption == "--host" && bHasValue) {
            m_strHost = argv[++i];
        } else if (strOption == "--threads" && bHasValue) {
            if (!ReadNumber(argv[++i], 1, 1024, m_nThreads)) {
                strError = std::string("--threads needs a number from 1 to 1024, not \"") + argv[i] + "\"";
                return false;
            }
        } else if (strOption == "--fault" && bHasValue) {
            if (!CFaultInjector::Parse(argv[++i], m_fault, strError))
                return false;
        } else if (strOption == "--port" || strOption == "--host" || strOption == "--threads" || strOption == "--fault") {
            strError = strOption + " needs a value";
            return false;
        } else {
            strError = "unknown option \"" + strOption + "\"";
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
        "and its daily and hour-by-hour forecast requests with synthetic forecasts for a\n"
        "few hundred real places. Prints the address it listens on as its first line;\n"
        "stops on SIGINT or SIGTERM.\n"
        "\n"
        "Options:\n"
        "  --port N           port to listen on (default 8470; 0 picks a free one)\n"
        "  --host ADDR        address to listen on (default 127.0.0.1)\n"
        "  --threads N        requests served at once (default ") + std::to_string(DefaultThreads()) + ")\n"
        "  --fault KIND[:ARG] make every answer go wrong in that way (kinds below)\n"
        "  --verbose          print a line for every request on stderr\n"
        "  --help             print this text\n"
        "\n"
        "Requests:\n"
        "  GET  /search/search?where=TEXT     stations whose name holds TEXT\n"
        "  GET  /weather/local/ID?dayf=10     daily forecast (1 to 10 days)\n"
        "  GET  /weather/local/ID?hbhf=72     hour-by-hour forecast (1 to 72 hours)\n"
        "  GET  /                             home page\n"
        "An unknown station gets HTTP 404 with an <error> document.\n"
        "\n"
        "Control (for tests):\n"
        "  POST /control/fault?kind=KIND[:ARG]&count=N&path=PREFIX\n"
        "       the next N requests (default 1; 0: all until cleared) whose path and\n"
        "       query start with PREFIX (default: any) get that fault\n"
        "  DELETE /control/fault              drop the armed faults\n"
        "  GET  /control/requests[?path=P]    requests so far: \"COUNT PATH\" lines, or P's count\n"
        "  POST /control/reset                drop the armed faults and the counts\n"
        "\n"
        "Fault kinds:\n" +
        CFaultInjector::KindsHelp();
}
