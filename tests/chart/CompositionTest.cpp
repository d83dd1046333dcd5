#include "ChartTestSetup.h"
#include "platform/testing/FixedTextMeasurer.h"
#include "platform/testing/FakeClock.h"
#include "chart/GraphScaleX.h"
#include "chart/LabelPlacer.h"
#include "chart/Units.h"
#include "chart/view/WndGraph.h"
#include "platform/Clock.h"
#include "platform/ui/DC.h"
#include "store/ServiceConfig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

const COLORREF WHITE = RGB(255, 255, 255);
const COLORREF NIGHT = RGB(204, 204, 204);

// A feed written for one case, removed with the object.
class FeedFile
{
public:
    explicit FeedFile(const std::string& strText)
        : m_path(::testing::TempDir() + "cirrovan_chart_feed.xml")
    {
        std::ofstream(m_path, std::ios::binary) << strText;
    }
    ~FeedFile() { std::remove(m_path.c_str()); }
    std::wstring Path() const { return std::wstring(m_path.begin(), m_path.end()); }

private:
    std::string m_path;
};

// A daily feed of one day per date, with lows in °F and a high 10 °F above each.
std::string DailyFeed(const std::string& strUpdate, const std::vector<std::string>& dates,
                      const std::vector<int>& lows = {}, const std::string& strZone = "0")
{
    std::string str = "<weather><loc><zone>" + strZone + "</zone></loc><dayf><lsup>" + strUpdate + "</lsup>";
    for (size_t i = 0; i < dates.size(); ++i) {
        const int nLow = i < lows.size() ? lows[i] : 40;
        str += "<day d='" + std::to_string(i) + "' t='Day' dt='" + dates[i] + "'><low>" + std::to_string(nLow)
             + "</low><hi>" + std::to_string(nLow + 10) + "</hi><sunr>7:00 AM</sunr><suns>5:00 PM</suns>"
               "<part p='d'><icon>32</icon><ppcp>10</ppcp><wind><s>5</s><d>90</d></wind></part>"
               "<part p='n'><icon>31</icon><ppcp>20</ppcp><wind><s>8</s><d>180</d></wind></part></day>";
    }
    return str + "</dayf></weather>";
}

// An hourly feed of that many hours from the clock hour given, with an update
// at 9:40 on 10 December.
std::string HourlyFeed(int nHours, const std::string& strFirstClock = "10", const std::string& strZone = "0")
{
    std::string str = "<weather><loc><zone>" + strZone + "</zone><sunr>7:00 AM</sunr><suns>5:00 PM</suns>"
                      "</loc><hbhf><lsup>12/10/26 9:40 AM GMT</lsup>";
    for (int h = 1; h <= nHours; ++h) {
        const std::string strClock = h == 1 ? strFirstClock : std::to_string((10 + h - 1) % 24);
        str += "<hour h='" + std::to_string(h) + "' c='" + strClock + "'><tmp>" + std::to_string(40 + h % 17)
             + "</tmp><icon>30</icon><ppcp>10</ppcp><wind><s>10</s><d>270</d></wind></hour>";
    }
    return str + "</hbhf></weather>";
}

