#pragma once

#include "platform/ui/WinApp.h"

class CLogFile;
class CWeatherData;

// The application: its start-up routine loads the settings, writes them back at
// once and runs the main window; the program ends when the main window does.
class CCirrovanApp : public CWinApp
{
public:
    // The main window works on the data object and writes to the log.
    CCirrovanApp(CWeatherData& data, CLogFile& log);

    // Returns false: there is no message loop after the main window.
    bool InitInstance() override;

    CWeatherData& m_data;
    CLogFile& m_log;
};
