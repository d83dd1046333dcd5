// The steps both charts share: the frame and sides, the scales, night bands,
// panels, now marker, series with their icons and labels, and the link line.
// The daily and hour-by-hour points are in ChartPlannerCompose.cpp.
#include "chart/ChartPlanner.h"

#include "chart/LabelPlacer.h"
#include "chart/TextMeasure.h"
#include "chart/Units.h"
#include "platform/Translate.h"
#include "platform/WideFormat.h"
#include "settings/Settings.h"
#include "store/ServiceConfig.h"

#include <algorithm>

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

// The link line's band stays white: a copy of it moved across the viewport
// carries no piece of a band or a grid line with it.
int CChartPlanner::AboveLinkBand() const
{
    return std::max(0, m_frame.m_nHeight - LINK_BAND);
}

bool CChartPlanner::Displays(int nSeries) const
{
    const CSettings& settings = *m_pSettings;
    int nView = settings.m_nCurrentView;
    if (nView < 0 || nView > 2)
        nView = 0;
    return settings.m_views[nView].m_series[nSeries].m_bDisplay;
}

const CGraphScaleY& CChartPlanner::ValueScale(int nSeries) const
{
    if (nSeries == SERIES_TEMPERATURES)
        return m_scaleTemp;
    if (nSeries == SERIES_PRECIPITATIONS)
        return m_scalePrecip;
    return m_scaleWind;
}

COLORREF CChartPlanner::ColourOf(int nSeries)
{
    if (nSeries == SERIES_TEMPERATURES)
        return CChartPlan::CR_TEMP;
    if (nSeries == SERIES_PRECIPITATIONS)
        return CChartPlan::CR_PRECIP;
    return CChartPlan::CR_WIND;
}

CChartPlan CChartPlanner::Start(const CSettings& settings, const CChartFrame& frame, bool bDaily)
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
    CChartPlan plan;
    plan.m_nWidth = m_frame.m_nWidth;
    plan.m_nHeight = m_frame.m_nHeight;
    return plan;
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
                 NearImage(m_scaleTime.DateToPixel(dtEnd), m_frame.m_nWidth), AboveLinkBand()};
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
            ValueScale(s).PlanPanel(m_measure, m_frame.m_nHeight, side == 0 ? 30 : 1, ColourOf(s),
                                    side == 1, panel, s == nGridOwner ? &plan.m_grid : nullptr,
                                    m_frame.m_nWidth, CChartPlan::CR_GRID);
            PlanUnit(s, panel);
            const size_t nCount = std::min<size_t>(m_sideSeries[side].size(), 3);
            if (nCount > 1)
                PlanOtherScale(m_sideSeries[side][(j + 1) % nCount], panel);
        }
    }
}

std::wstring CChartPlanner::UnitOf(int nSeries) const
{
    return nSeries == SERIES_TEMPERATURES ? TemperatureUnitName(m_pSettings->m_nTempUnit)
         : nSeries == SERIES_PRECIPITATIONS ? std::wstring(L"%")
         : WindUnitName(m_pSettings->m_nWindUnit);
}

// Where a side holds more than one scale, the top of each of its panels names
// the next one's unit in that series' colour, after a turning arrow: the scale
// a tap on the corner below turns to. A number it would touch gives way.
void CChartPlanner::PlanOtherScale(int nNext, CPlanPanel& panel) const
{
    CPlanText hint;
    hint.m_nFont = CHART_FONT_NORMAL;
    hint.m_str = L"\u21bb" + UnitOf(nNext);
    SIZE ext = m_measure.Measure(CHART_FONT_NORMAL, hint.m_str);
    if (ext.cx > PANEL_WIDTH - 2) {
        hint.m_str = UnitOf(nNext);
        ext = m_measure.Measure(CHART_FONT_NORMAL, hint.m_str);
    }
    if (ext.cx > PANEL_WIDTH - 2 || ext.cy > m_frame.m_nHeight / 3)
        return;
    hint.m_nWidth = ext.cx;
    hint.m_nHeight = ext.cy;
    hint.m_nLeft = (PANEL_WIDTH - ext.cx) / 2;
    hint.m_nTop = 0;
    hint.m_crColour = ColourOf(nNext);
    auto& texts = panel.m_texts;
    texts.erase(std::remove_if(texts.begin(), texts.end(),
                               [&](const CPlanText& t) { return t.m_nTop < hint.m_nTop + hint.m_nHeight; }),
                texts.end());
    texts.push_back(std::move(hint));
}

