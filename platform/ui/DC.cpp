#include "platform/ui/DC.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/DCImpl.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <cstdlib>
#include <vector>

namespace {

std::atomic<TEXTMEASURER> g_pfnMeasurer{nullptr};

SIZE MeasureReal(const LOGFONT& lf, const std::wstring& str)
{
    QFontMetrics metrics(FontFromLogFont(lf));
    return SIZE{metrics.horizontalAdvance(ToQString(str)), metrics.height()};
}

SIZE Measure(const LOGFONT& lf, const std::wstring& str)
{
    TEXTMEASURER pfn = g_pfnMeasurer.load();
    return pfn ? pfn(lf, str) : MeasureReal(lf, str);
}

// Fills a device rectangle, clipped to the image.
void FillDevice(QImage& image, int x0, int y0, int x1, int y1, QRgb rgb)
{
    if (x0 < 0)
        x0 = 0;
    if (y0 < 0)
        y0 = 0;
    if (x1 > image.width())
        x1 = image.width();
    if (y1 > image.height())
        y1 = image.height();
    if (x0 >= x1 || y0 >= y1)
        return;
    // Rows by their stride: a scan line asked of the image one at a time costs
    // more than filling a short one.
    const qsizetype nStride = image.bytesPerLine();
    uchar* row = image.bits() + y0 * nStride + x0 * static_cast<qsizetype>(sizeof(QRgb));
    for (int y = y0; y < y1; ++y, row += nStride)
        std::fill_n(reinterpret_cast<QRgb*>(row), x1 - x0, rgb);
}

}

void PendingErase::Start(const QRect& rc)
{
    m_rects.clear();
    if (!rc.isEmpty())
        m_rects.push_back(rc);
}

void PendingErase::Cover(const QRect& rc)
{
    if (m_rects.empty() || rc.isEmpty())
        return;
    m_rest.clear();
    for (const QRect& r : m_rects) {
        const QRect in = r & rc;
        if (in.isEmpty()) {
            m_rest.push_back(r);
            continue;
        }
        // What is left of r: the bands above and below the covered part, and
        // the pieces beside it.
        if (in.top() > r.top())
            m_rest.emplace_back(r.left(), r.top(), r.width(), in.top() - r.top());
        if (in.bottom() < r.bottom())
            m_rest.emplace_back(r.left(), in.bottom() + 1, r.width(), r.bottom() - in.bottom());
        if (in.left() > r.left())
            m_rest.emplace_back(r.left(), in.top(), in.left() - r.left(), in.height());
        if (in.right() < r.right())
            m_rest.emplace_back(in.right() + 1, in.top(), r.right() - in.right(), in.height());
    }
    m_rects.swap(m_rest);
}

void PendingErase::Flush(QImage& image)
{
    for (const QRect& rc : m_rects)
        FillDevice(image, rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height(), qRgb(255, 255, 255));
    m_rects.clear();
}

CDC::CDC() : m_pImpl(new Impl)
{
    EnsureApplication();
}

CDC::~CDC()
{
    delete m_pImpl;
}

bool CDC::CreateCompatibleDC(CDC*)
{
    return true;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    CBitmap* pOld = m_pImpl->m_pBitmap;
    m_pImpl->m_pBitmap = pBitmap;
    return pOld;
}

CPen* CDC::SelectObject(CPen* pPen)
{
    CPen* pOld = m_pImpl->m_pPen;
    m_pImpl->m_pPen = pPen;
    return pOld;
}

HFONT CDC::SelectObject(HFONT hFont)
{
    HFONT hOld = m_pImpl->m_hFont;
    m_pImpl->m_hFont = hFont;
    return hOld;
}

