#pragma once

#include "chart/ChartPlan.h"
#include "chart/ChartPlanner.h"
#include "chart/ChartSummary.h"
#include "chart/view/ChartFonts.h"
#include "chart/view/ChartRenderer.h"
#include "chart/view/ChartTextMeasure.h"
#include "platform/WinTypes.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Wnd.h"

#include <vector>

class CDC;
class CWeatherData;

// Sent to the parent with the new scroll offset while the user drags the chart
// or turns the wheel over it.
constexpr UINT WM_GRAPH_SCROLLED = WM_USER + 120;
// Sent to the parent when the link line is tapped: a parent that opens the
// home page itself (and says so when it cannot) answers nonzero; otherwise the
// chart opens it.
constexpr UINT WM_GRAPH_LINK = WM_USER + 121;

// The forecast chart of the current station, a child window of the main window.
// Plans the daily or hour-by-hour chart and draws the plan into off-screen
// images much wider than the screen: the chart, the time strip under it and the
// scale panels at its sides. Painting copies a viewport-wide part of them and
// redraws only the strip lines the viewport's edges cut, so the repaints of a
// drag stay cheap; the stylus scrolls the chart, turns the
// scales of a side in its corner and opens the service's home page from the
// link line.
class CWndGraph : public CWnd
{
public:
    // The chart shows the data object's current forecasts as its settings say.
    explicit CWndGraph(CWeatherData& data);

    // Composes the chart of the current mode unless no station is chosen, then
    // has the whole window repainted.
    void Refresh(bool bResetScroll);
    // The daily or hour-by-hour chart, as the settings say.
    void Compose();

    // The size everything is laid out for: the window's client area, or, before
    // the window exists (tools, benchmarks, tests of the composition alone), the
    // size given here.
    void SetClientSize(int nWidth, int nHeight);
    SIZE GetClientSize() const;

    void Layout();
    void BuildDaily();
    void BuildHourly();

    // What the window shows: panels, head pictures, the chart and the strip from
    // the scroll offset on, with no piece of a strip line at the viewport's
    // edges. Nothing outside the images is ever read; where the
    // offset leaves the viewport beyond the images, it shows the chart's white
    // and the strip's grey.
    void Paint(CDC* pDC);

    // The width of the chart viewport, which the scroll range, the keys and a
    // drag all scroll by; the farthest offset a scroll may reach.
    int ViewportWidth() const { return m_rcChart.right - m_rcChart.left; }
    int MaxScroll() const;

    void OnPaint() override;
    // Recomposes at the new size; the scroll offset stays.
    void OnSize(UINT nType, int cx, int cy) override;
    void OnLButtonDown(UINT nFlags, POINT point) override;
    void OnMouseMove(UINT nFlags, POINT point) override;
    void OnLButtonUp(UINT nFlags, POINT point) override;
    // The wheel and a touchpad's sideways swipe scroll the chart.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CWeatherData& m_data;
    int m_nStripHeight = 26;
    int m_nLeftWidth = 32;
    int m_nRightWidth = 32;
    int m_nChartWidth = DAILY_CHART_WIDTH;
    bool m_bDragging = false;
    POINT m_ptDrag = {0, 0};
    int m_nDragScroll = 0;
    int m_nScroll = 0;
    std::vector<int> m_sideSeries[2];
    int m_nSideIndex[2] = {0, 0};
    CBitmap m_panelImages[2][3];
    CBitmap m_chartImage;
    CBitmap m_stripImage;
    RECT m_rcLeftCorner = {0, 0, 0, 0};
    RECT m_rcRightCorner = {0, 0, 0, 0};
    RECT m_rcStrip = {0, 0, 0, 0};
    RECT m_rcLink = {0, 0, 0, 0};
    RECT m_rcChart = {0, 0, 0, 0};
    CBitmap m_headImages[3];
    CBitmap m_iconImage;
    CBitmap m_arrowImage;
    CChartFonts m_fonts;
    static constexpr int DAILY_CHART_WIDTH = CChartPlanner::DAILY_CHART_WIDTH;
    static constexpr int HOURLY_CHART_WIDTH = CChartPlanner::HOURLY_CHART_WIDTH;
    static constexpr COLORREF CR_WHITE = CChartPlan::CR_WHITE;
    static constexpr COLORREF CR_STRIP = CChartPlan::CR_STRIP;
    COLORREF m_crTemp = CChartPlan::CR_TEMP;
    RECT m_rcArea = {0, 0, 0, 0};   // upward units: left 0, right W, top H, bottom 0

    // Measures with the chart's fonts, plans, and draws what it planned.
    CChartTextMeasure m_measure{m_fonts};
    CChartPlanner m_planner{m_measure};
    CChartRenderer m_renderer{m_fonts, m_iconImage, m_arrowImage};
    CChartPlan m_plan;

    // The chart in words for a screen reader: the summary after each composition,
    // the values in view after each scroll.
    void Describe();
    void DescribePoint();
    CChartSummary m_summary;

private:
    SIZE m_offWindowSize = {240, 268};
    CBitmap m_underLabels;   // what lies under the chart's value labels
    int m_nDescribedScroll = -1;

    int ChartHeight() const { return m_rcArea.top; }
    CChartFrame Frame() const;
    void Render();
    // The corner pictures, icons and arrows, at the ratio of the desktop now.
    void LoadPictures();
    bool HasStation() const;
    void OpenHomePage();
    // To the offset, kept between 0 and MaxScroll; the parent hears of it.
    void ScrollTo(long long nScroll);
    int m_nWheelRest = 0;   // of a turn too small to move a pixel yet
};
