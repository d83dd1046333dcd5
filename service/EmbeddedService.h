#pragma once

#include "service/ServiceOptions.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class CForecastServer;
class CSourceChoice;

// The forecast service inside another program: the same server and sources
// on a loopback port of its own, without the control endpoints of the tests
// (the server keeps them off unless told).
// The port is taken at once, so the program knows its address from the start;
// the places are read and the source opened at the first request, or for auto
// (whose probe of Open-Meteo may take seconds) on the service's own thread at
// once, while requests wait in the listen queue.
class CEmbeddedService
{
public:
    CEmbeddedService();
    ~CEmbeddedService();   // stops it

    // Takes a free port on 127.0.0.1 and starts the thread; false with a
    // reason when no port can be had. m_nPort holds the port then.
    bool Start(const CServiceOptions& options, std::string& strError);
    // Ends serving and joins the thread; nothing listens afterwards.
    void Stop();

    int m_nPort = -1;
    // Called on a thread of the service once the source is chosen: whether it
    // is the live one, and the line that says which and why. Set before Start.
    std::function<void(bool bLive, const std::string& strLine)> m_onChosen;

private:
    void Serve(CServiceOptions::Source source);

    std::unique_ptr<CSourceChoice> m_pChoice;
    std::unique_ptr<CForecastServer> m_pServer;
    std::thread m_thread;
    std::atomic<bool> m_bStopping {false};
    std::atomic<bool> m_bDone {true};
};
