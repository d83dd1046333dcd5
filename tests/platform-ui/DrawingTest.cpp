#include "platform/Font.h"
#include "platform/testing/FixedTextMeasurer.h"
#include "platform/Resources.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/DC.h"
#include "platform/ui/Pen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

LOGFONT ChartFont(int height, int weight)
{
    LOGFONT lf = {};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcscpy(lf.lfFaceName, L"Serif");
    return lf;
}

struct FixedMetrics
{
    FixedMetrics() { CDC::UseTextMeasurer(&CFixedTextMeasurer::Measure); }
    ~FixedMetrics() { CDC::UseTextMeasurer(nullptr); }
};

TEST(Drawing, FillsLinesAndOriginShiftsArePixelExact)
{
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateBitmap(20, 10));
    EXPECT_EQ(bmp.GetPixel(0, 0), RGB(0, 0, 0));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* pOld = dc.SelectObject(&bmp);
    EXPECT_EQ(pOld, nullptr);
    dc.FillSolidRect(0, 0, 20, 10, RGB(255, 255, 204));
    dc.FillSolidRect(RECT{18, 8, 30, 30}, RGB(1, 2, 3));   // clipped at the image edge

    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* pOldPen = dc.SelectObject(&pen);
    POINT old = dc.SetViewportOrg(2, 1);
    EXPECT_EQ(old.x, 0);
    dc.MoveTo(0, 0);
    dc.LineTo(5, 0);     // device (2,1) .. (6,1); (7,1) is the left-out end point
    dc.MoveTo(0, 2);
    dc.LineTo(3, 5);     // diagonal
    dc.SelectObject(pOldPen);
    old = dc.SetViewportOrg(0, 0);
    EXPECT_EQ(old.x, 2);
    EXPECT_EQ(old.y, 1);

    EXPECT_EQ(bmp.GetPixel(2, 1), RGB(255, 0, 0));
    EXPECT_EQ(bmp.GetPixel(6, 1), RGB(255, 0, 0));
    EXPECT_EQ(bmp.GetPixel(7, 1), RGB(255, 255, 204));
    EXPECT_EQ(bmp.GetPixel(2, 3), RGB(255, 0, 0));
    EXPECT_EQ(bmp.GetPixel(4, 5), RGB(255, 0, 0));
    EXPECT_EQ(bmp.GetPixel(5, 6), RGB(255, 255, 204));
    EXPECT_EQ(bmp.GetPixel(19, 9), RGB(1, 2, 3));
    EXPECT_EQ(bmp.GetPixel(20, 0), CLR_INVALID);
    dc.SelectObject(pOld);
}

