#include "chart/view/ChartFonts.h"

#include <cwchar>

namespace {

HFONT CreateChartFont(int nHeight, int nWeight)
{
    LOGFONT lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    lf.lfQuality = CLEARTYPE_QUALITY;
    // The dialogs' face, so the chart reads as part of the same screen; its
    // narrow letters also keep the panels' numbers and units within 32 pixels.
    wcscpy(lf.lfFaceName, L"DejaVu Sans Condensed");
    return CreateFontIndirect(&lf);
}

} // namespace

CChartFonts::CChartFonts()
    : m_hFontBold(CreateChartFont(-10, FW_BOLD)), m_hFontNormal(CreateChartFont(-9, FW_NORMAL))
{
}

CChartFonts::~CChartFonts()
{
    if (m_hFontBold)
        DeleteObject(m_hFontBold);
    if (m_hFontNormal)
        DeleteObject(m_hFontNormal);
}
