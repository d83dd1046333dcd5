#pragma once

#include <string>

// One label of the time strip under the chart.
class CGraphTimeLabel
{
public:
    int m_nX = 0;            // position on the time scale
    int m_nPx = 0;           // pixel, written when drawn
    std::wstring m_strText1;
    std::wstring m_strText2; // second line, may be empty
    bool m_bCentred = false; // the first line is centred on the pixel
    bool m_bShown = false;   // drawn by the last composition: not crowded out
};
