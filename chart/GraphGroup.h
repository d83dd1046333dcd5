#pragma once

#include <vector>

class CGraphSeries;

constexpr int GROUP_PLAIN = 0;
constexpr int GROUP_CHANGE = 1;
constexpr int GROUP_END = 2;
constexpr int GROUP_TURN = 3;

constexpr int PLACE_ABOVE = 1;
constexpr int PLACE_BELOW = 2;
constexpr int PLACE_LEFT = 4;
constexpr int PLACE_RIGHT = 8;

// A run of points of one series that gets at most one label or one icon.
class CGraphGroup
{
public:
    CGraphGroup(CGraphSeries* pSeries, int nKind, int nPlacement)
        : m_pSeries(pSeries), m_nKind(nKind), m_nPlacement(nPlacement)
    {
    }

    CGraphSeries* m_pSeries;     // not owned
    std::vector<int> m_points;   // indexes into the series' points, ascending
    int m_nKind;
    int m_nPlacement;
    bool m_bDone = false;        // its icon has been drawn
};
