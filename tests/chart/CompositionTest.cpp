#include "app/Globals.h"
#include "chart/GraphScaleX.h"
#include "chart/LabelPlacer.h"
#include "chart/WndGraph.h"
#include "platform/Clock.h"
#include "platform/ui/DC.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const COLORREF WHITE = RGB(255, 255, 255);
const COLORREF NIGHT = RGB(204, 204, 204);
const COLORREF GRID = RGB(255, 204, 204);
const COLORREF SUN = RGB(255, 196, 0);   // the inside of the sunny icon

std::wstring Fixture(const char* pszName)
{
    const std::string str = std::string(CIRROVAN_FIXTURES) + "/chart/fixtures/" + pszName;
    return std::wstring(str.begin(), str.end());
}

class Composition : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CDC::SetTextMeasurerForTest(CDC::FixedTextMeasurer);
        // 10 December 2026, 13:00 UTC; device and station on UTC.
        CClock::Freeze(1796907600LL, 0);
        CSettings& s = theWeatherData.m_settings;
        s.m_currentStation.m_strID = L"TEST0001";
        s.m_nCurrentView = 0;
        for (int v = 0; v < 3; ++v)
            s.m_views[v].ApplyPreset(v);
        s.m_nTempUnit = 0;
        s.m_nWindUnit = 0;
        s.m_bShowZero = false;
        s.m_bDaily = 1;
        theWeatherData.m_daily.Clear();
        theWeatherData.m_hourly.Clear();
        graph.SetClientSize(240, 268);
    }

    void TearDown() override
    {
        CClock::Unfreeze();
        CDC::SetTextMeasurerForTest(nullptr);
    }

    void Daily(const char* pszFixture, int nView = 0)
    {
        theWeatherData.m_daily.Load(Fixture(pszFixture));
        ASSERT_FALSE(theWeatherData.m_daily.IsEmpty());
        theWeatherData.m_settings.m_nCurrentView = nView;
        theWeatherData.m_settings.m_bDaily = 1;
        graph.Refresh(true);
    }

    void Hourly(const char* pszFixture, int nView = 0)
    {
        theWeatherData.m_hourly.Load(Fixture(pszFixture));
        ASSERT_FALSE(theWeatherData.m_hourly.IsEmpty());
        theWeatherData.m_settings.m_nCurrentView = nView;
        theWeatherData.m_settings.m_bDaily = 0;
        graph.Refresh(true);
    }

    int H() const { return graph.m_rcArea.top; }
    COLORREF Chart(int x, int y) const { return graph.m_chartImage.GetPixel(x, y); }

    bool HasColourNear(int px, int nHalf, COLORREF cr) const
    {
        for (int x = px - nHalf; x <= px + nHalf; ++x)
            for (int y = 0; y < H(); ++y)
                if (Chart(x, y) == cr)
                    return true;
        return false;
    }

    CWndGraph graph;
};

bool Overlap(const CGraphBox& a, const CGraphBox& b)
{
    return a.m_nLeft <= b.m_nLeft + b.m_nWidth - 1 && b.m_nLeft <= a.m_nLeft + a.m_nWidth - 1
        && a.m_nTop <= b.m_nTop + b.m_nHeight - 1 && b.m_nTop <= a.m_nTop + a.m_nHeight - 1;
}

} // namespace

