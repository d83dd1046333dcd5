// The service against clients that would misuse it: web pages that reach for
// the control endpoints, slow and idle connections, oversized requests,
// pipelined ones, and text meant for a terminal.

#include "../TempFolder.h"
#include "FeedCheck.h"
#include "platform/CodePage.h"
#include "RawConnection.h"
#include "ServiceProcess.h"

#include <gtest/gtest.h>

#include <ifaddrs.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string Request(const std::string& strMethod, const std::string& strTarget, const std::string& strHeaders = {})
{
    return strMethod + " " + strTarget + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + strHeaders + "\r\n";
}

int StatusOf(const std::string& strAnswer)
{
    return strAnswer.size() > 12 ? std::atoi(strAnswer.c_str() + 9) : 0;
}

// The status of one request on a connection of its own.
int Ask(int nPort, const std::string& strRequest, const char* pszFrom = "127.0.0.1", const char* pszTo = "127.0.0.1")
{
    CRawConnection connection(nPort, pszFrom, pszTo);
    connection.Send(strRequest);
    return StatusOf(connection.Receive(10, 1));
}

// An IPv4 address of this machine other than loopback, or "".
std::string OutwardAddress()
{
    ifaddrs* pList = nullptr;
    std::string strFound;
    if (getifaddrs(&pList) != 0)
        return strFound;
    for (const ifaddrs* p = pList; p && strFound.empty(); p = p->ifa_next) {
        if (!p->ifa_addr || p->ifa_addr->sa_family != AF_INET)
            continue;
        char sz[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(p->ifa_addr)->sin_addr, sz, sizeof sz);
        if (std::string(sz).rfind("127.", 0) != 0)
            strFound = sz;
    }
    freeifaddrs(pList);
    return strFound;
}

