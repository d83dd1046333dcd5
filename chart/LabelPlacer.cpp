#include "chart/LabelPlacer.h"

#include "chart/GraphPoint.h"
#include "chart/GraphSeries.h"

#include <algorithm>

bool CLabelPlacer::Candidate(const CGraphPoint& point, int nPlacement, int nCandidate, SIZE size,
                             CGraphBox& box)
{
    static const int s_required[8] = {
        PLACE_ABOVE, PLACE_ABOVE | PLACE_LEFT, PLACE_ABOVE | PLACE_RIGHT,
        PLACE_BELOW, PLACE_BELOW | PLACE_LEFT, PLACE_BELOW | PLACE_RIGHT,
        PLACE_LEFT, PLACE_RIGHT};
    if (nCandidate < 0 || nCandidate > 7)
        return false;
    if ((nPlacement & s_required[nCandidate]) != s_required[nCandidate])
        return false;
    const int w = size.cx;
    const int h = size.cy;
    const int px = point.m_nPx;
    const int py = point.m_nPy;
    const int nCentred = px - w / 2;
    const int nLeftOf = px - w - 6;
    const int nRightOf = px + 7;
    const int nAbove = -py - h - 5;
    const int nBelow = -py + 6;
    const int nMiddle = -py - h / 2;
    static const int s_column[8] = {0, 1, 2, 0, 1, 2, 1, 2};   // centred, left of, right of
    static const int s_row[8] = {0, 0, 0, 1, 1, 1, 2, 2};      // above, below, middle
    const int columns[3] = {nCentred, nLeftOf, nRightOf};
    const int rows[3] = {nAbove, nBelow, nMiddle};
    box.m_nLeft = columns[s_column[nCandidate]];
    box.m_nTop = rows[s_row[nCandidate]];
    box.m_nWidth = w;
    box.m_nHeight = h;
    return true;
}

bool CLabelPlacer::InsideArea(const CGraphBox& b) const
{
    const long long nLeft = b.m_nLeft;
    const long long nTop = b.m_nTop;
    // The image's columns are 0 .. width - 1 and its rows, upward from the
    // bottom, 1 .. height: a box one pixel further would be cut at the edge.
    return nLeft >= 0 && nLeft + b.m_nWidth <= m_nChartWidth && -nTop <= m_nChartHeight
        && -nTop - b.m_nHeight >= 0;
}

bool CLabelPlacer::OverlapsPlaced(const CGraphBox& a) const
{
    for (const CGraphBox& b : m_placed) {
        if (a.m_nLeft <= b.m_nLeft + b.m_nWidth - 1 && b.m_nLeft <= a.m_nLeft + a.m_nWidth - 1
            && a.m_nTop <= b.m_nTop + b.m_nHeight - 1 && b.m_nTop <= a.m_nTop + a.m_nHeight - 1)
            return true;
    }
    return false;
}

static long long Cross(long long ox, long long oy, long long ax, long long ay, long long bx,
                       long long by)
{
    return (ax - ox) * (by - oy) - (ay - oy) * (bx - ox);
}

static int Sign(long long v)
{
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

// For a point known to lie on the line through a and b: whether it lies between them.
static bool Within(long long ax, long long ay, long long bx, long long by, long long px,
                   long long py)
{
    return std::min(ax, bx) <= px && px <= std::max(ax, bx) && std::min(ay, by) <= py
        && py <= std::max(ay, by);
}

bool CLabelPlacer::SegmentsMeet(long long ax, long long ay, long long bx, long long by,
                                long long cx, long long cy, long long dx, long long dy)
{
    const int d1 = Sign(Cross(cx, cy, dx, dy, ax, ay));
    const int d2 = Sign(Cross(cx, cy, dx, dy, bx, by));
    const int d3 = Sign(Cross(ax, ay, bx, by, cx, cy));
    const int d4 = Sign(Cross(ax, ay, bx, by, dx, dy));
    if (d1 * d2 < 0 && d3 * d4 < 0)
        return true;
    // Touching, and pieces lying on one line, count as meeting.
    if (d1 == 0 && Within(cx, cy, dx, dy, ax, ay)) return true;
    if (d2 == 0 && Within(cx, cy, dx, dy, bx, by)) return true;
    if (d3 == 0 && Within(ax, ay, bx, by, cx, cy)) return true;
    if (d4 == 0 && Within(ax, ay, bx, by, dx, dy)) return true;
    return false;
}

bool CLabelPlacer::CrossedBySegment(const CGraphBox& b) const
{
    const long long l = b.m_nLeft;
    const long long t = b.m_nTop;
    const long long r = l + b.m_nWidth - 1;
    const long long btm = t + b.m_nHeight - 1;
    for (const CGraphSegment& s : m_segments) {
        const long long x1 = s.m_nX1, y1 = -static_cast<long long>(s.m_nY1);
        const long long x2 = s.m_nX2, y2 = -static_cast<long long>(s.m_nY2);
        // Most pieces of a long line lie wholly to one side of the box.
        if (std::max(x1, x2) < l || std::min(x1, x2) > r || std::max(y1, y2) < t || std::min(y1, y2) > btm)
            continue;
        if (SegmentsMeet(x1, y1, x2, y2, l, t, r, t) || SegmentsMeet(x1, y1, x2, y2, l, btm, r, btm)
            || SegmentsMeet(x1, y1, x2, y2, l, t, l, btm) || SegmentsMeet(x1, y1, x2, y2, r, t, r, btm))
            return true;
    }
    return false;
}

bool CLabelPlacer::Fits(const CGraphBox& box) const
{
    return InsideArea(box) && !OverlapsPlaced(box) && !CrossedBySegment(box);
}

bool CLabelPlacer::Place(const CGraphGroup& group, MEASURE pfnMeasure, void* pContext,
                         CGraphBox& box, int& nPoint)
{
    for (int nIndex : group.m_points) {
        const CGraphPoint* pPoint = group.m_pSeries->m_points.GetAt(nIndex);
        if (!pPoint)
            continue;
        const SIZE size = pfnMeasure(pContext, pPoint->m_strText);
        for (int c = 0; c < 8; ++c) {
            CGraphBox candidate;
            if (!Candidate(*pPoint, group.m_nPlacement, c, size, candidate))
                continue;
            if (Fits(candidate)) {
                box = candidate;
                nPoint = nIndex;
                m_placed.push_back(candidate);
                return true;
            }
        }
    }
    return false;
}
