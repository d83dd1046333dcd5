#include "chart/GraphScale.h"

#include "chart/GraphSeries.h"
#include "chart/Trunc.h"
#include "chart/TextMeasure.h"

#include <string>

void CGraphScale::SetPixelRange(int nPxLo, int nPxHi, int nIntervals)
{
    m_nPxLo = nPxLo;
    m_nPxHi = nPxHi;
    m_nIntervals = nIntervals;
}

void CGraphScale::Reset()
{
    m_series.RemoveAll();
    m_bHasData = false;
    m_bFixed = false;
    // A scale left without series then maps a range of its own, not the last chart's.
    m_nDataMin = m_nDataMax = 0;
}

void CGraphScale::AddSeries(CGraphSeries* pSeries)
{
    m_series.Add(pSeries);
    int nLow = 0;
    int nHigh = 0;
    GetSeriesRange(*pSeries, nLow, nHigh);
    if (!m_bHasData) {
        m_nDataMin = nLow;
        m_nDataMax = nHigh;
        m_bHasData = true;
    } else {
        if (nLow < m_nDataMin) m_nDataMin = nLow;
        if (nHigh > m_nDataMax) m_nDataMax = nHigh;
    }
}

void CGraphScale::SetFixedRange(int nLo, int nHi)
{
    m_bFixed = true;
    m_nLo = nLo;
    m_nHi = nHi;
    Map();
}

void CGraphScale::SetAutoRange(bool bIncludeZero)
{
    if (bIncludeZero) {
        if (m_nDataMin > 0) m_nDataMin = 0;
        if (m_nDataMax < 0) m_nDataMax = 0;
    }
    m_nLo = m_nDataMin;
    m_nHi = m_nDataMax;
    Map();
}

void CGraphScale::Map()
{
    // A range of a single value (equal wind speeds, a one-hour chart) counts as
    // one unit wide, so the mapping stays finite and lo still lands on px lo.
    double dSpan = static_cast<double>(m_nLo) - static_cast<double>(m_nHi);
    if (dSpan == 0.0)
        dSpan = -1.0;
    m_dFactor = (static_cast<double>(m_nPxLo) - static_cast<double>(m_nPxHi)) / dSpan;
    m_dOffset = m_nPxLo - m_nLo * m_dFactor;
    for (int i = 0; i < m_series.GetCount(); ++i)
        MapSeries(*m_series.GetAt(i));
}

int CGraphScale::TickStep() const
{
    const long long nRange = static_cast<long long>(m_nHi) - m_nLo;
    long long nStep = m_nIntervals > 0 ? nRange / m_nIntervals : nRange;
    if (nStep == 0)
        nStep = 1;
    return ClampToInt(nStep);
}

int CGraphScale::FirstTick() const
{
    const int nStep = TickStep();
    long long nFirst = static_cast<long long>(m_nLo / nStep) * nStep;
    if (nFirst < m_nLo)
        nFirst += nStep;
    return ClampToInt(nFirst);
}

void CGraphScale::PlanPanel(const CTextMeasure& measure, int nPanelHeight, int nTickX,
                            COLORREF crColour, bool bRightSide, CPlanPanel& panel,
                            std::vector<CPlanLine>* pGrid, int nChartWidth, COLORREF crGrid) const
{
    // Positions count upward from the bottom row; the panel's rows downward.
    const int H = nPanelHeight;
    const long long nStep = TickStep();
    // On a short chart (landscape) the numbers of neighbouring ticks would run
    // into each other: every tick keeps its mark and grid line, but only every
    // second (third, ...) one, from the lowest on, its number.
    const int nHeight = measure.Measure(CHART_FONT_BOLD, std::to_wstring(FirstTick())).cy;
    const double dSpacing = static_cast<double>(nStep) * m_dFactor;
    long long nEvery = 1;
    while (dSpacing > 0 && nEvery < 100 && dSpacing * static_cast<double>(nEvery) < nHeight + 1)
        ++nEvery;
    long long nIndex = 0;
    for (long long v = FirstTick(); v <= m_nHi; v += nStep, ++nIndex) {
        const int y = TruncToInt((static_cast<double>(v) - m_nLo) * m_dFactor + m_nPxLo);
        const int nRow = H - y;
        CPlanText number;
        number.m_str = std::to_wstring(v);
        const SIZE ext = measure.Measure(CHART_FONT_BOLD, number.m_str);
        number.m_nTop = nRow - ext.cy / 2;
        number.m_nWidth = ext.cx;
        number.m_nHeight = ext.cy;
        number.m_crColour = crColour;
        CPlanLine tick;
        tick.m_crColour = crColour;
        if (bRightSide) {
            tick.m_points = {{nTickX, nRow}, {nTickX + 4, nRow}};
            number.m_nLeft = nTickX + 7;
        } else {
            tick.m_points = {{nTickX - 4, nRow}, {nTickX, nRow}};
            number.m_nLeft = nTickX - 5 - ext.cx;
        }
        panel.m_lines.push_back(std::move(tick));
        if (nIndex % nEvery == 0)
            panel.m_texts.push_back(std::move(number));
        if (pGrid) {
            CPlanLine grid;
            grid.m_crColour = crGrid;
            grid.m_points = {{0, nRow}, {nChartWidth, nRow}};
            pGrid->push_back(std::move(grid));
        }
    }
    CPlanLine axis;
    axis.m_crColour = crColour;
    axis.m_points = {{nTickX, H - m_nPxLo}, {nTickX, H - m_nPxHi}};
    panel.m_lines.push_back(std::move(axis));
}