// The scale's unit at the foot of its panel, beside the link line's band and
// below the lowest tick, in the scale's colour; a name too wide for the bold
// font takes the normal one.
void CChartPlanner::PlanUnit(int nSeries, CPlanPanel& panel) const
{
    CPlanText unit;
    unit.m_str = UnitOf(nSeries);
    SIZE ext = m_measure.Measure(CHART_FONT_BOLD, unit.m_str);
    if (ext.cx > PANEL_WIDTH - 2) {
        unit.m_nFont = CHART_FONT_NORMAL;
        ext = m_measure.Measure(CHART_FONT_NORMAL, unit.m_str);
    }
    unit.m_nWidth = ext.cx;
    unit.m_nHeight = ext.cy;
    unit.m_nLeft = std::max(0, (PANEL_WIDTH - ext.cx) / 2);
    unit.m_nTop = m_frame.m_nHeight - LINK_BAND + (LINK_BAND - ext.cy) / 2 - 1;
    unit.m_crColour = ColourOf(nSeries);
    panel.m_texts.push_back(std::move(unit));
}

void CChartPlanner::PlanNowMarker(const CDateTime& dtNow, CChartPlan& plan) const
{
    const int x = NearImage(m_scaleTime.DateToPixel(dtNow), m_frame.m_nWidth);
    CPlanFill marker;
    marker.m_rc = {x - 1, 0, x + 1, AboveLinkBand()};
    marker.m_crColour = CChartPlan::CR_MARKER;
    plan.m_marks.push_back(marker);
}

// An icon or arrow a group asks for, before the marks that cover each other
// are sorted out.
struct CChartPlanner::IconCandidate
{
    CGraphBox m_box;
    CGraphGroup* m_pGroup;
    size_t m_nSeries;   // index into the plan's series
    int m_nStrip;
    int m_nPicture;     // outside the strip: nothing drawn, the box still kept free
    int m_nRank;        // the more significant mark wins a place
    int m_nValue;       // then the higher value
    int m_nOrder;       // then the earlier one
};

namespace {

bool Overlap(const CGraphBox& a, const CGraphBox& b)
{
    return a.m_nLeft <= b.m_nLeft + b.m_nWidth - 1 && b.m_nLeft <= a.m_nLeft + a.m_nWidth - 1
        && a.m_nTop <= b.m_nTop + b.m_nHeight - 1 && b.m_nTop <= a.m_nTop + a.m_nHeight - 1;
}

// How much a weather condition matters to a reader: storms and hail, then
// rain and snow, then fog, dust and wind, then clouds, then a clear sky.
int WeatherRank(int nIcon)
{
    switch (nIcon) {
    case 0: case 1: case 2: case 3: case 4: case 17: case 35: case 37: case 38: case 47:
        return 6;
    case 40: case 42: case 43:
        return 5;
    case 5: case 6: case 7: case 8: case 9: case 10: case 11: case 12: case 13: case 14:
    case 15: case 16: case 18: case 39: case 41: case 45: case 46:
        return 4;
    case 19: case 20: case 21: case 22: case 23: case 24:
        return 3;
    case 26: case 27: case 28:
        return 2;
    case 29: case 30:
        return 1;
    case 25: case 31: case 32: case 33: case 34: case 36:
        return 0;
    default:
        return -1;   // not available
    }
}

} // namespace

void CChartPlanner::CollectIcons(CPointerArray<CGraphGroup>& groups, bool bArrows, size_t nSeries,
                                 std::vector<IconCandidate>& candidates)
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
        IconCandidate c;
        c.m_box = {pPoint->m_nPx - s / 2, -pPoint->m_nPy - s / 2, s, s};
        c.m_pGroup = pGroup;
        c.m_nSeries = nSeries;
        c.m_nStrip = bArrows ? PICTURES_ARROWS : PICTURES_WEATHER;
        const bool bKnown = pPoint->m_nValue >= 0 && pPoint->m_nValue < nPictures;
        c.m_nPicture = bKnown ? pPoint->m_nValue : -1;
        // Weather before wind: a sky that rains says more than where the wind
        // blows; among arrows the stronger wind.
        c.m_nRank = bArrows ? -10 : (bKnown ? WeatherRank(pPoint->m_nValue) : -2);
        c.m_nValue = pPoint->m_nY;
        c.m_nOrder = static_cast<int>(candidates.size());
        candidates.push_back(c);
    }
}