TEST_F(Composition, DailyNightBandsAndNowMarkerWhereDatesMap)
{
    Daily("daily3.xml");
    const CGraphScaleX& time = graph.m_scaleTime;
    const double base = time.m_dtStart.m_dt - 0.5;   // 00:00 of day 0
    const int y = 2;
    // Band k runs from the sunset before day k (17:00) to its sunrise (07:00).
    for (int k = 1; k < 3; ++k) {
        const int x0 = time.DateToPixel(CDateTime(base + (k - 1) + 17.0 / 24));
        const int x1 = time.DateToPixel(CDateTime(base + k + 7.0 / 24));
        EXPECT_EQ(Chart(x0 - 1, y), WHITE) << k;
        EXPECT_EQ(Chart(x0, y), NIGHT) << k;
        EXPECT_EQ(Chart(x1 - 1, y), NIGHT) << k;
        EXPECT_EQ(Chart(x1, y), WHITE) << k;
    }
    // Now: 13:00 of day 0, two columns ending at its pixel.
    const int x = time.DateToPixel(CDateTime(base + 13.0 / 24));
    EXPECT_EQ(Chart(x - 1, y), GRID);
    EXPECT_EQ(Chart(x, y), GRID);
    EXPECT_EQ(Chart(x - 2, y), WHITE);
    EXPECT_EQ(Chart(x + 1, y), WHITE);
    // Positions and dates agree when every half day has its point.
    EXPECT_EQ(time.PositionToPixel(12), time.DateToPixel(time.m_dtStart));
    EXPECT_EQ(time.PositionToPixel(72), time.DateToPixel(time.m_dtEnd));
}

TEST_F(Composition, DailyAcrossNewYearKeepsTheDatesInOrder)
{
    Daily("daily_newyear.xml");
    const CGraphScaleX& time = graph.m_scaleTime;
    // 30 December 12:00 to 1 January (of the next year) 24:00.
    EXPECT_EQ(time.m_dtStart.SecondsUntil(time.m_dtEnd), 2 * 86400 + 12 * 3600);
    const double base = time.m_dtStart.m_dt - 0.5;
    const int x0 = time.DateToPixel(CDateTime(base + 1 + 17.0 / 24));
    const int x1 = time.DateToPixel(CDateTime(base + 2 + 7.0 / 24));
    EXPECT_GT(x1, x0);
    EXPECT_EQ(Chart(x0, 2), NIGHT);
    EXPECT_EQ(Chart(x1, 2), WHITE);
    EXPECT_EQ(time.PositionToPixel(72), 900 - 35);
    EXPECT_EQ(time.DateToPixel(time.m_dtEnd), 900 - 35);
}

TEST_F(Composition, GridLinesOnlyFromTheGridOwnersScale)
{
    // Preset 1 puts the precipitation alone on the left; the temperatures on the
    // right still own the grid.
    for (int nView : {0, 1, 2}) {
        Daily("daily3.xml", nView);
        const CGraphScale& owner = graph.m_scaleTemp;
        std::set<int> rows;
        for (long long v = owner.FirstTick(); v <= owner.m_nHi; v += owner.TickStep())
            rows.insert(H() - static_cast<int>((v - owner.m_nLo) * owner.m_dFactor + owner.m_nPxLo));
        ASSERT_GE(rows.size(), 3u);
        // Column 5 lies left of every point, icon and label, in the morning of day 0.
        for (int y = 0; y < H() - 10; ++y)
            EXPECT_EQ(Chart(5, y), rows.count(y) ? GRID : WHITE) << "view " << nView << " row " << y;
    }
}

TEST_F(Composition, NoIconWhereTheValueIsMissing)
{
    Daily("daily3.xml");
    // Precipitation "N/A" on the night of day 0 (position 24): no point, no icon.
    for (int i = 0; i < graph.m_precip.m_points.GetCount(); ++i)
        EXPECT_NE(graph.m_precip.m_points.GetAt(i)->m_nX, 24);
    const CGraphScaleX& time = graph.m_scaleTime;
    EXPECT_TRUE(HasColourNear(time.PositionToPixel(12), 3, SUN));
    EXPECT_FALSE(HasColourNear(time.PositionToPixel(24), 3, SUN));
    EXPECT_TRUE(HasColourNear(time.PositionToPixel(36), 3, SUN));
    // A wind "N/A" leaves no arrow either: five arrows for six half days.
    EXPECT_EQ(graph.m_windSpeed.m_points.GetCount(), 5);
}

