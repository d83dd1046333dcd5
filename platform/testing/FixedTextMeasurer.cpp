#include "platform/testing/FixedTextMeasurer.h"

SIZE CFixedTextMeasurer::Measure(const LOGFONT& lf, const std::wstring& str)
{
    int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    if (height == 0)
        height = 12;
    int charWidth = height * 6 / 10;
    if (charWidth < 1)
        charWidth = 1;
    return SIZE{charWidth * static_cast<int>(str.size()), height};
}
