#pragma once

#include "platform/WinTypes.h"

#include <string>

// How wide and high a line of text is in one of the chart's fonts; the planner
// needs it to keep labels apart, the renderer supplies it from its fonts.
class CTextMeasure
{
public:
    virtual ~CTextMeasure() = default;
    virtual SIZE Measure(int nFont, const std::wstring& str) const = 0;
};
