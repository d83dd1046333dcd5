#pragma once

#include "platform/Font.h"
#include "platform/WinTypes.h"

#include <memory>
#include <string>

class CBitmap;
class CPen;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;   // accepted; no prefix characters are drawn anyway
constexpr UINT DT_END_ELLIPSIS = 0x8000;

constexpr DWORD SRCCOPY = 0x00CC0020;

// Measures a text in a font: width and line height in pixels.
typedef SIZE (*TEXTMEASURER)(const LOGFONT& lf, const std::wstring& str);

// A drawing context over an off-screen image (select a CBitmap into it), or over a
// window while it paints (CPaintDC). Coordinates are logical, in device pixels:
// the viewport origin is added to them. At a ratio of 1 drawing is never
// antialiased, so every pixel is exact; on an image of a finer ratio (a zoomed
// or high-DPI desktop) lines, text and copies use the image's own pixels,
// slanted lines and text smoothed, fills and copies with exact edges.
class CDC
{
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // A memory context; the argument is only for the platform's signature.
    bool CreateCompatibleDC(CDC* pDC);

    CBitmap* SelectObject(CBitmap* pBitmap);   // returns the previous image
    CPen* SelectObject(CPen* pPen);            // null: the stock black pen
    HFONT SelectObject(HFONT hFont);           // null: the stock font

    void FillSolidRect(const RECT& rc, COLORREF cr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF cr);

    // Lines leave out their last point, as on the device.
    POINT MoveTo(int x, int y);
    bool LineTo(int x, int y);

    POINT SetViewportOrg(int x, int y);   // returns the old origin
    POINT GetViewportOrg() const;

    int SetBkMode(int nMode);
    COLORREF SetBkColor(COLORREF cr);
    COLORREF SetTextColor(COLORREF cr);

    SIZE GetTextExtent(const std::wstring& str) const;
    // With DT_SINGLELINE (or a text of one line without DT_WORDBREAK): one line in
    // the box, placed by DT_LEFT/DT_CENTER/DT_RIGHT and DT_TOP/DT_VCENTER/DT_BOTTOM,
    // never clipped. Otherwise several lines: "\n" (or "\r\n") ends a line, and
    // with DT_WORDBREAK a line that would be wider than the box breaks at its last
    // space that fits (a word wider than the box alone breaks between letters);
    // each line is placed across by DT_CENTER/DT_RIGHT, the block down by
    // DT_VCENTER/DT_BOTTOM, and clipped to the box unless DT_NOCLIP. With
    // DT_END_ELLIPSIS the last line that fits ends in "…" when text is left out.
    // DT_CALCRECT only measures: it sets the box's bottom (and, without
    // DT_WORDBREAK, its right) to the text's. Returns the text height.
    int DrawText(const std::wstring& str, RECT* pRect, UINT nFormat);

    bool BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop = SRCCOPY);
    // Copies every source pixel except those of the key colour; sizes that differ
    // are scaled by nearest pixel.
    bool TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC,
                        int xSrc, int ySrc, int nSrcWidth, int nSrcHeight, COLORREF crTransparent);

    COLORREF GetPixel(int x, int y) const;
    // The desktop's pixels per device pixel, each way, of what is drawn on:
    // pictures made for another ratio are made again before they are copied.
    double GetRatio() const;

    // How text is measured from now on; null: by the font's own metrics.
    static void UseTextMeasurer(TEXTMEASURER pfnMeasurer);

    // The drawing state, known only inside the platform (DCImpl.h).
    struct Impl;

private:
    friend struct DCAccess;
    std::unique_ptr<Impl> m_pImpl;

    int DrawSingleLine(const std::wstring& str, RECT* pRect, UINT nFormat);
};
