#include "chart/ChartPlan.h"

#include "chart/GraphScaleX.h"
#include "chart/GraphSeries.h"

#include <algorithm>

void CChartPlan::LabelEdges(int nScroll, int nViewport, std::vector<CPlanCut>& cut) const
{
    cut.clear();
    const long long nViewLeft = nScroll;
    const long long nViewRight = nViewLeft + nViewport;   // exclusive
    size_t nLabel = 0;
    for (const CPlanSeries& series : m_series) {
        for (const CPlanText& label : series.m_labels) {
            const long long l = label.m_nLeft;
            const long long r = l + label.m_nWidth;
            if (l < nViewRight && nViewLeft < r && (l < nViewLeft || nViewRight < r)) {
                CPlanCut c;
                c.m_nLabel = nLabel;
                c.m_rc = {static_cast<LONG>(std::max(l, nViewLeft)), label.m_nTop,
                          static_cast<LONG>(std::min(r, nViewRight)), label.m_nTop + label.m_nHeight};
                cut.push_back(c);
            }
            ++nLabel;
        }
    }
}

bool CChartPlan::LinkInView(int nViewport, CPlanText& link) const
{
    if (m_link.empty())
        return false;
    link = m_link.front();
    link.m_nSource = link.m_nLeft;
    link.m_nLeft = std::max(0, (nViewport - link.m_nWidth) / 2);
    return true;
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
    // Moves a line to a column in view, whole when it keeps clear of the lines
    // of its row in full view and of those moved already, otherwise as far as
    // its first word (the weekday of a date) when that does.
    auto move = [&](const CPlanText& text, long long nLeft, bool bAtRight) -> bool {
        CPlanText whole = text;
        whole.m_nSource = text.m_nLeft;
        for (int nTry = 0; nTry < 2; ++nTry) {
            if (nTry == 1) {
                if (text.m_nFirstWordWidth <= 0)
                    return false;
                // The first word's columns start the line in the strip image.
                whole.m_str = text.m_str.substr(0, text.m_str.find(L','));
                whole.m_nWidth = text.m_nFirstWordWidth;
            }
            whole.m_nLeft = static_cast<int>(bAtRight ? nLeft - whole.m_nWidth : nLeft);
            bool bClear = true;
            for (const CPlanText& other : m_strip)
                if (other.m_nLeft >= nViewLeft && other.m_nLeft + other.m_nWidth <= nViewRight)
                    bClear = bClear && clear(whole, other);
            for (const CPlanText& other : moved)
                bClear = bClear && clear(whole, other);
            if (bClear) {
                moved.push_back(std::move(whole));
                return true;
            }
        }
        return false;
    };
    for (size_t i = 0; i < m_strip.size(); ++i) {
        const CPlanText& text = m_strip[i];
        const long long l = text.m_nLeft;
        const long long r = l + text.m_nWidth;
        const bool bCutLeft = l < nViewLeft && nViewLeft < r;
        const bool bCutRight = l < nViewRight && nViewRight < r;
        if (bCutLeft || bCutRight)
            cut.push_back({static_cast<LONG>(bCutLeft ? nViewLeft : l), text.m_nTop,
                           static_cast<LONG>(bCutRight ? nViewRight : r), text.m_nTop + text.m_nHeight});
        if (!text.m_bMovable || text.m_nWidth > nViewport)
            continue;
        if (bCutRight && !bCutLeft) {
            move(text, nViewRight, true);
            continue;
        }
        if (l >= nViewLeft)
            continue;
        // Cut or gone on the left: the day it names holds it at the left edge
        // while the day's columns, up to the next line of its row, are in view.
        long long nEnd = m_nWidth;
        for (size_t j = i + 1; j < m_strip.size(); ++j)
            if (m_strip[j].m_nTop == text.m_nTop && m_strip[j].m_bMovable) {
                nEnd = m_strip[j].m_nLeft;
                break;
            }
        if (nEnd <= nViewLeft || move(text, nViewLeft, false))
            continue;
        // The next day's line came in too close: it steps right, just far
        // enough for this day's first word (or all of a short line) before
        // it, while it stays in view.
        size_t nNext = i + 1;
        while (nNext < m_strip.size() && (m_strip[nNext].m_nTop != text.m_nTop || !m_strip[nNext].m_bMovable))
            ++nNext;
        if (nNext == m_strip.size())
            continue;
        const CPlanText& next = m_strip[nNext];
        if (next.m_nLeft < nViewLeft || next.m_nLeft + static_cast<long long>(next.m_nWidth) > nViewRight)
            continue;
        CPlanText first = text;
        first.m_nSource = text.m_nLeft;
        if (text.m_nFirstWordWidth > 0) {
            first.m_str = text.m_str.substr(0, text.m_str.find(L','));
            first.m_nWidth = text.m_nFirstWordWidth;
        }
        first.m_nLeft = static_cast<int>(nViewLeft);
        CPlanText stepped = next;
        stepped.m_nSource = next.m_nLeft;
        stepped.m_nLeft = static_cast<int>(nViewLeft + first.m_nWidth + nGap);
        if (stepped.m_nLeft + static_cast<long long>(stepped.m_nWidth) > nViewRight)
            continue;
        bool bClear = true;
        for (const CPlanText& other : m_strip)
            if (&other != &next && other.m_nLeft >= nViewLeft && other.m_nLeft + other.m_nWidth <= nViewRight)
                bClear = bClear && clear(first, other) && clear(stepped, other);
        for (const CPlanText& other : moved)
            bClear = bClear && clear(first, other) && clear(stepped, other);
        if (!bClear)
            continue;
        cut.push_back({next.m_nLeft, next.m_nTop, next.m_nLeft + next.m_nWidth, next.m_nTop + next.m_nHeight});
        moved.push_back(std::move(first));
        moved.push_back(std::move(stepped));
    }
}
