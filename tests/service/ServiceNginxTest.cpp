// The service shared by many as the README sets it up: nginx on a loopback
// port, with the configuration that comes with the service, in front of two
// services on one data folder, both on a stand-in for their live source.

#include "FeedCheck.h"
#include "OpenMeteoStandIn.h"
#include "RawConnection.h"
#include "ServiceProcess.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <thread>

namespace {

const char* const NGINX = "/usr/sbin/nginx";

void Replace(std::string& strText, const std::string& strOld, const std::string& strNew)
{
    const size_t nAt = strText.find(strOld);
    ASSERT_NE(nAt, std::string::npos) << strOld;
    strText.replace(nAt, strOld.size(), strNew);
}

// nginx in the foreground, all its files in the folder, with the service's
// configuration pointed at the two services.
class CNginx
{
public:
    CNginx(const std::string& strFolder, int nFirst, int nSecond) : m_nPort(FreeLoopbackPort())
    {
        std::ifstream in(std::string(CIRROVAN_FIXTURES) + "/../service/nginx/cirrovan-service.conf");
        std::string strServer((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Replace(strServer, "/var/cache/nginx/cirrovan", strFolder + "/cache");
        Replace(strServer, "127.0.0.1:8471", "127.0.0.1:" + std::to_string(nFirst));
        Replace(strServer, "127.0.0.1:8472", "127.0.0.1:" + std::to_string(nSecond));
        Replace(strServer, "listen 8470;", "listen 127.0.0.1:" + std::to_string(m_nPort) + ";");
        std::ofstream(strFolder + "/nginx.conf")
            << "daemon off;\n" << (geteuid() == 0 ? "user root;\n" : "") << "worker_processes 1;\n"
            << "pid " << strFolder << "/nginx.pid;\nerror_log " << strFolder << "/error.log warn;\n"
            << "events { worker_connections 512; }\nhttp {\n  access_log off;\n"
            << "  client_body_temp_path " << strFolder << "/body;\n  proxy_temp_path " << strFolder << "/proxy;\n"
            << "  fastcgi_temp_path " << strFolder << "/fastcgi;\n  uwsgi_temp_path " << strFolder << "/uwsgi;\n"
            << "  scgi_temp_path " << strFolder << "/scgi;\n" << strServer << "}\n";
        const std::vector<std::string> args = {NGINX, "-p", strFolder, "-c", strFolder + "/nginx.conf", "-e",
                                               strFolder + "/error.log"};
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, NGINX, nullptr, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        // Ready once it takes connections; a few seconds at most.
        for (int i = 0; i < 100 && m_pid > 0 && !m_bReady; ++i) {
            CRawConnection probe(m_nPort);
            m_bReady = probe.m_fd >= 0;
            if (!m_bReady)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ~CNginx()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        int nStatus = 0;
        waitpid(m_pid, &nStatus, 0);
    }

    httplib::Client Client() const
    {
        httplib::Client client("127.0.0.1", m_nPort);
        client.set_read_timeout(20, 0);
        return client;
    }

    pid_t m_pid = -1;
    int m_nPort;
    bool m_bReady = false;
};

int Count(CServiceProcess& service, const std::string& strPath)
{
    return std::atoi(service.Client().Get(("/control/requests?path=" + strPath).c_str())->body.c_str());
}

TEST(ServiceNginx, TwoServicesBehindNginxShareIDsCacheAnswersAndOutlastSlowClients)
{
    struct stat info {};
    if (stat(NGINX, &info) != 0)
        GTEST_SKIP() << NGINX << " is not installed (Debian's package nginx; scripts/install-deps installs it)";

    CTempFolder folder;
    COpenMeteoStandIn standIn;
    const std::vector<std::string> live = {"--source", "open-meteo", "--forecast-url", standIn.ForecastURL(),
                                           "--geocoding-url", standIn.GeocodingURL(), "--data-dir", folder.Path("data")};
    CServiceProcess first(live);
    CServiceProcess second(live);
    ASSERT_GT(first.m_nPort, 0);
    ASSERT_GT(second.m_nPort, 0);
    CNginx nginx(folder.m_path, first.m_nPort, second.m_nPort);
    ASSERT_TRUE(nginx.m_bReady) << folder.Read("error.log");
    httplib::Client client = nginx.Client();

    // Searches spread over both services give each place one ID.
    SearchResults results;
    for (const char* pszText : {"sydney", "Sydney", "SYDNEY", "sydney%20"}) {
        const auto res = client.Get((std::string("/search/search?where=") + pszText).c_str());
        ASSERT_TRUE(res);
        ASSERT_EQ(res->status, 200) << res->body;
        const SearchResults found = LoadSearch(res->body);
        ASSERT_FALSE(found.empty());
        if (results.empty())
            results = found;
        EXPECT_EQ(found, results) << pszText;
    }
    EXPECT_GE(Count(first, "/search/search"), 1);
    EXPECT_GE(Count(second, "/search/search"), 1);

    // A forecast asked twice within the cache interval reaches a service once.
    const std::string strStation = "/weather/local/" + CCodePage::Encode(results[0].first);
    for (int i = 0; i < 2; ++i) {
        const auto res = client.Get((strStation + "?dayf=10").c_str());
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 200);
        EXPECT_EQ(res->get_header_value("X-Cache-Status"), i == 0 ? "MISS" : "HIT");
    }
    EXPECT_EQ(Count(first, strStation) + Count(second, strStation), 1);
    EXPECT_EQ(client.Get("/control/requests")->status, 403);

    // 40 clients that trickle their heads in leave an update answered at once.
    std::vector<std::unique_ptr<CRawConnection>> slow;
    for (int i = 0; i < 40; ++i) {
        slow.push_back(std::make_unique<CRawConnection>(nginx.m_nPort));
        slow.back()->Send("GET " + strStation + "?hbhf=72 HTTP/1.1\r\n");
    }
    std::atomic<bool> bTrickling {true};
    std::thread trickler([&] {
        while (bTrickling) {
            for (auto& pConnection : slow)
                pConnection->Send("X-Slow: 1\r\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const auto start = std::chrono::steady_clock::now();
    const auto update = client.Get((strStation + "?hbhf=72").c_str());
    const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    bTrickling = false;
    trickler.join();
    ASSERT_TRUE(update);
    EXPECT_EQ(update->status, 200);
    EXPECT_LT(dSeconds, 1.0);
}

} // namespace
