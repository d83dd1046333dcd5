#pragma once

// A data folder of the fuzz run's own, made once per process: the loaders read
// their files from where the executable lies, so it is pointed there. It lies
// in memory where it can, since every run writes a file and a save flushes it.

#include "model/WeatherData.h"
#include "platform/CodePage.h"
#include "platform/ExePath.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>

// The program's executable, taken to be in the run's folder.
class CFuzzExePath : public IExePathSource
{
public:
    explicit CFuzzExePath(const std::string& strFolder) : m_strPath(CCodePage::Decode(strFolder + "/cirrovan")) {}
    std::wstring Path() const override { return m_strPath; }

private:
    std::wstring m_strPath;
};

inline const std::string& FuzzFolder()
{
    // Never destroyed, so that the clean-up at exit still finds it.
    static const std::string* s_pFolder = [] {
        char inMemory[] = "/dev/shm/cirrovan-fuzz-XXXXXX";
        char onDisk[] = "/tmp/cirrovan-fuzz-XXXXXX";
        const char* pszMade = mkdtemp(inMemory) ? inMemory : mkdtemp(onDisk);
        auto* pFolder = new std::string(pszMade ? pszMade : "/tmp");
        mkdir((*pFolder + "/forecasts").c_str(), 0777);
        CExePath::Use(new CFuzzExePath(*pFolder));
        if (pszMade) {
            std::atexit([] {
                std::error_code ec;
                std::filesystem::remove_all(FuzzFolder(), ec);
            });
        }
        return pFolder;
    }();
    return *s_pFolder;
}

// The one data object of the run, built on the folder above, as the program
// keeps one for its life.
inline CWeatherData& FuzzData()
{
    static CWeatherData* s_pData = [] {
        FuzzFolder();
        return new CWeatherData;
    }();
    return *s_pData;
}

// Writes the input as the named file of the folder.
inline void WriteFuzzFile(const char* pszName, const uint8_t* data, size_t size)
{
    std::string path = FuzzFolder() + "/" + pszName;
    if (FILE* pFile = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, pFile);
        std::fclose(pFile);
    }
}
