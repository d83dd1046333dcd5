#include "chart/GraphScaleY.h"

#include "chart/GraphSeries.h"
#include "chart/Trunc.h"

void CGraphScaleY::GetSeriesRange(const CGraphSeries& series, int& nLow, int& nHigh) const
{
    nLow = series.m_nMinY / 10;
    nHigh = ClampToInt((static_cast<long long>(series.m_nMaxY) + 9) / 10);
}

void CGraphScaleY::MapSeries(CGraphSeries& series) const
{
    for (int i = 0; i < series.m_points.GetCount(); ++i) {
        CGraphPoint* p = series.m_points.GetAt(i);
        p->m_nPy = TruncToInt((p->m_nY * m_dFactor + 5.0) * 0.1 + m_dOffset);
    }
}
