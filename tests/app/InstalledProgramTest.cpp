// The program as a user gets it: installed into a prefix, started by its
// desktop entry's Exec line with a fresh home, no service started and no host
// set, Open-Meteo played by a stand-in through the two variables a mirror
// would use. Then a first run from an empty folder, played by the tour, with
// the same service inside.

#include "InstallInto.h"

#include "../TempFolder.h"
#include "../service/OpenMeteoStandIn.h"
#include "../service/ServiceProcess.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

extern char** environ;

namespace {

// A few seconds are plenty; this only keeps a broken program from hanging the test.
const int kGuardMilliseconds = 60000;

// Every file under the folder with its size and time of change.
std::map<std::string, std::string> Snapshot(const std::string& strFolder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(strFolder)) {
        struct stat info {};
        lstat(entry.path().c_str(), &info);
        files[entry.path().string()] = std::to_string(info.st_size) + "@" + std::to_string(info.st_mtim.tv_sec) +
                                       "." + std::to_string(info.st_mtim.tv_nsec);
    }
    return files;
}

// The environment of a desktop session that knows nothing of Cirrovan: a
// fresh home, no XDG folders, no host; the stand-in for Open-Meteo; and the
// sanitizers' settings of a sanitizer build.
std::vector<std::string> SessionEnvironment(const std::string& strHome, const COpenMeteoStandIn& standIn,
                                            const std::string& strBin)
{
    std::vector<std::string> env = {"HOME=" + strHome, "PATH=" + strBin + ":/usr/bin:/bin",
                                    "QT_QPA_PLATFORM=offscreen",
                                    "CIRROVAN_OPENMETEO_FORECAST_URL=" + standIn.ForecastURL(),
                                    "CIRROVAN_OPENMETEO_GEOCODING_URL=" + standIn.GeocodingURL()};
    for (char** pp = environ; *pp; ++pp) {
        const std::string var = *pp;
        for (const char* pszKept : {"ASAN_OPTIONS=", "UBSAN_OPTIONS=", "TSAN_OPTIONS=", "LSAN_OPTIONS=", "LANG="}) {
            if (var.rfind(pszKept, 0) == 0)
                env.push_back(var);
        }
    }
    return env;
}

// Spawns the program with that environment, its standard error on a pipe.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, int& nStderr)
{
    int ends[2];
    if (pipe(ends) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 2);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& var : env)
        envp.push_back(const_cast<char*>(var.c_str()));
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    nStderr = ends[0];
    return pid;
}

// Reads standard error until a line holds the text; that line, or "".
std::string ReadUntil(int nFd, const std::string& strText, std::string& strAll)
{
    std::string strLine;
    const auto stuck = std::chrono::steady_clock::now() + std::chrono::milliseconds(kGuardMilliseconds);
    while (std::chrono::steady_clock::now() < stuck) {
        pollfd ready {nFd, POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0)
            continue;
        char c;
        if (read(nFd, &c, 1) != 1)
            return "";
        strAll += c;
        if (c != '\n') {
            strLine += c;
            continue;
        }
        if (strLine.find(strText) != std::string::npos)
            return strLine;
        strLine.clear();
    }
    return "";
}

int WaitFor(pid_t pid)
{
    int nStatus = 0;
    while (waitpid(pid, &nStatus, 0) < 0) {
    }
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 128 + WTERMSIG(nStatus);
}

} // namespace

