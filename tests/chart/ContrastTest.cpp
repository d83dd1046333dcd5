// Every series' line and value labels, the now marker and the link line stand
// out from each background they are drawn on, measured on the drawn pixels:
// where a pixel of one of those colours touches a background pixel, the two
// differ by the contrast ratio of the web's accessibility guidelines.
#include "chart/view/WndGraph.h"

#include "ChartTestSetup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <utility>

namespace {

double Channel(int c)
{
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double Luminance(COLORREF cr)
{
    return 0.2126 * Channel(GetRValue(cr)) + 0.7152 * Channel(GetGValue(cr)) + 0.0722 * Channel(GetBValue(cr));
}

double Ratio(COLORREF a, COLORREF b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct Named
{
    COLORREF cr;
    const char* pszName;
};

const Named INKS[] = {
    {CChartPlan::CR_TEMP, "temperature"}, {CChartPlan::CR_PRECIP, "precipitation"},
    {CChartPlan::CR_WIND, "wind"},        {CChartPlan::CR_MARKER, "now marker, link line"},
};
const Named GROUNDS[] = {
    {CChartPlan::CR_WHITE, "white"}, {CChartPlan::CR_GRID, "grid"},
    {CChartPlan::CR_NIGHT, "night band"}, {CChartPlan::CR_PANEL, "panel"},
};

class Contrast : public ::testing::Test
{
protected:
    void SetUp() override { SetUpChartWorld(data); }
    void TearDown() override { TearDownChartWorld(data); }

    // Every ink pixel beside a background pixel in the image, by pair.
    void Measure(const CBitmap& image)
    {
        const SIZE size = image.GetSize();
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x) {
                const COLORREF cr = image.GetPixel(x, y);
                for (size_t i = 0; i < std::size(INKS); ++i) {
                    if (cr != INKS[i].cr)
                        continue;
                    const int dx[4] = {1, -1, 0, 0};
                    const int dy[4] = {0, 0, 1, -1};
                    for (int k = 0; k < 4; ++k) {
                        const COLORREF next = image.GetPixel(x + dx[k], y + dy[k]);
                        for (size_t j = 0; j < std::size(GROUNDS); ++j)
                            if (next == GROUNDS[j].cr)
                                ++m_seen[{i, j}];
                    }
                }
            }
    }

    CTempFolder m_temp;
    CWeatherData data;
    CWndGraph graph{data};
    std::map<std::pair<size_t, size_t>, int> m_seen;
};

} // namespace

TEST_F(Contrast, EveryInkStandsOutFromItsBackgrounds)
{
    data.m_daily.Load(ChartFixture("daily3.xml"));
    data.m_hourly.Load(ChartFixture("hourly12.xml"));
    ASSERT_FALSE(data.m_daily.IsEmpty());
    ASSERT_FALSE(data.m_hourly.IsEmpty());
    for (const SIZE client : {SIZE{238, 210}, SIZE{286, 156}})
        for (int nDaily : {1, 0})
            for (int nView = 0; nView < 3; ++nView) {
                graph.SetClientSize(client.cx, client.cy);
                data.m_settings.m_bDaily = nDaily;
                data.m_settings.m_nCurrentView = nView;
                graph.Refresh(true);
                Measure(graph.m_chartImage);
                for (int side = 0; side < 2; ++side)
                    for (int j = 0; j < 3; ++j)
                        if (graph.m_panelImages[side][j].IsValid())
                            Measure(graph.m_panelImages[side][j]);
            }
    // Lines and the marker need 3:1; the labels and the link line are text
    // in the same colours, which needs 4.5:1, so every pair is held to that.
    std::ostringstream table;
    table << "| ink | on | pixels | contrast |\n|---|---|---|---|\n";
    for (const auto& [pair, nCount] : m_seen) {
        const Named& ink = INKS[pair.first];
        const Named& ground = GROUNDS[pair.second];
        const double dRatio = Ratio(ink.cr, ground.cr);
        table << "| " << ink.pszName << " | " << ground.pszName << " | " << nCount << " | " << std::fixed
              << std::setprecision(2) << dRatio << ":1 |\n";
        EXPECT_GE(dRatio, 4.5) << ink.pszName << " on " << ground.pszName;
    }
    // Each colour was found on white, and each series' also in a night band.
    for (size_t i = 0; i < std::size(INKS); ++i)
        EXPECT_TRUE(m_seen.count({i, 0}) && (INKS[i].cr == CChartPlan::CR_MARKER || m_seen.count({i, 2})))
            << INKS[i].pszName;
    std::cout << table.str();
}
