// A forecast download through the download job's own transfer: a 1 MiB
// answer over loopback, received by TransferUrl in 1024-byte blocks into the
// temporary file beside the target (and into memory, for the one parse), next to libcurl's own easy fetch of the
// same URL into a file, which is the floor. Goal: within 1.5 times the floor
// and under 50 ms. Neither side syncs its file to the disk: the commit that
// replaces the target (and syncs it first) is timed on its own. Then the whole
// dialog, run after run (connection, worker thread, transfer, the one parse
// that checks the answer and is then read into the store, commit): its time,
// and resident memory stays flat.
#include "model/WeatherData.h"
#include "net/DlgDownload.h"
#include "net/DownloadFile.h"
#include "net/DownloadJob.h"
#include "net/DownloadProgress.h"
#include "log/LogFile.h"
#include "platform/CodePage.h"
#include "res/AppResources.h"
#include "testing/LoopbackServers.h"
#include "TransferBench.h"

#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const size_t BODY_SIZE = 1024 * 1024;

// Qt starts with the first dialog object: on its offscreen platform here, as in the tests.
const bool s_bOffscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;
const wchar_t* const STATION = L"BNCH0001";

// A daily feed of exactly BODY_SIZE bytes that the whole dialog accepts: the
// head of a real answer, days of one as far as half of it (as many nodes as a
// parser meets in real answers of that size), then a comment up to the size.
const std::string& Body()
{
    static const std::string s_body = []() {
        const std::string head = "<?xml version=\"1.0\"?>\n<weather ver=\"2.0\"><loc id=\"BNCH0001\"><dnam>Bench</dnam>"
                                 "<tm>1:56 PM</tm><zone>-5</zone></loc>\n<dayf><lsup>12/10/26 1:00 PM EST</lsup>\n";
        const std::string day = "<day d=\"0\" t=\"Thursday\" dt=\"Dec 10\"><hi>44</hi><low>32</low>"
                                "<sunr>7:04 AM</sunr><suns>4:29 PM</suns>"
                                "<part p=\"d\"><icon>28</icon><t>x</t><wind><s>8</s><gust>N/A</gust><d>200</d>"
                                "<t>W</t></wind><ppcp>20</ppcp></part>"
                                "<part p=\"n\"><icon>27</icon><t>x</t><wind><s>9</s><gust>N/A</gust><d>250</d>"
                                "<t>W</t></wind><ppcp>30</ppcp></part></day>\n";
        const std::string tail = "--></dayf></weather>\n";
        std::string body = head;
        while (body.size() + day.size() < BODY_SIZE / 2)
            body += day;
        body += "<!--";
        return body + std::string(BODY_SIZE - body.size() - tail.size(), 'w') + tail;
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
    // Never destroyed: the handler that removes the folder at exit still reads it.
    static const std::string& s_folder = *[]() {
        char buffer[] = "/tmp/cirrovan-bench-download-XXXXXX";
        if (!mkdtemp(buffer))
            return new std::string("/tmp");
        // A folder of its own is removed with the program, so that runs do not pile up.
        std::atexit([]() { std::filesystem::remove_all(Folder()); });
        mkdir((std::string(buffer) + "/forecasts").c_str(), 0777);
        return new std::string(buffer);
    }();
    return s_folder;
}

std::wstring TargetPath()
{
    return CCodePage::Decode(Folder() + "/forecasts/BNCH0001_d.dat");
}

// Request-complete notices, to count the reads that had to wait for the network.
std::atomic<int> g_nCompletions{0};

void CountingStatus(HINTERNET hInternet, DWORD_PTR dwContext, DWORD dwStatus, void* pInfo, DWORD dwLength)
{
    if (dwStatus == INTERNET_STATUS_REQUEST_COMPLETE)
        ++g_nCompletions;
    CDownloadJob::OnInternetStatus(hInternet, dwContext, dwStatus, pInfo, dwLength);
}

// A job's progress with nobody to show it to.
class CUnseenProgress : public CDownloadProgress
{
public:
    void ShowStatus(const std::wstring&) override {}
    void ShowInternetStatus(const std::wstring&) override {}
    void ShowRange(int) override {}
    void ShowPosition(int) override {}
    void Finished() override {}
};

// The worker's part of a download without the dialog on the screen: open the
// layer, transfer into the temporary file, close. Bytes received; 0 on failure.
// The file stays for the caller to discard once the clock has stopped.
size_t JobTransfer(CDownloadJob& job, const std::wstring& strURL)
{
    job.m_file.m_strTarget = TargetPath();
    HINTERNET hOpen = InternetOpenW(L"anonymous", INTERNET_OPEN_TYPE_DIRECT, L"", nullptr, INTERNET_FLAG_ASYNC);
    InternetSetStatusCallbackW(hOpen, &CountingStatus);
    bool bOk = job.TransferUrl(hOpen, strURL);
    InternetSetStatusCallbackW(hOpen, nullptr);
    InternetCloseHandle(hOpen);
    struct stat st = {};
    return bOk && stat(CCodePage::Encode(job.m_file.m_strTemp).c_str(), &st) == 0 ? static_cast<size_t>(st.st_size)
                                                                                   : 0;
}

// The three ways in turn, each first as often as the others, so that all see the
// same machine; the counters give the median of each and the ratios of the
// medians. The floor is libcurl's fetch into a file as a program writes one by
// default: each block libcurl hands over (16 KiB) is one write. The download
// file gathers its blocks into writes of 64 KiB, which cost far less on most
// file systems, so libcurl through the same 64 KiB buffer is also timed: the
// second ratio is the transfer's own cost over libcurl's, like for like.
void BM_TransferUrlVersusCurlEasy(benchmark::State& state)
{
    const std::string url = Server().Url("/weather/local/BNCH0001?dayf=10");
    const std::wstring strURL = CCodePage::Decode(url) + L" ";
    const std::string curlPath = Folder() + "/curl.dat";
    CLogFile log(nullptr);
    CUnseenProgress progress;
    CDownloadJob job(log, progress);
    // Resident memory once the threads' allocator arenas and libcurl are warmed up.
    for (int i = 0; i < 20; ++i) {
        JobTransfer(job, strURL);
        job.m_file.Discard();
    }
    long nBefore = ResidentKiB();
    TRANSFERRUN transfer;
    TRANSFERRUN easy;
    TRANSFERRUN easyBuffered;
    std::vector<double> pendingReads;
    int nTurn = 0;
    for (auto _ : state) {
        bool bWhole = true;
        for (int i = 0; i < 3; ++i) {
            switch ((nTurn + i) % 3) {
            case 0:
                g_nCompletions = 0;
                bWhole &= transfer.Time(BODY_SIZE, [&]() { return JobTransfer(job, strURL); });
                job.m_file.Discard();
                pendingReads.push_back(g_nCompletions - 1);
                break;
            case 1:
                bWhole &= easy.Time(BODY_SIZE, [&]() { return CurlDownload(url, curlPath); });
                unlink(curlPath.c_str());
                break;
            case 2:
                bWhole &= easyBuffered.Time(BODY_SIZE, [&]() { return CurlDownload(url, curlPath, DOWNLOAD_FILE_BUFFER); });
                unlink(curlPath.c_str());
                break;
            }
        }
        ++nTurn;
        if (!bWhole) {
            state.SkipWithError("a download did not receive the whole answer");
            break;
        }
    }
    long nAfter = ResidentKiB();
    state.counters["transfer_ms"] = Median(transfer.ms);
    state.counters["curl_easy_ms"] = Median(easy.ms);
    state.counters["ratio"] = Median(transfer.ms) / std::max(Median(easy.ms), 1e-9);
    state.counters["curl_easy_64k_ms"] = Median(easyBuffered.ms);
    state.counters["ratio_64k"] = Median(transfer.ms) / std::max(Median(easyBuffered.ms), 1e-9);
    state.counters["pending_reads"] = Median(pendingReads);
    state.counters["transfer_switches"] = Median(transfer.switches);
    state.counters["curl_easy_switches"] = Median(easy.switches);
    state.counters["rss_before_kib"] = static_cast<double>(nBefore);
    state.counters["rss_after_kib"] = static_cast<double>(nAfter);
}
BENCHMARK(BM_TransferUrlVersusCurlEasy)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// What the download adds after the transfer when it keeps the answer: the
// temporary file synced to the disk and renamed over the target, so that a crash
// never leaves half a forecast. Not part of the transfer's ratio, as libcurl's
// side writes its file without syncing it.
void BM_CommitAfterTransfer(benchmark::State& state)
{
    const std::string block(1024, 'w');
    std::vector<double> commits;
    for (auto _ : state) {
        state.PauseTiming();
        CDownloadFile file(TargetPath());
        bool bOk = file.Create();
        for (size_t n = 0; n < BODY_SIZE; n += block.size())
            bOk &= file.Write(block.data(), block.size());
        bOk &= file.Flush();
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        bOk &= file.Commit();
        commits.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
        if (!bOk) {
            state.SkipWithError("the commit failed");
            break;
        }
    }
    unlink(CCodePage::Encode(TargetPath()).c_str());
    state.counters["commit_ms"] = Median(commits);
}
BENCHMARK(BM_CommitAfterTransfer)->Unit(benchmark::kMillisecond)->Iterations(50);

// The whole dialog as a caller runs it, on Qt's offscreen platform: after a
// few runs (Qt, the allocators and libcurl warmed up) and after many more.
void BM_DownloadDialogResidentMemory(benchmark::State& state)
{
    const std::string host = "127.0.0.1:" + std::to_string(Server().m_nPort);
    setenv("CIRROVAN_FEED_HOST", host.c_str(), 1);
    unsetenv("http_proxy");
    unsetenv("HTTP_PROXY");
    CAppResources::Install();
    CWeatherData data;
    data.m_strFolder = CCodePage::Decode(Folder());
    CLogFile log(nullptr);
    auto run = [&]() {
        CDlgDownload dlg(data, log);
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
