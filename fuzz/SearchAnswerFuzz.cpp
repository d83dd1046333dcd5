// The search answer, as stored by the download and read into the results.
#include "FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CWeatherData& weather = FuzzData();
    WriteFuzzFile("search_stations.dat", data, size);
    weather.LoadSearchResults();
    // A result's ID names files only when that is safe.
    for (int i = 0; i < weather.m_searchResults.GetCount(); ++i) {
        const std::wstring& strID = weather.m_searchResults.GetAt(i)->m_strID;
        if (!weather.DailyFile(strID).empty() && !CWeatherData::IsSafeFileID(strID))
            __builtin_trap();
    }
    return 0;
}