TEST_F(Composition, LabelsAvoidIconsLabelsAndLines)
{
    for (int nDaily : {1, 0}) {
        for (int nView : {0, 1, 2}) {
            if (nDaily)
                Daily("daily3.xml", nView);
            else
                Hourly("hourly12.xml", nView);
            ASSERT_FALSE(graph.m_labelBoxes.empty());
            std::vector<CGraphSegment> segments;
            for (CGraphSeries* s : {&graph.m_low, &graph.m_high, &graph.m_temp, &graph.m_precip,
                                    &graph.m_windSpeed})
                s->BuildSegments(segments);
            std::vector<CGraphBox> none;
            CLabelPlacer check(graph.m_nChartWidth, H(), segments, none);
            for (size_t i = 0; i < graph.m_labelBoxes.size(); ++i) {
                const CGraphBox& box = graph.m_labelBoxes[i];
                EXPECT_TRUE(check.InsideArea(box));
                EXPECT_FALSE(check.CrossedBySegment(box));
                for (const CGraphBox& icon : graph.m_iconBoxes)
                    EXPECT_FALSE(Overlap(box, icon));
                for (size_t j = 0; j < i; ++j)
                    EXPECT_FALSE(Overlap(box, graph.m_labelBoxes[j]));
                // The label's text is drawn in the series' colour inside its box.
                bool bInk = false;
                for (int x = box.m_nLeft; x < box.m_nLeft + box.m_nWidth; ++x)
                    for (int y = box.m_nTop; y < box.m_nTop + box.m_nHeight; ++y)
                        bInk = bInk || Chart(x, y + H()) == RGB(255, 0, 0);
                EXPECT_TRUE(bInk);
            }
        }
    }
}

TEST_F(Composition, HourlyLabelsOnlyAtEndsAndTurns)
{
    // Temperatures alone, so that icons take no room from the labels.
    CCustomView& view = theWeatherData.m_settings.m_views[0];
    view.m_series[SERIES_PRECIPITATIONS].m_bDisplay = false;
    view.m_series[SERIES_WIND].m_bDisplay = false;
    Hourly("hourly12.xml");
    std::set<int> labelled;
    for (const CGraphGroup* g : graph.m_labelGroups) {
        EXPECT_TRUE(g->m_nKind == GROUP_END || g->m_nKind == GROUP_TURN);
        labelled.insert(g->m_points.front());
    }
    // The first hour, the peak (the run of 61 °F at hours 6 and 7) and the last.
    EXPECT_TRUE(labelled.count(0));
    EXPECT_TRUE(labelled.count(5));
    EXPECT_TRUE(labelled.count(11));
    EXPECT_EQ(labelled.size(), 3u);
}

TEST_F(Composition, HourlyIconsWhereTheConditionChanges)
{
    Hourly("hourly12.xml");
    // One icon condition and direction throughout: pictures at hours 1, 10 and 12.
    std::set<int> iconX;
    for (const CGraphBox& b : graph.m_iconBoxes)
        if (b.m_nWidth == 28)
            iconX.insert(b.m_nLeft + 14);
    const CGraphScaleX& time = graph.m_scaleTime;
    EXPECT_EQ(iconX, (std::set<int>{time.PositionToPixel(1), time.PositionToPixel(10),
                                    time.PositionToPixel(12)}));
}

