#pragma once

#include "chart/ChartPlan.h"
#include "chart/GraphBox.h"
#include "chart/GraphGroup.h"
#include "chart/GraphScaleX.h"
#include "chart/GraphScaleY.h"
#include "chart/GraphSegment.h"
#include "chart/GraphSeries.h"
#include "chart/GraphTimeLabel.h"
#include "chart/Units.h"
#include "platform/WinTypes.h"
#include "store/PointerArray.h"

#include <initializer_list>
#include <string>
#include <vector>

class CDailyForecast;
class CHourlyForecast;
class CSettings;
class CTextMeasure;

// The images a chart is planned for: the chart image (the strip under it is as
// wide, the panels as high) and the part of it the window shows at once.
struct CChartFrame
{
    int m_nWidth = 0;
    int m_nHeight = 1;
    int m_nViewport = 0;
};

// Composes the daily and the hour-by-hour chart of a forecast, as the settings
// and the clock say, into a plan: the points go through the scales, the runs of
// points get their icons and labels, and every line, picture and text lands at
// its pixel. Nothing here draws. The series, scales and placed marks of the
// last plan stay, read-only, for a look.
class CChartPlanner
{
public:
    explicit CChartPlanner(const CTextMeasure& measure);
    CChartPlanner(const CChartPlanner&) = delete;
    CChartPlanner& operator=(const CChartPlanner&) = delete;

    CChartPlan PlanDaily(const CDailyForecast& daily, const CSettings& settings,
                         const CDeviceClock& clock, const CChartFrame& frame);
    CChartPlan PlanHourly(const CHourlyForecast& hourly, const CSettings& settings,
                          const CDeviceClock& clock, const CChartFrame& frame);

    // The scales' sides in the current custom view: the displayed series whose
    // scale stands on the left, and the others, each in series order.
    static void SideSeries(const CSettings& settings, std::vector<int> sides[2]);

    // The most days and hours a chart plots. The service answers 10 days and 72
    // hours; a feed may hold far more records within the loader's limits, and
    // plotting them all would only crowd the image and stall the composition.
    static constexpr int MAX_CHART_DAYS = 20;
    static constexpr int MAX_CHART_HOURS = 144;
    // The widths of the daily and the hour-by-hour chart images.
    static constexpr int DAILY_CHART_WIDTH = 900;
    static constexpr int HOURLY_CHART_WIDTH = 504;
    // The height of the link line's band, and the width of a scale panel.
    static constexpr int LINK_BAND = 10;
    static constexpr int PANEL_WIDTH = 32;
    // Where the value scales end, from the chart image's top and bottom (above
    // the link line's band, which nothing that carries meaning enters), and
    // where the time axis runs, from its sides.
    static constexpr int MARGIN_TOP = 17;
    static constexpr int MARGIN_BOTTOM = 17 + LINK_BAND;
    static constexpr int MARGIN_LEFT = 35;
    static constexpr int MARGIN_RIGHT = 35;
    // The sides of a wind arrow's and a weather icon's squares.
    static constexpr int PICTURE_ARROW = 16;
    static constexpr int PICTURE_WEATHER = 28;
    // How far around a labelled extreme of a line no picture comes.
    static constexpr int EXTREME_CLEARANCE = 2;
    // The steps, in hours, the hour-by-hour strip may take, smallest first.
    static constexpr int HOUR_STEPS[4] = {2, 3, 4, 6};

    // The last plan's lines with their points in pixels (the hour-by-hour
    // temperatures, the daily lows and highs, precipitation and wind), its
    // scales and the labels of its time strip.
    const CGraphSeries& Temperatures() const { return m_temp; }
    const CGraphSeries& Lows() const { return m_low; }
    const CGraphSeries& Highs() const { return m_high; }
    const CGraphSeries& Precipitation() const { return m_precip; }
    const CGraphSeries& WindSpeed() const { return m_windSpeed; }
    const CGraphScaleY& ValueScale(int nSeries) const;
    const CGraphScaleX& TimeScale() const { return m_scaleTime; }
    const CPointerArray<CGraphTimeLabel>& TimeLabels() const { return m_timeLabels; }
    // Where the last plan put its icons and arrows, and its temperatures' value
    // labels with the groups they belong to (same index), with the origin at
    // the chart image's bottom-left corner.
    const std::vector<CGraphBox>& IconBoxes() const { return m_iconBoxes; }
    const std::vector<CGraphBox>& LabelBoxes() const { return m_labelBoxes; }
    const std::vector<const CGraphGroup*>& LabelGroups() const { return m_labelGroups; }

private:
    // Steps both charts share, in the order they run.
    CChartPlan Start(const CSettings& settings, const CChartFrame& frame, bool bDaily);
    void PlanEmpty(CChartPlan& plan);
    bool Displays(int nSeries) const;
    int AboveLinkBand() const;
    void SetUpScales(std::initializer_list<CGraphSeries*> temperatures, int nWindIntervals,
                     int nFirstPos, int nLastPos);
    void PlanNightBand(const CDateTime& dtStart, const CDateTime& dtEnd, CChartPlan& plan) const;
    void PlanPanels(CChartPlan& plan) const;
    void PlanUnit(int nSeries, CPlanPanel& panel) const;
    void PlanOtherScale(int nNext, CPlanPanel& panel) const;
    std::wstring UnitOf(int nSeries) const;
    void PlanNowMarker(const CDateTime& dtNow, CChartPlan& plan) const;
    void PlanSeries(const std::vector<CGraphSegment>& segments, CChartPlan& plan);
    struct IconCandidate;
    void CollectIcons(CPointerArray<CGraphGroup>& groups, bool bArrows, size_t nSeries,
                      std::vector<IconCandidate>& candidates);
    void PlanIcons(CChartPlan& plan, std::vector<CGraphBox>& placed);
    int HourStep(const std::vector<int>& clocks) const;
    static bool IsExtreme(const CGraphGroup& group);
    void PlanLabels(CPointerArray<CGraphGroup>& groups, const std::vector<CGraphSegment>& segments,
                    const std::vector<CGraphSegment>& ownSegments, bool bExtremes,
                    std::vector<CGraphBox>& placed, CPlanSeries& series);
    void PlanLink(CChartPlan& plan) const;
    bool WindScaleInSight() const;
    void PlanWindLabels(const std::vector<CGraphSegment>& segments, std::vector<CGraphBox>& placed,
                        CPlanSeries& series);
    static COLORREF ColourOf(int nSeries);

    const CTextMeasure& m_measure;
    const CSettings* m_pSettings = nullptr;   // of the plan under way
    CChartFrame m_frame;
    bool m_bDaily = true;

    CGraphSeries m_temp;
    CGraphSeries m_precip;
    CGraphSeries m_windSpeed;
    CGraphSeries m_low;
    CGraphSeries m_high;
    CGraphScaleY m_scaleTemp;
    CGraphScaleY m_scalePrecip;
    CGraphScaleY m_scaleWind;
    CGraphScaleX m_scaleTime;
    CPointerArray<CGraphGroup> m_tempGroups;
    CPointerArray<CGraphGroup> m_precipGroups;
    CPointerArray<CGraphGroup> m_windGroups;
    CPointerArray<CGraphGroup> m_windLabelGroups;
    CPointerArray<CGraphTimeLabel> m_timeLabels;
    std::vector<double> m_nightStarts;
    std::vector<double> m_nightEnds;
    std::vector<int> m_sideSeries[2];
    std::vector<CGraphBox> m_iconBoxes;
    std::vector<CGraphBox> m_labelBoxes;
    std::vector<const CGraphGroup*> m_labelGroups;
};
