// The steps both charts share: the frame and sides, the scales, night bands,
// panels, now marker, series with their icons and labels, and the link line.
// The daily and hour-by-hour points are in ChartPlannerCompose.cpp.
#include "chart/ChartPlanner.h"

#include "chart/LabelPlacer.h"
#include "chart/TextMeasure.h"
#include "settings/Settings.h"
#include "store/ServiceConfig.h"

namespace {

// A pixel held near the image, so rectangles built from it cannot overflow.
int NearImage(int x, int nWidth)
{
    if (x < -2)
        return -2;
    if (x > nWidth + 2)
        return nWidth + 2;
    return x;
}

SIZE MeasureBold(void* pContext, const std::wstring& str)
{
    return static_cast<const CTextMeasure*>(pContext)->Measure(CHART_FONT_BOLD, str);
}

// Room kept free at each end of a copy of the link line.
const int LINK_MARGIN = 4;

// The text as it is when it fits the width, otherwise its longest beginning that
// fits with an ellipsis after it.
std::wstring FitText(const CTextMeasure& measure, int nFont, const std::wstring& str, int nWidth)
{
    if (measure.Measure(nFont, str).cx <= nWidth)
        return str;
    const std::wstring strEllipsis = L"\u2026";
    size_t nLo = 0;                 // fits
    size_t nHi = str.size();        // does not
    while (nHi - nLo > 1) {
        const size_t nMid = nLo + (nHi - nLo) / 2;
        if (measure.Measure(nFont, str.substr(0, nMid) + strEllipsis).cx <= nWidth)
            nLo = nMid;
        else
            nHi = nMid;
    }
    std::wstring strCut = str.substr(0, nLo);
    while (!strCut.empty() && strCut.back() == L' ')
        strCut.pop_back();
    return strCut + strEllipsis;
}

} // namespace

void CChartPlan::Clear()
{
    m_bEmpty = true;
    m_bands.clear();
    m_grid.clear();
    m_marks.clear();
    m_series.clear();
    m_link.clear();
    m_strip.clear();
    m_panels[0].clear();
    m_panels[1].clear();
}

CChartPlanner::CChartPlanner(const CTextMeasure& measure) : m_measure(measure)
{
    m_nightStarts.reserve(32);
    m_nightEnds.reserve(32);
}

void CChartPlanner::SideSeries(const CSettings& settings, std::vector<int> sides[2])
{
    int nView = settings.m_nCurrentView;
    if (nView < 0 || nView > 2)
        nView = 0;
    settings.m_views[nView].GetSideSeries(SIDE_LEFT, sides[0]);
    settings.m_views[nView].GetSideSeries(SIDE_RIGHT, sides[1]);
}

bool CChartPlanner::Displays(int nSeries) const
{
    const CSettings& settings = *m_pSettings;
    int nView = settings.m_nCurrentView;
    if (nView < 0 || nView > 2)
        nView = 0;
    return settings.m_views[nView].m_series[nSeries].m_bDisplay;
}

const CGraphScaleY* CChartPlanner::ScaleOf(int nSeries) const
{
    if (nSeries == SERIES_TEMPERATURES)
        return &m_scaleTemp;
    if (nSeries == SERIES_PRECIPITATIONS)
        return &m_scalePrecip;
    return &m_scaleWind;
}

COLORREF CChartPlanner::ColourOf(int nSeries) const
{
    if (nSeries == SERIES_TEMPERATURES)
        return m_crTemp;
    if (nSeries == SERIES_PRECIPITATIONS)
        return m_crPrecip;
    return m_crWind;
}

void CChartPlanner::Start(const CSettings& settings, const CChartFrame& frame, bool bDaily,
                          CChartPlan& plan)
{
    m_pSettings = &settings;
    m_frame = frame;
    if (m_frame.m_nHeight < 1)
        m_frame.m_nHeight = 1;
    m_bDaily = bDaily;
    SideSeries(settings, m_sideSeries);
    m_iconBoxes.clear();
    m_labelBoxes.clear();
    m_labelGroups.clear();
    plan.Clear();
    plan.m_nWidth = m_frame.m_nWidth;
    plan.m_nHeight = m_frame.m_nHeight;
}

void CChartPlanner::PlanEmpty(CChartPlan& plan)
{
    plan.m_bEmpty = true;
    PlanLink(plan);
}

void CChartPlanner::PlanNightBand(const CDateTime& dtStart, const CDateTime& dtEnd,
                                  CChartPlan& plan) const
{
    CPlanFill band;
    band.m_rc = {NearImage(m_scaleTime.DateToPixel(dtStart), m_frame.m_nWidth), 0,
                 NearImage(m_scaleTime.DateToPixel(dtEnd), m_frame.m_nWidth), m_frame.m_nHeight};
    band.m_crColour = CChartPlan::CR_NIGHT;
    plan.m_bands.push_back(band);
}