// Every mark drawn is whole: where two icons, two arrows or an icon and an
// arrow would cover each other, the more significant keeps its place and the
// other is left out. The lines' labelled extremes rank above every picture:
// an icon that would cover one, or its label, moves up or down off it, or
// gives way. The kept ones keep later labels away.
void CChartPlanner::PlanIcons(CChartPlan& plan, std::vector<CGraphBox>& placed)
{
    std::vector<IconCandidate> candidates;
    for (size_t k = 0; k < plan.m_series.size(); ++k) {
        const int nSeries = plan.m_series[k].m_nSeries;
        if (nSeries == SERIES_PRECIPITATIONS)
            CollectIcons(m_precipGroups, false, k, candidates);
        else if (nSeries == SERIES_WIND)
            CollectIcons(m_windGroups, true, k, candidates);
    }
    std::vector<size_t> order(candidates.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const IconCandidate& x = candidates[a];
        const IconCandidate& y = candidates[b];
        if (x.m_nRank != y.m_nRank)
            return x.m_nRank > y.m_nRank;
        if (x.m_nValue != y.m_nValue)
            return x.m_nValue > y.m_nValue;
        return x.m_nOrder < y.m_nOrder;
    });
    const size_t nLines = placed.size();   // the link band and the labelled extremes
    std::vector<bool> kept(candidates.size(), false);
    std::vector<CGraphBox> keptBoxes;
    for (size_t k : order) {
        IconCandidate& c = candidates[k];
        // A group with two marks at one place (the last point's own group)
        // draws it once.
        c.m_pGroup->m_bDone = true;
        const int s = c.m_box.m_nWidth;
        // Its own place first; off it, a picture's height up or down, only
        // where a line's extreme asks, so it still stands by its point.
        for (int dy : {0, -s, s}) {
            CGraphBox box = c.m_box;
            box.m_nTop += dy;
            if (box.m_nTop < -m_frame.m_nHeight || box.m_nTop + box.m_nHeight > 0)
                continue;
            bool bFree = true;
            for (const CGraphBox& other : keptBoxes)
                bFree = bFree && !Overlap(other, box);
            bool bOffLines = true;
            for (size_t j = 0; j < nLines; ++j)
                bOffLines = bOffLines && !Overlap(placed[j], box);
            if (dy == 0 && !bFree)
                break;   // another picture holds the place: the rank decides
            if (!bFree || !bOffLines)
                continue;
            c.m_box = box;
            kept[k] = true;
            keptBoxes.push_back(box);
            break;
        }
    }
    // Drawn in the order of their series and points, as the lines are.
    for (size_t k = 0; k < candidates.size(); ++k) {
        if (!kept[k])
            continue;
        const IconCandidate& c = candidates[k];
        placed.push_back(c.m_box);
        m_iconBoxes.push_back(c.m_box);
        if (c.m_nPicture < 0)
            continue;
        CPlanIcon icon;
        icon.m_nStrip = c.m_nStrip;
        icon.m_nPicture = c.m_nPicture;
        icon.m_nLeft = c.m_box.m_nLeft;
        icon.m_nTop = c.m_box.m_nTop + m_frame.m_nHeight;
        icon.m_nSize = c.m_box.m_nWidth;
        plan.m_series[c.m_nSeries].m_icons.push_back(icon);
    }
}

bool CChartPlanner::IsExtreme(const CGraphGroup& group)
{
    return group.m_nKind == GROUP_END || group.m_nKind == GROUP_TURN;
}