std::string FileText(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::string ARM_503 = "/control/fault?kind=status:503&count=0";

TEST(ServiceGuard, ControlAnswersOnlyInTheTestsServiceAndOnlyProgramsOnThisMachine)
{
    {
        // The service that ships knows no control requests at all.
        CServiceProcess plain({}, false);
        ASSERT_GT(plain.m_nPort, 0);
        EXPECT_EQ(Ask(plain.m_nPort, Request("POST", ARM_503)), 405);
        EXPECT_EQ(Ask(plain.m_nPort, Request("GET", "/control/requests")), 404);
        EXPECT_EQ(Ask(plain.m_nPort, Request("GET", "/search/search?where=oslo")), 200);
    }

    CServiceProcess service;
    ASSERT_GT(service.m_nPort, 0);
    // What a web page can make a browser send, directly or by rebinding a name.
    const char* const pageHeaders[] = {
        "Origin: http://example.com\r\n",
        "Origin: null\r\n",
        "Content-Type: application/x-www-form-urlencoded\r\n",
        "Content-Type: Multipart/Form-Data; boundary=x\r\n",
        "Content-Type: text/plain;charset=UTF-8\r\n",
    };
    for (const char* pszHeaders : pageHeaders) {
        SCOPED_TRACE(pszHeaders);
        EXPECT_EQ(Ask(service.m_nPort, Request("POST", ARM_503, pszHeaders)), 403);
    }
    EXPECT_EQ(Ask(service.m_nPort, "POST " + ARM_503 + " HTTP/1.1\r\nHost: rebound.example.com:8470\r\n\r\n"), 403);
    EXPECT_EQ(Ask(service.m_nPort, Request("GET", "/search/search?where=oslo")), 200);

    // What a program may ask stays within bounds.
    const char* const tooMuch[] = {"kind=delay:600001", "kind=stall:3600000", "kind=huge:268435456",
                                   "kind=status:500&count=1001", "kind=status:500&count=-1", "kind=status:500&count=x"};
    for (const char* pszQuery : tooMuch) {
        SCOPED_TRACE(pszQuery);
        EXPECT_EQ(Ask(service.m_nPort, Request("POST", std::string("/control/fault?") + pszQuery)), 400);
    }
    for (int i = 0; i < 32; ++i)
        ASSERT_EQ(Ask(service.m_nPort, Request("POST", "/control/fault?kind=status:500&path=/nowhere")), 200);
    EXPECT_EQ(Ask(service.m_nPort, Request("POST", "/control/fault?kind=status:500&path=/nowhere")), 429);
    EXPECT_EQ(Ask(service.m_nPort, Request("POST", "/control/reset")), 200);
    EXPECT_EQ(Ask(service.m_nPort, Request("POST", ARM_503)), 200);
    EXPECT_EQ(Ask(service.m_nPort, Request("GET", "/search/search?where=oslo")), 503);
}

TEST(ServiceGuard, AnAddressBeyondLoopbackIsNamedAndItsCallersCannotControl)
{
    CTempFolder folder;
    const std::string strLog = folder.Path("stderr.txt");
    CServiceProcess service({"--host", "0.0.0.0"}, true, strLog);
    ASSERT_GT(service.m_nPort, 0);
    const std::string strWarning = FileText(strLog);
    EXPECT_NE(strWarning.find("warning: listening on 0.0.0.0, not on loopback"), std::string::npos) << strWarning;
    EXPECT_NE(strWarning.find("control requests still answer only this machine"), std::string::npos) << strWarning;

    const std::string strOutward = OutwardAddress();
    if (strOutward.empty())
        GTEST_SKIP() << "this machine has no address but loopback to call from";
    EXPECT_EQ(Ask(service.m_nPort, Request("POST", "/control/reset"), strOutward.c_str(), strOutward.c_str()), 403);
    EXPECT_EQ(Ask(service.m_nPort, Request("GET", "/"), strOutward.c_str(), strOutward.c_str()), 200);
    EXPECT_EQ(Ask(service.m_nPort, Request("POST", "/control/reset")), 200);
}

TEST(ServiceGuard, ControlAnswersWhileEveryWorkerWaitsAndItsResetEndsTheWaits)
{
    CServiceProcess service({"--threads", "2"});
    ASSERT_GT(service.m_nPort, 0);
    ASSERT_EQ(Ask(service.m_nPort, Request("POST", "/control/fault?kind=delay:600000&count=0&path=/search")), 200);
    std::vector<std::unique_ptr<CRawConnection>> waiting;
    for (int i = 0; i < 4; ++i) {
        waiting.push_back(std::make_unique<CRawConnection>(service.m_nPort));
        waiting.back()->Send(Request("GET", "/search/search?where=oslo"));
    }
    for (std::string strCount; strCount.find("\r\n\r\n2\n") == std::string::npos;) {
        CRawConnection ask(service.m_nPort);
        ask.Send(Request("GET", "/control/requests?path=/search/search"));
        strCount = ask.Receive(10, 1);
    }
    EXPECT_EQ(Ask(service.m_nPort, Request("POST", "/control/reset")), 200);
    for (auto& pConnection : waiting)
        EXPECT_EQ(StatusOf(pConnection->Receive(10, 1)), 200);
}

TEST(ServiceGuard, SlowAndIdleClientsLoseOnlyTheirOwnConnections)
{
    CServiceProcess service({"--threads", "2", "--request-seconds", "2", "--idle-seconds", "1", "--max-per-client", "60"});
    ASSERT_GT(service.m_nPort, 0);
    const int nPort = service.m_nPort;

    // 40 clients that send a header line every 300 ms, never ending the head,
    // and 100 that say nothing, all from one address.
    std::vector<std::unique_ptr<CRawConnection>> slow;
    for (int i = 0; i < 140; ++i) {
        slow.push_back(std::make_unique<CRawConnection>(nPort));
        if (i < 40)
            slow.back()->Send("GET / HTTP/1.1\r\n");
    }
    std::atomic<bool> bTrickling {true};
    std::thread trickler([&] {
        while (bTrickling) {
            for (size_t i = 0; i < 40; ++i) {
                if (slow[i]->Receive(0).empty() && !slow[i]->m_bClosed)
                    slow[i]->Send("X-Slow: 1\r\n");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
    });

    // Another client is answered at once all the while.
    const auto start = std::chrono::steady_clock::now();
    double dSlowest = 0;
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(2500)) {
        const auto before = std::chrono::steady_clock::now();
        EXPECT_EQ(Ask(nPort, Request("GET", "/search/search?where=oslo"), "127.0.0.2"), 200);
        dSlowest = std::max(dSlowest, std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count());
    }
    EXPECT_LT(dSlowest, 1.0);
    bTrickling = false;
    trickler.join();

    // The trickling ones ran out of time for their heads, however busy they
    // kept; past the cap on one address the rest were turned away.
    int nTimedOut = 0;
    int nTurnedAway = 0;
    for (auto& pConnection : slow) {
        const std::string strAnswer = pConnection->Receive(3);
        nTimedOut += StatusOf(strAnswer) == 408;
        nTurnedAway += StatusOf(strAnswer) == 503;
        EXPECT_TRUE(pConnection->m_bClosed);
    }
    EXPECT_EQ(nTurnedAway, 80);
    EXPECT_EQ(nTimedOut, 60) << "the silent ones within the cap time out too";

    // A kept-alive connection is let go once idle.
    CRawConnection kept(nPort, "127.0.0.3");
    kept.Send(Request("GET", "/"));
    EXPECT_EQ(StatusOf(kept.Receive(5, 1)), 200);
    kept.Receive(5);
    EXPECT_TRUE(kept.m_bClosed);
}

TEST(ServiceGuard, OversizedRequestsAreRefusedAndCountsStayFew)
{
    CServiceProcess service;
    ASSERT_GT(service.m_nPort, 0);
    const int nPort = service.m_nPort;

    CRawConnection large(nPort);
    large.Send(Request("POST", "/search/search", "Content-Length: 200000000\r\n") + std::string(65536, 'x'));
    EXPECT_EQ(StatusOf(large.Receive(10, 1)), 413);
    large.Receive(10);
    EXPECT_TRUE(large.m_bClosed);
    EXPECT_EQ(Ask(nPort, Request("POST", "/search/search", "Transfer-Encoding: chunked\r\n")), 501);
    EXPECT_EQ(Ask(nPort, Request("GET", "/", "X-Long: " + std::string(20000, 'a') + "\r\n")), 431);
    EXPECT_EQ(Ask(nPort, "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n Folded: line\r\n\r\n"), 400);

    ASSERT_EQ(Ask(nPort, Request("POST", "/control/reset")), 200);
    httplib::Client client = service.Client();
    client.set_keep_alive(true);
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(client.Get(("/made/up/" + std::to_string(i)).c_str())->status, 404);
        ASSERT_EQ(client.Get(("/weather/local/NONE" + std::to_string(i)).c_str())->status, 404);
    }
    EXPECT_EQ(client.Get("/control/requests")->body, "500 (other)\n500 /weather/local/(unknown)\n");
}

TEST(ServiceGuard, PipelinedRequestsAreAnsweredInOrder)
{
    CServiceProcess service;
    ASSERT_GT(service.m_nPort, 0);
    const SearchResults oslo = LoadSearch(service.Client().Get("/search/search?where=oslo")->body);
    ASSERT_FALSE(oslo.empty());
    CRawConnection connection(service.m_nPort);
    connection.Send(Request("GET", "/search/search?where=london") + Request("GET", "/weather/local/" + CCodePage::Encode(oslo[0].first) + "?dayf=2") +
                    Request("GET", "/search/search?where=tokyo"));
    const std::string strAll = connection.Receive(10, 3);
    ASSERT_EQ(connection.Answers(), 3) << strAll;
    const size_t nLondon = strAll.find("London");
    const size_t nOslo = strAll.find("<dnam>Oslo");
    const size_t nTokyo = strAll.find("Tokyo");
    EXPECT_LT(nLondon, nOslo);
    EXPECT_LT(nOslo, nTokyo);
    EXPECT_NE(nTokyo, std::string::npos);
}

TEST(ServiceGuard, WhatAClientSentReachesTheLogEscaped)
{
    CTempFolder folder;
    const std::string strLog = folder.Path("stderr.txt");
    {
        CServiceProcess service({"--verbose"}, true, strLog);
        ASSERT_GT(service.m_nPort, 0);
        EXPECT_EQ(Ask(service.m_nPort, "GET /a\x1b[2J\rforged\x07 HTTP/1.1\r\n\r\n"), 400);
        EXPECT_EQ(Ask(service.m_nPort, Request("GET", "/search/search?where=\xc2\x9b" "31m\tred")), 200);
        EXPECT_EQ(service.Stop(), 0);
    }
    const std::string strText = FileText(strLog);
    EXPECT_NE(strText.find("/a\\x1b[2J\\x0dforged\\x07"), std::string::npos) << strText;
    EXPECT_NE(strText.find("where=\\xc2\\x9b31m\\x09red"), std::string::npos) << strText;
    for (const char c : strText)
        EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7f)) << "raw byte " << static_cast<int>(static_cast<unsigned char>(c));
}

