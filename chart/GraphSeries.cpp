#include "chart/GraphSeries.h"


// A run of equal values longer than this is cut, so a long flat stretch still
// carries a label or an icon now and then.
static const int MAX_GROUP_POINTS = 9;

void CGraphSeries::Clear()
{
    m_points.RemoveAll();
    m_nMinX = m_nMaxX = m_nMinY = m_nMaxY = 0;
}

CGraphPoint* CGraphSeries::AddPoint(int x, int y)
{
    CGraphPoint* pPoint = new CGraphPoint;
    pPoint->m_nX = x;
    pPoint->m_nY = y;
    if (m_points.GetCount() == 0) {
        m_nMinX = m_nMaxX = x;
        m_nMinY = m_nMaxY = y;
    } else {
        if (x < m_nMinX) m_nMinX = x;
        if (x > m_nMaxX) m_nMaxX = x;
        if (y < m_nMinY) m_nMinY = y;
        if (y > m_nMaxY) m_nMaxY = y;
    }
    m_points.Add(pPoint);
    return pPoint;
}

CGraphPoint* CGraphSeries::AddTextPoint(int x, int y, const std::wstring& strText)
{
    CGraphPoint* pPoint = AddPoint(x, y);
    pPoint->m_nValue = -1;
    pPoint->m_strText = strText;
    return pPoint;
}

CGraphPoint* CGraphSeries::AddValuePoint(int x, int y, int nValue)
{
    CGraphPoint* pPoint = AddPoint(x, y);
    pPoint->m_nValue = nValue;
    return pPoint;
}

void CGraphSeries::PlanLine(COLORREF crColour, int nImageHeight, CPlanLine& line)
{
    m_crColour = crColour;
    line.m_crColour = crColour;
    line.m_points.clear();
    line.m_points.reserve(m_points.GetCount());
    for (int i = 0; i < m_points.GetCount(); ++i) {
        const CGraphPoint* p = m_points.GetAt(i);
        line.m_points.push_back({p->m_nPx, nImageHeight - p->m_nPy});
    }
}

void CGraphSeries::BuildSegments(std::vector<CGraphSegment>& segments) const
{
    for (int i = 1; i < m_points.GetCount(); ++i) {
        const CGraphPoint* a = m_points.GetAt(i - 1);
        const CGraphPoint* b = m_points.GetAt(i);
        segments.push_back({a->m_nPx, a->m_nPy, b->m_nPx, b->m_nPy});
    }
}

void CGraphSeries::BuildLabelGroups(CPointerArray<CGraphGroup>& groups)
{
    const int n = m_points.GetCount();
    const int nBoth = PLACE_ABOVE | PLACE_BELOW;
    CGraphGroup* g = new CGraphGroup(this, GROUP_PLAIN, nBoth);
    int d = 0;
    int nPrev = 0;
    for (int i = 0; i < n; ++i) {
        const int y = m_points.GetAt(i)->m_nY;
        CGraphGroup* h = nullptr;
        bool bEmit = true;
        if (i == 0) {
            g->m_nKind = GROUP_END;
            g->m_nPlacement = nBoth | PLACE_LEFT;
            g->m_points.push_back(0);
        } else if (i == n - 1) {
            h = new CGraphGroup(this, GROUP_END, nBoth | PLACE_RIGHT);
            h->m_points.push_back(i);
        } else if (y == nPrev) {
            if (static_cast<int>(g->m_points.size()) >= MAX_GROUP_POINTS) {
                h = new CGraphGroup(this, GROUP_PLAIN, nBoth);
                h->m_points.push_back(i);
            } else {
                g->m_points.push_back(i);
                bEmit = false;
            }
        } else {
            const int e = y > nPrev ? 1 : -1;
            if (d * e < 0) {
                // The run before this change was a trough or a peak.
                g->m_nKind = GROUP_TURN;
                g->m_nPlacement = e == 1 ? PLACE_BELOW : PLACE_ABOVE;
            }
            d = e;
            h = new CGraphGroup(this, GROUP_CHANGE, nBoth);
            h->m_points.push_back(i);
        }
        if (bEmit) {
            groups.Add(g);
            g = h ? h : new CGraphGroup(this, GROUP_PLAIN, nBoth);
        }
        nPrev = y;
    }
    if (!g->m_points.empty())
        groups.Add(g);
    else
        delete g;
}

void CGraphSeries::BuildIconGroups(CPointerArray<CGraphGroup>& groups, bool bOnePerPoint)
{
    const int n = m_points.GetCount();
    if (n == 0)
        return;
    // The last point always gets a picture of its own, so the chart ends with one.
    CGraphGroup* pLast = new CGraphGroup(this, GROUP_PLAIN, 0);
    pLast->m_points.push_back(n - 1);
    groups.Add(pLast);

    CGraphGroup* pCurrent = nullptr;
    for (int j = 0; j < n; ++j) {
        const int nValue = m_points.GetAt(j)->m_nValue;
        if (nValue == -1)
            break;
        if (j == 0 || bOnePerPoint || nValue != m_points.GetAt(j - 1)->m_nValue
            || static_cast<int>(pCurrent->m_points.size()) >= MAX_GROUP_POINTS) {
            pCurrent = new CGraphGroup(this, GROUP_PLAIN, 0);
            groups.Add(pCurrent);
        }
        pCurrent->m_points.push_back(j);
    }
}
