#include "chart/ChartPlan.h"

#include "chart/GraphScaleX.h"
#include "chart/GraphSeries.h"

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

void CChartPlan::StripEdges(int nScroll, int nViewport, std::vector<RECT>& cut,
                            std::vector<CPlanText>& moved) const
{
    cut.clear();
    moved.clear();
    const long long nViewLeft = nScroll;
    const long long nViewRight = nViewLeft + nViewport;   // exclusive
    // A line moved off its place keeps a word's space from the others, so that
    // two dates never read as one.
    const long long nGap = 3 * CGraphScaleX::TIME_LABEL_GAP;
    auto clear = [nGap](const CPlanText& a, const CPlanText& b) {
        return a.m_nTop != b.m_nTop || static_cast<long long>(a.m_nLeft) + a.m_nWidth + nGap <= b.m_nLeft
            || static_cast<long long>(b.m_nLeft) + b.m_nWidth + nGap <= a.m_nLeft;
    };
    for (const CPlanText& text : m_strip) {
        const long long l = text.m_nLeft;
        const long long r = l + text.m_nWidth;
        const bool bCutLeft = l < nViewLeft && nViewLeft < r;
        const bool bCutRight = l < nViewRight && nViewRight < r;
        if (!bCutLeft && !bCutRight)
            continue;
        cut.push_back({static_cast<LONG>(bCutLeft ? nViewLeft : l), text.m_nTop,
                       static_cast<LONG>(bCutRight ? nViewRight : r), text.m_nTop + text.m_nHeight});
        if (!text.m_bMovable || text.m_nWidth > nViewport)
            continue;
        CPlanText whole = text;
        whole.m_nLeft = static_cast<int>(bCutLeft ? nViewLeft : nViewRight - text.m_nWidth);
        // Clear of the lines of its row in full view, and of one moved already.
        bool bClear = true;
        for (const CPlanText& other : m_strip)
            if (other.m_nLeft >= nViewLeft && other.m_nLeft + other.m_nWidth <= nViewRight)
                bClear = bClear && clear(whole, other);
        for (const CPlanText& other : moved)
            bClear = bClear && clear(whole, other);
        if (bClear)
            moved.push_back(std::move(whole));
    }
}
