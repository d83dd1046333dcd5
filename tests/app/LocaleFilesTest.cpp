// The files the program writes are the same in every language: a first run
// played in French by the tour (the program's application object, dialogs and
// the forecast service inside it), then the real program in German on the
// folder it left, and the data read back in German as the program reads it.
#include "DataFolderCheck.h"
#include "FolderSaves.h"

#include "../InstalledLocale.h"
#include "../TempFolder.h"
#include "model/WeatherData.h"
#include "store/ClassUnicode.h"

#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <clocale>
#include <csignal>
#include <filesystem>
#include <functional>
#include <regex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

const char* const FRENCH = "fr_FR.UTF-8";
const char* const GERMAN = "de_DE.UTF-8";

std::string Number(double d)
{
    char sz[64];
    const std::to_chars_result r = std::to_chars(sz, sz + sizeof sz, d);
    return std::string(sz, r.ptr);
}

std::string Text(const char* psz)
{
    return psz ? psz : "(none)";
}

// Everything the program holds of a station's forecasts, written without any
// locale, so that two readings can be compared as texts.
std::string Dump(CWeatherData& data, const std::wstring& strID)
{
    data.LoadDailyForecast(strID);
    data.LoadHourlyForecast(strID);
    std::string out;
    for (const CForecastBase* pBase : {static_cast<const CForecastBase*>(&data.m_daily),
                                       static_cast<const CForecastBase*>(&data.m_hourly)}) {
        out += CCodePage::Encode(pBase->m_strLocation) + " zone " + std::to_string(pBase->m_nZone) + " updated "
            + Number(pBase->m_dtLastUpdate.m_dt) + " sun " + Number(pBase->m_dtSunrise.m_dt) + "-"
            + Number(pBase->m_dtSunset.m_dt) + "\n";
    }
    const auto wind = [](const CWind& w) {
        return " wind " + std::to_string(w.m_nSpeed) + "/" + std::to_string(w.m_nGust) + "/"
            + std::to_string(w.m_nDirection) + " " + Text(w.m_pszDirection);
    };
    for (int i = 0; i < data.m_daily.m_days.GetCount(); ++i) {
        const CForecastDay& day = *data.m_daily.m_days.GetAt(i);
        out += "day " + std::to_string(day.m_nDay) + " " + Text(day.m_pszWeekday) + " " + Text(day.m_pszDate)
            + " at " + Number(data.m_daily.DateOfDay(day).m_dt) + " " + Number(day.m_dLow) + ".."
            + Number(day.m_dHigh) + " sun " + Number(day.m_dtSunrise.m_dt) + "-" + Number(day.m_dtSunset.m_dt);
        for (const CDayPart& part : day.m_parts)
            out += " | " + std::to_string(part.m_nPrecip) + "% icon " + std::to_string(part.m_nIcon)
                + wind(part.m_wind);
        out += "\n";
    }
    for (int i = 0; i < data.m_hourly.m_hours.GetCount(); ++i) {
        const CForecastHour& hour = *data.m_hourly.m_hours.GetAt(i);
        out += "hour " + std::to_string(hour.m_nHour) + " at " + std::to_string(hour.m_nClock) + " "
            + Number(hour.m_dTemp) + " icon " + std::to_string(hour.m_nIcon) + " " + std::to_string(hour.m_nPrecip)
            + "%" + wind(hour.m_wind) + "\n";
    }
    return out;
}

class LocaleFilesTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    // Runs a program of the folder in that language, its own service (the
    // demo's weather) inside it, or, offline, with the service's hosts
    // pointing where nothing answers.
    void Start(const std::string& name, const char* pszLocale, bool bOffline, const std::vector<std::string>& args)
    {
        std::vector<std::string> env;
        for (char** p = environ; *p; ++p) {
            const std::string entry = *p;
            const std::string key = entry.substr(0, entry.find('='));
            if (key.rfind("LC_", 0) != 0 && key != "LANG" && key != "LANGUAGE" && key.rfind("CIRROVAN_", 0) != 0
                && key != "QT_QPA_PLATFORM")
                env.push_back(entry);
        }
        for (const char* pszName : {"LANG=", "LC_ALL="})
            env.push_back(pszName + std::string(pszLocale));
        env.push_back("QT_QPA_PLATFORM=offscreen");
        env.push_back("CIRROVAN_SOURCE=demo");
        if (bOffline) {
            env.push_back("CIRROVAN_FEED_HOST=127.0.0.1:1");
            env.push_back("CIRROVAN_SEARCH_HOST=127.0.0.1:1");
        }
        std::vector<std::string> all = {m_temp.Path(name)};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : all)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : env)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        ASSERT_EQ(posix_spawn(&m_pid, argv[0], nullptr, nullptr, argv.data(), envp.data()), 0);
    }

    // Waits for the condition, or for the program's end (false, and the
    // exit code is kept).
    bool WaitFor(const std::function<bool()>& fnDone)
    {
        // Only a guard against a program that would never get there.
        const auto stuck = std::chrono::steady_clock::now() + std::chrono::minutes(3);
        while (std::chrono::steady_clock::now() < stuck) {
            if (fnDone())
                return true;
            int nStatus = 0;
            if (waitpid(m_pid, &nStatus, WNOHANG) == m_pid) {
                m_pid = -1;
                m_nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 128 + WTERMSIG(nStatus);
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    CTempFolder m_temp;
    pid_t m_pid = -1;
    int m_nExit = -1;
};

} // namespace

TEST_F(LocaleFilesTest, WhatTheProgramWroteInFrenchIsReadInGermanWithNothingLost)
{
    ASSERT_TRUE(Installed(FRENCH));
    ASSERT_TRUE(Installed(GERMAN));
    const std::set<std::string> programs = {"cirrovan", "cirrovan-tour"};
    std::filesystem::copy_file(CIRROVAN_PROGRAM_EXE, m_temp.Path("cirrovan"));
    std::filesystem::copy_file(CIRROVAN_TOUR_EXE, m_temp.Path("cirrovan-tour"));
    m_temp.Write("log.txt", "");

    // The first run in French, which writes every file the program has.
    Start("cirrovan-tour", FRENCH, false, {m_temp.Path("screens"), "Zurich"});
    ASSERT_FALSE(WaitFor([] { return false; }));
    ASSERT_EQ(m_nExit, 0) << "the tour stopped; its last screen is screens/stuck.png";
    std::filesystem::remove_all(m_temp.Path("screens"));
    ExpectFirstRunFolder(m_temp);
    const std::string id = CCodePage::Encode(ZURICH);
    const std::map<std::string, std::string> french = FolderFiles(m_temp, programs);

    // Numbers with a point, wherever the program wrote one: the coordinates
    // in the forecasts that its service made, the sizes in its log.
    const std::regex decimal("<(lat|lon)>-?[0-9]+\\.[0-9]+</(lat|lon)>");
    for (const std::string& name : {"forecasts/" + id + "_d.dat", "forecasts/" + id + "_h.dat"}) {
        const std::string& text = french.at(name);
        EXPECT_EQ(std::distance(std::sregex_iterator(text.begin(), text.end(), decimal), std::sregex_iterator()), 2)
            << name;
        EXPECT_FALSE(std::regex_search(text, std::regex("[0-9],[0-9]"))) << name;
    }
    const std::string& log = french.at("log.txt");
    EXPECT_TRUE(std::regex_search(log, std::regex("Done \\([0-9]+\\.[0-9]{2} Kb downloaded\\)"))) << log;
    EXPECT_FALSE(std::regex_search(log, std::regex("[0-9],[0-9]{2} Kb"))) << log;

    // The real program in German, offline: it gets to the station's chart, so
    // it has read the settings, the stations and the forecasts, and writes the
    // settings back as they were.
    CFolderSaves saves(m_temp.m_path);
    Start("cirrovan", GERMAN, true, {});
    ASSERT_TRUE(WaitFor([&] { return saves.Count("settings.dat") >= 2; })) << "the program never got to its station";
    kill(m_pid, SIGTERM);
    EXPECT_FALSE(WaitFor([] { return false; }));
    EXPECT_EQ(m_nExit, 0);
    std::map<std::string, std::string> german = FolderFiles(m_temp, programs);
    EXPECT_EQ(german["log.txt"], "");
    german["log.txt"] = french.at("log.txt");
    EXPECT_EQ(german, french);

    // And the data as the program holds them, read in German without the
    // program's own care for the process's locale, as in "C".
    CWeatherData plain;
    const std::string strPlain = Dump(plain, ZURICH);
    EXPECT_NE(strPlain.find(" icon "), std::string::npos);
    const std::string strKept = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, GERMAN), nullptr);
    CWeatherData inGerman;
    const std::string strGerman = Dump(inGerman, ZURICH);
    const bool bSettings = inGerman.m_settings.Load();
    std::setlocale(LC_ALL, strKept.c_str());
    EXPECT_EQ(strGerman, strPlain);
    EXPECT_TRUE(bSettings);
    EXPECT_EQ(inGerman.m_settings.m_nOrientation, 4);
    EXPECT_EQ(inGerman.m_settings.m_currentStation.m_strID, ZURICH);
}
