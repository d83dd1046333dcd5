// The real program, copied into a folder of its own (which is then its data
// folder) with a station and its forecasts prepared, run offscreen and ended by
// SIGTERM as the desktop's close button ends it; then the files it leaves.
#include "../TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

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

    void Start()
    {
        const std::string exe = m_temp.Path("cirrovan");
        char* argv[] = {const_cast<char*>(exe.c_str()), nullptr};
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ASSERT_EQ(posix_spawn(&m_pid, exe.c_str(), nullptr, nullptr, argv, environ), 0);
    }

    // Waits for the program to have written that into the file; false if it ends first.
    bool WaitForFile(const std::string& name, const std::string& part)
    {
        // Only a guard against a program that would never get there.
        for (int i = 0; i < 3000; ++i) {
            if (m_temp.Read(name).find(part) != std::string::npos)
                return true;
            if (waitpid(m_pid, &m_nStatus, WNOHANG) == m_pid) {
                m_pid = -1;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    int Wait()
    {
        while (waitpid(m_pid, &m_nStatus, 0) < 0) {
        }
        m_pid = -1;
        return WIFEXITED(m_nStatus) ? WEXITSTATUS(m_nStatus) : 128 + WTERMSIG(m_nStatus);
    }

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
// already written whole, so a signal then ends the program at once, losing nothing.
TEST_F(ProgramTest, FirstStartWritesTheSettingsBeforeAnyDialog)
{
    Start();
    ASSERT_TRUE(WaitForFile("settings.dat", "</Cirrovan>"));
    // Give the stations dialog its time to open; either way the end is the same.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(m_pid, SIGTERM);
    EXPECT_EQ(Wait(), 128 + SIGTERM);
    const std::string settings = m_temp.Read("settings.dat");
    EXPECT_NE(settings.find("<station id=\"\""), std::string::npos);
    EXPECT_NE(settings.find("<customviews current=\"0\">"), std::string::npos);
    EXPECT_FALSE(m_temp.Exists("stations.dat"));
    EXPECT_TRUE(std::filesystem::is_directory(m_temp.Path("forecasts")));
}
