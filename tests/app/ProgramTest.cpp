// The real program, copied into a folder of its own (which is then its data
// folder) with a station and its forecasts prepared, run offscreen and ended by
// SIGTERM as the desktop's close button ends it; then the files it leaves. And
// a first run played by the tour, which runs the program's own application
// object, main window and dialogs against the local service, followed by the
// real program on the folder it left.
#include "DataFolderCheck.h"
#include "FolderSaves.h"
#include "../service/LocalService.h"

#include "../TempFolder.h"
#include "platform/ui/Bitmap.h"

#include <gtest/gtest.h>

#include <sys/time.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// How many times the text holds the part.
int Occurrences(const std::string& strText, const std::string& strPart)
{
    int n = 0;
    for (size_t at = strText.find(strPart); at != std::string::npos; at = strText.find(strPart, at + 1))
        ++n;
    return n;
}

const char* const kStations = "<stations>\n    <station id=\"GBLO5854\">London</station>\n</stations>\n";

class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::copy_file(CIRROVAN_PROGRAM_EXE, m_temp.Path("cirrovan"));
    }

    void TearDown() override
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            Wait();
        }
    }

    // Runs the program of that name in the folder, with those arguments.
    void Start(const std::string& name = "cirrovan", const std::vector<std::string>& args = {})
    {
        std::vector<std::string> all = {m_temp.Path(name)};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (const std::string& arg : all)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ASSERT_EQ(posix_spawn(&m_pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    }

    // Waits for the condition; false if the program ends first.
    bool WaitFor(const std::function<bool()>& fnDone)
    {
        // Only a guard against a program that would never get there.
        const auto stuck = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (std::chrono::steady_clock::now() < stuck) {
            if (fnDone())
                return true;
            if (waitpid(m_pid, &m_nStatus, WNOHANG) == m_pid) {
                m_pid = -1;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // Waits for the program to have written that into the file; false if it ends first.
    bool WaitForFile(const std::string& name, const std::string& part)
    {
        return WaitFor([&] { return m_temp.Read(name).find(part) != std::string::npos; });
    }

    int Wait()
    {
        while (waitpid(m_pid, &m_nStatus, 0) < 0) {
        }
        m_pid = -1;
        return ExitCode();
    }

    // Lets the program run to its end; then as Wait, or -1 when it is stuck
    // (TearDown kills it).
    int RunToEnd()
    {
        if (WaitFor([] { return false; }) || m_pid > 0)
            return -1;
        return ExitCode();
    }

    // The exit code, or 128 plus the signal that ended the program.
    int ExitCode() const { return WIFEXITED(m_nStatus) ? WEXITSTATUS(m_nStatus) : 128 + WTERMSIG(m_nStatus); }

    CTempFolder m_temp;
    pid_t m_pid = -1;
    int m_nStatus = 0;
};

} // namespace

TEST_F(ProgramTest, ShowsTheStationOfItsFolderAndEndsCleanlyOnSigterm)
{
    m_temp.Write("stations.dat", kStations);
    std::filesystem::create_directory(m_temp.Path("forecasts"));
    m_temp.Write("forecasts/GBLO5854_d.dat", ReadFixture("app/fixtures/london_daily.xml"));
    m_temp.Write("forecasts/GBLO5854_h.dat", ReadFixture("app/fixtures/london_hourly.xml"));
    // The current station as another version wrote it, with an element of its own.
    m_temp.Write("settings.dat", "<Cirrovan><station id=\"GBLO5854\">london</station><extra/></Cirrovan>");
    m_temp.Write("log.txt", "a line of the last run\n");
    const std::string daily = m_temp.Read("forecasts/GBLO5854_d.dat");
    // What a crash in a save and in a download left, an hour ago: gone at the start.
    const timeval old[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    for (const char* pszLeftover : {"stations.dat.0badcafe", "forecasts/GBLO5854_d.dat.12345678"}) {
        m_temp.Write(pszLeftover, daily);
        ASSERT_EQ(utimes(m_temp.Path(pszLeftover).c_str(), old), 0);
    }

    Start();
    // The main window has found the station in its list and saved it as listed.
    ASSERT_TRUE(WaitForFile("settings.dat", ">London</station>"));
    kill(m_pid, SIGTERM);
    EXPECT_EQ(Wait(), 0);

    const std::string settings = m_temp.Read("settings.dat");
    EXPECT_EQ(settings.find("extra"), std::string::npos);
    EXPECT_NE(settings.find("<displayorientation>0</displayorientation>"), std::string::npos);
    EXPECT_EQ(m_temp.Read("stations.dat"), kStations);
    EXPECT_EQ(m_temp.Read("forecasts/GBLO5854_d.dat"), daily);
    EXPECT_EQ(m_temp.Read("log.txt"), "");
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_temp.m_path))
        files.push_back(std::filesystem::relative(entry.path(), m_temp.m_path).string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"cirrovan", "forecasts", "forecasts/GBLO5854_d.dat",
                                               "forecasts/GBLO5854_h.dat", "log.txt", "settings.dat",
                                               "stations.dat"}));
}

