// "stations.dat", read as at start-up and written back as after any change:
// what was read must read back the same.
#include "FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CWeatherData& weather = FuzzData();
    WriteFuzzFile("stations.dat", data, size);
    weather.LoadStations();
    std::vector<std::wstring> read;
    for (int i = 0; i < weather.m_stations.GetCount(); ++i)
        read.push_back(weather.m_stations.GetAt(i)->m_strID + L'\n' + weather.m_stations.GetAt(i)->m_strName);
    weather.SaveStations();
    weather.LoadStations();
    if (weather.m_stations.GetCount() != static_cast<int>(read.size()))
        __builtin_trap();
    return 0;
}
