// Whatever a forecast holds, every mark a chart draws reads whole: no icon,
// arrow, value label, link copy or strip label covers another, none is cut by
// an image's edge, and the time strip is evenly spaced. One table of forecasts
// built here, planned without pixels, at the screen's two widths.
#include "chart/ChartPlanner.h"
#include "platform/testing/FakeClock.h"
#include "chart/TextMeasure.h"
#include "chart/view/ChartFonts.h"
#include "chart/view/ChartTextMeasure.h"
#include "platform/Clock.h"
#include "settings/Settings.h"
#include "store/DailyForecast.h"
#include "store/HourlyForecast.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// The platform's fixed test metrics: 6 x 10 per character in bold, 5 x 9 in
// the normal font.
class FixedMeasure : public CTextMeasure
{
public:
    SIZE Measure(int nFont, const std::wstring& str) const override
    {
        const int n = static_cast<int>(str.size());
        return nFont == CHART_FONT_NORMAL ? SIZE{5 * n, 9} : SIZE{6 * n, 10};
    }
};

struct Rect
{
    int l, t, w, h;
    std::string what;
};

bool Meet(const Rect& a, const Rect& b)
{
    return a.l < b.l + b.w && b.l < a.l + a.w && a.t < b.t + b.h && b.t < a.t + a.h;
}

Rect Of(const CPlanText& t, const char* pszWhat)
{
    return {t.m_nLeft, t.m_nTop, t.m_nWidth, t.m_nHeight,
            std::string(pszWhat) + " '" + std::string(t.m_str.begin(), t.m_str.end()) + "'"};
}

std::string Where(const Rect& r)
{
    return r.what + " at " + std::to_string(r.l) + "," + std::to_string(r.t) + " "
         + std::to_string(r.w) + "x" + std::to_string(r.h);
}

// Every mark of one image inside it and clear of every other.
void ExpectWholeAndApart(const std::vector<Rect>& marks, int nWidth, int nHeight, const char* pszImage)
{
    for (size_t i = 0; i < marks.size(); ++i) {
        const Rect& a = marks[i];
        EXPECT_TRUE(a.l >= 0 && a.t >= 0 && a.l + a.w <= nWidth && a.t + a.h <= nHeight)
            << pszImage << ": " << Where(a);
        for (size_t j = i + 1; j < marks.size(); ++j)
            EXPECT_FALSE(Meet(a, marks[j])) << pszImage << ": " << Where(a) << " / " << Where(marks[j]);
    }
}

// One day or hour of a forecast; temperatures in °F, wind in km/h.
struct Record
{
    int nTemp;   // the hour's temperature, or the day's low (its high 10 above)
    int nIcon;
    int nPrecip;
    int nWind;
    int nDir;
};

const char* const WEEKDAYS[7] = {"Thursday", "Friday", "Saturday", "Sunday", "Monday", "Tuesday", "Wednesday"};

std::string DailyFeed(const std::vector<Record>& days)
{
    std::string str = "<weather><loc><zone>0</zone></loc><dayf><lsup>12/10/26 6:00 AM</lsup>";
    for (size_t i = 0; i < days.size(); ++i) {
        const Record& r = days[i];
        const Record& n = days[(i + 1) % days.size()];   // the night part borrows the next day's sky
        auto part = [](const char* p, const Record& x) {
            return std::string("<part p='") + p + "'><icon>" + std::to_string(x.nIcon) + "</icon><ppcp>"
                 + std::to_string(x.nPrecip) + "</ppcp><wind><s>" + std::to_string(x.nWind) + "</s><d>"
                 + std::to_string(x.nDir) + "</d></wind></part>";
        };
        str += "<day d='" + std::to_string(i) + "' t='" + WEEKDAYS[i % 7] + "' dt='Dec "
             + std::to_string(10 + i) + "'><low>" + std::to_string(r.nTemp) + "</low><hi>"
             + std::to_string(r.nTemp + 10) + "</hi><sunr>7:00 AM</sunr><suns>5:00 PM</suns>"
             + part("d", r) + part("n", n) + "</day>";
    }
    return str + "</dayf></weather>";
}

