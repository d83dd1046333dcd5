// Drawing at the desktop's ratio: images hold the desktop's pixels, every
// coordinate stays in device pixels; blocks meet without seams at whole and
// fractional ratios, lines and fills keep exact edges, text is smoothed only
// where the pixels are finer than the device's and keeps its measured width,
// copies take pixels unchanged.
#include "platform/testing/TestDriver.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/DC.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/Pen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

const COLORREF kRed = RGB(200, 0, 0), kBlue = RGB(0, 0, 200), kWhite = RGB(255, 255, 255);

class RatioDrawingTest : public ::testing::Test
{
protected:
    void SetUp() override { CTestDriver::Install(); }
    void TearDown() override
    {
        unsetenv("QT_SCALE_FACTOR");
        CDeviceScreen::Get().SetZoom(1);
        CTestDriver::Uninstall();
    }

    // A whole ratio is a zoom; a fractional one the desktop's own scale.
    static void UseRatio(double ratio)
    {
        if (ratio == std::floor(ratio)) {
            unsetenv("QT_SCALE_FACTOR");
            CDeviceScreen::Get().SetZoom(static_cast<int>(ratio));
        } else {
            setenv("QT_SCALE_FACTOR", std::to_string(ratio).c_str(), 1);
            CDeviceScreen::Get().SetZoom(1);
        }
    }
};

// The colour of one of the image's own pixels (the desktop's, not the device's).
COLORREF DesktopPixel(const CBitmap& bitmap, int x, int y)
{
    return bitmap.GetDesktopPixel(x, y);
}

} // namespace

TEST_F(RatioDrawingTest, FillsAndCopiesMeetWithoutSeamsAtWholeAndFractionalRatios)
{
    for (double ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) {
        SCOPED_TRACE(ratio);
        UseRatio(ratio);
        CBitmap source, target;
        ASSERT_TRUE(source.CreateBitmap(60, 10));
        ASSERT_TRUE(target.CreateBitmap(61, 10));
        EXPECT_EQ(target.GetRatio(), ratio);
        EXPECT_EQ(target.GetSize().cx, 61);
        EXPECT_EQ(target.GetSize().cy, 10);
        const SIZE desktop = target.GetDesktopSize();
        // The desktop's pixels cover the device's, with less than one to spare.
        EXPECT_GE(desktop.cx, 61 * ratio);
        EXPECT_LT(desktop.cx, 61 * ratio + 1);
        EXPECT_EQ(desktop.cy, std::ceil(10 * ratio));
        EXPECT_EQ(target.GetDesktopPixel(desktop.cx, 0), CLR_INVALID);
        CDC sourceDC, dc;
        sourceDC.SelectObject(&source);
        dc.SelectObject(&target);
        // Stripes of every width side by side; copied in blocks at odd offsets.
        for (int x = 0, w = 1, k = 0; x < 60; x += w, w = w % 4 + 1, ++k)
            sourceDC.FillSolidRect(x, 0, std::min(w, 60 - x), 10, k % 2 ? kRed : kBlue);
        for (int x = 1; x < 61; x += 7)
            dc.BitBlt(x, 0, std::min(7, 61 - x), 10, &sourceDC, x - 1, 0);
        dc.FillSolidRect(0, 0, 1, 10, kWhite);
        // Every one of the desktop's pixels was drawn (the image starts black),
        // and each device pixel shows what the source has there.
        const int nWide = static_cast<int>(std::ceil(61 * ratio - 1e-6));
        const int nHigh = static_cast<int>(std::ceil(10 * ratio - 1e-6));
        int nBlack = 0;
        for (int y = 0; y < nHigh - 1; ++y)
            for (int x = 0; x < nWide - 1; ++x)
                if (DesktopPixel(target, x, y) == RGB(0, 0, 0))
                    ++nBlack;
        EXPECT_EQ(nBlack, 0);
        for (int x = 1; x < 61; ++x)
            ASSERT_EQ(target.GetPixel(x, 5), source.GetPixel(x - 1, 5)) << "device pixel " << x;
        sourceDC.SelectObject(static_cast<CBitmap*>(nullptr));
        dc.SelectObject(static_cast<CBitmap*>(nullptr));
    }
}

