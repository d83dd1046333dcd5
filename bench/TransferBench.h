#pragma once

// What the transfer benchmarks share: libcurl's own fetch into a file, which is
// their floor, and the figures they report (medians, because the machine is
// shared and the means carry other programs' pauses).

#include <curl/curl.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

// The size of the download file's stream buffer, for the floor that writes the
// same way.
const size_t DOWNLOAD_FILE_BUFFER = 64 * 1024;

// libcurl's easy fetch into a new file, through a stream with a buffer of that
// size (0: the stream's default, so each block libcurl hands over is one write).
// Bytes received; 0 on failure. The file stays, for the caller to remove once
// the clock has stopped.
inline size_t CurlDownload(const std::string& url, const std::string& path, size_t nBuffer = 0)
{
    std::vector<char> buffer(nBuffer);
    CURL* pEasy = curl_easy_init();
    FILE* pFile = std::fopen(path.c_str(), "wb");
    if (nBuffer)
        setvbuf(pFile, buffer.data(), _IOFBF, buffer.size());
    curl_easy_setopt(pEasy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(pEasy, CURLOPT_WRITEDATA, pFile);
    CURLcode code = curl_easy_perform(pEasy);
    curl_off_t nSize = 0;
    curl_easy_getinfo(pEasy, CURLINFO_SIZE_DOWNLOAD_T, &nSize);
    std::fclose(pFile);
    curl_easy_cleanup(pEasy);
    return code == CURLE_OK ? static_cast<size_t>(nSize) : 0;
}

inline double Milliseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

inline double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

inline long ResidentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long nPages = 0;
    long nResident = 0;
    statm >> nPages >> nResident;
    return nResident * sysconf(_SC_PAGESIZE) / 1024;
}

// Times the process's threads (the servers' included) have given up the
// processor so far: each hand-over between threads costs at least one.
inline double ContextSwitches()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_nvcsw + usage.ru_nivcsw);
}

// One timed run of a way to download: its time, and the context switches it cost.
struct TRANSFERRUN
{
    std::vector<double> ms;
    std::vector<double> switches;

    // Runs the download and records it; false when it did not get nBytes.
    template <typename F>
    bool Time(size_t nBytes, F download)
    {
        double nSwitches = ContextSwitches();
        auto start = std::chrono::steady_clock::now();
        size_t nGot = download();
        auto end = std::chrono::steady_clock::now();
        ms.push_back(Milliseconds(end - start));
        switches.push_back(ContextSwitches() - nSwitches);
        return nGot == nBytes;
    }
};
