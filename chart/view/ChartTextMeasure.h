#pragma once

#include "chart/TextMeasure.h"
#include "chart/view/ChartFonts.h"

#include <string>
#include <unordered_map>

// Measures the chart's texts in its real fonts through the platform's drawing
// context. A chart measures the same few texts again and again (hours, days,
// ticks), so sizes are kept until Forget, which every composition calls first:
// a font or a measurer changed between compositions is then taken up.
class CChartTextMeasure : public CTextMeasure
{
public:
    explicit CChartTextMeasure(const CChartFonts& fonts) : m_fonts(fonts) {}

    SIZE Measure(int nFont, const std::wstring& str) const override;
    void Forget() { m_sizes[0].clear(); m_sizes[1].clear(); }

private:
    const CChartFonts& m_fonts;
    mutable std::unordered_map<std::wstring, SIZE> m_sizes[2];
};
