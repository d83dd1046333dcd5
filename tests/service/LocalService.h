#pragma once

// The local forecast service as a user's program meets it: the real executable
// on a free loopback port, the program's search and feed hosts pointed at it
// for as long as this object lives, and no proxy of the machine's in between.
// Through its control paths a test tells which requests reached it.

#include "../EnvGuard.h"
#include "ServiceProcess.h"

#include <string>
#include <vector>

class CLocalService
{
public:
    // The service started with those options besides its port.
    explicit CLocalService(const std::vector<std::string>& args = {})
        : m_process(args),
          m_strHost(m_process.m_nPort > 0 ? "127.0.0.1:" + std::to_string(m_process.m_nPort) : std::string())
    {
    }

    bool IsUp() const { return m_process.m_pid > 0 && m_process.m_nPort > 0; }

    // Every request since the start or the last Forget, "COUNT PATH" a line in
    // path order (the query is not part of the path).
    std::string Requests() const
    {
        auto res = m_process.Client().Get("/control/requests");
        return res && res->status == 200 ? res->body : "no answer";
    }
    bool Forget() const
    {
        auto res = m_process.Client().Post("/control/reset");
        return res && res->status == 200;
    }

    // Ends the service; the hosts keep pointing at its port, where nothing
    // answers any more. Its exit code: a sanitizer build's service reports
    // there what it found.
    int Stop() { return m_process.Stop(SIGTERM); }

    CServiceProcess m_process;
    std::string m_strHost;   // host:port

private:
    CEnvGuard m_searchHost{"CIRROVAN_SEARCH_HOST", m_strHost.c_str()};
    CEnvGuard m_feedHost{"CIRROVAN_FEED_HOST", m_strHost.c_str()};
    CEnvGuard m_httpProxy{"http_proxy", nullptr};
    CEnvGuard m_httpProxyUpper{"HTTP_PROXY", nullptr};
};
