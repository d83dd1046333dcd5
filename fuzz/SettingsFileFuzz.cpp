// "settings.dat", read at start-up and written back at once, as the program
// does: the view index stays usable and the file written reads back.
#include "FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzFolder();
    WriteFuzzFile("settings.dat", data, size);
    CSettings settings;
    settings.Load();
    if (settings.m_nCurrentView < 0 || settings.m_nCurrentView > 2)
        __builtin_trap();
    settings.Save();
    CSettings reread;
    if (!reread.Load() || reread.m_preferredStations.GetCount() != settings.m_preferredStations.GetCount())
        __builtin_trap();
    return 0;
}
