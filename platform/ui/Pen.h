#pragma once

#include "platform/WinTypes.h"

constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// A pen is only a description; the drawing context draws with whatever is
// selected. Solid pens of any colour; widths above 1 draw square dots.
class CPen
{
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }

    bool CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
    {
        m_nStyle = nPenStyle;
        m_nWidth = nWidth < 1 ? 1 : nWidth;
        m_crColor = crColor;
        m_bCreated = true;
        return true;
    }
    void DeleteObject() { m_bCreated = false; }

    int m_nStyle = PS_SOLID;
    int m_nWidth = 1;
    COLORREF m_crColor = RGB(0, 0, 0);
    bool m_bCreated = false;
};