TEST(InstalledProgram, StartsFromItsMenuEntryWithTheServiceInsideAndLeavesNothingListening)
{
    CTempFolder temp;
    const std::string prefix = temp.Path("prefix");
    const std::string home = temp.Path("home");
    std::filesystem::create_directories(home);
    ASSERT_TRUE(InstallInto(prefix));

    // What the desktop's menu runs: the entry's Exec line, found on the PATH.
    std::ifstream entry(prefix + "/share/applications/cirrovan.desktop");
    std::string line;
    std::string exec;
    while (std::getline(entry, line)) {
        if (line.rfind("Exec=", 0) == 0)
            exec = line.substr(5);
    }
    ASSERT_EQ(exec, "cirrovan");
    const std::string program = prefix + "/bin/" + exec;
    ASSERT_TRUE(std::filesystem::exists(program));
    ASSERT_TRUE(std::filesystem::exists(prefix + "/bin/cirrovan-service"));
    // The tests' service with its faults stays in the build folder.
    EXPECT_FALSE(std::filesystem::exists(prefix + "/bin/cirrovan-service-faults"));
    const std::map<std::string, std::string> installed = Snapshot(prefix);

    COpenMeteoStandIn standIn;
    int nStderr = -1;
    const pid_t pid = Spawn({program}, SessionEnvironment(home, standIn, prefix + "/bin"), nStderr);
    ASSERT_GT(pid, 0);
    std::string strErrors;
    const std::string started = ReadUntil(nStderr, "cirrovan: forecast service at http://127.0.0.1:", strErrors);
    ASSERT_FALSE(started.empty()) << strErrors;
    EXPECT_NE(started.find("live forecasts from Open-Meteo"), std::string::npos) << started;
    const int nPort = std::atoi(started.c_str() + started.find("127.0.0.1:") + 10);

    // The program's search, as its "Location to search" sends it.
    const CRawAnswer answer = CRawAnswer::Get(nPort, "/search/search?where=Sydney");
    EXPECT_EQ(answer.Status(), 200);
    EXPECT_NE(answer.Body().find("<loc id="), std::string::npos) << answer.Body();
    EXPECT_EQ(standIn.m_nSearches, 1);

    // The data folder of an installed program, with the service's IDs in it.
    const std::string data = home + "/.local/share/cirrovan";
    const auto stuck = std::chrono::steady_clock::now() + std::chrono::milliseconds(kGuardMilliseconds);
    while (!std::filesystem::exists(data + "/settings.dat") && std::chrono::steady_clock::now() < stuck)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(std::filesystem::exists(data + "/settings.dat"));
    EXPECT_TRUE(std::filesystem::exists(data + "/station-ids.json"));

    kill(pid, SIGTERM);
    WaitFor(pid);
    close(nStderr);
    EXPECT_EQ(CRawAnswer::Get(nPort, "/").Status(), 0) << "something still answers on the service's port";
    EXPECT_EQ(Snapshot(prefix), installed) << "the program wrote into its install prefix";
}

TEST(InstalledProgram, AFirstRunWithTheServiceInsideEndsOnTheChart)
{
    CTempFolder temp;
    const std::string home = temp.Path("home");
    const std::string tour = temp.Path("tour");
    std::filesystem::create_directories(home);
    std::filesystem::create_directories(tour);
    std::filesystem::copy_file(CIRROVAN_TOUR_EXE, tour + "/cirrovan-tour");

    COpenMeteoStandIn standIn;
    int nStderr = -1;
    const pid_t pid = Spawn({tour + "/cirrovan-tour", temp.Path("screens"), "Sydney"},
                            SessionEnvironment(home, standIn, "/usr/local/bin"), nStderr);
    ASSERT_GT(pid, 0);
    std::string strErrors;
    ReadUntil(nStderr, "\x01", strErrors);   // everything, up to its end
    close(nStderr);
    EXPECT_EQ(WaitFor(pid), 0) << strErrors;
    EXPECT_GE(standIn.m_nSearches, 1);
    EXPECT_GE(standIn.m_nForecasts, 1);
    EXPECT_TRUE(std::filesystem::exists(temp.Path("screens/08-hourly-portrait.png")));
    EXPECT_TRUE(std::filesystem::exists(tour + "/station-ids.json"));
    size_t nForecasts = 0;
    for (const auto& file : std::filesystem::directory_iterator(tour + "/forecasts"))
        nForecasts += file.path().extension() == ".dat";
    EXPECT_EQ(nForecasts, 2u);
}

// The operator's service as systemd runs it: one instance per port, under a
// user of its own, on the service installed beside it.
TEST(InstalledProgram, InstallsTheServicesUnitForSystemd)
{
    CTempFolder temp;
    const std::string prefix = temp.Path("prefix");
    ASSERT_TRUE(InstallInto(prefix));
    std::ifstream in(prefix + "/lib/systemd/system/cirrovan-service@.service");
    const std::string unit((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const std::string& line : {"ExecStart=" + prefix + "/bin/cirrovan-service --port %i ", std::string("\nDynamicUser=yes\n"),
                                    std::string("\nStateDirectory=cirrovan-service\n"),
                                    std::string("--data-dir ${STATE_DIRECTORY}"),
                                    std::string("\nProtectSystem=strict\n"), std::string("\nNoNewPrivileges=yes\n"),
                                    std::string("\nRestart=on-failure\n")}) {
        EXPECT_NE(unit.find(line), std::string::npos) << line;
    }
    // Where the machine has systemd's own check, an instance of it passes.
    if (std::system("command -v systemd-analyze >/dev/null 2>&1") == 0) {
        const std::string instance = temp.Path("cirrovan-service@8471.service");
        std::filesystem::copy_file(prefix + "/lib/systemd/system/cirrovan-service@.service", instance);
        const std::string verify = "systemd-analyze verify '" + instance + "' 2>&1";
        EXPECT_EQ(std::system(verify.c_str()), 0) << verify;
    }
}