class Composition : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetUpChartWorld(data);
        graph.SetClientSize(240, 268);
    }

    void TearDown() override { TearDownChartWorld(data); }

    void Daily(const char* pszFixture, int nView = 0)
    {
        data.m_daily.Load(ChartFixture(pszFixture));
        ASSERT_FALSE(data.m_daily.IsEmpty());
        data.m_settings.m_nCurrentView = nView;
        data.m_settings.m_bDaily = 1;
        graph.Refresh(true);
    }

    void Hourly(const char* pszFixture, int nView = 0)
    {
        HourlyFrom(ChartFixture(pszFixture), nView);
    }

    void DailyFrom(const std::wstring& strPath)
    {
        data.m_daily.Load(strPath);
        ASSERT_FALSE(data.m_daily.IsEmpty());
        data.m_settings.m_bDaily = 1;
        graph.Refresh(true);
    }

    void HourlyFrom(const std::wstring& strPath, int nView = 0)
    {
        data.m_hourly.Load(strPath);
        ASSERT_FALSE(data.m_hourly.IsEmpty());
        data.m_settings.m_nCurrentView = nView;
        data.m_settings.m_bDaily = 0;
        graph.Refresh(true);
    }

    int H() const { return graph.m_rcArea.top; }
    COLORREF Chart(int x, int y) const { return graph.m_chartImage.GetPixel(x, y); }

    const CChartPlan& Plan() const { return graph.m_plan; }

    // Whether the column lies in a night band of the plan.
    bool AtNight(int x) const
    {
        for (const CPlanFill& band : Plan().m_bands)
            if (band.m_rc.left <= x && x < band.m_rc.right)
                return true;
        return false;
    }

    // The rows of the plan's horizontal grid lines, and the columns of its vertical ones.
    std::set<int> GridRows() const
    {
        std::set<int> rows;
        for (const CPlanLine& line : Plan().m_grid)
            if (line.m_points[0].y == line.m_points[1].y) {
                EXPECT_EQ(line.m_points[0].x, 0);
                EXPECT_EQ(line.m_points[1].x, graph.m_nChartWidth);
                rows.insert(line.m_points[0].y);
            }
        return rows;
    }
    std::set<int> GridColumns() const
    {
        std::set<int> columns;
        for (const CPlanLine& line : Plan().m_grid)
            if (line.m_points[0].x == line.m_points[1].x)
                columns.insert(line.m_points[0].x);
        return columns;
    }

    // The centres of the icons of one strip in the plan.
    std::set<int> IconCentres(int nStrip) const
    {
        std::set<int> centres;
        for (const CPlanSeries& series : Plan().m_series)
            for (const CPlanIcon& icon : series.m_icons)
                if (icon.m_nStrip == nStrip)
                    centres.insert(icon.m_nLeft + icon.m_nSize / 2);
        return centres;
    }

    // The now marker's pixel: its two columns end there.
    int NowMarker() const
    {
        EXPECT_EQ(Plan().m_marks.size(), 1u);
        if (Plan().m_marks.empty())
            return -1000;
        const RECT& rc = Plan().m_marks[0].m_rc;
        EXPECT_EQ(rc.right - rc.left, 2);
        EXPECT_EQ(rc.top, 0);
        EXPECT_EQ(rc.bottom, H() - CChartPlanner::LINK_BAND);   // the link line's band stays white
        return rc.left + 1;
    }

    CTempFolder m_temp;   // the data object's folder
    CWeatherData data;
    CWndGraph graph{data};
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
    const CGraphScaleX& time = graph.m_planner.TimeScale();
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
    EXPECT_EQ(Chart(x - 1, y), CChartPlan::CR_MARKER);
    EXPECT_EQ(Chart(x, y), CChartPlan::CR_MARKER);
    EXPECT_EQ(Chart(x - 2, y), WHITE);
    EXPECT_EQ(Chart(x + 1, y), WHITE);
    // The plan says the same: the renderer draws what was planned.
    EXPECT_EQ(NowMarker(), x);
    for (int k = 1; k < 3; ++k) {
        const int x0 = time.DateToPixel(CDateTime(base + (k - 1) + 17.0 / 24));
        EXPECT_TRUE(AtNight(x0) && !AtNight(x0 - 1)) << k;
    }
    // Positions and dates agree when every half day has its point.
    EXPECT_EQ(time.PositionToPixel(12), time.DateToPixel(time.m_dtStart));
    EXPECT_EQ(time.PositionToPixel(72), time.DateToPixel(time.m_dtEnd));
}

TEST_F(Composition, DailyAcrossNewYearKeepsTheDatesInOrder)
{
    Daily("daily_newyear.xml");
    const CGraphScaleX& time = graph.m_planner.TimeScale();
    // 30 December 12:00 to 1 January (of the next year) 24:00.
    EXPECT_EQ(time.m_dtStart.SecondsUntil(time.m_dtEnd), 2 * 86400 + 12 * 3600);
    const double base = time.m_dtStart.m_dt - 0.5;
    const int x0 = time.DateToPixel(CDateTime(base + 1 + 17.0 / 24));
    const int x1 = time.DateToPixel(CDateTime(base + 2 + 7.0 / 24));
    EXPECT_GT(x1, x0);
    EXPECT_TRUE(AtNight(x0));
    EXPECT_FALSE(AtNight(x1));
    EXPECT_EQ(time.PositionToPixel(72), 900 - 35);
    EXPECT_EQ(time.DateToPixel(time.m_dtEnd), 900 - 35);
}