TEST_F(Composition, HourlyGridAtLabelledHoursAndDatesUnderMidnightAndNoon)
{
    Hourly("hourly12.xml");
    ASSERT_EQ(graph.m_timeLabels.GetCount(), 6);   // 10, 12, ..., 20
    const CGraphTimeLabel* pNoon = graph.m_timeLabels.GetAt(1);
    EXPECT_EQ(pNoon->m_strText1, L"12");
    EXPECT_EQ(pNoon->m_strText2, L"Thu, Dec 10");
    EXPECT_EQ(graph.m_timeLabels.GetAt(0)->m_strText2, L"");
    for (int i = 0; i < graph.m_timeLabels.GetCount(); ++i) {
        const int px = graph.m_timeLabels.GetAt(i)->m_nPx;
        EXPECT_EQ(px, graph.m_scaleTime.PositionToPixel(graph.m_timeLabels.GetAt(i)->m_nX));
        // Grid rows near the top are free of lines and icons.
        EXPECT_EQ(Chart(px, 1), GRID) << px;
        EXPECT_NE(Chart(px + 3, 1), GRID) << px;
    }
    // The update at 9:40 with a first hour of 10: the first hour is 10:00 that day.
    EXPECT_EQ(graph.m_scaleTime.m_dtStart.Format(L"%Y-%m-%d %H:%M"), L"2026-12-10 10:00");
    EXPECT_EQ(graph.m_scaleTime.m_dtEnd.Format(L"%Y-%m-%d %H:%M"), L"2026-12-10 21:00");
    // Night begins at 17:00.
    const int x17 = graph.m_scaleTime.DateToPixel(CDateTime(graph.m_scaleTime.m_dtStart.m_dt + 7.0 / 24));
    EXPECT_EQ(Chart(x17 - 1, 2), WHITE);
    EXPECT_EQ(Chart(x17 + 1, 2), NIGHT);
}

TEST_F(Composition, EmptyForecastColours)
{
    theWeatherData.m_settings.m_bDaily = 1;
    graph.Refresh(true);
    const int W = graph.m_nChartWidth;
    for (int x = 0; x < W; x += 7)
        for (int y = 0; y < H() - 10; y += 5)
            ASSERT_EQ(Chart(x, y), WHITE);
    for (int x = 0; x < W; x += 3)
        for (int y = 0; y < 26; ++y)
            ASSERT_EQ(graph.m_stripImage.GetPixel(x, y), RGB(192, 192, 192));
    for (int side = 0; side < 2; ++side) {
        for (size_t j = 0; j < graph.m_sideSeries[side].size(); ++j) {
            const CBitmap& panel = graph.m_panelImages[side][j];
            ASSERT_TRUE(panel.IsValid());
            for (int x = 0; x < 32; ++x)
                for (int y = 0; y < H(); y += 3)
                    ASSERT_EQ(panel.GetPixel(x, y), RGB(255, 255, 204));
        }
    }
}

TEST_F(Composition, LinkLineInEveryViewportWidth)
{
    Daily("daily3.xml");
    const int V = graph.m_rcChart.right - graph.m_rcChart.left;
    ASSERT_EQ(V, 240 - 64);
    int nCopies = 0;
    for (int g = 0; g + V / 2 < graph.m_nChartWidth; g += V) {
        bool bInk = false;
        for (int x = g + V / 2 - 10; x < g + V / 2 + 10 && x < graph.m_nChartWidth; ++x)
            for (int y = H() - 10; y < H(); ++y)
                bInk = bInk || Chart(x, y) == RGB(100, 100, 100);
        EXPECT_TRUE(bInk) << g;
        ++nCopies;
    }
    // The sixth copy is centred past the image's end; the last scroll position
    // still shows the fifth.
    EXPECT_EQ(nCopies, 5);
}

TEST_F(Composition, PaintNeverReadsOutsideTheImages)
{
    Hourly("hourly12.xml");
    // A landscape screen is wider than what is left of the hourly chart.
    graph.SetClientSize(640, 188);
    graph.Refresh(false);
    CBitmap screen;
    screen.CreateBitmap(640, 188);
    CDC dc;
    dc.SelectObject(&screen);
    for (int nScroll : {-100, 0, 300, 504, 100000}) {
        graph.m_nScroll = nScroll;
        graph.Paint(&dc);
        const int xLast = 640 - 32 - 1;
        // Beyond the image's last column the viewport shows white.
        if (nScroll + (xLast - 32) >= 504) {
            EXPECT_EQ(screen.GetPixel(xLast, 5), WHITE) << nScroll;
        }
    }
    graph.m_nScroll = 0;
    graph.Paint(&dc);
    EXPECT_EQ(screen.GetPixel(32 + 5, 5), graph.m_chartImage.GetPixel(5, 5));
    dc.SelectObject(static_cast<CBitmap*>(nullptr));
}
