#include "platform/ui/ZoomChoice.h"

#include <gtest/gtest.h>

// The zoom by the desktop's available height, with and without CIRROVAN_ZOOM.
TEST(ZoomChoice, TheLargestThatSuitsTheDesktopOrTheOneAskedForWhenItFits)
{
    const struct
    {
        int nHeight;
        const char* pszAsked;
        int nZoom;
        bool bLowered;
    } cases[] = {
        // Without a zoom asked for: within about 85 % of the height.
        {1080, nullptr, 2, false},
        {1024, nullptr, 2, false},
        {1440, nullptr, 3, false},
        {2160, nullptr, 4, false},
        {768, nullptr, 2, false},
        {720, nullptr, 1, false},
        {300, nullptr, 1, false},
        // Not a zoom: as if none was asked for.
        {1080, "0", 2, false},
        {1080, "5", 2, false},
        {1080, "2x", 2, false},
        {1080, "", 2, false},
        // Asked for: it stands while the window fits the desktop, title bar and all.
        {1080, "1", 1, false},
        {1080, "3", 3, false},
        {1024, "3", 3, false},
        {700, "2", 2, false},
        {1024, "4", 3, true},
        {1080, "4", 3, true},
        {600, "2", 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.nHeight) + " " + (c.pszAsked ? c.pszAsked : "(none)"));
        const ZOOMCHOICE choice = ChooseZoom(c.nHeight, c.pszAsked);
        EXPECT_EQ(choice.nZoom, c.nZoom);
        EXPECT_EQ(choice.bLowered, c.bLowered);
    }
}