TEST_F(Composition, GridLinesOnlyFromTheGridOwnersScale)
{
    // Preset 1 puts the precipitation alone on the left; the temperatures on the
    // right still own the grid.
    for (int nView : {0, 1, 2}) {
        Daily("daily3.xml", nView);
        const CGraphScale& owner = graph.m_planner.ValueScale(SERIES_TEMPERATURES);
        std::set<int> rows;
        for (long long v = owner.FirstTick(); v <= owner.m_nHi; v += owner.TickStep())
            rows.insert(H() - static_cast<int>((v - owner.m_nLo) * owner.m_dFactor + owner.m_nPxLo));
        ASSERT_GE(rows.size(), 3u);
        EXPECT_EQ(GridRows(), rows) << "view " << nView;
    }
}

TEST_F(Composition, NoIconWhereTheValueIsMissing)
{
    Daily("daily3.xml");
    // Precipitation "N/A" on the night of day 0 (position 24): no point, no icon.
    for (int i = 0; i < graph.m_planner.Precipitation().m_points.GetCount(); ++i)
        EXPECT_NE(graph.m_planner.Precipitation().m_points.GetAt(i)->m_nX, 24);
    const CGraphScaleX& time = graph.m_planner.TimeScale();
    const std::set<int> icons = IconCentres(PICTURES_WEATHER);
    EXPECT_TRUE(icons.count(time.PositionToPixel(12)));
    EXPECT_FALSE(icons.count(time.PositionToPixel(24)));
    EXPECT_TRUE(icons.count(time.PositionToPixel(36)));
    // A wind "N/A" leaves no arrow either: five arrows for six half days.
    EXPECT_EQ(graph.m_planner.WindSpeed().m_points.GetCount(), 5);
}

TEST_F(Composition, LabelsAvoidIconsLabelsAndLines)
{
    for (int nDaily : {1, 0}) {
        for (int nView : {0, 1, 2}) {
            if (nDaily)
                Daily("daily3.xml", nView);
            else
                Hourly("hourly12.xml", nView);
            const CChartPlanner& planner = graph.m_planner;
            ASSERT_FALSE(planner.LabelBoxes().empty());
            std::vector<CGraphSegment> segments;
            for (const CGraphSeries* s : {&planner.Lows(), &planner.Highs(), &planner.Temperatures(),
                                          &planner.Precipitation(), &planner.WindSpeed()})
                s->BuildSegments(segments);
            std::vector<CGraphBox> none;
            CLabelPlacer check(graph.m_nChartWidth, H(), segments, none);
            for (size_t i = 0; i < planner.LabelBoxes().size(); ++i) {
                const CGraphBox& box = planner.LabelBoxes()[i];
                EXPECT_TRUE(check.InsideArea(box));
                EXPECT_FALSE(check.CrossedBySegment(box));
                for (const CGraphBox& icon : planner.IconBoxes())
                    EXPECT_FALSE(Overlap(box, icon));
                for (size_t j = 0; j < i; ++j)
                    EXPECT_FALSE(Overlap(box, planner.LabelBoxes()[j]));
                // The label's text is drawn in the series' colour inside its box.
                bool bInk = false;
                for (int x = box.m_nLeft; x < box.m_nLeft + box.m_nWidth; ++x)
                    for (int y = box.m_nTop; y < box.m_nTop + box.m_nHeight; ++y)
                        bInk = bInk || Chart(x, y + H()) == CChartPlan::CR_TEMP;
                EXPECT_TRUE(bInk);
            }
        }
    }
}

