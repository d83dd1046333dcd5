#pragma once

#include "chart/GraphBox.h"
#include "chart/GraphGroup.h"
#include "chart/GraphSegment.h"
#include "platform/WinTypes.h"
#include "store/PointerArray.h"

#include <string>
#include <vector>

class CGraphPoint;

// Finds where the label of a group goes: the first of eight candidate boxes
// around one of its points that lies inside the chart, covers no icon or label
// already placed and is met by no plotted line. Coordinates are the chart
// image's, with the origin at its bottom-left corner.
class CLabelPlacer
{
public:
    typedef SIZE (*MEASURE)(void* pContext, const std::wstring& str);

    CLabelPlacer(int nChartWidth, int nChartHeight, const std::vector<CGraphSegment>& segments,
                 std::vector<CGraphBox>& placed)
        : m_nChartWidth(nChartWidth), m_nChartHeight(nChartHeight), m_segments(segments),
          m_placed(placed)
    {
    }

    // The candidate box of number nCandidate (0 .. 7) for a text of this size at
    // the point; false when the group's placement does not allow it.
    static bool Candidate(const CGraphPoint& point, int nPlacement, int nCandidate, SIZE size,
                          CGraphBox& box);

    bool Fits(const CGraphBox& box) const;
    bool InsideArea(const CGraphBox& box) const;
    bool OverlapsPlaced(const CGraphBox& box) const;
    bool CrossedBySegment(const CGraphBox& box) const;

    // The box and point chosen for the group; false when no candidate fits. The
    // box is appended to the placed boxes.
    bool Place(const CGraphGroup& group, MEASURE pfnMeasure, void* pContext, CGraphBox& box,
               int& nPoint);

    // Whether the segment (ax, ay)-(bx, by) and (cx, cy)-(dx, dy) share a point.
    static bool SegmentsMeet(long long ax, long long ay, long long bx, long long by,
                             long long cx, long long cy, long long dx, long long dy);

    int m_nChartWidth;
    int m_nChartHeight;
    const std::vector<CGraphSegment>& m_segments;
    std::vector<CGraphBox>& m_placed;
};
