#pragma once

#include "net/LogFile.h"
#include "store/WeatherData.h"

// The process-wide objects, built before main in the order below and destroyed
// in the reverse order.
extern CWeatherData theWeatherData;   // the data: folder, stations, forecasts, settings
extern CLogFile theLog;               // the diagnostic log, "log.txt"
// extern CCirrovanApp theApp;        // the application object, with the main window
