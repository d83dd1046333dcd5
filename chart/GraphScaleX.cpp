#include "chart/GraphScaleX.h"

#include "chart/GraphSeries.h"
#include "chart/Trunc.h"
#include "chart/TextMeasure.h"

#include <vector>

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

namespace {

struct LabelSpan
{
    int m_nLeft;
    int m_nRight;   // exclusive
};

bool Crowds(const LabelSpan& a, const std::vector<LabelSpan>& shown)
{
    if (a.m_nRight <= a.m_nLeft)
        return false;   // an empty line takes no room
    for (const LabelSpan& b : shown)
        if (b.m_nRight > b.m_nLeft && a.m_nLeft < b.m_nRight + CGraphScaleX::TIME_LABEL_GAP
            && b.m_nLeft < a.m_nRight + CGraphScaleX::TIME_LABEL_GAP)
            return true;
    return false;
}

} // namespace

void CGraphScaleX::PlanTimeLabels(const CTextMeasure& measure,
                                  CPointerArray<CGraphTimeLabel>& labels,
                                  int nStripWidth, std::vector<CPlanText>& strip,
                                  std::vector<CPlanLine>* pGrid, int nGridHeight,
                                  COLORREF crGrid) const
{
    // The first lines (the hours, the weekdays) are placed in order, each one
    // that would run into the one before left out; a caller that spaces them
    // evenly gets them all. A second line (a date) is shown only where it keeps
    // clear of the dates shown, and never takes its first line with it. The
    // dates that start a new day go before the first label's, which only says
    // where the chart starts.
    const int nCount = labels.GetCount();
    std::vector<LabelSpan> line1(nCount), line2(nCount);
    std::vector<SIZE> extents1(nCount), extents2(nCount);   // measured once, for placing and drawing
    for (int i = 0; i < nCount; ++i) {
        CGraphTimeLabel* pLabel = labels.GetAt(i);
        const int px = PositionToPixel(pLabel->m_nX);
        pLabel->m_nPx = px;
        pLabel->m_bShown = false;
        const SIZE ext1 = extents1[i] = measure.Measure(CHART_FONT_BOLD, pLabel->m_strText1);
        const SIZE ext2 = extents2[i] = measure.Measure(CHART_FONT_BOLD, pLabel->m_strText2);
        line1[i].m_nLeft = pLabel->m_bCentred ? px - ext1.cx / 2 : px;
        line1[i].m_nRight = line1[i].m_nLeft + ext1.cx;
        line2[i] = {px, px + ext2.cx};
        // A line the strip's end would cut moves inside it.
        for (LabelSpan* pSpan : {&line1[i], &line2[i]}) {
            const int nShift = pSpan->m_nRight > nStripWidth ? pSpan->m_nRight - nStripWidth
                             : pSpan->m_nLeft < 0 ? pSpan->m_nLeft : 0;
            pSpan->m_nLeft -= nShift;
            pSpan->m_nRight -= nShift;
        }
    }
    std::vector<LabelSpan> shown1, shown2;
    std::vector<bool> dateShown(nCount, false);
    for (int i = 0; i < nCount; ++i) {
        if (Crowds(line1[i], shown1))
            continue;
        labels.GetAt(i)->m_bShown = true;
        shown1.push_back(line1[i]);
    }
    std::vector<std::wstring> dates(nCount);
    for (int k = 1; k <= nCount; ++k) {
        const int i = k % nCount;
        const CGraphTimeLabel* pLabel = labels.GetAt(i);
        if (!pLabel->m_bShown || pLabel->m_strText2.empty())
            continue;
        dates[i] = pLabel->m_strText2;
        if (Crowds(line2[i], shown2)) {
            // The chart's first day, too short for its whole date before the
            // next one's, is still named: by its first word ("Thu").
            const size_t nComma = dates[i].find(L',');
            if (i != 0 || nComma == std::wstring::npos || nComma == 0)
                continue;
            dates[i].resize(nComma);
            extents2[i] = measure.Measure(CHART_FONT_BOLD, dates[i]);
            line2[i].m_nRight = line2[i].m_nLeft + extents2[i].cx;
            if (Crowds(line2[i], shown2))
                continue;
        }
        dateShown[i] = true;
        shown2.push_back(line2[i]);
    }

    for (int i = 0; i < nCount; ++i) {
        CGraphTimeLabel* pLabel = labels.GetAt(i);
        if (!pLabel->m_bShown)
            continue;
        const int px = pLabel->m_nPx;
        CPlanText text;
        text.m_str = pLabel->m_strText1;
        text.m_nLeft = line1[i].m_nLeft;
        text.m_nWidth = extents1[i].cx;
        text.m_nHeight = extents1[i].cy;
        text.m_bMovable = !pLabel->m_bCentred;
        strip.push_back(text);
        if (dateShown[i]) {
            text.m_str = dates[i];
            text.m_nLeft = line2[i].m_nLeft;
            text.m_nTop = 12;
            text.m_nWidth = extents2[i].cx;
            text.m_nHeight = extents2[i].cy;
            text.m_bMovable = true;
            const size_t nComma = text.m_str.find(L',');
            if (nComma != std::wstring::npos && nComma > 0)
                text.m_nFirstWordWidth = measure.Measure(CHART_FONT_BOLD, text.m_str.substr(0, nComma)).cx;
            strip.push_back(std::move(text));
        }
        if (pGrid) {
            CPlanLine grid;
            grid.m_crColour = crGrid;
            grid.m_points = {{px, 0}, {px, nGridHeight}};
            pGrid->push_back(std::move(grid));
        }
    }
}
