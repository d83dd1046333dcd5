#pragma once

#include <initializer_list>

#include "chart/ChartFonts.h"
#include "chart/GraphBox.h"
#include "chart/GraphGroup.h"
#include "chart/GraphScaleX.h"
#include "chart/GraphScaleY.h"
#include "chart/GraphSegment.h"
#include "chart/GraphSeries.h"
#include "chart/GraphTimeLabel.h"
#include "platform/WinTypes.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Wnd.h"
#include "store/PointerArray.h"

#include <vector>

class CDC;
class CWeatherData;

// Sent to the parent with the new scroll offset while the user drags the chart.
constexpr UINT WM_GRAPH_SCROLLED = WM_USER + 120;

// The forecast chart of the current station, a child window of the main window.
// Composes the daily or hour-by-hour chart into off-screen images much wider
// than the screen: the chart, the time strip under it and the scale panels at
// its sides. Painting only copies a viewport-wide part of them, so the repaints
// of a drag stay cheap; the stylus scrolls the chart, turns the scales of a side
// in its corner and opens the service's home page from the link line.
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
    void DrawEmpty();
    void DrawLink();
    void BuildDaily();
    void BuildHourly();
    // Into a context whose origin sits at the chart image's bottom-left corner.
    void DrawIcons(CDC* pDC, CPointerArray<CGraphGroup>& groups, std::vector<CGraphBox>& placed,
                   bool bArrows);
    void PlaceLabels(CDC* pDC, CPointerArray<CGraphGroup>& groups,
                     const std::vector<CGraphSegment>& segments, std::vector<CGraphBox>& placed);

    // What the window shows: panels, head pictures, the chart and the strip from
    // the scroll offset on. Nothing outside the images is ever read; where the
    // offset leaves the viewport beyond the images, it shows the chart's white
    // and the strip's grey.
    void Paint(CDC* pDC);

    void OnPaint() override;
    // Recomposes at the new size; the scroll offset stays.
    void OnSize(UINT nType, int cx, int cy) override;
    void OnLButtonDown(UINT nFlags, POINT point) override;
    void OnMouseMove(UINT nFlags, POINT point) override;
    void OnLButtonUp(UINT nFlags, POINT point) override;

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
    // The most days and hours a chart plots. The service answers 10 days and 72
    // hours; a feed may hold far more records within the loader's limits, and
    // plotting them all would only crowd the image and stall the composition.
    static constexpr int MAX_CHART_DAYS = 20;
    static constexpr int MAX_CHART_HOURS = 144;
    // The widths of the daily and the hour-by-hour chart images.
    static constexpr int DAILY_CHART_WIDTH = 900;
    static constexpr int HOURLY_CHART_WIDTH = 504;

    // The images' backgrounds, the night bands, the link line and the pictures'
    // transparent colour.
    static constexpr COLORREF CR_WHITE = RGB(255, 255, 255);
    static constexpr COLORREF CR_PANEL = RGB(255, 255, 204);
    static constexpr COLORREF CR_STRIP = RGB(192, 192, 192);
    static constexpr COLORREF CR_NIGHT = RGB(204, 204, 204);
    static constexpr COLORREF CR_LINK = RGB(100, 100, 100);
    static constexpr COLORREF CR_KEY = RGB(255, 153, 255);
    COLORREF m_crTemp = RGB(255, 0, 0);
    COLORREF m_crPrecip = RGB(0, 0, 255);
    COLORREF m_crWind = RGB(0, 255, 0);
    COLORREF m_crGrid = RGB(255, 204, 204);
    int m_nMarginTop = 17;
    int m_nMarginBottom = 17;
    int m_nMarginLeft = 35;
    int m_nMarginRight = 35;
    CGraphSeries m_temp;
    CGraphSeries m_precip;
    CGraphSeries m_windSpeed;
    CGraphScaleY m_scaleTemp;
    CGraphScaleY m_scalePrecip;
    CGraphScaleY m_scaleWind;
    CGraphScaleX m_scaleTime;
    CPointerArray<CGraphGroup> m_tempGroups;
    CPointerArray<CGraphGroup> m_precipGroups;
    CPointerArray<CGraphGroup> m_windGroups;
    CPointerArray<CGraphTimeLabel> m_timeLabels;
    std::vector<double> m_nightStarts;
    std::vector<double> m_nightEnds;
    CGraphSeries m_low;
    CGraphSeries m_high;
    RECT m_rcArea = {0, 0, 0, 0};   // upward units: left 0, right W, top H, bottom 0

    // The mode of the last composition: the hourly chart labels only ends and turns.
    bool m_bDailyChart = true;
    // Where the last composition drew its icons and labels, and the groups the
    // labels belong to (for hit tests and checks).
    std::vector<CGraphBox> m_iconBoxes;
    std::vector<CGraphBox> m_labelBoxes;
    std::vector<const CGraphGroup*> m_labelGroups;

private:
    SIZE m_offWindowSize = {240, 268};

    int ChartHeight() const { return m_rcArea.top; }
    int ViewportWidth() const { return m_rcChart.right - m_rcChart.left; }
    bool HasStation() const;
    void OpenHomePage();
    CGraphScaleY* ScaleOf(int nSeries);
    COLORREF ColourOf(int nSeries) const;
    bool Displays(int nSeries) const;
    // Steps shared by both charts once the points are in place.
    void DrawNightBand(CDC* pDC, const CDateTime& dtStart, const CDateTime& dtEnd);
    void DrawPanels(CDC* pChartDC);
    void SetUpScales(std::initializer_list<CGraphSeries*> temperatures, int nWindIntervals,
                     int nFirstPos, int nLastPos);
    void DrawTimeStrip(CDC* pGridDC);
    void DrawNowMarker(CDC* pDC, const CDateTime& dtNow);
    void DrawSeries(CDC* pChartDC, const std::vector<CGraphSegment>& segments, bool bHourly);
};
