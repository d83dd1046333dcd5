#include "chart/view/ChartFonts.h"

#include <cwchar>

namespace {

HFONT CreateChartFont(int nHeight, int nWeight)
{
    LOGFONT lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcscpy(lf.lfFaceName, L"Serif");
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
