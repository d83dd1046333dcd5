// Start-up as the user waits for it: from the program's process starting to the
// end of the first paint of its chart, for a station with both forecast files,
// and the resident memory at that moment, at zoom 1 and 2. Every iteration is a new process: a
// copy of this program in a data folder of its own, which in its child role is
// the program itself (the data object, the log and the application object of
// app/, built as the program builds them, and its main window) with a probe on
// the chart's first paint.
//
//     bench_startup                 the benchmark
//     bench_startup --child         the program, as the benchmark starts it

#include "app/CirrovanApp.h"
#include "app/ForecastBridge.h"
#include "chart/view/WndGraph.h"
#include "model/WeatherData.h"
#include "log/LogFile.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/WinApp.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

long ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

int RunChild()
{
    CTestDriver::OnPainted([](CWnd* pWnd) {
        if (!dynamic_cast<CWndGraph*>(pWnd))
            return;
        std::printf("%ld\n", ResidentKilobytes());
        std::fflush(stdout);
        _exit(0);
    });
    CWeatherData data;
    CLogFile log(L"log.txt");
    // The service inside the program, as the program starts it when no host is set.
    CForecastBridge bridge;
    bridge.Start(data.m_strFolder);
    CCirrovanApp app(data, log);
    return AfxWinMain();
}

std::string CopyFile(const std::string& from, const std::string& to)
{
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    return to;
}

// A data folder with New York and both its forecasts, and this program in it.
std::string PrepareFolder()
{
    char buffer[] = "/tmp/cirrovan-startup-XXXXXX";
    const std::string folder = mkdtemp(buffer) ? buffer : "";
    std::filesystem::create_directory(folder + "/forecasts");
    const std::string data = CIRROVAN_BENCH_DATA;
    CopyFile(data + "/daily.xml", folder + "/forecasts/USNY0996_d.dat");
    CopyFile(data + "/hourly.xml", folder + "/forecasts/USNY0996_h.dat");
    std::ofstream(folder + "/stations.dat") << "<stations><station id=\"USNY0996\">New York, NY</station></stations>";
    std::ofstream(folder + "/settings.dat") << "<Cirrovan><station id=\"USNY0996\">New York, NY</station></Cirrovan>";
    CopyFile("/proc/self/exe", folder + "/cirrovan");
    std::filesystem::permissions(folder + "/cirrovan", std::filesystem::perms::owner_all);
    return folder;
}

void BM_StartUpToFirstChart(benchmark::State& state)
{
    const std::string folder = PrepareFolder();
    const std::string exe = folder + "/cirrovan";
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("CIRROVAN_ZOOM", std::to_string(state.range(0)).c_str(), 1);
    long nKilobytes = 0;
    for (auto _ : state) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            state.SkipWithError("no pipe");
            break;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        char* argv[] = {const_cast<char*>(exe.c_str()), const_cast<char*>("--child"), nullptr};
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = -1;
        const int nSpawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        char line[64] = {};
        const ssize_t n = nSpawned == 0 ? read(pipeEnds[0], line, sizeof line - 1) : -1;
        const auto end = std::chrono::steady_clock::now();
        close(pipeEnds[0]);
        if (pid > 0)
            waitpid(pid, nullptr, 0);
        if (n <= 0) {
            state.SkipWithError("the program painted no chart");
            break;
        }
        nKilobytes = std::atol(line);
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["resident_MB"] = static_cast<double>(nKilobytes) / 1024.0;
    std::filesystem::remove_all(folder);
}
// At zoom 1 and at zoom 2, the desktop's usual.
BENCHMARK(BM_StartUpToFirstChart)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--child") == 0)
        return RunChild();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
