// The daily feed, read from a station's file into the one daily forecast, as a
// station switch or a finished download reads it.
#include "FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CWeatherData& weather = FuzzData();
    WriteFuzzFile("forecasts/FUZZ0001_d.dat", data, size);
    if (weather.HasDailyFile(L"FUZZ0001"))
        weather.LoadDailyForecast(L"FUZZ0001");
    return 0;
}
