#pragma once

// A box already taken by an icon or a label, in the chart image's coordinates
// with the origin at its bottom-left corner. Covers left .. left + width - 1 and
// top .. top + height - 1.
struct CGraphBox
{
    int m_nLeft;
    int m_nTop;
    int m_nWidth;
    int m_nHeight;
};
