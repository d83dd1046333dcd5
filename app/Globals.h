#pragma once

#include "model/WeatherData.h"
#include "net/LogFile.h"

// The process-wide objects, built before main in the order below and destroyed
// in the reverse order.
extern CWeatherData theWeatherData;   // the data: folder, stations, forecasts, settings
extern CLogFile theLog;               // the diagnostic log, "log.txt"
// The application object, with the main window, exists in the program only
// (app/CirrovanApp.h); the libraries and their tests have the first two.
