#pragma once

#include "platform/Font.h"

// The chart's two fonts, created with the chart and deleted with it; a font
// that could not be created stays null and is not deleted.
class CChartFonts
{
public:
    CChartFonts();
    ~CChartFonts();
    CChartFonts(const CChartFonts&) = delete;
    CChartFonts& operator=(const CChartFonts&) = delete;

    HFONT m_hFontBold;     // the dialogs' sans, 10 pixels, bold, ClearType
    HFONT m_hFontNormal;   // the dialogs' sans, 9 pixels, normal, ClearType
};
