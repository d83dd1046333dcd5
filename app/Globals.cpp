#include "app/Globals.h"

// One translation unit, so the order of definition is the order of
// construction: the data object finds the data folder and reads the stations
// before the log opens, and both exist before the application object.
CWeatherData theWeatherData;
CLogFile theLog(L"log.txt");
// The application object (CCirrovanApp theApp;) is defined here, after the log,
// when the main window arrives.
