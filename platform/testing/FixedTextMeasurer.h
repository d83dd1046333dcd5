#pragma once

#include "platform/ui/DC.h"

#include <string>

// Text metrics that do not depend on the fonts installed, for placements that
// a test can foresee: every character |height| * 6 / 10 pixels wide (at least
// 1), lines |height| high. Handed to CDC::UseTextMeasurer.
class CFixedTextMeasurer
{
public:
    static SIZE Measure(const LOGFONT& lf, const std::wstring& str);
};
