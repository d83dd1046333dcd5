// The chart's pictures at the desktop's ratio: drawn from their artwork at
// whole ratios (never a device pixel enlarged), brought down smoothly from the
// next finer drawing at fractional ones, and see-through where the key colour
// is, without a fringe of blends with it.
#include "platform/Resources.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/DeviceScreen.h"
#include "res/ChartBitmaps.h"
#include "res/ResourceParts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

const COLORREF kKey = RGB(255, 153, 255);

// A colour that is neither the key nor far from it: an edge blended with it.
bool IsKeyBlend(COLORREF c)
{
    const int dr = std::abs(GetRValue(c) - 255), dg = std::abs(GetGValue(c) - 153), db = std::abs(GetBValue(c) - 255);
    return c != kKey && dr + dg + db < 90;
}

} // namespace

TEST(ChartPictures, AreDrawnForTheRatioWithoutAFringeOfTheKeyColour)
{
    CTestDriver::Install();
    InstallBitmaps();
    CBitmap single;
    ASSERT_TRUE(single.LoadBitmap(IDB_WEATHER_ICONS));
    const SIZE size = single.GetSize();
    for (double ratio : {2.0, 1.5, 3.0}) {
        SCOPED_TRACE(ratio);
        if (ratio == std::floor(ratio)) {
            CDeviceScreen::Get().SetZoom(static_cast<int>(ratio));
        } else {
            setenv("QT_SCALE_FACTOR", "1.5", 1);
            CDeviceScreen::Get().SetZoom(1);
        }
        for (UINT nID : {IDB_WEATHER_ICONS, IDB_WIND_ARROWS}) {
            CBitmap picture;
            ASSERT_TRUE(picture.LoadBitmap(nID));
            EXPECT_EQ(picture.GetRatio(), ratio);
            // Every one of the desktop's pixels is the key or its own colour.
            const SIZE desktop = picture.GetDesktopSize();
            int nKey = 0, nBlend = 0, nNotEnlarged = 0;
            for (int y = 0; y < desktop.cy; ++y) {
                for (int x = 0; x < desktop.cx; ++x) {
                    const COLORREF c = picture.GetDesktopPixel(x, y);
                    nKey += c == kKey;
                    nBlend += IsKeyBlend(c);
                }
            }
            EXPECT_GT(nKey, desktop.cx * desktop.cy / 4);
            EXPECT_EQ(nBlend, 0);
            // The same size in device pixels; read at their middles, not the
            // 1x picture enlarged.
            const SIZE device = picture.GetSize();
            if (nID == IDB_WEATHER_ICONS) {
                EXPECT_EQ(device.cx, size.cx);
                EXPECT_EQ(device.cy, size.cy);
                for (int y = 0; y < device.cy; ++y)
                    for (int x = 0; x < device.cx; ++x)
                        nNotEnlarged += picture.GetPixel(x, y) != single.GetPixel(x, y);
                EXPECT_GT(nNotEnlarged, 0);
            }
        }
        unsetenv("QT_SCALE_FACTOR");
    }
    CDeviceScreen::Get().SetZoom(1);
    CTestDriver::Uninstall();
}
