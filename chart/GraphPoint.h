#pragma once

#include <string>

// One plotted point: its position on the time scale, its value in tenths of the
// display unit and what is drawn at it; the scales write its pixel position.
class CGraphPoint
{
public:
    int m_nX = 0;
    int m_nY = 0;
    int m_nValue = 0;        // icon or arrow number, -1 for a point with a label text
    std::wstring m_strText;  // label text, empty unless m_nValue is -1
    int m_nPx = 0;           // horizontal pixel
    int m_nPy = 0;           // upward vertical pixel
};
