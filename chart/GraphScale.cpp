#include "chart/GraphScale.h"

#include "chart/GraphSeries.h"
#include "chart/Trunc.h"
#include "platform/ui/DC.h"
#include "platform/ui/Pen.h"

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

void CGraphScale::DrawPanel(CDC* pPanelDC, SIZE panelSize, HFONT hFont, int nTickX,
                            COLORREF crColour, bool bRightSide, CDC* pGridDC, int nChartWidth,
                            COLORREF crGrid) const
{
    pPanelDC->FillSolidRect(0, 0, panelSize.cx, panelSize.cy, RGB(255, 255, 204));
    const POINT ptOldPanel = pPanelDC->SetViewportOrg(0, panelSize.cy);
    POINT ptOldGrid = {0, 0};
    if (pGridDC)
        ptOldGrid = pGridDC->SetViewportOrg(0, panelSize.cy);

    const HFONT hOldFont = pPanelDC->SelectObject(hFont);
    const int nOldBkMode = pPanelDC->SetBkMode(TRANSPARENT);
    const COLORREF crOldText = pPanelDC->SetTextColor(crColour);
    CPen pen(PS_SOLID, 1, crColour);
    CPen* pOldPen = pPanelDC->SelectObject(&pen);
    CPen gridPen(PS_SOLID, 1, crGrid);
    CPen* pOldGridPen = pGridDC ? pGridDC->SelectObject(&gridPen) : nullptr;

    const long long nStep = TickStep();
    for (long long v = FirstTick(); v <= m_nHi; v += nStep) {
        const int y = TruncToInt((static_cast<double>(v) - m_nLo) * m_dFactor + m_nPxLo);
        const std::wstring strNumber = std::to_wstring(v);
        const SIZE ext = pPanelDC->GetTextExtent(strNumber);
        RECT rc;
        rc.top = -y - ext.cy / 2;
        rc.bottom = rc.top + ext.cy;
        if (bRightSide) {
            pPanelDC->MoveTo(nTickX, -y);
            pPanelDC->LineTo(nTickX + 4, -y);
            rc.left = nTickX + 7;
            rc.right = rc.left + ext.cx;
            pPanelDC->DrawText(strNumber, &rc, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
        } else {
            pPanelDC->MoveTo(nTickX - 4, -y);
            pPanelDC->LineTo(nTickX, -y);
            rc.right = nTickX - 5;
            rc.left = rc.right - ext.cx;
            pPanelDC->DrawText(strNumber, &rc, DT_RIGHT | DT_SINGLELINE | DT_NOCLIP);
        }
        if (pGridDC) {
            pGridDC->MoveTo(0, -y);
            pGridDC->LineTo(nChartWidth, -y);
        }
    }
    pPanelDC->MoveTo(nTickX, -m_nPxLo);
    pPanelDC->LineTo(nTickX, -m_nPxHi);

    pPanelDC->SelectObject(pOldPen);
    pPanelDC->SetTextColor(crOldText);
    pPanelDC->SetBkMode(nOldBkMode);
    pPanelDC->SelectObject(hOldFont);
    pPanelDC->SetViewportOrg(ptOldPanel.x, ptOldPanel.y);
    if (pGridDC) {
        pGridDC->SelectObject(pOldGridPen);
        pGridDC->SetViewportOrg(ptOldGrid.x, ptOldGrid.y);
    }
}
