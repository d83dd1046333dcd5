// Days, months and decimals as the user's locale writes them, on the chart and
// in the texts the program shows; English exactly as the feed and the program
// have always written it; files and logs in "C" whatever the process's locale.
#include "ChartTestSetup.h"
#include "chart/view/WndGraph.h"
#include "platform/UserLocale.h"
#include "platform/WideFormat.h"

#include "../EnvGuard.h"
#include "../InstalledLocale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

struct ShownCase
{
    const char* pszLocale;
    const wchar_t* pszShortDate;  // "%a, %b %d"
    const wchar_t* pszLongDate;   // "%A %-d %B"
    const wchar_t* pszKb;         // "%.2f Kb" of 1.5
    const wchar_t* pszDayLabel;   // the daily chart's label of 11 December, which the feed calls "Friday"
};

const ShownCase SHOWN[] = {
    {"C", L"Fri, Dec 11", L"Friday 11 December", L"1.50 Kb", L"Friday"},
    {"C.UTF-8", L"Fri, Dec 11", L"Friday 11 December", L"1.50 Kb", L"Friday"},
    {"en_US.UTF-8", L"Fri, Dec 11", L"Friday 11 December", L"1.50 Kb", L"Friday"},
    {"de_DE.UTF-8", L"Fr, Dez 11", L"Freitag 11 Dezember", L"1,50 Kb", L"Freitag"},
    {"fr_FR.UTF-8", L"ven., d\u00e9c. 11", L"vendredi 11 d\u00e9cembre", L"1,50 Kb", L"vendredi"},
};

} // namespace

TEST(LocaleDisplay, DaysMonthsAndDecimalsFollowTheUsersLocale)
{
    CTempFolder temp;
    CWeatherData data;
    CWndGraph graph{data};
    SetUpChartWorld(data);
    graph.SetClientSize(240, 268);
    data.m_daily.Load(ChartFixture("daily3.xml"));
    ASSERT_FALSE(data.m_daily.IsEmpty());
    SYSTEMTIME st = {};
    st.wYear = 2026;
    st.wMonth = 12;
    st.wDay = 11;
    st.wHour = 14;
    const CDateTime friday(st);
    for (const ShownCase& c : SHOWN) {
        SCOPED_TRACE(c.pszLocale);
        ASSERT_TRUE(Installed(c.pszLocale));
        CEnvGuard all("LC_ALL", c.pszLocale);
        EXPECT_EQ(friday.Format(L"%a, %b %d"), c.pszShortDate);
        EXPECT_EQ(friday.Format(L"%A %-d %B"), c.pszLongDate);
        EXPECT_EQ(CWideFormat::FormatForUser(L"%.2f Kb", 1.5), c.pszKb);
        // What goes to files and logs keeps its point.
        EXPECT_EQ(CWideFormat::Format(L"%.2f Kb", 1.5), L"1.50 Kb");

        graph.Refresh(true);
        ASSERT_EQ(graph.m_planner.TimeLabels().GetCount(), 3);
        const CGraphTimeLabel* pFriday = graph.m_planner.TimeLabels().GetAt(1);
        EXPECT_EQ(pFriday->m_strText1, c.pszDayLabel);
        if (CUserLocale::NamesAreEnglish()) {
            EXPECT_EQ(pFriday->m_strText2, L"Dec 11");   // the feed's own words
        }
    }
    TearDownChartWorld(data);
}

// The process's own locale may be anything (Qt sets it from the environment);
// the texts meant for files do not change with it, and the platform puts the
// categories that matter back to "C".
TEST(LocaleDisplay, FilesTextsKeepTheirPointInAnyProcessLocale)
{
    ASSERT_TRUE(Installed("de_DE.UTF-8"));
    const std::string strKept = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const std::wstring strFormatted = CWideFormat::Format(L"%.2f %g", 1.5, 0.25);
    char szBefore[32];
    std::snprintf(szBefore, sizeof szBefore, "%.1f", 2.5);
    CUserLocale::KeepProcessNeutral();
    char szAfter[32];
    std::snprintf(szAfter, sizeof szAfter, "%.1f", 2.5);
    const std::string strTime = std::setlocale(LC_TIME, nullptr);
    const std::string strCtype = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_ALL, strKept.c_str());
    EXPECT_EQ(strFormatted, L"1.50 0.25");
    EXPECT_STREQ(szBefore, "2,5");   // the locale really was switched
    EXPECT_STREQ(szAfter, "2.5");
    EXPECT_EQ(strTime, "C");
    EXPECT_EQ(strCtype, "de_DE.UTF-8");
}
