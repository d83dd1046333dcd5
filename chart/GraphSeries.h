#pragma once

#include "chart/ChartPlan.h"
#include "chart/GraphGroup.h"
#include "chart/GraphPoint.h"
#include "chart/GraphSegment.h"
#include "platform/WinTypes.h"
#include "store/PointerArray.h"

#include <vector>

// One plotted series: its points in the order added and their bounding box.
class CGraphSeries
{
public:
    void Clear();

    CGraphPoint* AddPoint(int x, int y);
    CGraphPoint* AddTextPoint(int x, int y, const std::wstring& strText);
    CGraphPoint* AddValuePoint(int x, int y, int nValue);

    // The line through the points in an image of that height, in this colour,
    // which the series' labels then take.
    void PlanLine(COLORREF crColour, int nImageHeight, CPlanLine& line);
    void BuildSegments(std::vector<CGraphSegment>& segments) const;
    void BuildLabelGroups(CPointerArray<CGraphGroup>& groups);
    void BuildIconGroups(CPointerArray<CGraphGroup>& groups, bool bOnePerPoint);

    int m_nMinX = 0;
    int m_nMaxX = 0;
    int m_nMinY = 0;
    int m_nMaxY = 0;
    CPointerArray<CGraphPoint> m_points;
    COLORREF m_crColour = RGB(0, 0, 0);   // of the last PlanLine; its labels use it
};
