#pragma once

#include "service/EmbeddedService.h"

#include <condition_variable>
#include <mutex>
#include <string>

// The forecast service inside the program, so that it works on its own once
// installed: started unless the environment names a service's host
// (CIRROVAN_FEED_HOST or CIRROVAN_SEARCH_HOST), which means an external one.
// CIRROVAN_SOURCE chooses its source: "live" (Open-Meteo, the default), "demo"
// (made-up weather, and labelled so wherever the program names its service),
// or "auto" (live when Open-Meteo answers at start, demo otherwise).
class CForecastBridge
{
public:
    static constexpr const wchar_t* LIVE_NAME = L"Open-Meteo";
    static constexpr const wchar_t* LIVE_HOME = L"https://open-meteo.com/";
    static constexpr const wchar_t* DEMO_NAME = L"Cirrovan demo";

    // Stops the service; the program's requests then go where the
    // environment or the defaults say.
    ~CForecastBridge();

    // Starts the service with its files in the data folder, unless a host is
    // configured; says on standard error where it answers and, once it has
    // chosen, which source. With auto, returns once the source is chosen.
    // False when it was wanted and could not start.
    bool Start(const std::wstring& strDataFolder);

    // "127.0.0.1:<port>"
    std::wstring Host() const;

    CEmbeddedService m_service;

private:
    // Points the program at the service under the name of its source.
    void UseSource(bool bLive) const;

    // Whether the service has named its source, which the name for the
    // source asked for must not then replace.
    std::mutex m_chosenLock;
    std::condition_variable m_chosen;
    bool m_bChosen = false;
};
