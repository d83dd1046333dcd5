#pragma once

#include "chart/GraphScale.h"

// A value scale: its unit is the whole display unit while the series hold tenths.
// Pixels count upward from the bottom of the image.
class CGraphScaleY : public CGraphScale
{
public:
    void GetSeriesRange(const CGraphSeries& series, int& nLow, int& nHigh) const override;
    void MapSeries(CGraphSeries& series) const override;
};
