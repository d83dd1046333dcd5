// A forecast download as the download dialog runs it: a 1 MiB answer over
// loopback through the asynchronous HTTP layer, read in 1024-byte blocks and
// written to a file block by block, next to libcurl's own easy fetch of the
// same URL into a file, which is the floor. Both write through a stream with
// the download file's 64 KiB buffer, so that the ratio is the layer's alone.
// Goal: the layer within 1.5 times the floor and under 50 ms, and resident
// memory flat over many downloads.
#include "testing/InternetTransfer.h"
#include "testing/LoopbackServers.h"
#include "TransferBench.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

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

// Bytes written; 0 when the download failed. The reads that had to wait for
// the network are added to the count.
size_t LayerDownload(const std::string& url, const std::string& path, int* pnPendingReads = nullptr)
{
    CTransfer transfer;
    if (!transfer.Request(url))
        return 0;
    std::vector<char> buffer(DOWNLOAD_FILE_BUFFER);
    FILE* pFile = std::fopen(path.c_str(), "wb");
    setvbuf(pFile, buffer.data(), _IOFBF, buffer.size());
    size_t nTotal = 0;
    bool bComplete = transfer.ReadEach([&](const char* pData, size_t nSize) {
        nTotal += std::fwrite(pData, 1, nSize, pFile);
    });
    std::fclose(pFile);
    if (pnPendingReads)
        *pnPendingReads += transfer.m_nPendingReads;
    return bComplete ? nTotal : 0;
}

// Both ways in turn, each first as often as the other, so that both see the
// same machine. The counters give the median of each and the ratio of the
// medians; each file is removed once the clock has stopped.
void BM_LayerVersusCurlEasy(benchmark::State& state)
{
    const std::string url = Server().Url("/forecast");
    const std::string path = TargetPath();
    TRANSFERRUN layer;
    TRANSFERRUN easy;
    std::vector<double> pendingReads;
    bool bLayerFirst = true;
    for (auto _ : state) {
        int nPendingReads = 0;
        bool bWhole = true;
        for (int i = 0; i < 2; ++i) {
            if (bLayerFirst == (i == 0))
                bWhole &= layer.Time(BODY_SIZE, [&]() { return LayerDownload(url, path, &nPendingReads); });
            else
                bWhole &= easy.Time(BODY_SIZE, [&]() { return CurlDownload(url, path, DOWNLOAD_FILE_BUFFER); });
            unlink(path.c_str());
        }
        bLayerFirst = !bLayerFirst;
        pendingReads.push_back(nPendingReads);
        if (!bWhole) {
            state.SkipWithError("a download did not receive the whole answer");
            break;
        }
    }
    state.counters["layer_ms"] = Median(layer.ms);
    state.counters["curl_easy_ms"] = Median(easy.ms);
    state.counters["ratio"] = Median(layer.ms) / std::max(Median(easy.ms), 1e-9);
    state.counters["pending_reads"] = Median(pendingReads);
    state.counters["layer_switches"] = Median(layer.switches);
    state.counters["curl_easy_switches"] = Median(easy.switches);
}
BENCHMARK(BM_LayerVersusCurlEasy)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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
        unlink(path.c_str());
    }
    long nAfter = ResidentKiB();
    state.counters["rss_before_kib"] = static_cast<double>(nBefore);
    state.counters["rss_after_kib"] = static_cast<double>(nAfter);
    state.counters["rss_growth_kib"] = static_cast<double>(nAfter - nBefore);
}
BENCHMARK(BM_LayerResidentMemory)->Unit(benchmark::kMillisecond)->Iterations(500);

}
