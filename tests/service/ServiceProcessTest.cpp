// The executable as a developer and a test start and stop it.

#include "ServiceProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <thread>

namespace {

TEST(ServiceProcess, HelpTellsOptionsAndRequests)
{
    std::string help;
    EXPECT_EQ(CServiceProcess::Run({"--help"}, help), 0);
    for (const char* pszText : {"--port N", "default 8470", "--host", "--threads", "/search/search?where=",
                                "/weather/local/ID?dayf=10", "/weather/local/ID?hbhf=72", "--source SOURCE",
                                "open-meteo", "auto", "--data-dir DIR", "--forecast-url URL",
                                "CIRROVAN_OPENMETEO_FORECAST_URL", "--geocoding-url URL",
                                "CIRROVAN_OPENMETEO_GEOCODING_URL", "--cache-minutes N", "--source-timeout S",
                                "Weather data by", "name: Open-Meteo"}) {
        EXPECT_NE(help.find(pszText), std::string::npos) << pszText;
    }
}

// The faults and their controls are the tests' alone: the service that ships
// neither offers them nor carries the code that answers them.
TEST(ServiceProcess, ShippedServiceHasNoFaultsOrControl)
{
    std::string help;
    EXPECT_EQ(CServiceProcess::Run({"--help"}, help), 0);
    for (const char* pszText : {"--control", "--fault", "/control/", "stall:MS"})
        EXPECT_EQ(help.find(pszText), std::string::npos) << pszText;
    std::string output;
    EXPECT_EQ(CServiceProcess::Run({"--control"}, output), 2);
    EXPECT_EQ(CServiceProcess::Run({"--fault", "status:503"}, output), 2);

    std::ifstream in(CIRROVAN_SERVICE_EXE, std::ios::binary);
    const std::string strBinary((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(strBinary.size(), 100000u);
    EXPECT_EQ(strBinary.find("/control/"), std::string::npos);
    EXPECT_EQ(strBinary.find("FaultInjector"), std::string::npos);
}

TEST(ServiceProcess, FaultsProgramHelpTellsControlAndFaultKinds)
{
    std::string help;
    EXPECT_EQ(CServiceProcess::Run({"--help"}, help, CIRROVAN_SERVICE_FAULTS_EXE), 0);
    for (const char* pszText : {"--port N", "--fault KIND[:ARG]", "--control", "/control/fault", "/control/requests",
                                "/control/reset", "status:CODE", "delay:MS", "stall:MS", "cut:BYTES",
                                "length-over:N", "length-under:N", "chunked", "no-length", "not-xml", "huge:BYTES",
                                "deep:DEPTH", "close"}) {
        EXPECT_NE(help.find(pszText), std::string::npos) << pszText;
    }
}

TEST(ServiceProcess, BadArgumentsAreRefused)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--port", "http"}, {"--port", "70000"}, {"--port"}, {"--threads", "0"},
        {"--fault", "explode"}, {"--fault", "cut:-3"}, {"--fault"}, {"--listen"}, {"--source", "weather.com"},
        {"--source"}, {"--cache-minutes", "-1"}, {"--source-timeout", "0"}, {"--forecast-url", "file:///etc/passwd"},
    };
    for (const char* pszExecutable : {CIRROVAN_SERVICE_EXE, CIRROVAN_SERVICE_FAULTS_EXE}) {
        for (const auto& args : cases) {
            SCOPED_TRACE(std::string(pszExecutable) + " " + args[0] + (args.size() > 1 ? " " + args[1] : ""));
            std::string output;
            EXPECT_EQ(CServiceProcess::Run(args, output, pszExecutable), 2);
            EXPECT_EQ(output, "");
        }
    }
}

TEST(ServiceProcess, FirstLineIsTheAddressItAnswersOn)
{
    CServiceProcess service;
    EXPECT_EQ(service.m_strFirstLine, "http://127.0.0.1:" + std::to_string(service.m_nPort) + "/");
    ASSERT_GT(service.m_nPort, 0);
    const auto res = service.Client().Get("/");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
}

TEST(ServiceProcess, StopsCleanlyOnSigtermAndSigint)
{
    for (int nSignal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(nSignal);
        CServiceProcess service;
        ASSERT_GT(service.m_nPort, 0);
        EXPECT_EQ(service.Client().Get("/search/search?where=oslo")->status, 200);
        EXPECT_EQ(service.Stop(nSignal), 0);
    }
}

TEST(ServiceProcess, StopsCleanlyWhileAnswersAreUnderWay)
{
    CServiceProcess service;
    ASSERT_GT(service.m_nPort, 0);
    // An idle keep-alive connection, and a request held up by a long delay.
    httplib::Client idle = service.Client();
    idle.set_keep_alive(true);
    EXPECT_EQ(idle.Get("/")->status, 200);
    ASSERT_EQ(service.Client().Post("/control/fault?kind=delay:600000&path=/search")->status, 200);
    std::thread waiting([&] { CRawAnswer::Get(service.m_nPort, "/search/search?where=oslo"); });
    while (service.Client().Get("/control/requests?path=/search/search")->body != "1\n")
        std::this_thread::yield();

    EXPECT_EQ(service.Stop(SIGTERM), 0);
    waiting.join();
}

} // namespace