void CChartPlanner::PlanPanels(CChartPlan& plan) const
{
    // Only one scale draws grid lines across the chart, whichever side shows it.
    bool bListed[3] = {false, false, false};
    for (int side = 0; side < 2; ++side)
        for (int s : m_sideSeries[side])
            if (s >= 0 && s < 3)
                bListed[s] = true;
    const int nGridOwner = bListed[SERIES_TEMPERATURES] ? SERIES_TEMPERATURES
                         : bListed[SERIES_PRECIPITATIONS] ? SERIES_PRECIPITATIONS
                         : bListed[SERIES_WIND] ? SERIES_WIND : -1;
    for (int side = 0; side < 2; ++side) {
        for (size_t j = 0; j < m_sideSeries[side].size() && j < 3; ++j) {
            const int s = m_sideSeries[side][j];
            plan.m_panels[side].emplace_back();
            CPlanPanel& panel = plan.m_panels[side].back();
            panel.m_nSeries = s;
            ScaleOf(s)->PlanPanel(m_measure, m_frame.m_nHeight, side == 0 ? 30 : 1, ColourOf(s),
                                  side == 1, panel, s == nGridOwner ? &plan.m_grid : nullptr,
                                  m_frame.m_nWidth, m_crGrid);
        }
    }
}

void CChartPlanner::PlanNowMarker(const CDateTime& dtNow, CChartPlan& plan) const
{
    const int x = NearImage(m_scaleTime.DateToPixel(dtNow), m_frame.m_nWidth);
    CPlanFill marker;
    marker.m_rc = {x - 1, 0, x + 1, m_frame.m_nHeight};
    marker.m_crColour = m_crGrid;
    plan.m_marks.push_back(marker);
}

void CChartPlanner::PlanIcons(CPointerArray<CGraphGroup>& groups, std::vector<CGraphBox>& placed,
                              bool bArrows, CPlanSeries& series)
{
    const int s = bArrows ? 16 : 28;
    const int nPictures = bArrows ? 16 : 49;
    for (int g = 0; g < groups.GetCount(); ++g) {
        CGraphGroup* pGroup = groups.GetAt(g);
        if (pGroup->m_bDone)
            continue;
        const CGraphPoint* pPoint = nullptr;
        for (int nIndex : pGroup->m_points) {
            const CGraphPoint* p = pGroup->m_pSeries->m_points.GetAt(nIndex);
            if (p && p->m_nValue != -1) {
                pPoint = p;
                break;
            }
        }
        if (!pPoint)
            continue;
        const CGraphBox box = {pPoint->m_nPx - s / 2, -pPoint->m_nPy - s / 2, s, s};
        placed.push_back(box);
        m_iconBoxes.push_back(box);
        // An unknown picture number draws nothing but still keeps labels away.
        if (pPoint->m_nValue >= 0 && pPoint->m_nValue < nPictures) {
            CPlanIcon icon;
            icon.m_nStrip = bArrows ? PICTURES_ARROWS : PICTURES_WEATHER;
            icon.m_nPicture = pPoint->m_nValue;
            icon.m_nLeft = box.m_nLeft;
            icon.m_nTop = box.m_nTop + m_frame.m_nHeight;
            icon.m_nSize = s;
            series.m_icons.push_back(icon);
        }
        pGroup->m_bDone = true;
    }
}

void CChartPlanner::PlanLabels(CPointerArray<CGraphGroup>& groups,
                               const std::vector<CGraphSegment>& segments,
                               std::vector<CGraphBox>& placed, CPlanSeries& series)
{
    CLabelPlacer placer(m_frame.m_nWidth, m_frame.m_nHeight, segments, placed);
    void* pContext = const_cast<CTextMeasure*>(&m_measure);
    for (int g = 0; g < groups.GetCount(); ++g) {
        const CGraphGroup* pGroup = groups.GetAt(g);
        // The hour-by-hour chart labels only its ends and turning points.
        if (!m_bDaily && pGroup->m_nKind != GROUP_END && pGroup->m_nKind != GROUP_TURN)
            continue;
        if (pGroup->m_points.empty())
            continue;
        CGraphBox box;
        int nPoint = -1;
        if (!placer.Place(*pGroup, MeasureBold, pContext, box, nPoint))
            continue;
        m_labelBoxes.push_back(box);
        m_labelGroups.push_back(pGroup);
        CPlanText label;
        label.m_str = pGroup->m_pSeries->m_points.GetAt(nPoint)->m_strText;
        label.m_nLeft = box.m_nLeft;
        label.m_nTop = box.m_nTop + m_frame.m_nHeight;
        label.m_nWidth = box.m_nWidth;
        label.m_nHeight = box.m_nHeight;
        label.m_crColour = pGroup->m_pSeries->m_crColour;
        series.m_labels.push_back(std::move(label));
    }
}