void CChartPlanner::PlanLabels(CPointerArray<CGraphGroup>& groups,
                               const std::vector<CGraphSegment>& segments,
                               const std::vector<CGraphSegment>& ownSegments, bool bExtremes,
                               std::vector<CGraphBox>& placed, CPlanSeries& series)
{
    CLabelPlacer placer(m_frame.m_nWidth, m_frame.m_nHeight, segments, placed);
    // An extreme that no other line leaves room for is labelled across them
    // rather than not at all; its own line it never crosses.
    CLabelPlacer across(m_frame.m_nWidth, m_frame.m_nHeight, ownSegments, placed);
    void* pContext = const_cast<CTextMeasure*>(&m_measure);
    for (int g = 0; g < groups.GetCount(); ++g) {
        const CGraphGroup* pGroup = groups.GetAt(g);
        if (IsExtreme(*pGroup) != bExtremes)
            continue;
        // The hour-by-hour chart labels only its ends and turning points.
        if (!m_bDaily && !bExtremes)
            continue;
        if (pGroup->m_points.empty())
            continue;
        CGraphBox box;
        int nPoint = -1;
        if (!placer.Place(*pGroup, MeasureBold, pContext, box, nPoint)) {
            if (!bExtremes)
                continue;
            // Any side of it will do then, the turn's own first.
            CGraphGroup anySide = *pGroup;
            anySide.m_nPlacement = PLACE_ABOVE | PLACE_BELOW | PLACE_LEFT | PLACE_RIGHT;
            if (!across.Place(*pGroup, MeasureBold, pContext, box, nPoint)
                && !across.Place(anySide, MeasureBold, pContext, box, nPoint))
                continue;
        }
        const CGraphPoint* pPoint = pGroup->m_pSeries->m_points.GetAt(nPoint);
        if (bExtremes) {
            // The extreme itself stays in sight: no picture covers it.
            placed.push_back({pPoint->m_nPx - EXTREME_CLEARANCE, -pPoint->m_nPy - EXTREME_CLEARANCE,
                              2 * EXTREME_CLEARANCE + 1, 2 * EXTREME_CLEARANCE + 1});
        }
        m_labelBoxes.push_back(box);
        m_labelGroups.push_back(pGroup);
        CPlanText label;
        label.m_str = pPoint->m_strText;
        label.m_nLeft = box.m_nLeft;
        label.m_nTop = box.m_nTop + m_frame.m_nHeight;
        label.m_nWidth = box.m_nWidth;
        label.m_nHeight = box.m_nHeight;
        label.m_crColour = pGroup->m_pSeries->m_crColour;
        series.m_labels.push_back(std::move(label));
    }
}

// The lines first, with the labels of their ends and turning points; then
// precipitation's icons and wind's arrows, which keep off those; last the
// other temperature labels, which give way to every icon and to every line.
void CChartPlanner::PlanSeries(const std::vector<CGraphSegment>& segments, CChartPlan& plan)
{
    std::vector<CGraphBox> placed;
    const int H = m_frame.m_nHeight;
    // Nothing that carries meaning enters the link line's band.
    placed.push_back({0, -LINK_BAND, m_frame.m_nWidth, LINK_BAND});
    const struct {
        int nSeries;
        CGraphSeries* pLine;
    } pictured[] = {{SERIES_PRECIPITATIONS, &m_precip}, {SERIES_WIND, &m_windSpeed}};
    for (const auto& p : pictured) {
        if (!Displays(p.nSeries))
            continue;
        plan.m_series.emplace_back();
        CPlanSeries& series = plan.m_series.back();
        series.m_nSeries = p.nSeries;
        series.m_lines.emplace_back();
        p.pLine->PlanLine(ColourOf(p.nSeries), H, series.m_lines.back());
    }
    const bool bTemps = Displays(SERIES_TEMPERATURES);
    if (bTemps) {
        plan.m_series.emplace_back();
        CPlanSeries& series = plan.m_series.back();
        series.m_nSeries = SERIES_TEMPERATURES;
        std::vector<CGraphSegment> own;
        for (CGraphSeries* pLine : m_bDaily ? std::vector<CGraphSeries*>{&m_low, &m_high}
                                            : std::vector<CGraphSeries*>{&m_temp}) {
            series.m_lines.emplace_back();
            pLine->PlanLine(CChartPlan::CR_TEMP, H, series.m_lines.back());
            pLine->BuildSegments(own);
        }
        PlanLabels(m_tempGroups, segments, own, true, placed, series);
    }
    PlanIcons(plan, placed);
    if (Displays(SERIES_WIND) && !WindScaleInSight())
        for (CPlanSeries& series : plan.m_series)
            if (series.m_nSeries == SERIES_WIND)
                PlanWindLabels(segments, placed, series);
    if (bTemps)
        PlanLabels(m_tempGroups, segments, segments, false, placed, plan.m_series.back());
}

// Whether a panel shows the wind's scale without a tap.
bool CChartPlanner::WindScaleInSight() const
{
    for (const std::vector<int>& side : m_sideSeries)
        if (!side.empty() && side.front() == SERIES_WIND)
            return true;
    return false;
}

