#include "testing/InternetTransfer.h"
#include "testing/LoopbackServers.h"

#include "../EnvGuard.h"
#include "../TempFolder.h"

#include <gtest/gtest.h>

namespace {

const char* const VIA_NAME = "cirrovan-test-proxy";

// A server that answers with the Via header its request came with, so a test
// sees whether the request went through the proxy.
class HttpLayerProxy : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (CTinyproxy::Program().empty())
            GTEST_SKIP() << "tinyproxy is not installed (scripts/install-deps installs it); proxy tests skipped";
        m_server.m_server.Get("/via", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content("via=" + req.get_header_value("Via"), "text/plain");
        });
        m_server.Start();
        m_pProxy = std::make_unique<CTinyproxy>(m_folder.m_path, VIA_NAME);
        ASSERT_TRUE(m_pProxy->Accepts()) << "tinyproxy did not start:\n" << m_pProxy->Log();
    }

    std::string Fetch(CTransfer& transfer)
    {
        std::string body;
        EXPECT_TRUE(transfer.Request(m_server.Url("/via")));
        EXPECT_EQ(transfer.Query(HTTP_QUERY_STATUS_CODE), L"200");
        EXPECT_TRUE(transfer.ReadAll(&body));
        return body;
    }
    std::wstring ProxyName() const { return L"127.0.0.1:" + std::to_wstring(m_pProxy->m_nPort); }

    CTempFolder m_folder;
    CHttpServer m_server;
    std::unique_ptr<CTinyproxy> m_pProxy;
    CEnvGuard m_noProxy{"no_proxy", nullptr};
    CEnvGuard m_noProxyUpper{"NO_PROXY", nullptr};
};

TEST_F(HttpLayerProxy, ARequestGoesThroughTheNamedProxy)
{
    std::wstring proxy = ProxyName();
    CTransfer transfer(INTERNET_OPEN_TYPE_PROXY, proxy.c_str());
    std::string body = Fetch(transfer);
    EXPECT_NE(body.find(VIA_NAME), std::string::npos) << body;
    EXPECT_NE(m_pProxy->Log().find(m_server.Url("/via")), std::string::npos);
}

TEST_F(HttpLayerProxy, DirectIgnoresTheEnvironmentsProxyAndPreconfiguredUsesIt)
{
    std::string proxyUrl = "http://127.0.0.1:" + std::to_string(m_pProxy->m_nPort) + "/";
    CEnvGuard httpProxy("http_proxy", proxyUrl.c_str());

    CTransfer direct(INTERNET_OPEN_TYPE_DIRECT);
    EXPECT_EQ(Fetch(direct), "via=");

    CTransfer preconfigured(INTERNET_OPEN_TYPE_PRECONFIG);
    EXPECT_NE(Fetch(preconfigured).find(VIA_NAME), std::string::npos);
}

}
