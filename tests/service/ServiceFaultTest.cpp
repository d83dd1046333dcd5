// Each fault the service injects, seen byte by byte on the wire.

#include "FeedCheck.h"
#include "ServiceProcess.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <functional>

namespace {

std::string Dechunked(const std::string& strBody, int& nChunks)
{
    std::string out;
    nChunks = 0;
    size_t pos = 0;
    for (;;) {
        const size_t lineEnd = strBody.find("\r\n", pos);
        if (lineEnd == std::string::npos)
            return out;
        const size_t nSize = std::strtoul(strBody.c_str() + pos, nullptr, 16);
        if (nSize == 0)
            return out;
        out += strBody.substr(lineEnd + 2, nSize);
        ++nChunks;
        pos = lineEnd + 2 + nSize + 2;
    }
}

int Depth(const TiXmlNode* pNode)
{
    int nDeepest = 0;
    for (const TiXmlElement* p = pNode->FirstChildElement(); p; p = p->NextSiblingElement())
        nDeepest = std::max(nDeepest, Depth(p));
    return nDeepest + 1;
}

class ServiceFault : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pService = &CSharedService::Start();
        const SearchResults results = LoadSearch(s_pService->Client().Get("/search/search?where=zurich")->body);
        if (!results.empty())
            s_strStation = "/weather/local/" + CCodePage::Encode(results[0].first);
    }
    static void TearDownTestSuite()
    {
        // A sanitizer build's service reports what it found through its exit code.
        EXPECT_EQ(CSharedService::Stop(), 0);
        s_pService = nullptr;
    }

    void SetUp() override
    {
        ASSERT_FALSE(s_strStation.empty()) << "the service did not start";
        ASSERT_EQ(s_pService->Client().Post("/control/reset")->status, 200);
    }

    static void Arm(const std::string& strKind, int nCount = 1, const std::string& strPath = std::string())
    {
        const std::string target = "/control/fault?kind=" + PercentEncoded(strKind) + "&count=" +
                                   std::to_string(nCount) + "&path=" + PercentEncoded(strPath);
        const auto res = s_pService->Client().Post(target.c_str());
        ASSERT_TRUE(res);
        ASSERT_EQ(res->status, 200) << res->body;
    }

    static CRawAnswer Daily() { return CRawAnswer::Get(s_pService->m_nPort, s_strStation + "?dayf=10"); }

    static CServiceProcess* s_pService;
    static std::string s_strStation;
};

CServiceProcess* ServiceFault::s_pService = nullptr;
std::string ServiceFault::s_strStation;

TEST_F(ServiceFault, HttpErrorReplacesTheNextAnswerOnly)
{
    Arm("status:503");
    const CRawAnswer failed = Daily();
    EXPECT_EQ(failed.Status(), 503);
    EXPECT_EQ(failed.Body().find("<weather"), std::string::npos);
    const CRawAnswer next = Daily();
    EXPECT_EQ(next.Status(), 200);
    EXPECT_NE(next.Body().find("</weather>"), std::string::npos);
}

TEST_F(ServiceFault, SlowAnswersArriveLateButWhole)
{
    const std::string normal = WithoutClock(Daily().Body());

    Arm("delay:1500");
    const CRawAnswer delayed = Daily();
    EXPECT_EQ(delayed.Status(), 200);
    EXPECT_GE(delayed.ArrivalOf(0), 1.5);
    EXPECT_EQ(WithoutClock(delayed.Body()), normal);

    Arm("stall:1500");
    const CRawAnswer stalled = Daily();
    EXPECT_EQ(stalled.Status(), 200);
    EXPECT_EQ(WithoutClock(stalled.Body()), normal);
    // The head and the first half come first, the second half after the pause.
    const size_t nBodyStart = stalled.HeadEnd() + 4;
    const size_t nHalf = stalled.Body().size() / 2;
    EXPECT_LT(stalled.ArrivalOf(nBodyStart + nHalf - 1), stalled.ArrivalOf(nBodyStart + nHalf));
    EXPECT_GE(stalled.ArrivalOf(nBodyStart + nHalf), 1.5);
}