void CDC::FillSolidRect(const RECT& rc, COLORREF cr)
{
    FillSolidRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, cr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF cr)
{
    QImage* pImage = m_pImpl->CoverTarget();
    if (!pImage || cx <= 0 || cy <= 0)
        return;
    int dx = x + m_pImpl->m_ptOrigin.x;
    int dy = y + m_pImpl->m_ptOrigin.y;
    FillDevice(*pImage, dx, dy, dx + cx, dy + cy, ToQRgb(cr));
    m_pImpl->Covered(QRect(dx, dy, cx, cy));
    // The platform's FillSolidRect leaves the fill colour as the background colour.
    m_pImpl->m_crBk = cr;
}

POINT CDC::MoveTo(int x, int y)
{
    POINT old = m_pImpl->m_ptCurrent;
    m_pImpl->m_ptCurrent = POINT{x, y};
    return old;
}

bool CDC::LineTo(int x, int y)
{
    POINT from = m_pImpl->m_ptCurrent;
    m_pImpl->m_ptCurrent = POINT{x, y};
    QImage* pImage = m_pImpl->Target();
    if (!pImage)
        return false;
    CPen* pPen = m_pImpl->m_pPen;
    if (pPen && pPen->m_nStyle == PS_NULL)
        return true;
    QRgb rgb = ToQRgb(pPen ? pPen->m_crColor : RGB(0, 0, 0));
    int width = pPen ? pPen->m_nWidth : 1;
    int half = (width - 1) / 2;

    // Bresenham from the current point up to, not including, the end point.
    int x0 = from.x + m_pImpl->m_ptOrigin.x, y0 = from.y + m_pImpl->m_ptOrigin.y;
    int x1 = x + m_pImpl->m_ptOrigin.x, y1 = y + m_pImpl->m_ptOrigin.y;
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    const int w = pImage->width(), h = pImage->height();
    while (!(x0 == x1 && y0 == y1)) {
        if (width == 1) {
            if (x0 >= 0 && y0 >= 0 && x0 < w && y0 < h)
                reinterpret_cast<QRgb*>(pImage->scanLine(y0))[x0] = rgb;
        } else {
            FillDevice(*pImage, x0 - half, y0 - half, x0 - half + width, y0 - half + width, rgb);
        }
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    return true;
}

POINT CDC::SetViewportOrg(int x, int y)
{
    POINT old = m_pImpl->m_ptOrigin;
    m_pImpl->m_ptOrigin = POINT{x, y};
    return old;
}

POINT CDC::GetViewportOrg() const
{
    return m_pImpl->m_ptOrigin;
}

int CDC::SetBkMode(int nMode)
{
    int old = m_pImpl->m_nBkMode;
    m_pImpl->m_nBkMode = nMode;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF cr)
{
    COLORREF old = m_pImpl->m_crBk;
    m_pImpl->m_crBk = cr;
    return old;
}

COLORREF CDC::SetTextColor(COLORREF cr)
{
    COLORREF old = m_pImpl->m_crText;
    m_pImpl->m_crText = cr;
    return old;
}

SIZE CDC::GetTextExtent(const std::wstring& str) const
{
    return Measure(m_pImpl->CurrentLogFont(), str);
}

namespace {

// One line of text at (x, y), the top of its line box, in device coordinates.
void DrawLine(QImage& image, const CDC::Impl& dc, const LOGFONT& lf, int x, int y, const std::wstring& str,
              SIZE extent, const QRect* pClip)
{
    if (dc.m_nBkMode == OPAQUE) {
        QRect box(x, y, extent.cx, extent.cy);
        if (pClip)
            box &= *pClip;
        FillDevice(image, box.left(), box.top(), box.left() + box.width(), box.top() + box.height(),
                   ToQRgb(dc.m_crBk));
    }
    if (str.empty())
        return;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    if (pClip)
        painter.setClipRect(*pClip);
    QFont font = FontFromLogFont(lf);
    painter.setFont(font);
    painter.setPen(ToQColor(dc.m_crText));
    QFontMetrics metrics(font);
    // The measured line height may come from a test measurer; centre the real
    // glyphs in it so that the text sits where its box says.
    int baseline = y + (extent.cy - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(x, baseline, ToQString(str));
}

// The longest start of str, at least one character, no wider than nWidth.
size_t FittingLength(const LOGFONT& lf, const std::wstring& str, int nWidth)
{
    size_t lo = 1, hi = str.size();
    while (lo < hi) {
        size_t mid = (lo + hi + 1) / 2;
        if (Measure(lf, str.substr(0, mid)).cx <= nWidth)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

// Splits a paragraph (no line ends in it) into lines no wider than nWidth,
// breaking at spaces; the spaces at a break are dropped.
void BreakParagraph(const LOGFONT& lf, const std::wstring& para, int nWidth, std::vector<std::wstring>& lines)
{
    size_t pos = 0;
    do {
        size_t end = pos;   // the line so far: [pos, end)
        for (size_t next = pos; next < para.size();) {
            size_t space = para.find(L' ', next);
            if (space == std::wstring::npos)
                space = para.size();
            if (space > pos && Measure(lf, para.substr(pos, space - pos)).cx > nWidth)
                break;
            end = space;
            next = space + 1;
        }
        if (end == pos && pos < para.size()) {
            // Not even the first word fits: it is broken between letters.
            end = pos + FittingLength(lf, para.substr(pos, para.find(L' ', pos) - pos), nWidth);
        }
        lines.push_back(para.substr(pos, end - pos));
        pos = end;
        while (pos < para.size() && para[pos] == L' ')
            ++pos;
    } while (pos < para.size());
}

std::vector<std::wstring> BreakLines(const LOGFONT& lf, const std::wstring& str, int nWidth, bool bWordBreak)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (;;) {
        size_t stop = str.find_first_of(L"\r\n", start);
        std::wstring para = str.substr(start, stop == std::wstring::npos ? std::wstring::npos : stop - start);
        if (bWordBreak)
            BreakParagraph(lf, para, nWidth, lines);
        else
            lines.push_back(para);
        if (stop == std::wstring::npos)
            return lines;
        start = stop + (str.compare(stop, 2, L"\r\n") == 0 ? 2 : 1);
    }
}

// The line cut to nWidth with "…" at its end.
std::wstring WithEllipsis(const LOGFONT& lf, const std::wstring& line, int nWidth)
{
    const std::wstring ellipsis = L"\u2026";
    std::wstring cut = line;
    while (!cut.empty() && Measure(lf, cut + ellipsis).cx > nWidth)
        cut.pop_back();
    while (!cut.empty() && cut.back() == L' ')
        cut.pop_back();
    return cut + ellipsis;
}

}

int CDC::DrawText(const std::wstring& str, RECT* pRect, UINT nFormat)
{
    if (!pRect)
        return 0;
    LOGFONT lf = m_pImpl->CurrentLogFont();
    const bool bWordBreak = (nFormat & DT_WORDBREAK) != 0;
    if ((nFormat & DT_SINGLELINE) || (!bWordBreak && str.find_first_of(L"\r\n") == std::wstring::npos))
        return DrawSingleLine(str, pRect, nFormat);

    const int width = pRect->right - pRect->left;
    std::vector<std::wstring> lines = BreakLines(lf, str, width, bWordBreak);
    const int lineHeight = Measure(lf, std::wstring()).cy;
    int height = lineHeight * static_cast<int>(lines.size());
    if (nFormat & DT_CALCRECT) {
        if (!bWordBreak) {
            int widest = 0;
            for (const std::wstring& line : lines)
                widest = std::max(widest, static_cast<int>(Measure(lf, line).cx));
            pRect->right = pRect->left + widest;
        }
        pRect->bottom = pRect->top + height;
        return height;
    }
    const bool bClip = !(nFormat & DT_NOCLIP);
    if ((nFormat & DT_END_ELLIPSIS) && bClip) {
        // Keep the lines that fit whole; the last of them shows that more follows.
        size_t fit = static_cast<size_t>(std::max(1, (pRect->bottom - pRect->top) / std::max(1, lineHeight)));
        if (fit < lines.size()) {
            lines.resize(fit);
            lines.back() = WithEllipsis(lf, lines.back(), width);
            height = lineHeight * static_cast<int>(lines.size());
        }
        for (std::wstring& line : lines)
            if (Measure(lf, line).cx > width)
                line = WithEllipsis(lf, line, width);
    }
    int y = pRect->top;
    if (nFormat & DT_VCENTER)
        y = pRect->top + (pRect->bottom - pRect->top - height) / 2;
    else if (nFormat & DT_BOTTOM)
        y = pRect->bottom - height;

    QImage* pImage = m_pImpl->Target();
    if (!pImage)
        return height;
    const POINT org = m_pImpl->m_ptOrigin;
    QRect clip(pRect->left + org.x, pRect->top + org.y, width, pRect->bottom - pRect->top);
    for (const std::wstring& line : lines) {
        if (bClip && y >= pRect->bottom)
            break;
        SIZE extent = Measure(lf, line);
        extent.cy = lineHeight;
        int x = pRect->left;
        if (nFormat & DT_CENTER)
            x = pRect->left + (width - extent.cx) / 2;
        else if (nFormat & DT_RIGHT)
            x = pRect->right - extent.cx;
        DrawLine(*pImage, *m_pImpl, lf, x + org.x, y + org.y, line, extent, bClip ? &clip : nullptr);
        y += lineHeight;
    }
    return height;
}

int CDC::DrawSingleLine(const std::wstring& str, RECT* pRect, UINT nFormat)
{
    LOGFONT lf = m_pImpl->CurrentLogFont();
    SIZE extent = Measure(lf, str);
    if (nFormat & DT_CALCRECT) {
        pRect->right = pRect->left + extent.cx;
        pRect->bottom = pRect->top + extent.cy;
        return extent.cy;
    }
    int x = pRect->left;
    if (nFormat & DT_CENTER)
        x = pRect->left + (pRect->right - pRect->left - extent.cx) / 2;
    else if (nFormat & DT_RIGHT)
        x = pRect->right - extent.cx;
    int y = pRect->top;
    if (nFormat & DT_VCENTER)
        y = pRect->top + (pRect->bottom - pRect->top - extent.cy) / 2;
    else if (nFormat & DT_BOTTOM)
        y = pRect->bottom - extent.cy;

    QImage* pImage = m_pImpl->Target();
    if (!pImage || str.empty())
        return extent.cy;
    DrawLine(*pImage, *m_pImpl, lf, x + m_pImpl->m_ptOrigin.x, y + m_pImpl->m_ptOrigin.y, str, extent, nullptr);
    return extent.cy;
}

bool CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD)
{
    // The copy covers its rectangle whole, so the destination is not erased
    // first; the source is read as it stands, erased where it is to be.
    QImage* pDest = m_pImpl->CoverTarget();
    QImage* pSrc = pSrcDC ? pSrcDC->m_pImpl->Target() : nullptr;
    if (!pDest || !pSrc)
        return false;
    int dx = x + m_pImpl->m_ptOrigin.x, dy = y + m_pImpl->m_ptOrigin.y;
    int sx = xSrc + pSrcDC->m_pImpl->m_ptOrigin.x, sy = ySrc + pSrcDC->m_pImpl->m_ptOrigin.y;
    // Clip against both images so that neither is read or written out of bounds.
    if (sx < 0) { dx -= sx; nWidth += sx; sx = 0; }
    if (sy < 0) { dy -= sy; nHeight += sy; sy = 0; }
    if (dx < 0) { sx -= dx; nWidth += dx; dx = 0; }
    if (dy < 0) { sy -= dy; nHeight += dy; dy = 0; }
    if (sx + nWidth > pSrc->width()) nWidth = pSrc->width() - sx;
    if (sy + nHeight > pSrc->height()) nHeight = pSrc->height() - sy;
    if (dx + nWidth > pDest->width()) nWidth = pDest->width() - dx;
    if (dy + nHeight > pDest->height()) nHeight = pDest->height() - dy;
    if (nWidth <= 0 || nHeight <= 0)
        return true;
    m_pImpl->Covered(QRect(dx, dy, nWidth, nHeight));
    // Whole rows by their strides (painting a frame of a drag is mostly this).
    // Within one image the rows are taken in the order that reads each source
    // row before it is overwritten.
    const qsizetype nDestStride = pDest->bytesPerLine();
    const qsizetype nSrcStride = pSrc->bytesPerLine();
    const size_t nRowBytes = static_cast<size_t>(nWidth) * sizeof(QRgb);
    uchar* out = pDest->bits() + dy * nDestStride + dx * static_cast<qsizetype>(sizeof(QRgb));
    const uchar* in = pSrc->constBits() + sy * nSrcStride + sx * static_cast<qsizetype>(sizeof(QRgb));
    if (pSrc == pDest && dy > sy) {
        for (int row = nHeight - 1; row >= 0; --row)
            std::memmove(out + row * nDestStride, in + row * nSrcStride, nRowBytes);
        return true;
    }
    for (int row = 0; row < nHeight; ++row)
        std::memmove(out + row * nDestStride, in + row * nSrcStride, nRowBytes);
    return true;
}

bool CDC::TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC,
                         int xSrc, int ySrc, int nSrcWidth, int nSrcHeight, COLORREF crTransparent)
{
    QImage* pDest = m_pImpl->Target();
    QImage* pSrc = pSrcDC ? pSrcDC->m_pImpl->Target() : nullptr;
    if (!pDest || !pSrc || nDestWidth <= 0 || nDestHeight <= 0 || nSrcWidth <= 0 || nSrcHeight <= 0)
        return false;
    const QRgb key = ToQRgb(crTransparent) & 0xffffff;
    const int dx0 = xDest + m_pImpl->m_ptOrigin.x, dy0 = yDest + m_pImpl->m_ptOrigin.y;
    const int sx0 = xSrc + pSrcDC->m_pImpl->m_ptOrigin.x, sy0 = ySrc + pSrcDC->m_pImpl->m_ptOrigin.y;
    QImage source = pSrc == pDest ? pSrc->copy() : QImage();
    const QImage& src = pSrc == pDest ? source : *pSrc;
    for (int row = 0; row < nDestHeight; ++row) {
        int dy = dy0 + row;
        int sy = sy0 + static_cast<int>(static_cast<long long>(row) * nSrcHeight / nDestHeight);
        if (dy < 0 || dy >= pDest->height() || sy < 0 || sy >= src.height())
            continue;
        const QRgb* srcLine = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
        QRgb* destLine = reinterpret_cast<QRgb*>(pDest->scanLine(dy));
        for (int col = 0; col < nDestWidth; ++col) {
            int dx = dx0 + col;
            int sx = sx0 + static_cast<int>(static_cast<long long>(col) * nSrcWidth / nDestWidth);
            if (dx < 0 || dx >= pDest->width() || sx < 0 || sx >= src.width())
                continue;
            QRgb rgb = srcLine[sx];
            if ((rgb & 0xffffff) != key)
                destLine[dx] = rgb;
        }
    }
    return true;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    QImage* pImage = m_pImpl->Target();
    int dx = x + m_pImpl->m_ptOrigin.x, dy = y + m_pImpl->m_ptOrigin.y;
    if (!pImage || dx < 0 || dy < 0 || dx >= pImage->width() || dy >= pImage->height())
        return CLR_INVALID;
    return FromQRgb(pImage->pixel(dx, dy));
}

void CDC::UseTextMeasurer(TEXTMEASURER pfnMeasurer)
{
    g_pfnMeasurer.store(pfnMeasurer);
}
