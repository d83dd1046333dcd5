#include "app/CirrovanApp.h"
#include "app/ForecastBridge.h"
#include "model/WeatherData.h"
#include "log/LogFile.h"
#include "platform/ui/WinApp.h"

// The process-wide objects, here alone and in one translation unit, so that the
// order of definition is the order of construction: the data object finds the
// data folder and reads the stations before the log opens, and both exist
// before the application object, which hands them on by reference. They are
// destroyed in the reverse order.
CWeatherData theWeatherData;   // the data: folder, stations, forecasts, settings
CLogFile theLog(L"log.txt");   // the diagnostic log, "log.txt"
CCirrovanApp theApp(theWeatherData, theLog);

// The forecast service starts before the framework runs the application's
// start-up routine, and stops, leaving nothing listening, once it has ended.
int main()
{
    CForecastBridge bridge;
    bridge.Start(theWeatherData.m_strFolder);
    return AfxWinMain();
}
