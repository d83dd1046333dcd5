#pragma once

// A stand-in for Open-Meteo's two APIs on a loopback port, in the test's own
// process: it serves the recorded answers (the forecast moved to the days of
// now, so that it is today's), counts the requests, keeps what the last one
// asked, and fails in the ways a real source may when told to.

#include "../TempFolder.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>

class COpenMeteoStandIn
{
public:
    enum Mode {
        ANSWER,         // the recorded answers
        ERROR_STATUS,   // HTTP 400 with Open-Meteo's error document
        NOT_JSON,       // 200 with a page of HTML
        NO_HOURS,       // 200 with a forecast of nothing
        HUGE,           // 200 with a well-formed answer of 5 MiB
        SLOW,           // no answer until told otherwise
    };

    COpenMeteoStandIn()
    {
        m_server.Get("/v1/search", [this](const httplib::Request& req, httplib::Response& res) {
            Serve(req, res, m_nSearches, ReadFixture("service/fixtures/openmeteo/geocoding_sydney.json"));
        });
        m_server.Get("/v1/forecast", [this](const httplib::Request& req, httplib::Response& res) {
            Serve(req, res, m_nForecasts, Today(ReadFixture("service/fixtures/openmeteo/forecast_sydney.json")));
        });
        m_nPort = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::yield();
    }
    ~COpenMeteoStandIn() { Stop(); }
    COpenMeteoStandIn(const COpenMeteoStandIn&) = delete;
    COpenMeteoStandIn& operator=(const COpenMeteoStandIn&) = delete;

    // Stops answering: the port then refuses connections.
    void Stop()
    {
        SetMode(ANSWER);
        m_server.stop();
        if (m_thread.joinable())
            m_thread.join();
    }

    void SetMode(Mode mode)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_mode = mode;
        m_changed.notify_all();
    }

    std::string ForecastURL() const { return "http://127.0.0.1:" + std::to_string(m_nPort) + "/v1/forecast"; }
    std::string GeocodingURL() const { return "http://127.0.0.1:" + std::to_string(m_nPort) + "/v1/search"; }

    // The last request's query parameter, and its User-Agent.
    std::string LastParam(const std::string& strName) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_params.find(strName);
        return it != m_params.end() ? it->second : std::string();
    }
    std::string LastUserAgent() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_strUserAgent;
    }

    std::atomic<int> m_nSearches {0};
    std::atomic<int> m_nForecasts {0};

private:
    void Serve(const httplib::Request& req, httplib::Response& res, std::atomic<int>& nCount, const std::string& strAnswer)
    {
        ++nCount;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_params = req.params;
        m_strUserAgent = req.get_header_value("User-Agent");
        switch (m_mode) {
        case ANSWER:
            res.set_content(strAnswer, "application/json");
            return;
        case ERROR_STATUS:
            res.status = 400;
            res.set_content("{\"error\":true,\"reason\":\"Cannot initialize WeatherVariable from invalid String value\"}",
                            "application/json");
            return;
        case NOT_JSON:
            res.set_content("<html><body><h1>502 Bad Gateway</h1></body></html>", "text/html");
            return;
        case NO_HOURS:
            res.set_content("{\"utc_offset_seconds\":0,\"timezone\":\"GMT\",\"hourly\":{},\"daily\":{}}",
                            "application/json");
            return;
        case HUGE:
            res.set_content("{\"padding\":\"" + std::string(5 * 1024 * 1024, 'x') + "\"}", "application/json");
            return;
        case SLOW:
            // Until the test moves on; a minute at most, should it not.
            m_changed.wait_for(lock, std::chrono::seconds(60), [this] { return m_mode != SLOW; });
            res.status = 503;
            return;
        }
    }

    // The recorded forecast moved by whole days so that its first day is the
    // station's today.
    static std::string Today(const std::string& strAnswer)
    {
        nlohmann::json answer = nlohmann::json::parse(strAnswer);
        const int64_t nOffset = answer["utc_offset_seconds"].get<int64_t>();
        const int64_t nFirst = answer["hourly"]["time"][0].get<int64_t>();
        const int64_t nNow = static_cast<int64_t>(std::time(nullptr));
        const int64_t nShift = (nNow + nOffset) / 86400 * 86400 - (nFirst + nOffset) / 86400 * 86400;
        for (nlohmann::json* pTimes : {&answer["hourly"]["time"], &answer["daily"]["time"], &answer["daily"]["sunrise"],
                                       &answer["daily"]["sunset"]}) {
            for (nlohmann::json& time : *pTimes)
                time = time.get<int64_t>() + nShift;
        }
        return answer.dump();
    }

    httplib::Server m_server;
    std::thread m_thread;
    int m_nPort = -1;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    Mode m_mode = ANSWER;
    httplib::Params m_params;
    std::string m_strUserAgent;
};