// Hours from 10:00 on 10 December, the update at 9:40.
std::string HourlyFeed(const std::vector<Record>& hours)
{
    std::string str = "<weather><loc><zone>0</zone><sunr>7:00 AM</sunr><suns>5:00 PM</suns></loc>"
                      "<hbhf><lsup>12/10/26 9:40 AM GMT</lsup>";
    for (size_t h = 0; h < hours.size(); ++h) {
        const Record& r = hours[h];
        str += "<hour h='" + std::to_string(h + 1) + "' c='" + std::to_string((10 + h) % 24) + "'><tmp>"
             + std::to_string(r.nTemp) + "</tmp><icon>" + std::to_string(r.nIcon) + "</icon><ppcp>"
             + std::to_string(r.nPrecip) + "</ppcp><wind><s>" + std::to_string(r.nWind) + "</s><d>"
             + std::to_string(r.nDir) + "</d></wind></hour>";
    }
    return str + "</hbhf></weather>";
}

// n records from a rule of their index.
template <class F>
std::vector<Record> Records(int n, F rule)
{
    std::vector<Record> records;
    for (int i = 0; i < n; ++i)
        records.push_back(rule(i));
    return records;
}

// Clear by day and night, never a drop: every icon on the 0 % line, just above
// the link line.
Record Dry(int i) { return {50 + (i * 7) % 11, i % 2 ? 31 : 32, 0, 5, 90}; }
// Storms, rain, snow, fog, clouds and sun in turn, the chances all over.
Record Mixed(int i)
{
    static const int icons[10] = {4, 12, 26, 30, 32, 16, 20, 11, 47, 34};
    return {30 + (i * 13) % 40, icons[i % 10], (i * 37) % 101, 3 + (i * 11) % 30, (i * 70) % 360};
}
// A wind that turns every hour at almost the same speed: arrows side by side.
Record Gusty(int i) { return {60 + i % 3, 26, 40, 20 + i % 2, (i * 45) % 360}; }
// The extremes first and last, so their labels are pushed against the ends.
Record Edges(int i, int n)
{
    const int nTemp = i == 0 ? 99 : i == n - 1 ? -40 : 40 + (i % 2) * 5;
    return {nTemp, 12, i == 0 || i == n - 1 ? 100 : 50, i == 0 ? 60 : 10, 180};
}

struct Case
{
    const char* pszName;
    bool bDaily;
    std::vector<Record> records;
    int nScreenWidth;    // 240 portrait, 320 landscape
    int nStep;           // the hour strip's step with the fixed metrics; 0: not checked
    int nTempUnit;
    int nWindUnit;
    int nView;
};

std::vector<Case> Cases()
{
    std::vector<Case> cases = {
        {"dry day", true, Records(10, Dry), 240, 0, 0, 0, 0},
        {"dry hours", false, Records(72, Dry), 240, 3, 1, 1, 0},
        {"dry day, link line beside the icons", true, Records(10, Dry), 320, 0, 0, 2, 1},
        {"mixed days", true, Records(10, Mixed), 240, 0, 1, 3, 0},
        {"mixed hours", false, Records(48, Mixed), 320, 2, 0, 4, 2},
        {"close wind", false, Records(72, Gusty), 240, 3, 0, 0, 2},
        {"close wind, landscape", false, Records(72, Gusty), 320, 3, 1, 2, 1},
        {"labels at both ends, days", true, Records(10, [](int i) { return Edges(i, 10); }), 240, 0, 1, 1, 0},
        {"labels at both ends, hours", false, Records(24, [](int i) { return Edges(i, 24); }), 320, 2, 0, 3, 0},
        // The highest value last, under the right-hand panel's top number.
        {"labels beside the panels", true, Records(10, [](int i) { return Edges(9 - i, 10); }), 320, 0, 1, 4, 2},
        {"labels beside the panels, hours", false, Records(72, [](int i) { return Edges(71 - i, 72); }), 240, 3, 1, 0, 1},
    };
    // The strip at both widths for every step it may take.
    const int hours[4][2] = {{48, 2}, {72, 3}, {110, 4}, {144, 6}};
    for (int nWidth : {240, 320})
        for (const auto& h : hours)
            cases.push_back({"strip", false, Records(h[0], Mixed), nWidth, h[1], (h[0] / 24) % 2,
                             h[0] % 5, 0});
    return cases;
}