TEST(ServiceGuard, AnswersSayHowLongToKeepThemAndConditionalRequestsGetNotModified)
{
    CServiceProcess service({"--cache-minutes", "5"});
    ASSERT_GT(service.m_nPort, 0);
    httplib::Client client = service.Client();
    const SearchResults oslo = LoadSearch(client.Get("/search/search?where=oslo")->body);
    ASSERT_FALSE(oslo.empty());
    for (const std::string& strTarget : {"/weather/local/" + CCodePage::Encode(oslo[0].first) + "?dayf=10",
                                        "/weather/local/" + CCodePage::Encode(oslo[0].first) + "?hbhf=72", std::string("/search/search?where=oslo")}) {
        SCOPED_TRACE(strTarget);
        const auto first = client.Get(strTarget.c_str());
        ASSERT_EQ(first->status, 200);
        EXPECT_EQ(first->get_header_value("Cache-Control"), "max-age=300");
        const std::string strTag = first->get_header_value("ETag");
        ASSERT_EQ(strTag.size(), 18u);
        const auto again = client.Get(strTarget.c_str(), {{"If-None-Match", strTag}});
        EXPECT_EQ(again->status, 304);
        EXPECT_EQ(again->body, "");
        EXPECT_EQ(again->get_header_value("ETag"), strTag);
        EXPECT_EQ(client.Get(strTarget.c_str(), {{"If-None-Match", "\"0000000000000000\""}})->status, 200);
    }
}

} // namespace
