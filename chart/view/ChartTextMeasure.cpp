#include "chart/view/ChartTextMeasure.h"

#include "chart/ChartPlan.h"
#include "platform/ui/DC.h"

SIZE CChartTextMeasure::Measure(int nFont, const std::wstring& str) const
{
    const int nIndex = nFont == CHART_FONT_NORMAL ? 1 : 0;
    auto found = m_sizes[nIndex].find(str);
    if (found != m_sizes[nIndex].end())
        return found->second;
    CDC dc;
    dc.SelectObject(nIndex == 1 ? m_fonts.m_hFontNormal : m_fonts.m_hFontBold);
    const SIZE size = dc.GetTextExtent(str);
    m_sizes[nIndex].emplace(str, size);
    return size;
}