class ChartMarks : public ::testing::Test
{
protected:
    void SetUp() override { CFakeClock::Set(1796907600LL, 0); }   // 10 December 2026, 13:00 UTC
    void TearDown() override { CFakeClock::Clear(); }

    // Plans the case as the chart window would at that screen size.
    void Plan(const Case& c, CChartPlanner& planner, CChartPlan& plan)
    {
        CSettings settings;
        for (int v = 0; v < 3; ++v)
            settings.m_views[v].ApplyPreset(v);
        settings.m_nCurrentView = c.nView;
        settings.m_nTempUnit = c.nTempUnit;
        settings.m_nWindUnit = c.nWindUnit;
        std::vector<int> sides[2];
        CChartPlanner::SideSeries(settings, sides);
        CChartFrame frame;
        frame.m_nWidth = c.bDaily ? CChartPlanner::DAILY_CHART_WIDTH : CChartPlanner::HOURLY_CHART_WIDTH;
        // The chart window on that screen: inside its border, and in landscape
        // beside the main window's buttons.
        const SIZE client = c.nScreenWidth == 240 ? SIZE{238, 210} : SIZE{286, 156};
        frame.m_nHeight = client.cy - 26;
        frame.m_nViewport = client.cx - (sides[0].empty() ? 0 : 32) - (sides[1].empty() ? 0 : 32);
        TiXmlDocument doc;
        const std::string strFeed = c.bDaily ? DailyFeed(c.records) : HourlyFeed(c.records);
        doc.Parse(strFeed.c_str());
        if (c.bDaily) {
            CDailyForecast daily;
            ASSERT_TRUE(daily.Read(doc));
            planner.PlanDaily(daily, settings, CDeviceClock::Now(), frame, plan);
        } else {
            CHourlyForecast hourly;
            ASSERT_TRUE(hourly.Read(doc));
            planner.PlanHourly(hourly, settings, CDeviceClock::Now(), frame, plan);
        }
        ASSERT_FALSE(plan.m_bEmpty);
    }

    void Check(const CTextMeasure& measure, const Case& c, bool bFixed)
    {
        CChartPlanner planner(measure);
        CChartPlan plan;
        Plan(c, planner, plan);
        if (HasFatalFailure())
            return;

        std::vector<Rect> chart;
        size_t nIcons = 0;
        for (const CPlanSeries& series : plan.m_series) {
            for (const CPlanIcon& icon : series.m_icons)
                chart.push_back({icon.m_nLeft, icon.m_nTop, icon.m_nSize, icon.m_nSize,
                                 icon.m_nStrip == PICTURES_ARROWS ? "arrow" : "icon"});
            nIcons += series.m_icons.size();
            for (const CPlanText& label : series.m_labels)
                chart.push_back(Of(label, "label"));
        }
        EXPECT_GT(nIcons, 0u);
        EXPECT_FALSE(plan.m_link.empty());
        for (const CPlanText& link : plan.m_link)
            chart.push_back(Of(link, "link"));
        ExpectWholeAndApart(chart, plan.m_nWidth, plan.m_nHeight, "chart");

        std::vector<Rect> strip;
        for (const CPlanText& text : plan.m_strip)
            strip.push_back(Of(text, "strip"));
        ExpectWholeAndApart(strip, plan.m_nWidth, plan.m_nStripHeight, "strip");

        // Each panel: its numbers and its unit, inside it and apart.
        for (int side = 0; side < 2; ++side)
            for (const CPlanPanel& panel : plan.m_panels[side]) {
                std::vector<Rect> texts;
                for (const CPlanText& text : panel.m_texts)
                    texts.push_back(Of(text, "panel"));
                ExpectWholeAndApart(texts, CChartPlanner::PANEL_WIDTH, plan.m_nHeight, "panel");
                const std::wstring strUnit = panel.m_nSeries == SERIES_TEMPERATURES
                                                 ? TemperatureUnitName(c.nTempUnit)
                                                 : panel.m_nSeries == SERIES_PRECIPITATIONS
                                                       ? std::wstring(L"%")
                                                       : WindUnitName(c.nWindUnit);
                EXPECT_TRUE(std::any_of(panel.m_texts.begin(), panel.m_texts.end(),
                                        [&](const CPlanText& t) { return t.m_str == strUnit; }))
                    << "unit of series " << panel.m_nSeries;
            }

        // Every label of the strip shown, one step apart.
        const CPointerArray<CGraphTimeLabel>& labels = planner.m_timeLabels;
        ASSERT_GE(labels.GetCount(), 3);
        const int nSpacing = labels.GetAt(1)->m_nPx - labels.GetAt(0)->m_nPx;
        for (int i = 0; i < labels.GetCount(); ++i) {
            EXPECT_TRUE(labels.GetAt(i)->m_bShown) << i;
            if (i > 0) {
                EXPECT_LE(std::abs(labels.GetAt(i)->m_nPx - labels.GetAt(i - 1)->m_nPx - nSpacing), 1) << i;
            }
        }
        if (!c.bDaily && bFixed && c.nStep > 0) {
            EXPECT_EQ(std::stoi(labels.GetAt(1)->m_strText1) - std::stoi(labels.GetAt(0)->m_strText1), c.nStep);
        }
    }
};