TEST(Drawing, CopiesOneToOneAndSkipsTheKeyColour)
{
    const COLORREF key = RGB(255, 153, 255);
    CBitmap src, dest;
    src.CreateBitmap(4, 2);
    dest.CreateBitmap(10, 10);
    CDC srcDC, destDC;
    srcDC.SelectObject(&src);
    destDC.SelectObject(&dest);
    srcDC.FillSolidRect(0, 0, 4, 2, key);
    srcDC.FillSolidRect(1, 0, 2, 2, RGB(0, 0, 255));
    destDC.FillSolidRect(0, 0, 10, 10, RGB(255, 255, 255));

    destDC.TransparentBlt(5, 5, 4, 2, &srcDC, 0, 0, 4, 2, key);
    EXPECT_EQ(dest.GetPixel(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(dest.GetPixel(6, 5), RGB(0, 0, 255));
    EXPECT_EQ(dest.GetPixel(7, 6), RGB(0, 0, 255));
    EXPECT_EQ(dest.GetPixel(8, 6), RGB(255, 255, 255));

    destDC.BitBlt(0, 0, 4, 2, &srcDC, 0, 0, SRCCOPY);
    EXPECT_EQ(dest.GetPixel(0, 0), key);
    EXPECT_EQ(dest.GetPixel(1, 1), RGB(0, 0, 255));
    // Reaching past the source or the target is clipped, never read out of bounds.
    EXPECT_TRUE(destDC.BitBlt(8, 8, 50, 50, &srcDC, -1, 0, SRCCOPY));
    EXPECT_EQ(dest.GetPixel(9, 8), key);
}

TEST(Drawing, TextIsPlacedInItsBoxByTheMeasuredExtent)
{
    FixedMetrics fixed;
    EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
    LOGFONT lf = ChartFont(-10, FW_BOLD);
    HFONT hFont = CreateFontIndirect(&lf);
    ASSERT_NE(hFont, nullptr);

    CBitmap bmp;
    bmp.CreateBitmap(100, 30);
    CDC dc;
    dc.SelectObject(&bmp);
    dc.FillSolidRect(0, 0, 100, 30, RGB(255, 255, 255));
    HFONT hOld = dc.SelectObject(hFont);
    EXPECT_EQ(hOld, nullptr);
    SIZE extent = dc.GetTextExtent(L"12345");
    EXPECT_EQ(extent.cx, 30);
    EXPECT_EQ(extent.cy, 10);

    // Opaque background shows exactly where the text box went.
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(RGB(0, 255, 0));
    RECT rc = {0, 0, 100, 30};
    dc.DrawText(L"12345", &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ(bmp.GetPixel(34, 10), RGB(255, 255, 255));
    EXPECT_EQ(bmp.GetPixel(35, 10), RGB(0, 255, 0));
    EXPECT_EQ(bmp.GetPixel(64, 19), RGB(0, 255, 0));
    EXPECT_EQ(bmp.GetPixel(65, 19), RGB(255, 255, 255));
    EXPECT_EQ(bmp.GetPixel(35, 9), RGB(255, 255, 255));

    // FillSolidRect leaves its colour as the background colour, as on the device.
    dc.FillSolidRect(0, 0, 100, 30, RGB(255, 255, 255));
    EXPECT_EQ(dc.SetBkColor(RGB(0, 255, 0)), RGB(255, 255, 255));
    RECT right = {0, 0, 100, 30};
    dc.DrawText(L"ab", &right, DT_RIGHT | DT_SINGLELINE);
    EXPECT_EQ(bmp.GetPixel(87, 0), RGB(255, 255, 255));
    EXPECT_EQ(bmp.GetPixel(88, 0), RGB(0, 255, 0));
    EXPECT_EQ(bmp.GetPixel(87, 10), RGB(255, 255, 255));

    // Transparent mode leaves the background and draws glyphs in the text colour.
    dc.FillSolidRect(0, 0, 100, 30, RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(100, 100, 100));
    RECT left = {0, 0, 100, 30};
    dc.DrawText(L"WWW", &left, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    int inked = 0, other = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) {
            COLORREF cr = bmp.GetPixel(x, y);
            if (cr == RGB(100, 100, 100))
                ++inked;
            else if (cr != RGB(255, 255, 255))
                ++other;
        }
    EXPECT_GT(inked, 10);
    EXPECT_EQ(other, 0);   // no antialiasing: only text colour and background
    dc.SelectObject(hOld);
    DeleteObject(hFont);
}

TEST(Drawing, RealFontsFollowTheLogicalRecord)
{
    LOGFONT bold = ChartFont(-10, FW_BOLD);
    LOGFONT normal = ChartFont(-9, FW_NORMAL);
    HFONT hBold = CreateFontIndirect(&bold);
    HFONT hNormal = CreateFontIndirect(&normal);
    CDC dc;
    dc.SelectObject(hBold);
    SIZE b = dc.GetTextExtent(L"Monday 12");
    dc.SelectObject(hNormal);
    SIZE n = dc.GetTextExtent(L"Monday 12");
    EXPECT_GT(b.cx, n.cx);
    EXPECT_GE(b.cy, 10);
    EXPECT_LE(b.cy, 14);
    dc.SelectObject(static_cast<HFONT>(nullptr));
    DeleteObject(hBold);
    DeleteObject(hNormal);
    DeleteObject(static_cast<HFONT>(nullptr));
}

TEST(Drawing, BitmapsRoundTripThroughPngAndTheResourceTable)
{
    CBitmap bmp;
    bmp.CreateBitmap(3, 2);
    bmp.SetPixel(2, 1, RGB(10, 20, 30));
    std::string path = testing::TempDir() + "cirrovan_bitmap.png";
    ASSERT_TRUE(bmp.SavePng(std::wstring(path.begin(), path.end())));

    std::ifstream in(path, std::ios::binary);
    static std::vector<unsigned char> png;
    png.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    CResources::AddBitmap(60001, png.data(), png.size());

    CBitmap loaded;
    ASSERT_TRUE(loaded.LoadBitmap(60001));
    EXPECT_EQ(loaded.GetSize().cx, 3);
    EXPECT_EQ(loaded.GetPixel(2, 1), RGB(10, 20, 30));
    EXPECT_FALSE(loaded.LoadBitmap(60002));
    EXPECT_FALSE(loaded.IsValid());

    static const unsigned char junk[] = {1, 2, 3};
    CResources::AddBitmap(60003, junk, sizeof junk);
    EXPECT_FALSE(loaded.LoadBitmap(60003));
}

TEST(Drawing, MulDivRoundsHalfAwayFromZero)
{
    EXPECT_EQ(MulDiv(164, 13, 8), 267);   // 266.5
    EXPECT_EQ(MulDiv(160, 6, 4), 240);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(5, 1, 0), -1);
}

}

namespace {

// The rows of an image that hold any pixel of that colour, as runs "top-bottom",
// and the rightmost such pixel.
struct Inked
{
    std::vector<std::pair<int, int>> rows;
    int right = -1;
};

Inked FindInk(const CBitmap& bmp, COLORREF cr)
{
    Inked ink;
    SIZE size = bmp.GetSize();
    for (int y = 0; y < size.cy; ++y) {
        bool any = false;
        for (int x = 0; x < size.cx; ++x) {
            if (bmp.GetPixel(x, y) == cr) {
                any = true;
                ink.right = std::max(ink.right, x);
            }
        }
        if (!any)
            continue;
        if (!ink.rows.empty() && ink.rows.back().second == y - 1)
            ink.rows.back().second = y;
        else
            ink.rows.emplace_back(y, y);
    }
    return ink;
}

TEST(Drawing, WordBreakLaysTextOutInLinesWithinTheBox)
{
    FixedMetrics fixed;   // 6 pixels a character, 10 a line
    LOGFONT lf = ChartFont(-10, FW_NORMAL);
    HFONT hFont = CreateFontIndirect(&lf);
    const COLORREF bk = RGB(0, 200, 0);
    struct Case
    {
        const wchar_t* pszText;
        UINT nFormat;
        int nWidth;                       // of the box, which is 35 pixels high
        std::vector<std::wstring> lines;  // as the background of each line shows them
    };
    const Case cases[] = {
        // Lines break at the last space that fits; the space goes.
        {L"Search daily forecasts for Oslo", DT_WORDBREAK, 90, {L"Search daily", L"forecasts for", L"Oslo"}},
        // A word wider than the box breaks between letters.
        {L"ab Llanfairpwllgwyngyll x", DT_WORDBREAK, 60, {L"ab", L"Llanfairpw", L"llgwyngyll", L"x"}},
        // Line ends are kept, with or without DT_WORDBREAK, and empty lines count.
        {L"one\ntwo\r\n\nfour", DT_WORDBREAK, 90, {L"one", L"two", L"", L"four"}},
        {L"one long line\nb", 0, 30, {L"one long line", L"b"}},
        // Centred lines; the fourth line reaches below the box and is clipped.
        {L"aa bb cc dd", DT_WORDBREAK | DT_CENTER, 24, {L"aa", L"bb", L"cc", L"dd"}},
        // What does not fit ends the last line that fits with an ellipsis.
        {L"aaaa bbbb cccc dddd", DT_WORDBREAK | DT_END_ELLIPSIS, 30, {L"aaaa", L"bbbb", L"cccc\u2026"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszText, c.pszText + wcslen(c.pszText)));
        CBitmap bmp;
        bmp.CreateBitmap(200, 60);
        CDC dc;
        dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, 200, 60, RGB(255, 255, 255));
        dc.SelectObject(hFont);
        dc.SetBkMode(OPAQUE);
        dc.SetBkColor(bk);
        dc.SetTextColor(bk);   // glyphs in the same colour: each line is one block

        RECT calc = {10, 5, 10 + c.nWidth, 40};
        int calcHeight = dc.DrawText(c.pszText, &calc, c.nFormat | DT_CALCRECT);
        RECT rc = {10, 5, 10 + c.nWidth, 40};
        int height = dc.DrawText(c.pszText, &rc, c.nFormat);
        size_t nLines = c.lines.size();
        if (!(c.nFormat & DT_END_ELLIPSIS)) {
            EXPECT_EQ(calcHeight, 10 * static_cast<int>(nLines));
            EXPECT_EQ(calc.bottom, 5 + calcHeight);
            EXPECT_EQ(height, calcHeight);
        }
        // The background of each line, its width that of its text. Lines below
        // the box are not drawn; empty lines leave no mark.
        Inked ink = FindInk(bmp, bk);
        std::vector<std::pair<int, int>> expected;
        int widest = 0;
        for (size_t i = 0; i < nLines; ++i) {
            int top = 5 + 10 * static_cast<int>(i);
            if (top >= 40 || c.lines[i].empty())
                continue;
            if (!expected.empty() && expected.back().second == top - 1)
                expected.back().second = std::min(top + 9, 39);
            else
                expected.emplace_back(top, std::min(top + 9, 39));
            widest = std::max(widest, static_cast<int>(c.lines[i].size()) * 6);
        }
        EXPECT_EQ(ink.rows, expected);
        if (c.nFormat & DT_CENTER)
            EXPECT_EQ(bmp.GetPixel(10 + (c.nWidth - 12) / 2, 5), bk);
        else if (c.nWidth >= widest)
            EXPECT_EQ(ink.right, 10 + widest - 1);
        else
            EXPECT_EQ(ink.right, 10 + c.nWidth - 1);   // the long line is clipped at the box
    }
    DeleteObject(hFont);
}

}
