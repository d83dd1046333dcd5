#include "chart/view/ChartFonts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ChartFonts, AreBuiltFromZeroRecordsWithOnlyTheNamedFields)
{
    CChartFonts fonts;
    struct Case
    {
        HFONT hFont;
        int nHeight;
        int nWeight;
    };
    // The destructor deletes both; the sanitizer build would see a leak or a double delete.
    for (const Case& c : {Case{fonts.m_hFontBold, -10, 700}, Case{fonts.m_hFontNormal, -9, 400}}) {
        ASSERT_NE(c.hFont, nullptr);
        const LOGFONT& lf = c.hFont->m_lf;
        EXPECT_EQ(lf.lfHeight, c.nHeight);
        EXPECT_EQ(lf.lfWeight, c.nWeight);
        EXPECT_EQ(lf.lfQuality, 5);
        EXPECT_EQ(std::wstring(lf.lfFaceName), L"DejaVu Sans Condensed");
        EXPECT_EQ(lf.lfWidth + lf.lfEscapement + lf.lfOrientation, 0);
        EXPECT_EQ(lf.lfItalic + lf.lfUnderline + lf.lfStrikeOut + lf.lfCharSet, 0);
        EXPECT_EQ(lf.lfOutPrecision + lf.lfClipPrecision + lf.lfPitchAndFamily, 0);
    }
}

}