TEST_F(RatioDrawingTest, LinesKeepExactEdgesAndTextIsSmoothedOnlyOnFinerPixels)
{
    for (int nRatio : {1, 2, 3}) {
        SCOPED_TRACE(nRatio);
        UseRatio(nRatio);
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateBitmap(80, 30));
        CDC dc;
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 80, 30, kWhite);
        CPen pen(PS_SOLID, 1, kRed);
        dc.SelectObject(&pen);
        dc.MoveTo(2, 3);
        dc.LineTo(12, 3);   // device pixels 2 to 11 of row 3
        // Exactly the device pixels of the line, each wholly red.
        for (int x = 0; x < 14 * nRatio; ++x)
            for (int y = 2 * nRatio; y < 5 * nRatio; ++y) {
                const bool bOnLine = x >= 2 * nRatio && x < 12 * nRatio && y >= 3 * nRatio && y < 4 * nRatio;
                ASSERT_EQ(DesktopPixel(bitmap, x, y), bOnLine ? kRed : kWhite) << x << ", " << y;
            }
        dc.SelectObject(static_cast<CPen*>(nullptr));

        // Text in black on white: smoothed edges (greys) only at finer ratios.
        RECT rc = {2, 8, 78, 28};
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(L"Wind 12 mph", &rc, DT_LEFT | DT_TOP | DT_SINGLELINE);
        int nGrey = 0, nBlack = 0;
        for (int y = 8 * nRatio; y < 28 * nRatio; ++y)
            for (int x = 2 * nRatio; x < 78 * nRatio; ++x) {
                const COLORREF c = DesktopPixel(bitmap, x, y);
                nBlack += c == RGB(0, 0, 0);
                nGrey += c != RGB(0, 0, 0) && c != kWhite;
            }
        EXPECT_GT(nBlack, 0);
        if (nRatio == 1)
            EXPECT_EQ(nGrey, 0);
        else
            EXPECT_GT(nGrey, 0);
        // The line stays within the width the layout measured for it, at
        // every ratio (a glyph's smoothed edge may touch the next pixel).
        const int nRight = 2 + dc.GetTextExtent(L"Wind 12 mph").cx + 1;
        int nBeyond = 0;
        for (int y = 8 * nRatio; y < 28 * nRatio; ++y)
            for (int x = nRight * nRatio; x < 78 * nRatio; ++x)
                nBeyond += DesktopPixel(bitmap, x, y) != kWhite;
        EXPECT_EQ(nBeyond, 0);
        dc.SelectObject(static_cast<CBitmap*>(nullptr));
    }
}

// A picture made before the ratio changed is still drawn to its size in
// device pixels, and the screen then reads the same in device pixels.
TEST_F(RatioDrawingTest, APictureOfAnotherRatioIsCopiedToItsSize)
{
    CBitmap old;
    ASSERT_TRUE(old.CreateBitmap(10, 10));
    CDC oldDC;
    oldDC.SelectObject(&old);
    oldDC.FillSolidRect(0, 0, 10, 10, kBlue);
    oldDC.FillSolidRect(5, 0, 5, 10, kRed);
    UseRatio(2);
    CBitmap target;
    ASSERT_TRUE(target.CreateBitmap(20, 10));
    CDC dc;
    dc.SelectObject(&target);
    dc.FillSolidRect(0, 0, 20, 10, kWhite);
    dc.BitBlt(4, 0, 10, 10, &oldDC, 0, 0);
    EXPECT_EQ(target.GetPixel(3, 5), kWhite);
    EXPECT_EQ(target.GetPixel(4, 5), kBlue);
    EXPECT_EQ(target.GetPixel(8, 5), kBlue);
    EXPECT_EQ(target.GetPixel(9, 5), kRed);
    EXPECT_EQ(target.GetPixel(13, 5), kRed);
    EXPECT_EQ(target.GetPixel(14, 5), kWhite);
    oldDC.SelectObject(static_cast<CBitmap*>(nullptr));
    dc.SelectObject(static_cast<CBitmap*>(nullptr));
}
