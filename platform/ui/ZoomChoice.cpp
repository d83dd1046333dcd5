#include "platform/ui/ZoomChoice.h"

#include <cstdlib>

namespace {

const int kMaxZoom = 4;
// The longer side of the screen: the window turns with it, and must fit both ways.
const int kScreenHeight = 320;
// What a desktop's window manager adds above the window: its title bar and frame.
const int kWindowFrame = 40;

// The largest zoom, at least 1, at which the screen and nExtra pixels more fit
// in nRoom pixels.
int LargestWithin(int nRoom, int nExtra)
{
    int nZoom = 1;
    while (nZoom < kMaxZoom && (nZoom + 1) * kScreenHeight + nExtra <= nRoom)
        ++nZoom;
    return nZoom;
}

// The zoom asked for, or 0 when the text is none.
int AskedZoom(const char* pszAsked)
{
    if (!pszAsked)
        return 0;
    char* pszEnd = nullptr;
    const long nZoom = std::strtol(pszAsked, &pszEnd, 10);
    if (pszEnd == pszAsked || *pszEnd != '\0' || nZoom < 1 || nZoom > kMaxZoom)
        return 0;
    return static_cast<int>(nZoom);
}

}

ZOOMCHOICE ChooseZoom(int nAvailableHeight, const char* pszAsked)
{
    const int nAsked = AskedZoom(pszAsked);
    if (nAsked == 0)
        return ZOOMCHOICE{LargestWithin(nAvailableHeight * 85 / 100, 0), false};
    const int nFits = LargestWithin(nAvailableHeight, kWindowFrame);
    if (nAsked > nFits)
        return ZOOMCHOICE{nFits, true};
    return ZOOMCHOICE{nAsked, false};
}
