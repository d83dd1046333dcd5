// Whatever a forecast holds, every mark a chart draws reads whole: no icon,
// arrow, value label, link copy or strip label covers another, none is cut by
// an image's edge, and the time strip is evenly spaced. One table of forecasts
// built here, planned without pixels, at the screen's two widths.
#include "chart/ChartPlanner.h"
#include "chart/LabelPlacer.h"
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

// Hours from 10:00 (or another hour) on 10 December, the update at 9:40.
std::string HourlyFeed(const std::vector<Record>& hours, int nFirstClock = 10)
{
    std::string str = "<weather><loc><zone>0</zone><sunr>7:00 AM</sunr><suns>5:00 PM</suns></loc>"
                      "<hbhf><lsup>12/10/26 9:40 AM GMT</lsup>";
    for (size_t h = 0; h < hours.size(); ++h) {
        const Record& r = hours[h];
        str += "<hour h='" + std::to_string(h + 1) + "' c='" + std::to_string((nFirstClock + h) % 24) + "'><tmp>"
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
    int nFirstClock = 10;   // of an hourly chart
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

// The runs of equal values of a temperature line that stand above or below
// both neighbours: its local highs and lows, as indexes of their points.
std::vector<std::vector<int>> Extremes(const CGraphSeries& line)
{
    std::vector<std::vector<int>> runs;
    const int n = line.m_points.GetCount();
    for (int i = 0; i < n;) {
        int j = i;
        while (j + 1 < n && line.m_points.GetAt(j + 1)->m_nY == line.m_points.GetAt(i)->m_nY)
            ++j;
        if (i > 0 && j + 1 < n) {
            const int y = line.m_points.GetAt(i)->m_nY;
            const int before = line.m_points.GetAt(i - 1)->m_nY;
            const int after = line.m_points.GetAt(j + 1)->m_nY;
            if ((y > before && y > after) || (y < before && y < after)) {
                runs.emplace_back();
                for (int k = i; k <= j; ++k)
                    runs.back().push_back(k);
            }
        }
        i = j + 1;
    }
    return runs;
}

// Every local high and low of a temperature line has its value label, and no
// icon or arrow covers the point it labels; the label itself keeps clear of
// them (checked with every mark).
void ExpectExtremesLabelledInSight(const CChartPlanner& planner, const CTextMeasure& measure)
{
    for (const CGraphSeries* pLine : {&planner.Temperatures(), &planner.Lows(), &planner.Highs()}) {
        const std::vector<std::vector<int>> runs = Extremes(*pLine);
        for (size_t r = 0; r < runs.size(); ++r) {
            const std::vector<int>& run = runs[r];
            // Turns closer together than two labels' width (a saw of hours) are
            // more than labels can stand beside; each of the others is labelled.
            const CGraphPoint& a = *pLine->m_points.GetAt(run.front());
            const CGraphPoint& b = *pLine->m_points.GetAt(run.back());
            const int nRoom = 2 * measure.Measure(CHART_FONT_BOLD, a.m_strText).cx + 4;
            const int nBefore = r > 0 ? pLine->m_points.GetAt(runs[r - 1].back())->m_nPx : -100000;
            const int nAfter = r + 1 < runs.size() ? pLine->m_points.GetAt(runs[r + 1].front())->m_nPx : 100000;
            if (a.m_nPx - nBefore < nRoom || nAfter - b.m_nPx < nRoom)
                continue;
            const CGraphPoint* pLabelled = nullptr;
            for (size_t k = 0; k < planner.LabelGroups().size() && !pLabelled; ++k) {
                const CGraphGroup& group = *planner.LabelGroups()[k];
                if (group.m_pSeries != pLine)
                    continue;
                for (int nPoint : group.m_points) {
                    if (std::find(run.begin(), run.end(), nPoint) == run.end())
                        continue;
                    // The point the label stands at: one of its candidate boxes is the label's.
                    const CGraphPoint& point = *pLine->m_points.GetAt(nPoint);
                    const SIZE size = measure.Measure(CHART_FONT_BOLD, point.m_strText);
                    for (int c = 0; c < 8; ++c) {
                        CGraphBox box;
                        const CGraphBox& label = planner.LabelBoxes()[k];
                        // On any side: one that no line leaves room for takes another.
                        if (CLabelPlacer::Candidate(point, PLACE_ABOVE | PLACE_BELOW | PLACE_LEFT | PLACE_RIGHT, c,
                                                    size, box)
                            && box.m_nLeft == label.m_nLeft && box.m_nTop == label.m_nTop)
                            pLabelled = &point;
                    }
                }
            }
            const CGraphPoint& first = *pLine->m_points.GetAt(run.front());
            EXPECT_TRUE(pLabelled) << "no label at the extreme at pixel " << first.m_nPx << ", "
                                   << first.m_nPy;
            if (!pLabelled)
                continue;
            for (const CGraphBox& icon : planner.IconBoxes())
                EXPECT_FALSE(icon.m_nLeft <= pLabelled->m_nPx && pLabelled->m_nPx < icon.m_nLeft + icon.m_nWidth
                             && icon.m_nTop <= -pLabelled->m_nPy && -pLabelled->m_nPy < icon.m_nTop + icon.m_nHeight)
                    << "a picture over the extreme at " << pLabelled->m_nPx << ", " << pLabelled->m_nPy;
        }
    }
}

void ExpectLabelsWholeOrCovered(const CChartPlan& plan, int s, int V)
{
    std::vector<CPlanCut> cut;
    plan.LabelEdges(s, V, cut);
    size_t nLabel = 0;
    auto next = cut.begin();
    for (const CPlanSeries& series : plan.m_series)
        for (const CPlanText& label : series.m_labels) {
            const int l = label.m_nLeft;
            const int r = l + label.m_nWidth;
            const bool bCovered = next != cut.end() && next->m_nLabel == nLabel;
            if (l >= s + V || r <= s || (l >= s && r <= s + V)) {
                EXPECT_FALSE(bCovered) << "offset " << s << ": " << Where(Of(label, "label"));
            } else {
                EXPECT_TRUE(bCovered) << "offset " << s << ": " << Where(Of(label, "label"));
                if (bCovered) {
                    EXPECT_EQ(next->m_rc.left, std::max(l, s));
                    EXPECT_EQ(next->m_rc.right, std::min(r, s + V));
                    EXPECT_EQ(next->m_rc.top, label.m_nTop);
                    EXPECT_EQ(next->m_rc.bottom, label.m_nTop + label.m_nHeight);
                }
            }
            next += bCovered ? 1 : 0;
            ++nLabel;
        }
    EXPECT_TRUE(next == cut.end()) << "offset " << s;
}

// A day runs from its date's column to the next date's. Each day with a first
// line (an hour, a weekday) whole in view has its date on screen, whole in view
// or moved there, whole or as its first word.
void ExpectDateForEveryDayInView(const CChartPlan& plan, const std::vector<CPlanText>& moved, int s, int V)
{
    std::vector<const CPlanText*> dates;
    for (const CPlanText& text : plan.m_strip)
        if (text.m_nTop != 0)
            dates.push_back(&text);
    for (size_t d = 0; d < dates.size(); ++d) {
        const int nStart = dates[d]->m_nLeft;
        const int nEnd = d + 1 < dates.size() ? dates[d + 1]->m_nLeft : plan.m_nWidth;
        bool bInView = false;
        for (const CPlanText& text : plan.m_strip) {
            const int nCentre = text.m_nLeft + text.m_nWidth / 2;
            bInView = bInView || (text.m_nTop == 0 && nStart <= nCentre && nCentre < nEnd && text.m_nLeft >= s
                                  && text.m_nLeft + text.m_nWidth <= s + V);
        }
        // A day just coming in at the right edge, with less room than its
        // weekday takes, is named once it has that room.
        const int nRoom = std::min(nEnd, s + V) - std::max(nStart, s);
        if (!bInView || nRoom < dates[d]->m_nFirstWordWidth + 3 * CGraphScaleX::TIME_LABEL_GAP)
            continue;
        const std::wstring& str = dates[d]->m_str;
        bool bShown = dates[d]->m_nLeft >= s && dates[d]->m_nLeft + dates[d]->m_nWidth <= s + V;
        for (const CPlanText& text : moved)
            bShown = bShown || (text.m_nTop == dates[d]->m_nTop && !text.m_str.empty()
                                && str.compare(0, text.m_str.size(), text.m_str) == 0
                                && text.m_nSource == dates[d]->m_nLeft);
        EXPECT_TRUE(bShown) << "offset " << s << ": no date for '" << std::string(str.begin(), str.end()) << "'";
    }
}

class ChartMarks : public ::testing::Test
{
protected:
    int m_nWindUnscaled = 0;   // charts with a wind line whose scale no panel shows at once
    int m_nWindLabelled = 0;   // and of those, the ones that label it
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
        const std::string strFeed = c.bDaily ? DailyFeed(c.records) : HourlyFeed(c.records, c.nFirstClock);
        doc.Parse(strFeed.c_str());
        if (c.bDaily) {
            CDailyForecast daily;
            ASSERT_TRUE(daily.Read(doc));
            plan = planner.PlanDaily(daily, settings, CDeviceClock::Now(), frame);
        } else {
            CHourlyForecast hourly;
            ASSERT_TRUE(hourly.Read(doc));
            plan = planner.PlanHourly(hourly, settings, CDeviceClock::Now(), frame);
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
        // A wind line with no scale in sight says its values, the first with its unit.
        const bool bWindScale = (!plan.m_panels[0].empty() && plan.m_panels[0][0].m_nSeries == SERIES_WIND)
                             || (!plan.m_panels[1].empty() && plan.m_panels[1][0].m_nSeries == SERIES_WIND);
        for (const CPlanSeries& series : plan.m_series)
            if (series.m_nSeries == SERIES_WIND) {
                if (bWindScale) {
                    EXPECT_TRUE(series.m_labels.empty());
                } else {
                    ++m_nWindUnscaled;
                    m_nWindLabelled += series.m_labels.empty() ? 0 : 1;
                }
                if (!series.m_labels.empty()) {
                    const std::wstring& str = series.m_labels.front().m_str;
                    EXPECT_NE(str.find(L" " + WindUnitName(c.nWindUnit)), std::wstring::npos);
                }
            }
        EXPECT_FALSE(plan.m_link.empty());
        for (const CPlanText& link : plan.m_link)
            chart.push_back(Of(link, "link"));
        ExpectWholeAndApart(chart, plan.m_nWidth, plan.m_nHeight, "chart");
        ExpectExtremesLabelledInSight(planner, measure);

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
        const CPointerArray<CGraphTimeLabel>& labels = planner.TimeLabels();
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
    // The crowded ones give the wind's values way; most charts show them.
    EXPECT_GT(m_nWindUnscaled, 0);
    EXPECT_GE(2 * m_nWindLabelled, m_nWindUnscaled);
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
                // A line in full view may step aside for the day before's date: covered at its place.
                const bool bCovered = std::any_of(cut.begin(), cut.end(), [&](const RECT& rc) {
                    return rc.left == text.m_nLeft && rc.top == text.m_nTop && rc.right == text.m_nLeft + text.m_nWidth;
                });
                if (text.m_nLeft >= s && text.m_nLeft + text.m_nWidth <= s + V && bCovered) {
                    ++nCut;
                } else if (text.m_nLeft >= s && text.m_nLeft + text.m_nWidth <= s + V) {
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
            ExpectDateForEveryDayInView(plan, moved, s, V);
            for (Rect& r : shown)
                r.l -= s;
            ExpectWholeAndApart(shown, V, plan.m_nStripHeight, ("offset " + std::to_string(s)).c_str());
            if (c.bDaily) {
                EXPECT_GE(nFirstLines, 1) << s;
            }
            ExpectLabelsWholeOrCovered(plan, s, V);
        }
        EXPECT_EQ(bMovedThursday, c.bDaily);
        // The link line shows one copy, whole inside the viewport.
        CPlanText link;
        ASSERT_TRUE(plan.LinkInView(V, link));
        EXPECT_TRUE(link.m_nLeft >= 0 && link.m_nLeft + link.m_nWidth <= V);
        EXPECT_EQ(link.m_str, plan.m_link.front().m_str);
    }
}

// At every scroll offset of the cases' charts, in the screen's two widths: each
// value label lies whole in view, out of it, or is covered in just its part in
// view; and every day with an hour or a name in view has its date (or weekday)
// on screen.
TEST_F(ChartMarks, NothingCutAtAnyOffset)
{
    FixedMeasure fixed;
    CChartFonts fonts;
    CChartTextMeasure real(fonts);
    for (const Case& c : Cases()) {
        for (bool bFixed : {true, false}) {
            SCOPED_TRACE(std::string(c.pszName) + " at " + std::to_string(c.nScreenWidth)
                         + (bFixed ? ", fixed metrics" : ", real font"));
            CChartPlanner planner(bFixed ? static_cast<const CTextMeasure&>(fixed) : real);
            CChartPlan plan;
            Plan(c, planner, plan);
            const int V = (c.nScreenWidth == 240 ? 238 : 286) - 64;
            for (int s = 0; s + V <= plan.m_nWidth; ++s) {
                std::vector<RECT> cut;
                std::vector<CPlanText> moved;
                plan.StripEdges(s, V, cut, moved);
                ExpectDateForEveryDayInView(plan, moved, s, V);
                ExpectLabelsWholeOrCovered(plan, s, V);
                if (HasFailure())
                    return;
            }
        }
    }
}

} // namespace

// A chart that starts late in the evening names its first day too, by its
// weekday where the whole date has no room before the next day's.
TEST_F(ChartMarks, TheFirstDayIsNamedEvenWhenItIsShort)
{
    FixedMeasure measure;
    Case c{"late start", false, Records(24, Mixed), 320, 2, 0, 0, 0};
    c.nFirstClock = 22;
    CChartPlanner planner(measure);
    CChartPlan plan;
    Plan(c, planner, plan);
    std::vector<std::wstring> dates;
    for (const CPlanText& text : plan.m_strip)
        if (text.m_nTop != 0)
            dates.push_back(text.m_str);
    EXPECT_EQ(dates, (std::vector<std::wstring>{L"Thu", L"Fri, Dec 11"}));
}