// A wind line whose scale no panel shows at once says its values itself, at
// its ends and turns, the first one with its unit: a green line high on the
// chart never reads as a rain's chance then. They give way to everything else.
void CChartPlanner::PlanWindLabels(const std::vector<CGraphSegment>& segments, std::vector<CGraphBox>& placed,
                                   CPlanSeries& series)
{
    CLabelPlacer placer(m_frame.m_nWidth, m_frame.m_nHeight, segments, placed);
    const std::wstring strUnit = UnitOf(SERIES_WIND);
    void* pContext = const_cast<CTextMeasure*>(&m_measure);
    for (int g = 0; g < m_windLabelGroups.GetCount(); ++g) {
        CGraphGroup* pGroup = m_windLabelGroups.GetAt(g);
        if (!IsExtreme(*pGroup) || pGroup->m_points.empty())
            continue;
        // Just above or below the pictures at the point, the side of the turn first.
        const std::wstring strUnitPart = series.m_labels.empty() ? L" " + strUnit : L"";
        CGraphBox box = {0, 0, 0, 0};
        int nPoint = -1;
        for (size_t k = 0; k < pGroup->m_points.size() && nPoint < 0; ++k) {
            CGraphPoint* pPoint = m_windSpeed.m_points.GetAt(pGroup->m_points[k]);
            pPoint->m_strText = TemperatureLabel(pPoint->m_nY) + strUnitPart;
            const SIZE size = MeasureBold(pContext, pPoint->m_strText);
            const bool bBelowFirst = pGroup->m_nPlacement == PLACE_BELOW;
            // Clear of an arrow, then of a weather icon, at the point.
            for (int nClear : {PICTURE_ARROW / 2, PICTURE_WEATHER / 2})
                for (bool bBelow : {bBelowFirst, !bBelowFirst}) {
                    const CGraphBox candidate = {pPoint->m_nPx - size.cx / 2,
                                                 bBelow ? -pPoint->m_nPy + nClear + 1
                                                        : -pPoint->m_nPy - nClear - 1 - size.cy,
                                                 size.cx, size.cy};
                    if (nPoint < 0 && placer.Fits(candidate)) {
                        box = candidate;
                        nPoint = pGroup->m_points[k];
                    }
                }
        }
        if (nPoint < 0)
            continue;
        placed.push_back(box);
        CPlanText label;
        label.m_str = m_windSpeed.m_points.GetAt(nPoint)->m_strText;
        label.m_nLeft = box.m_nLeft;
        label.m_nTop = box.m_nTop + m_frame.m_nHeight;
        label.m_nWidth = box.m_nWidth;
        label.m_nHeight = box.m_nHeight;
        label.m_crColour = CChartPlan::CR_WIND;
        series.m_labels.push_back(std::move(label));
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
    m_scaleTime.SetPixelRange(MARGIN_LEFT, m_frame.m_nWidth - MARGIN_RIGHT, 0);
    if (Displays(SERIES_TEMPERATURES)) {
        m_scaleTemp.SetPixelRange(MARGIN_BOTTOM, H - MARGIN_TOP, 6);
        for (CGraphSeries* pSeries : temperatures)
            m_scaleTemp.AddSeries(pSeries);
        m_scaleTemp.SetAutoRange(false);
        for (CGraphSeries* pSeries : temperatures)
            m_scaleTime.AddSeries(pSeries);
    }
    if (Displays(SERIES_PRECIPITATIONS)) {
        m_scalePrecip.SetPixelRange(MARGIN_BOTTOM, H - MARGIN_TOP, 10);
        m_scalePrecip.AddSeries(&m_precip);
        m_scalePrecip.SetFixedRange(0, 100);
        m_scaleTime.AddSeries(&m_precip);
    }
    if (Displays(SERIES_WIND)) {
        m_scaleWind.SetPixelRange(MARGIN_BOTTOM, H - MARGIN_TOP, nWindIntervals);
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
    link.m_str =
        FitText(m_measure, CHART_FONT_NORMAL,
                CWideFormat::Format(Tr("View this forecast at %s").c_str(), CServiceConfig().m_strName.c_str()),
                nStep - 2 * LINK_MARGIN);
    const SIZE ext = m_measure.Measure(CHART_FONT_NORMAL, link.m_str);
    link.m_nWidth = ext.cx;
    link.m_nHeight = ext.cy;
    link.m_crColour = CChartPlan::CR_LINK;
    link.m_nFont = CHART_FONT_NORMAL;
    link.m_nTop = H - LINK_BAND + (LINK_BAND - ext.cy) / 2;
    // A copy past the image's end would be cut: the last one stands at the
    // right end instead, when it keeps clear of the one before.
    for (int g = 0; g < W; g += nStep) {
        link.m_nLeft = (g + nStep <= W ? g : W - nStep) + (nStep - ext.cx) / 2;
        if (!plan.m_link.empty()
            && link.m_nLeft < plan.m_link.back().m_nLeft + ext.cx + 2 * LINK_MARGIN)
            break;
        plan.m_link.push_back(link);
    }
}
