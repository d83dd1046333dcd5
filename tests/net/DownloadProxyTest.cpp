// A download through a real HTTP proxy, as the connection manager reports it
// from the environment.

#include "DownloadTestSetup.h"

#include "../platform-net/LoopbackServers.h"

namespace {

class DownloadProxy : public DownloadTest
{
};

TEST_F(DownloadProxy, TheRequestGoesThroughTheConnectionsProxy)
{
    if (CTinyproxy::Program().empty())
        GTEST_SKIP() << "tinyproxy is not installed (scripts/install-deps installs it); proxy test skipped";
    CTinyproxy proxy(m_folder.m_path, "cirrovan-download-proxy");
    ASSERT_TRUE(proxy.Accepts()) << "tinyproxy did not start:\n" << proxy.Log();
    const std::string proxyName = "127.0.0.1:" + std::to_string(proxy.m_nPort);
    const std::string proxyUrl = "http://" + proxyName + "/";
    CEnvGuard httpProxy("http_proxy", proxyUrl.c_str());
    CEnvGuard noProxy("no_proxy", nullptr);
    CEnvGuard noProxyUpper("NO_PROXY", nullptr);
    CLogCapture log(m_folder, m_log);

    EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation), IDOK);
    EXPECT_FALSE(m_data.m_daily.IsEmpty());
    EXPECT_NE(proxy.Log().find(StationPath()), std::string::npos) << proxy.Log();
    EXPECT_NE(log.Text().find(") = InternetOpen('anonymous', 0x00000003, " + proxyName + ", NULL,INTERNET_FLAG_ASYNC)\n"),
              std::string::npos)
        << log.Text();
}

}