TEST_F(ServiceFault, BodiesThatDisagreeWithTheirLength)
{
    const std::string normal = WithoutClock(Daily().Body());
    const size_t nNormal = Daily().Body().size();
    struct Case
    {
        const char* kind;
        std::function<void(const CRawAnswer&)> check;
    };
    const Case cases[] = {
        {"cut", [&](const CRawAnswer& a) {
            EXPECT_EQ(a.Header("Content-Length"), std::to_string(nNormal));
            EXPECT_EQ(a.Body().size(), nNormal / 2);
        }},
        {"cut:100", [&](const CRawAnswer& a) {
            EXPECT_EQ(a.Header("Content-Length"), std::to_string(nNormal));
            EXPECT_EQ(a.Body().size(), 100u);
        }},
        {"length-over:50", [&](const CRawAnswer& a) {
            EXPECT_EQ(a.Header("Content-Length"), std::to_string(a.Body().size() + 50));
            EXPECT_EQ(WithoutClock(a.Body()), normal);
        }},
        {"length-under:50", [&](const CRawAnswer& a) {
            EXPECT_EQ(a.Header("Content-Length"), std::to_string(a.Body().size() - 50));
            EXPECT_EQ(WithoutClock(a.Body()), normal);
        }},
        {"no-length", [&](const CRawAnswer& a) {
            EXPECT_EQ(a.Header("Content-Length"), "");
            EXPECT_EQ(a.Header("Transfer-Encoding"), "");
            EXPECT_EQ(WithoutClock(a.Body()), normal);
        }},
        {"chunked:500", [&](const CRawAnswer& a) {
            EXPECT_EQ(a.Header("Content-Length"), "");
            EXPECT_EQ(a.Header("Transfer-Encoding"), "chunked");
            int nChunks = 0;
            EXPECT_EQ(WithoutClock(Dechunked(a.Body(), nChunks)), normal);
            EXPECT_EQ(nChunks, static_cast<int>((nNormal + 499) / 500));
        }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Arm(c.kind);
        const CRawAnswer answer = Daily();
        EXPECT_EQ(answer.Status(), 200);
        EXPECT_TRUE(answer.m_bClosed);
        c.check(answer);
    }
}

TEST_F(ServiceFault, BodiesAClientMustRefuse)
{
    Arm("not-xml");
    const CRawAnswer text = Daily();
    EXPECT_EQ(text.Status(), 200);
    TiXmlDocument notXml;
    notXml.Parse(text.Body().c_str());
    EXPECT_TRUE(notXml.Error());

    // Well-formed, so that only their size or depth can make them fail.
    Arm("huge");
    const CRawAnswer huge = Daily();
    EXPECT_GT(huge.Body().size(), 4u * 1024 * 1024);
    TiXmlDocument large;
    large.Parse(huge.Body().c_str());
    EXPECT_FALSE(large.Error()) << large.ErrorDesc();
    ASSERT_TRUE(large.FirstChildElement("weather"));
    EXPECT_TRUE(large.FirstChildElement("weather")->FirstChildElement("dayf"));

    Arm("deep");
    const CRawAnswer deep = Daily();
    TiXmlDocument nested;
    nested.Parse(deep.Body().c_str());
    EXPECT_FALSE(nested.Error()) << nested.ErrorDesc();
    EXPECT_GT(Depth(&nested), 64);
    EXPECT_TRUE(nested.FirstChildElement("weather")->FirstChildElement("dayf"));
}

TEST_F(ServiceFault, ConnectionClosedBeforeTheHeaders)
{
    Arm("close");
    const CRawAnswer answer = Daily();
    EXPECT_TRUE(answer.m_bClosed);
    EXPECT_EQ(answer.m_strBytes, "");
    EXPECT_EQ(Daily().Status(), 200);
}

TEST_F(ServiceFault, FaultsPickTheirRequestsByPathAndCount)
{
    // Only the hourly request of the station, twice.
    Arm("status:500", 2, s_strStation + "?hbhf");
    const std::string hourly = s_strStation + "?hbhf=72";
    EXPECT_EQ(Daily().Status(), 200);
    EXPECT_EQ(CRawAnswer::Get(s_pService->m_nPort, "/search/search?where=oslo").Status(), 200);
    EXPECT_EQ(CRawAnswer::Get(s_pService->m_nPort, hourly).Status(), 500);
    EXPECT_EQ(CRawAnswer::Get(s_pService->m_nPort, hourly).Status(), 500);
    EXPECT_EQ(CRawAnswer::Get(s_pService->m_nPort, hourly).Status(), 200);

    // Count 0: every request until the armed faults are dropped.
    Arm("status:404", 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Daily().Status(), 404);
    EXPECT_EQ(s_pService->Client().Delete("/control/fault")->status, 200);
    EXPECT_EQ(Daily().Status(), 200);
}

TEST_F(ServiceFault, RequestsAreCountedPerPath)
{
    Arm("close");
    Daily();
    Daily();
    CRawAnswer::Get(s_pService->m_nPort, "/search/search?where=oslo");
    httplib::Client client = s_pService->Client();
    EXPECT_EQ(client.Get(("/control/requests?path=" + s_strStation).c_str())->body, "2\n");
    EXPECT_EQ(client.Get("/control/requests")->body, "1 /search/search\n2 " + s_strStation + "\n");
}

TEST_F(ServiceFault, UnknownKindOrBadArgumentIsRefused)
{
    for (const char* pszKind : {"explode", "status:200", "delay:soon", "deep:99999999", "huge:-1", "close:3", ""}) {
        SCOPED_TRACE(pszKind);
        const auto res = s_pService->Client().Post(("/control/fault?kind=" + PercentEncoded(pszKind)).c_str());
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 400);
    }
    EXPECT_EQ(Daily().Status(), 200);
}

TEST(ServiceFaultOption, StandingFaultMakesEveryAnswerFail)
{
    CServiceProcess service({"--fault", "status:503"});
    ASSERT_GT(service.m_nPort, 0);
    for (const char* pszTarget : {"/", "/search/search?where=oslo", "/weather/local/XXXX0000?dayf=10"}) {
        SCOPED_TRACE(pszTarget);
        EXPECT_EQ(CRawAnswer::Get(service.m_nPort, pszTarget).Status(), 503);
    }
    // The control endpoints stay usable, and an armed fault wins over it.
    EXPECT_EQ(service.Client().Get("/control/requests?path=/")->body, "1\n");
    ASSERT_EQ(service.Client().Post("/control/fault?kind=none")->status, 200);
    EXPECT_EQ(CRawAnswer::Get(service.m_nPort, "/").Status(), 200);
    EXPECT_EQ(CRawAnswer::Get(service.m_nPort, "/").Status(), 503);
}

} // namespace
