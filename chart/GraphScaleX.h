#pragma once

#include "chart/GraphScale.h"
#include "chart/GraphTimeLabel.h"
#include "store/DateTime.h"

// The time scale. Points are placed through the range of their positions; dates
// (night bands, the now marker) through a separate start and end date mapped
// onto the same pixel ends.
class CGraphScaleX : public CGraphScale
{
public:
    void GetSeriesRange(const CGraphSeries& series, int& nLow, int& nHigh) const override;
    void MapSeries(CGraphSeries& series) const override;

    void SetDateRange(const CDateTime& dtStart, const CDateTime& dtEnd);
    int DateToPixel(const CDateTime& dt) const;
    int PositionToPixel(int x) const;

    // The texts of the time strip; with a grid list also a vertical grid line of
    // the given height at every label shown. A label that would run into the
    // one before is skipped; a second line that would run into another is left
    // out alone. A line that the strip's ends would cut is moved inside it.
    void PlanTimeLabels(const CTextMeasure& measure, CPointerArray<CGraphTimeLabel>& labels,
                        int nStripWidth, std::vector<CPlanText>& strip,
                        std::vector<CPlanLine>* pGrid, int nGridHeight, COLORREF crGrid) const;

    // Time labels closer than this read as one number ("1416182022").
    static constexpr int TIME_LABEL_GAP = 2;

    CDateTime m_dtStart;
    CDateTime m_dtEnd;
};
