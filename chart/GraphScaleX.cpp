#include "chart/GraphScaleX.h"

#include "chart/GraphSeries.h"
#include "chart/Trunc.h"
#include "platform/ui/DC.h"
#include "platform/ui/Pen.h"

void CGraphScaleX::GetSeriesRange(const CGraphSeries& series, int& nLow, int& nHigh) const
{
    nLow = series.m_nMinX;
    nHigh = series.m_nMaxX;
}

void CGraphScaleX::MapSeries(CGraphSeries& series) const
{
    for (int i = 0; i < series.m_points.GetCount(); ++i) {
        CGraphPoint* p = series.m_points.GetAt(i);
        p->m_nPx = PositionToPixel(p->m_nX);
    }
}

int CGraphScaleX::PositionToPixel(int x) const
{
    return TruncToInt(x * m_dFactor + m_dOffset);
}

void CGraphScaleX::SetDateRange(const CDateTime& dtStart, const CDateTime& dtEnd)
{
    m_dtStart = dtStart;
    m_dtEnd = dtEnd;
}

int CGraphScaleX::DateToPixel(const CDateTime& dt) const
{
    const long long s = m_dtStart.SecondsUntil(dt);
    long long e = m_dtStart.SecondsUntil(m_dtEnd);
    // Equal dates (a one-hour chart) count as one second apart.
    if (e == 0)
        e = 1;
    return TruncToInt(static_cast<double>(m_nPxHi - m_nPxLo) / static_cast<double>(e)
                      * static_cast<double>(s) + m_nPxLo);
}

void CGraphScaleX::DrawTimeLabels(CDC* pStripDC, HFONT hFont,
                                  CPointerArray<CGraphTimeLabel>& labels, CDC* pGridDC,
                                  int nGridHeight, COLORREF crGrid) const
{
    const HFONT hOldFont = pStripDC->SelectObject(hFont);
    const int nOldBkMode = pStripDC->SetBkMode(TRANSPARENT);
    const COLORREF crOldText = pStripDC->SetTextColor(RGB(0, 0, 0));
    CPen gridPen(PS_SOLID, 1, crGrid);
    CPen* pOldGridPen = pGridDC ? pGridDC->SelectObject(&gridPen) : nullptr;

    for (int i = 0; i < labels.GetCount(); ++i) {
        CGraphTimeLabel* pLabel = labels.GetAt(i);
        const int px = PositionToPixel(pLabel->m_nX);
        pLabel->m_nPx = px;

        const SIZE ext1 = pStripDC->GetTextExtent(pLabel->m_strText1);
        RECT rc1;
        rc1.left = pLabel->m_bCentred ? px - ext1.cx / 2 : px;
        rc1.right = rc1.left + ext1.cx;
        rc1.top = 0;
        rc1.bottom = ext1.cy;
        pStripDC->DrawText(pLabel->m_strText1, &rc1, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);

        const SIZE ext2 = pStripDC->GetTextExtent(pLabel->m_strText2);
        RECT rc2 = {px, 12, px + ext2.cx, 12 + ext2.cy};
        pStripDC->DrawText(pLabel->m_strText2, &rc2, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);

        if (pGridDC) {
            pGridDC->MoveTo(px, 0);
            pGridDC->LineTo(px, nGridHeight);
        }
    }

    if (pGridDC)
        pGridDC->SelectObject(pOldGridPen);
    pStripDC->SetTextColor(crOldText);
    pStripDC->SetBkMode(nOldBkMode);
    pStripDC->SelectObject(hOldFont);
}
