// A forecast download through the download dialog's own transfer: a 1 MiB
// answer over loopback, received by TransferUrl in 1024-byte blocks into the
// temporary file beside the target, next to libcurl's own easy fetch of the
// same URL into a file, which is the floor. Goal: within 1.5 times the floor
// and under 50 ms. Then the whole dialog, run after run (connection, worker
// thread, transfer, the check that the store can read the answer, commit,
// the store's reading): resident memory stays flat.
#include "app/Globals.h"
#include "net/DlgDownload.h"
#include "net/DownloadFile.h"
#include "platform/CodePage.h"
#include "res/AppResources.h"
#include "tests/platform-net/LoopbackServers.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

const size_t BODY_SIZE = 1024 * 1024;

// Qt starts with the first dialog object: on its offscreen platform here, as in the tests.
const bool s_bOffscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;
const wchar_t* const STATION = L"BNCH0001";

// A well-formed document of exactly BODY_SIZE bytes, so that the whole dialog
// accepts it too.
const std::string& Body()
{
    static const std::string s_body = []() {
        const std::string head = "<?xml version=\"1.0\"?>\n<weather><!--";
        const std::string tail = "--></weather>\n";
        return head + std::string(BODY_SIZE - head.size() - tail.size(), 'w') + tail;
    }();
    return s_body;
}

CHttpServer& Server()
{
    static CHttpServer* s_pServer = []() {
        auto* pServer = new CHttpServer;
        pServer->m_server.Get(R"(/weather/local/.*)", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(Body(), "text/xml");
        });
        pServer->Start();
        return pServer;
    }();
    return *s_pServer;
}

std::string Folder()
{
    static const std::string s_folder = []() {
        char buffer[] = "/tmp/cirrovan-bench-download-XXXXXX";
        std::string folder = mkdtemp(buffer) ? buffer : "/tmp";
        mkdir((folder + "/forecasts").c_str(), 0777);
        return folder;
    }();
    return s_folder;
}

std::wstring TargetPath()
{
    return CCodePage::Decode(Folder() + "/forecasts/BNCH0001_d.dat");
}

// The worker's part of a download without the dialog on the screen: open the
// layer, transfer into the temporary file, close. Bytes received; 0 on failure.
size_t DialogTransfer(CDlgDownload& dlg, const std::wstring& strURL)
{
    HINTERNET hOpen = InternetOpenW(L"anonymous", INTERNET_OPEN_TYPE_DIRECT, L"", nullptr, INTERNET_FLAG_ASYNC);
    InternetSetStatusCallbackW(hOpen, &CDlgDownload::OnInternetStatus);
    CDownloadFile file(TargetPath());
    bool bOk = dlg.TransferUrl(hOpen, strURL, file);
    struct stat st = {};
    size_t nBytes = bOk && stat(CCodePage::Encode(file.m_strTemp).c_str(), &st) == 0 ? static_cast<size_t>(st.st_size) : 0;
    file.Discard();
    InternetSetStatusCallbackW(hOpen, nullptr);
    InternetCloseHandle(hOpen);
    return nBytes;
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
    unlink(path.c_str());
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

long ResidentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long nPages = 0;
    long nResident = 0;
    statm >> nPages >> nResident;
    return nResident * sysconf(_SC_PAGESIZE) / 1024;
}

// Both ways in turn, so that both see the same machine; the counters give the
// median of each (the machine is shared) and the ratio of the medians.
void BM_TransferUrlVersusCurlEasy(benchmark::State& state)
{
    const std::string url = Server().Url("/weather/local/BNCH0001?dayf=10");
    const std::wstring strURL = CCodePage::Decode(url) + L" ";
    const std::string curlPath = Folder() + "/curl.dat";
    CDlgDownload dlg;
    dlg.m_hEventCancel = CreateEvent(false, false);
    dlg.m_hEventRequest = CreateEvent(false, false);
    std::vector<double> transfer;
    std::vector<double> easy;
    // Resident memory once the threads' allocator arenas and libcurl are warmed up.
    for (int i = 0; i < 20; ++i)
        DialogTransfer(dlg, strURL);
    long nBefore = ResidentKiB();
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        size_t nTransfer = DialogTransfer(dlg, strURL);
        auto middle = std::chrono::steady_clock::now();
        size_t nEasy = CurlDownload(url, curlPath);
        auto end = std::chrono::steady_clock::now();
        if (nTransfer != BODY_SIZE || nEasy != BODY_SIZE) {
            state.SkipWithError("a download did not receive the whole answer");
            break;
        }
        transfer.push_back(Milliseconds(middle - start));
        easy.push_back(Milliseconds(end - middle));
    }
    long nAfter = ResidentKiB();
    state.counters["transfer_ms"] = Median(transfer);
    state.counters["curl_easy_ms"] = Median(easy);
    state.counters["ratio"] = Median(transfer) / std::max(Median(easy), 1e-9);
    state.counters["rss_before_kib"] = static_cast<double>(nBefore);
    state.counters["rss_after_kib"] = static_cast<double>(nAfter);
}
BENCHMARK(BM_TransferUrlVersusCurlEasy)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The whole dialog as a caller runs it, on Qt's offscreen platform: after a
// few runs (Qt, the allocators and libcurl warmed up) and after many more.
void BM_DownloadDialogResidentMemory(benchmark::State& state)
{
    const std::string host = "127.0.0.1:" + std::to_string(Server().m_nPort);
    setenv("CIRROVAN_FEED_HOST", host.c_str(), 1);
    unsetenv("http_proxy");
    unsetenv("HTTP_PROXY");
    CAppResources::Install();
    theWeatherData.m_strFolder = CCodePage::Decode(Folder());
    auto run = []() {
        CDlgDownload dlg;
        dlg.m_strTitle = L"Download";
        dlg.m_strMessage = L"Search daily forecasts for the bench";
        dlg.m_nKind = DOWNLOAD_DAILY;
        dlg.m_strArgument = STATION;
        return dlg.DoModal();
    };
    for (int i = 0; i < 20; ++i)
        run();
    long nBefore = ResidentKiB();
    std::vector<double> runs;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (run() != 1) {
            state.SkipWithError("the download failed");
            break;
        }
        runs.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
    }
    long nAfter = ResidentKiB();
    unlink(CCodePage::Encode(TargetPath()).c_str());
    state.counters["dialog_ms"] = Median(runs);
    state.counters["rss_before_kib"] = static_cast<double>(nBefore);
    state.counters["rss_after_kib"] = static_cast<double>(nAfter);
    state.counters["rss_growth_kib"] = static_cast<double>(nAfter - nBefore);
}
BENCHMARK(BM_DownloadDialogResidentMemory)->Unit(benchmark::kMillisecond)->Iterations(300);

}
