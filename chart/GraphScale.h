#pragma once

#include "chart/ChartPlan.h"
#include "platform/WinTypes.h"
#include "store/PointerArray.h"

class CGraphSeries;
class CTextMeasure;

// What the time scale and the value scales share: a range of scale units mapped
// linearly onto two pixel ends, and the series whose points it positions.
class CGraphScale
{
public:
    CGraphScale() : m_series(false) {}
    virtual ~CGraphScale() = default;
    CGraphScale(const CGraphScale&) = delete;
    CGraphScale& operator=(const CGraphScale&) = delete;

    virtual void GetSeriesRange(const CGraphSeries& series, int& nLow, int& nHigh) const = 0;
    virtual void MapSeries(CGraphSeries& series) const = 0;

    void SetPixelRange(int nPxLo, int nPxHi, int nIntervals);
    // Forgets the attached series and the range before a new composition.
    void Reset();
    void AddSeries(CGraphSeries* pSeries);
    void SetFixedRange(int nLo, int nHi);
    void SetAutoRange(bool bIncludeZero);

    // The ticks, numbers and axis of this scale in a side panel as high as the
    // chart image, and with a grid list also its horizontal grid lines across a
    // chart image that wide.
    void PlanPanel(const CTextMeasure& measure, int nPanelHeight, int nTickX, COLORREF crColour,
                   bool bRightSide, CPlanPanel& panel, std::vector<CPlanLine>* pGrid,
                   int nChartWidth, COLORREF crGrid) const;

    // The tick values DrawPanel draws, lowest first.
    int TickStep() const;
    int FirstTick() const;

    int m_nDataMin = 0;
    int m_nDataMax = 0;
    int m_nLo = 0;
    int m_nHi = 0;
    int m_nIntervals = 1;
    int m_nPxLo = 0;
    int m_nPxHi = 0;
    bool m_bFixed = false;
    double m_dFactor = 1.0;
    double m_dOffset = 0.0;
    CPointerArray<CGraphSeries> m_series;   // not owned
    bool m_bHasData = false;

protected:
    void Map();
};
