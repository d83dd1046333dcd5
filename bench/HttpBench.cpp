// A forecast download as the download dialog runs it: a 1 MiB answer over
// loopback through the asynchronous HTTP layer, read in 1024-byte blocks and
// written to a file block by block (through a buffered stream), next to
// libcurl's own easy fetch of the same URL into a file, which is the floor. Goal: the layer within 1.5 times the
// floor and under 50 ms, and resident memory flat over many downloads.
#include "tests/platform-net/InternetTransfer.h"
#include "tests/platform-net/LoopbackServers.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

const size_t BODY_SIZE = 1024 * 1024;

CHttpServer& Server()
{
    static CHttpServer* s_pServer = []() {
        auto* pServer = new CHttpServer;
        static const std::string s_body(BODY_SIZE, 'w');
        pServer->m_server.Get("/forecast", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(s_body, "text/xml");
        });
        pServer->Start();
        return pServer;
    }();
    return *s_pServer;
}

std::string TargetPath()
{
    return "/tmp/cirrovan-bench-http-" + std::to_string(getpid()) + ".xml";
}

// Bytes written; 0 when the download failed.
size_t LayerDownload(const std::string& url, const std::string& path)
{
    CTransfer transfer;
    if (!transfer.Request(url))
        return 0;
    FILE* pFile = std::fopen(path.c_str(), "wb");
    size_t nTotal = 0;
    bool bComplete = transfer.ReadEach([&](const char* pData, size_t nSize) {
        nTotal += std::fwrite(pData, 1, nSize, pFile);
    });
    std::fclose(pFile);
    return bComplete ? nTotal : 0;
}

size_t CurlDownload(const std::string& url, const std::string& path)
{
    CURL* pEasy = curl_easy_init();
    FILE* pFile = std::fopen(path.c_str(), "wb");
    curl_easy_setopt(pEasy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(pEasy, CURLOPT_WRITEDATA, pFile);
    CURLcode code = curl_easy_perform(pEasy);
    curl_off_t nSize = 0;
    curl_easy_getinfo(pEasy, CURLINFO_SIZE_DOWNLOAD_T, &nSize);
    std::fclose(pFile);
    curl_easy_cleanup(pEasy);
    return code == CURLE_OK ? static_cast<size_t>(nSize) : 0;
}

double Milliseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Both ways in turn, so that both see the same machine. The counters give the
// median of each (the machine is shared, so the means carry other programs'
// pauses) and the ratio of the medians.
void BM_LayerVersusCurlEasy(benchmark::State& state)
{
    const std::string url = Server().Url("/forecast");
    const std::string path = TargetPath();
    std::vector<double> layer;
    std::vector<double> easy;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        size_t nLayer = LayerDownload(url, path);
        auto middle = std::chrono::steady_clock::now();
        size_t nEasy = CurlDownload(url, path);
        auto end = std::chrono::steady_clock::now();
        if (nLayer != BODY_SIZE || nEasy != BODY_SIZE) {
            state.SkipWithError("a download did not receive the whole answer");
            break;
        }
        layer.push_back(Milliseconds(middle - start));
        easy.push_back(Milliseconds(end - middle));
    }
    unlink(path.c_str());
    state.counters["layer_ms"] = Median(layer);
    state.counters["curl_easy_ms"] = Median(easy);
    state.counters["ratio"] = Median(layer) / std::max(Median(easy), 1e-9);
}
BENCHMARK(BM_LayerVersusCurlEasy)->Unit(benchmark::kMillisecond)->MinTime(2.0);

long ResidentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long nPages = 0;
    long nResident = 0;
    statm >> nPages >> nResident;
    return nResident * sysconf(_SC_PAGESIZE) / 1024;
}

// Resident memory after a few downloads (allocators and libcurl warmed up) and
// after many more: the layer keeps nothing of a finished download.
void BM_LayerResidentMemory(benchmark::State& state)
{
    const std::string url = Server().Url("/forecast");
    const std::string path = TargetPath();
    for (int i = 0; i < 20; ++i)
        LayerDownload(url, path);
    long nBefore = ResidentKiB();
    for (auto _ : state) {
        if (LayerDownload(url, path) != BODY_SIZE) {
            state.SkipWithError("a download did not receive the whole answer");
            break;
        }
    }
    long nAfter = ResidentKiB();
    unlink(path.c_str());
    state.counters["rss_before_kib"] = static_cast<double>(nBefore);
    state.counters["rss_after_kib"] = static_cast<double>(nAfter);
    state.counters["rss_growth_kib"] = static_cast<double>(nAfter - nBefore);
}
BENCHMARK(BM_LayerResidentMemory)->Unit(benchmark::kMillisecond)->Iterations(500);

}
