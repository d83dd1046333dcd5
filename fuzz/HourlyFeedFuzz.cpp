// The hour-by-hour feed, read from a station's file into the one hourly
// forecast, as a station switch or a finished download reads it.
#include "FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CWeatherData& weather = FuzzData();
    WriteFuzzFile("forecasts/FUZZ0001_h.dat", data, size);
    if (weather.HasHourlyFile(L"FUZZ0001"))
        weather.LoadHourlyForecast(L"FUZZ0001");
    return 0;
}