TEST_F(ChartMarks, EveryMarkWholeAndApart)
{
    FixedMeasure fixed;
    CChartFonts fonts;
    CChartTextMeasure real(fonts);
    for (const Case& c : Cases()) {
        for (bool bFixed : {true, false}) {
            SCOPED_TRACE(std::string(c.pszName) + ", " + std::to_string(c.records.size()) + " records at "
                         + std::to_string(c.nScreenWidth) + (bFixed ? ", fixed metrics" : ", real font"));
            Check(bFixed ? static_cast<const CTextMeasure&>(fixed) : real, c, bFixed);
        }
    }
}

// Scrolled a pixel at a time, the strip's lines in the viewport are whole and
// apart: a day's name or date cut by an edge stands whole inside it when there
// is room, anything else cut there is covered; and a day's name is always in view.
TEST_F(ChartMarks, StripLinesWholeAtEveryOffset)
{
    FixedMeasure measure;
    for (const Case& c : {Case{"days", true, Records(10, Mixed), 240, 0, 0, 0, 0},
                          Case{"hours", false, Records(72, Mixed), 320, 0, 0, 0, 0}}) {
        SCOPED_TRACE(c.pszName);
        CChartPlanner planner(measure);
        CChartPlan plan;
        Plan(c, planner, plan);
        const int V = (c.nScreenWidth == 240 ? 238 : 286) - 64;
        bool bMovedThursday = false;
        for (int s = 0; s + V <= plan.m_nWidth; ++s) {
            std::vector<RECT> cut;
            std::vector<CPlanText> moved;
            plan.StripEdges(s, V, cut, moved);
            std::vector<Rect> shown;
            size_t nCut = 0;
            int nFirstLines = 0;
            for (const CPlanText& text : plan.m_strip) {
                if (text.m_nLeft >= s && text.m_nLeft + text.m_nWidth <= s + V) {
                    shown.push_back(Of(text, "strip"));
                    nFirstLines += text.m_nTop == 0;
                } else if (text.m_nLeft < s + V && s < text.m_nLeft + text.m_nWidth) {
                    ++nCut;
                }
            }
            for (const CPlanText& text : moved) {
                shown.push_back(Of(text, "moved"));
                nFirstLines += text.m_nTop == 0;
                bMovedThursday = bMovedThursday || text.m_str == L"Thursday";
            }
            EXPECT_EQ(cut.size(), nCut) << s;
            for (Rect& r : shown)
                r.l -= s;
            ExpectWholeAndApart(shown, V, plan.m_nStripHeight, ("offset " + std::to_string(s)).c_str());
            if (c.bDaily) {
                EXPECT_GE(nFirstLines, 1) << s;
            }
        }
        EXPECT_EQ(bMovedThursday, c.bDaily);
    }
}

} // namespace
