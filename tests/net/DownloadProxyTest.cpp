// A download through a real HTTP proxy, as the connection manager reports it
// from the environment: its bypass list and its credentials go with it.

#include "DownloadTestSetup.h"

#include "testing/LoopbackServers.h"

namespace {

class DownloadProxy : public DownloadTest
{
};

TEST_F(DownloadProxy, TheRequestGoesThroughTheConnectionsProxyUnlessItsHostIsBypassed)
{
    if (CTinyproxy::Program().empty())
        GTEST_SKIP() << "tinyproxy is not installed (scripts/install-deps installs it); proxy test skipped";
    struct Case
    {
        const char* pszWhat;
        const char* pszNoProxy;      // nullptr: unset
        const char* pszCredentials;  // in the proxy's URL, "user:password@"
        const char* pszProxyAuth;    // the proxy's own BasicAuth line, or ""
        bool bThroughProxy;
        int nResult;
    };
    const Case cases[] = {
        {"a list that names other hosts", "example.invalid", "", "", true, IDOK},
        {"no list: loopback is never proxied", nullptr, "", "", false, IDOK},
        {"the service's address listed", "example.invalid, 127.0.0.1", "", "", false, IDOK},
        {"credentials the proxy asks for", "example.invalid", "cirrovan:s%33cret@", "BasicAuth cirrovan s3cret\n",
         true, IDOK},
        {"no credentials for a proxy that asks", "example.invalid", "", "BasicAuth cirrovan s3cret\n", true,
         IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        // A folder of each proxy's own, for a log of its own.
        const std::string folder = m_folder.m_path + "/proxy" + std::to_string(&c - cases);
        std::filesystem::create_directories(folder);
        CTinyproxy proxy(folder, "cirrovan-download-proxy", c.pszProxyAuth);
        ASSERT_TRUE(proxy.Accepts()) << "tinyproxy did not start:\n" << proxy.Log();
        const std::string proxyName = "127.0.0.1:" + std::to_string(proxy.m_nPort);
        const std::string proxyUrl = "http://" + std::string(c.pszCredentials) + proxyName + "/";
        CEnvGuard httpProxy("http_proxy", proxyUrl.c_str());
        CEnvGuard noProxy("no_proxy", c.pszNoProxy);
        CEnvGuard noProxyUpper("NO_PROXY", nullptr);
        CLogCapture log(m_folder, m_log);
        m_data.m_daily.Clear();

        EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation), c.nResult);
        EXPECT_EQ(m_data.m_daily.IsEmpty(), c.nResult != IDOK);
        EXPECT_EQ(proxy.Log().find("GET http://" + s_strHost + StationPath()) != std::string::npos, c.bThroughProxy)
            << proxy.Log();
        EXPECT_NE(log.Text().find(") = InternetOpen('anonymous', 0x00000003, " + proxyName
                                  + ", NULL,INTERNET_FLAG_ASYNC)\n"),
                  std::string::npos)
            << log.Text();
    }
}

}