// Precipitation with its icons, wind with its arrows, and last the temperatures,
// whose labels give way to every icon and to every line.
void CChartPlanner::PlanSeries(const std::vector<CGraphSegment>& segments, CChartPlan& plan)
{
    std::vector<CGraphBox> placed;
    const int H = m_frame.m_nHeight;
    const struct {
        int nSeries;
        CGraphSeries* pLine;
        CPointerArray<CGraphGroup>* pGroups;
    } pictured[] = {{SERIES_PRECIPITATIONS, &m_precip, &m_precipGroups},
                    {SERIES_WIND, &m_windSpeed, &m_windGroups}};
    for (const auto& p : pictured) {
        if (!Displays(p.nSeries))
            continue;
        plan.m_series.emplace_back();
        CPlanSeries& series = plan.m_series.back();
        series.m_nSeries = p.nSeries;
        series.m_lines.emplace_back();
        p.pLine->PlanLine(ColourOf(p.nSeries), H, series.m_lines.back());
        PlanIcons(*p.pGroups, placed, p.nSeries == SERIES_WIND, series);
    }
    if (Displays(SERIES_TEMPERATURES)) {
        plan.m_series.emplace_back();
        CPlanSeries& series = plan.m_series.back();
        series.m_nSeries = SERIES_TEMPERATURES;
        for (CGraphSeries* pLine : m_bDaily ? std::vector<CGraphSeries*>{&m_low, &m_high}
                                            : std::vector<CGraphSeries*>{&m_temp}) {
            series.m_lines.emplace_back();
            pLine->PlanLine(m_crTemp, H, series.m_lines.back());
        }
        PlanLabels(m_tempGroups, segments, placed, series);
    }
}

// Both charts set their scales up alike: value scales for the displayed series,
// then the time scale over all of them. They differ only in the temperature
// series and in the wind scale's ticks.
void CChartPlanner::SetUpScales(std::initializer_list<CGraphSeries*> temperatures,
                                int nWindIntervals, int nFirstPos, int nLastPos)
{
    const int H = m_frame.m_nHeight;
    m_scaleTemp.Reset();
    m_scalePrecip.Reset();
    m_scaleWind.Reset();
    m_scaleTime.Reset();
    m_scaleTime.SetPixelRange(m_nMarginLeft, m_frame.m_nWidth - m_nMarginRight, 0);
    if (Displays(SERIES_TEMPERATURES)) {
        m_scaleTemp.SetPixelRange(m_nMarginBottom, H - m_nMarginTop, 6);
        for (CGraphSeries* pSeries : temperatures)
            m_scaleTemp.AddSeries(pSeries);
        m_scaleTemp.SetAutoRange(false);
        for (CGraphSeries* pSeries : temperatures)
            m_scaleTime.AddSeries(pSeries);
    }
    if (Displays(SERIES_PRECIPITATIONS)) {
        m_scalePrecip.SetPixelRange(m_nMarginBottom, H - m_nMarginTop, 10);
        m_scalePrecip.AddSeries(&m_precip);
        m_scalePrecip.SetFixedRange(0, 100);
        m_scaleTime.AddSeries(&m_precip);
    }
    if (Displays(SERIES_WIND)) {
        m_scaleWind.SetPixelRange(m_nMarginBottom, H - m_nMarginTop, nWindIntervals);
        m_scaleWind.AddSeries(&m_windSpeed);
        m_scaleWind.SetAutoRange(m_pSettings->m_bShowZero);
        m_scaleTime.AddSeries(&m_windSpeed);
    }
    if (!m_scaleTime.m_bHasData) {
        // Nothing displayed: the time labels follow the records' own positions,
        // as they do in the ordinary chart.
        m_scaleTime.m_nDataMin = nFirstPos;
        m_scaleTime.m_nDataMax = nLastPos;
    }
    m_scaleTime.SetAutoRange(false);
}

void CChartPlanner::PlanLink(CChartPlan& plan) const
{
    const int W = m_frame.m_nWidth;
    const int H = m_frame.m_nHeight;
    // One copy per viewport width, so one is in view whatever the scroll offset;
    // a line wider than that (a long configured name) is cut with an ellipsis,
    // so the copies never run into each other and one is always whole.
    const int nStep = m_frame.m_nViewport > 0 ? m_frame.m_nViewport : W;
    CPlanText link;
    link.m_str = FitText(m_measure, CHART_FONT_NORMAL,
                         L"View this forecast at " + CServiceConfig().m_strName,
                         nStep - 2 * LINK_MARGIN);
    const SIZE ext = m_measure.Measure(CHART_FONT_NORMAL, link.m_str);
    link.m_nWidth = ext.cx;
    link.m_nHeight = ext.cy;
    link.m_crColour = CChartPlan::CR_LINK;
    link.m_nFont = CHART_FONT_NORMAL;
    link.m_nTop = H - 10 + (10 - ext.cy) / 2;
    for (int g = 0; g < W; g += nStep) {
        link.m_nLeft = g + (nStep - ext.cx) / 2;
        plan.m_link.push_back(link);
    }
}
