#pragma once

// A straight piece of a plotted line between two consecutive points, in pixels
// with y counted upward.
struct CGraphSegment
{
    int m_nX1;
    int m_nY1;
    int m_nX2;
    int m_nY2;
};
