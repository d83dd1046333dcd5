#include "app/Globals.h"

#ifdef CIRROVAN_PROGRAM
#include "app/CirrovanApp.h"
#endif

// One translation unit, so the order of definition is the order of
// construction: the data object finds the data folder and reads the stations
// before the log opens, and both exist before the application object.
CWeatherData theWeatherData;
CLogFile theLog(L"log.txt");
#ifdef CIRROVAN_PROGRAM
// Only the program's own copy of this file defines it (the libraries' copy is
// then never linked in: its two objects are already defined here).
CCirrovanApp theApp;
#endif