TEST_F(Composition, HourlyLabelsOnlyAtEndsAndTurns)
{
    // Temperatures alone, so that icons take no room from the labels.
    CCustomView& view = data.m_settings.m_views[0];
    view.m_series[SERIES_PRECIPITATIONS].m_bDisplay = false;
    view.m_series[SERIES_WIND].m_bDisplay = false;
    Hourly("hourly12.xml");
    std::set<int> labelled;
    for (const CGraphGroup* g : graph.m_planner.LabelGroups()) {
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
    const CGraphScaleX& time = graph.m_planner.TimeScale();
    EXPECT_EQ(IconCentres(PICTURES_WEATHER), (std::set<int>{time.PositionToPixel(1), time.PositionToPixel(10),
                                    time.PositionToPixel(12)}));
}

TEST_F(Composition, HourlyGridAtLabelledHoursAndTheDateOncePerDay)
{
    Hourly("hourly12.xml");
    ASSERT_EQ(graph.m_planner.TimeLabels().GetCount(), 6);   // 10, 12, ..., 20
    const CGraphTimeLabel* pFirst = graph.m_planner.TimeLabels().GetAt(0);
    EXPECT_EQ(pFirst->m_strText1, L"10");
    EXPECT_EQ(pFirst->m_strText2, L"Thu, Dec 10");
    EXPECT_EQ(graph.m_planner.TimeLabels().GetAt(1)->m_strText2, L"");
    for (int i = 0; i < graph.m_planner.TimeLabels().GetCount(); ++i) {
        const int px = graph.m_planner.TimeLabels().GetAt(i)->m_nPx;
        EXPECT_EQ(px, graph.m_planner.TimeScale().PositionToPixel(graph.m_planner.TimeLabels().GetAt(i)->m_nX));
        EXPECT_TRUE(GridColumns().count(px)) << px;
    }
    EXPECT_EQ(GridColumns().size(), 6u);
    // The update at 9:40 with a first hour of 10: the first hour is 10:00 that day.
    EXPECT_EQ(graph.m_planner.TimeScale().m_dtStart.Format(L"%Y-%m-%d %H:%M"), L"2026-12-10 10:00");
    EXPECT_EQ(graph.m_planner.TimeScale().m_dtEnd.Format(L"%Y-%m-%d %H:%M"), L"2026-12-10 21:00");
    // Night begins at 17:00.
    const int x17 = graph.m_planner.TimeScale().DateToPixel(CDateTime(graph.m_planner.TimeScale().m_dtStart.m_dt + 7.0 / 24));
    EXPECT_FALSE(AtNight(x17 - 1));
    EXPECT_TRUE(AtNight(x17 + 1));
}

TEST_F(Composition, EmptyForecastColours)
{
    data.m_settings.m_bDaily = 1;
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
    for (const CPlanText& link : Plan().m_link) {
        const int nCentre = link.m_nLeft + link.m_nWidth / 2;
        if (nCentre >= graph.m_nChartWidth)
            continue;
        EXPECT_LE(std::abs(nCentre - (nCopies * V + V / 2)), 1) << nCopies;
        EXPECT_GE(link.m_nTop, H() - 10);
        EXPECT_LE(link.m_nTop + link.m_nHeight, H());
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
    const int W = graph.m_nChartWidth;
    CBitmap screen;
    screen.CreateBitmap(640, 188);
    CDC dc;
    dc.SelectObject(&screen);
    for (int nScroll : {-100, 0, 300, 504, 100000}) {
        graph.m_nScroll = nScroll;
        graph.Paint(&dc);
        const int xLast = 640 - 32 - 1;
        // Beyond the image's last column the viewport shows white.
        if (nScroll + (xLast - 32) >= W) {
            EXPECT_EQ(screen.GetPixel(xLast, 5), WHITE) << nScroll;
        }
    }
    graph.m_nScroll = 0;
    graph.Paint(&dc);
    EXPECT_EQ(screen.GetPixel(32 + 5, 5), graph.m_chartImage.GetPixel(5, 5));
    dc.SelectObject(static_cast<CBitmap*>(nullptr));
}

// While the chart scrolls, the strip in the viewport shows no piece of a line:
// every pixel that is not the strip's grey belongs to a line shown whole.
TEST_F(Composition, ScrolledStripShowsNoPieceOfALine)
{
    const COLORREF STRIP = RGB(192, 192, 192);
    CDC::UseTextMeasurer(nullptr);   // boxes as wide as the glyphs drawn
    CBitmap screen;
    screen.CreateBitmap(240, 268);
    CDC dc;
    dc.SelectObject(&screen);
    for (bool bDaily : {true, false}) {
        if (bDaily)
            Daily("daily3.xml");
        else
            Hourly("hourly12.xml");
        const int V = graph.ViewportWidth();
        const int nTop = graph.m_rcStrip.top;
        for (int nScroll = 0; nScroll <= graph.MaxScroll(); nScroll += 7) {
            graph.m_nScroll = nScroll;
            graph.Paint(&dc);
            std::vector<RECT> cut;
            std::vector<CPlanText> whole;
            Plan().StripEdges(nScroll, V, cut, whole);
            for (const CPlanText& text : Plan().m_strip)
                if (text.m_nLeft >= nScroll && text.m_nLeft + text.m_nWidth <= nScroll + V)
                    whole.push_back(text);
            for (int x = 0; x < V; ++x)
                for (int y = 0; y < 26; ++y) {
                    if (screen.GetPixel(graph.m_rcStrip.left + x, nTop + y) == STRIP)
                        continue;
                    bool bInside = false;
                    for (const CPlanText& t : whole)
                        bInside = bInside || (x + nScroll >= t.m_nLeft && x + nScroll < t.m_nLeft + t.m_nWidth
                                              && y >= t.m_nTop && y < t.m_nTop + t.m_nHeight);
                    ASSERT_TRUE(bInside) << (bDaily ? "daily" : "hourly") << " offset " << nScroll << " at " << x << "," << y;
                }
        }
    }
    dc.SelectObject(static_cast<CBitmap*>(nullptr));
}

TEST_F(Composition, NegativeLabelsAgreeWithTheirScale)
{
    // Lows of 14, 24 and 30 °F: -10.0, -4.4 and -1.1 °C.
    FeedFile feed(DailyFeed("12/10/26 6:00 AM", {"Dec 10", "Dec 11", "Dec 12"}, {14, 24, 30}));
    DailyFrom(feed.Path());
    const CGraphScale& scale = graph.m_planner.ValueScale(SERIES_TEMPERATURES);
    const wchar_t* expected[] = {L"-10", L"-4", L"-1"};
    ASSERT_EQ(graph.m_planner.Lows().m_points.GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const CGraphPoint* p = graph.m_planner.Lows().m_points.GetAt(i);
        EXPECT_EQ(p->m_strText, expected[i]);
        // Where the scale puts the labelled value lies within half a degree of the point.
        const int v = std::stoi(p->m_strText);
        const double dScale = (v - scale.m_nLo) * scale.m_dFactor + scale.m_nPxLo;
        EXPECT_LE(std::abs(dScale - p->m_nPy), scale.m_dFactor / 2 + 1) << p->m_strText;
    }
    // The scale beside them starts at the lowest label's value.
    EXPECT_EQ(scale.m_nLo, -10);
    EXPECT_EQ(scale.FirstTick(), -10);
}

TEST_F(Composition, DailyDatesAroundNewYear)
{
    const long long DEC_31_NOON = 1798718400LL;
    const long long JAN_1_NOON = 1798804800LL;
    const std::vector<std::string> fromDec30 = {"Dec 30", "Dec 31", "Jan 1"};
    const std::vector<std::string> fromDec31 = {"Dec 31", "Jan 1", "Jan 2"};
    const std::vector<std::string> fromJan1 = {"Jan 1", "Jan 2", "Jan 3"};
    const struct {
        long long clock;
        const char* pszUpdate;
        std::vector<std::string> dates;
        const wchar_t* start;
        const wchar_t* end;
        bool bNowSeen;
    } cases[] = {
        {DEC_31_NOON, "12/31/26 6:00 AM", fromDec31, L"2026-12-31 12:00", L"2027-01-03 00:00", true},
        // The device already in the new year, day 0 still in the old one.
        {JAN_1_NOON, "12/31/26 6:00 AM", fromDec31, L"2026-12-31 12:00", L"2027-01-03 00:00", true},
        {JAN_1_NOON, "12/30/26 6:00 AM", fromDec30, L"2026-12-30 12:00", L"2027-01-02 00:00", true},
        {DEC_31_NOON, "12/30/26 6:00 AM", fromDec30, L"2026-12-30 12:00", L"2027-01-02 00:00", true},
        // Day 0 already in the new year, on a device still in the old one (its
        // noon lies before the chart).
        {DEC_31_NOON, "1/1/27 6:00 AM", fromJan1, L"2027-01-01 12:00", L"2027-01-04 00:00", false},
        {JAN_1_NOON, "1/1/27 6:00 AM", fromJan1, L"2027-01-01 12:00", L"2027-01-04 00:00", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszUpdate) + " " + c.dates[0] + (c.clock == JAN_1_NOON ? " on 1 Jan" : " on 31 Dec"));
        CFakeClock::Set(c.clock, 0);
        FeedFile feed(DailyFeed(c.pszUpdate, c.dates));
        DailyFrom(feed.Path());
        const CGraphScaleX& time = graph.m_planner.TimeScale();
        EXPECT_EQ(time.m_dtStart.Format(L"%Y-%m-%d %H:%M"), c.start);
        EXPECT_EQ(time.m_dtEnd.Format(L"%Y-%m-%d %H:%M"), c.end);
        // The now marker is on the chart.
        CDateTime dtNow;
        FormatAge(data.m_daily.m_dtLastUpdate, data.m_daily.m_nZone, dtNow);
        const int x = time.DateToPixel(dtNow);
        if (!c.bNowSeen) {
            EXPECT_LT(NowMarker(), 1);
            EXPECT_LT(x, 0);
            continue;
        }
        ASSERT_GE(x, 1);
        ASSERT_LT(x, graph.m_nChartWidth);
        EXPECT_EQ(NowMarker(), x);
    }
}

TEST_F(Composition, DailyDateGoingBackwardsDoesNotStretchTheRange)
{
    FeedFile feed(DailyFeed("12/10/26 6:00 AM", {"Dec 10", "Dec 11", "Dec 5", "Dec 13"}));
    DailyFrom(feed.Path());
    const CGraphScaleX& time = graph.m_planner.TimeScale();
    EXPECT_EQ(time.m_dtStart.Format(L"%Y-%m-%d %H:%M"), L"2026-12-10 12:00");
    EXPECT_EQ(time.m_dtEnd.Format(L"%Y-%m-%d %H:%M"), L"2026-12-14 00:00");
    EXPECT_EQ(time.PositionToPixel(24 * 4), time.DateToPixel(time.m_dtEnd));
}

TEST_F(Composition, HostileZoneAndClockHourAreHeldToRealOnes)
{
    const struct { const char* pszZone; int nZone; } cases[] = {{"2147483647", 14}, {"-2147483647", -12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszZone);
        FeedFile feed(HourlyFeed(12, "99999999999", c.pszZone));
        HourlyFrom(feed.Path());
        EXPECT_EQ(data.m_hourly.m_nZone, c.nZone);
        // The first hour reads as 23:00 of the update's day.
        EXPECT_EQ(data.m_hourly.m_hours.GetAt(0)->m_nClock, 23);
        EXPECT_EQ(graph.m_planner.TimeScale().m_dtStart.Format(L"%Y-%m-%d %H:%M"), L"2026-12-10 23:00");
        EXPECT_EQ(graph.m_planner.TimeScale().m_dtEnd.Format(L"%Y-%m-%d %H:%M"), L"2026-12-11 10:00");
    }
}

// The 72-hour strip takes one step for all its labels, the smallest of 2, 3, 4
// and 6 hours whose labels keep a blank column between them, with the test's
// fixed metrics and with the real font; every label is drawn, evenly spaced,
// and the date stands once under the first label of each day.
TEST_F(Composition, HourlyStripIsRegularAndNeverRunsTogether)
{
    FeedFile feed(HourlyFeed(72));
    const COLORREF STRIP = RGB(192, 192, 192);
    for (bool bRealFont : {false, true}) {
        CDC::UseTextMeasurer(bRealFont ? nullptr : &CFixedTextMeasurer::Measure);
        for (SIZE client : {SIZE{240, 268}, SIZE{320, 188}}) {
            SCOPED_TRACE(std::to_string(client.cx) + (bRealFont ? " real font" : " fixed metrics"));
            graph.SetClientSize(client.cx, client.cy);
            HourlyFrom(feed.Path());
            const CPointerArray<CGraphTimeLabel>& labels = graph.m_planner.TimeLabels();
            const int nCount = labels.GetCount();
            ASSERT_GE(nCount, 12);
            const int nStep = std::stoi(labels.GetAt(1)->m_strText1) - std::stoi(labels.GetAt(0)->m_strText1);
            EXPECT_TRUE(nStep == 3 || nStep == 4) << nStep;   // two hours are 12 pixels apart
            const int nSpacing = labels.GetAt(1)->m_nPx - labels.GetAt(0)->m_nPx;
            std::set<std::wstring> dates;
            for (int i = 0; i < nCount; ++i) {
                const CGraphTimeLabel* p = labels.GetAt(i);
                EXPECT_TRUE(p->m_bShown) << i;
                EXPECT_EQ(std::stoi(p->m_strText1) % nStep, 0) << i;
                if (i > 0) {
                    EXPECT_LE(std::abs(p->m_nPx - labels.GetAt(i - 1)->m_nPx - nSpacing), 1) << i;
                }
                const bool bNewDay = i == 0 || std::stoi(p->m_strText1) < std::stoi(labels.GetAt(i - 1)->m_strText1);
                EXPECT_EQ(!p->m_strText2.empty(), bNewDay) << i;
                if (!p->m_strText2.empty()) {
                    EXPECT_TRUE(dates.insert(p->m_strText2).second) << i;
                }
            }
            EXPECT_EQ(dates.size(), 4u);   // 10 December 10:00 to 13 December 9:00
            // A column of bare strip just left of every hour drawn.
            for (const CPlanText& text : graph.m_plan.m_strip) {
                if (text.m_nTop != 0)
                    continue;
                bool bBlank = true;
                for (int y = 0; y < 11; ++y)
                    bBlank = bBlank && graph.m_stripImage.GetPixel(text.m_nLeft - 1, y) == STRIP;
                EXPECT_TRUE(bBlank) << text.m_nLeft;
            }
        }
    }
}

// "View this forecast at" and the service's name fit the narrowest viewport (176
// pixels: portrait with both panels) in the chart's real font; a longer name
// configured by the user is cut, so every copy is whole within its viewport
// width and the copies never touch.
TEST_F(Composition, LinkLineFitsTheViewport)
{
    CDC::UseTextMeasurer(nullptr);
    CBitmap scratch;
    scratch.CreateBitmap(1, 1);
    CDC dc;
    dc.SelectObject(&scratch);
    dc.SelectObject(graph.m_fonts.m_hFontNormal);
    EXPECT_LE(dc.GetTextExtent(std::wstring(L"View this forecast at ") + CServiceConfig::DEFAULT_NAME).cx, 176 - 8);

    const COLORREF LINK = CChartPlan::CR_LINK;
    for (const char* pszName : {static_cast<const char*>(nullptr), "Cirrovan Weather Service of the Northern Hemisphere"}) {
        SCOPED_TRACE(pszName ? pszName : "default");
        if (pszName)
            setenv("CIRROVAN_SERVICE_NAME", pszName, 1);
        else
            unsetenv("CIRROVAN_SERVICE_NAME");
        Daily("daily3.xml");
        unsetenv("CIRROVAN_SERVICE_NAME");
        const int V = graph.m_rcChart.right - graph.m_rcChart.left;
        ASSERT_EQ(V, 176);
        for (int g = 0; g + V <= graph.m_nChartWidth; g += V) {
            int nLeft = -1;
            int nRight = -1;
            for (int x = g; x < g + V; ++x)
                for (int y = H() - 10; y < H(); ++y)
                    if (Chart(x, y) == LINK) {
                        if (nLeft < 0)
                            nLeft = x;
                        nRight = x;
                    }
            ASSERT_GE(nLeft, 0) << g;
            EXPECT_GE(nLeft, g + 2) << g;
            EXPECT_LE(nRight, g + V - 3) << g;
        }
    }
}

// A feed can carry tens of thousands of records within the loader's limits; the
// chart plots only as many as it has room for, so composing stays instant.
TEST_F(Composition, OversizedFeedsPlotOnlyWhatTheChartHasRoomFor)
{
    std::vector<std::string> dates(2000, "Dec 10");
    FeedFile daily(DailyFeed("12/10/26 6:00 AM", dates));
    DailyFrom(daily.Path());
    EXPECT_EQ(graph.m_planner.Lows().m_points.GetCount(), CChartPlanner::MAX_CHART_DAYS);

    FeedFile hourly(HourlyFeed(5000));
    HourlyFrom(hourly.Path());
    EXPECT_EQ(graph.m_planner.Temperatures().m_points.GetCount(), CChartPlanner::MAX_CHART_HOURS);
}