// On a first start the stations dialog waits for the user; the settings are
// already written whole. A signal then closes the dialog as its Cancel and
// quits, or, before the main window is up, ends the program at once: either
// way nothing is lost.
TEST_F(ProgramTest, FirstStartWritesTheSettingsBeforeAnyDialog)
{
    Start();
    ASSERT_TRUE(WaitForFile("settings.dat", "</Cirrovan>"));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(m_pid, SIGTERM);
    const int nExit = Wait();
    EXPECT_TRUE(nExit == 0 || nExit == 128 + SIGTERM) << nExit;
    const std::string settings = m_temp.Read("settings.dat");
    EXPECT_NE(settings.find("<station id=\"\""), std::string::npos);
    EXPECT_NE(settings.find("<customviews current=\"0\" daily=\"0\">"), std::string::npos);
    EXPECT_FALSE(m_temp.Exists("stations.dat"));
    EXPECT_TRUE(std::filesystem::is_directory(m_temp.Path("forecasts")));
}

// Issue 8's run of the real executables, as scripts/run plays it without a
// display: the tour, a copy of the program's application object, main window
// and dialogs driven by the test driver, makes a first run against the local
// service from an empty folder; then the real program starts on that folder
// with the service gone, shows the station's chart and is ended by SIGTERM.
TEST_F(ProgramTest, AFirstRunPlayedByTheTourAndASecondRunOfTheProgramOffline)
{
    const std::set<std::string> programs = {"cirrovan", "cirrovan-tour"};
    std::filesystem::copy_file(CIRROVAN_TOUR_EXE, m_temp.Path("cirrovan-tour"));
    // The diagnostic log is on for both runs: it names every URL the program opens.
    m_temp.Write("log.txt", "");
    const std::string id = CCodePage::Encode(ZURICH);
    {
        CLocalService service;
        ASSERT_TRUE(service.IsUp()) << service.m_process.m_strFirstLine;
        Start("cirrovan-tour", {m_temp.Path("screens"), "Zurich"});
        EXPECT_EQ(RunToEnd(), 0) << "the tour stopped; its last screen is screens/stuck.png";

        EXPECT_EQ(service.Requests(), "1 /search/search\n2 /weather/local/" + id + "\n");
        const std::string log = m_temp.Read("log.txt");
        const std::string url = "url (http://" + service.m_strHost;
        EXPECT_EQ(Occurrences(log, url), 3) << log;
        EXPECT_EQ(Occurrences(log, url + "/search/search?where=Zurich)"), 1);
        EXPECT_EQ(Occurrences(log, url + "/weather/local/" + id + "?dayf=10 )"), 1);
        EXPECT_EQ(Occurrences(log, url + "/weather/local/" + id + "?hbhf=72 )"), 1);
        EXPECT_EQ(service.Stop(), 0);
    }

    // The screens of each step, each of the whole screen in its orientation.
    const struct
    {
        const char* pszName;
        bool bLandscape;
    } screens[] = {{"01-stations", false},          {"02-new-station", false},
                   {"03-search-question", false},   {"04-search-results", false},
                   {"05-station-added", false},     {"06-stations", false},
                   {"07-update", false},            {"08-hourly-portrait", false},
                   {"09-daily-portrait", false},    {"10-daily-landscape", true},
                   {"11-hourly-landscape", true},   {"12-menu", true}};
    std::map<std::string, std::string> files = FolderFiles(m_temp, programs);
    for (const auto& screen : screens) {
        SCOPED_TRACE(screen.pszName);
        const std::string name = std::string("screens/") + screen.pszName + ".png";
        EXPECT_EQ(files.erase(name), 1u);
        CBitmap shot;
        ASSERT_TRUE(shot.LoadPng(m_temp.WidePath(name)));
        EXPECT_EQ(shot.GetSize().cx, screen.bLandscape ? 320 : 240);
        EXPECT_EQ(shot.GetSize().cy, screen.bLandscape ? 240 : 320);
    }
    EXPECT_EQ(Names(files), (std::vector<std::string>{"forecasts/" + id + "_d.dat", "forecasts/" + id + "_h.dat",
                                                      "log.txt", "search_stations.dat", "settings.dat",
                                                      "stations.dat"}));
    ExpectFirstRunFolder(m_temp);
    // The tour turned the screen to landscape, which the settings keep.
    EXPECT_NE(files["settings.dat"].find("<displayorientation>4</displayorientation>"), std::string::npos);

    // The second run: the hosts still name the service's port, where nothing
    // answers now. The program saves the settings twice on its way to the chart:
    // once at start and once when it has switched to its station; a stations
    // dialog (first run) or an update dialog (no forecast files) before would
    // wait for the user. Only the main window open, SIGTERM ends it with 0.
    const std::map<std::string, std::string> before = FolderFiles(m_temp, programs);
    CFolderSaves saves(m_temp.m_path);
    Start();
    ASSERT_TRUE(WaitFor([&] { return saves.Count("settings.dat") >= 2; })) << "the program never got to its station";
    kill(m_pid, SIGTERM);
    EXPECT_EQ(Wait(), 0);
    EXPECT_EQ(saves.Count("settings.dat"), 2);
    // Every file as the first run left it: the settings rewritten with what they
    // held, and the log, emptied at start, with nothing in it: no URL was opened.
    std::map<std::string, std::string> after = FolderFiles(m_temp, programs);
    EXPECT_EQ(after["log.txt"], "");
    after["log.txt"] = before.at("log.txt");
    EXPECT_EQ(after, before);
}
