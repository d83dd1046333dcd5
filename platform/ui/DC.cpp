#include "platform/ui/DC.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/DCImpl.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
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

void FillDevice(QImage& image, const QRect& rc, QRgb rgb)
{
    FillDevice(image, rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height(), rgb);
}

// A rectangle of device pixels among the image's own pixels.
QRect DeviceRect(const QImage& image, int x, int y, int cx, int cy)
{
    const qreal r = image.devicePixelRatio();
    if (r == 1.0)
        return QRect(x, y, cx, cy);
    const int x0 = ToDevice(x, r), y0 = ToDevice(y, r);
    return QRect(x0, y0, ToDevice(x + cx, r) - x0, ToDevice(y + cy, r) - y0);
}

// A line between two device pixels, its last one left out, drawn with the
// image's pixels: across and along the axes as the exact band of device
// pixels it covers, at a slant antialiased through the pixels' middles, its
// square ends closing the corners where one line goes on from another.
void DrawFineLine(QImage& image, int x0, int y0, int x1, int y1, int width, QRgb rgb)
{
    const int half = (width - 1) / 2;
    if (y0 == y1 || x0 == x1) {
        int left = x0 - half, top = y0 - half, right = left + width, bottom = top + width;
        if (y0 == y1)
            x1 > x0 ? (left = x0, right = x1) : (left = x1 + 1, right = x0 + 1);
        else
            y1 > y0 ? (top = y0, bottom = y1) : (top = y1 + 1, bottom = y0 + 1);
        const QRect rc = DeviceRect(image, left, top, right - left, bottom - top);
        FillDevice(image, rc, rgb);
        return;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor::fromRgb(rgb), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const qreal centre = (width % 2) ? 0.5 : 0.0;
    painter.drawLine(QPointF(x0 + centre, y0 + centre), QPointF(x1 + centre, y1 + centre));
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
        FillDevice(image, rc, qRgb(255, 255, 255));
    m_rects.clear();
}

CDC::CDC() : m_pImpl(std::make_unique<Impl>())
{
    EnsureApplication();
}

CDC::~CDC() = default;

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
    const QRect rc = DeviceRect(*pImage, x + m_pImpl->m_ptOrigin.x, y + m_pImpl->m_ptOrigin.y, cx, cy);
    FillDevice(*pImage, rc, ToQRgb(cr));
    m_pImpl->Covered(rc);
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

    int x0 = from.x + m_pImpl->m_ptOrigin.x, y0 = from.y + m_pImpl->m_ptOrigin.y;
    int x1 = x + m_pImpl->m_ptOrigin.x, y1 = y + m_pImpl->m_ptOrigin.y;
    if (pImage->devicePixelRatio() != 1.0) {
        DrawFineLine(*pImage, x0, y0, x1, y1, width, rgb);
        return true;
    }
    // Bresenham from the current point up to, not including, the end point.
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
        box = DeviceRect(image, box.left(), box.top(), box.width(), box.height());
        FillDevice(image, box, ToQRgb(dc.m_crBk));
    }
    if (str.empty())
        return;
    // In the device's own pixels text is drawn as the device drew it, every
    // pixel in the text colour or left alone; with finer pixels, smoothed like
    // any other program's text on that screen.
    const bool bFine = image.devicePixelRatio() != 1.0;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, bFine);
    painter.setRenderHint(QPainter::TextAntialiasing, bFine);
    if (pClip)
        painter.setClipRect(*pClip);
    QFont font = FontFromLogFont(lf);
    if (bFine) {
        font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
        font.setHintingPreference(QFont::PreferVerticalHinting);
    }
    painter.setFont(font);
    painter.setPen(ToQColor(dc.m_crText));
    QFontMetrics metrics(font);
    // The measured line height may come from a test measurer; centre the real
    // glyphs in it so that the text sits where its box says.
    int baseline = y + (extent.cy - metrics.height()) / 2 + metrics.ascent();
    const QString text = ToQString(str);
    if (bFine) {
        // Glyphs hinted for finer pixels come out a little wider or narrower
        // than the device's measure, which every layout went by: the line is
        // fitted to its measure, so that neighbours still stand apart and
        // boxes still hold it, at any ratio.
        const qreal drawn = painter.boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::TextSingleLine, text).width();
        const qreal fit = drawn > 0 ? extent.cx / drawn : 1.0;
        if (fit > 0.85 && fit < 1.15 && std::fabs(fit - 1.0) > 0.005) {
            painter.translate(x, baseline);
            painter.scale(fit, 1.0);
            painter.drawText(0, 0, text);
            return;
        }
    }
    painter.drawText(x, baseline, text);
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

namespace {

// For each of the destination's own pixels along one axis, from first to
// last, the source's pixel it shows, or -1 outside the source: at a
// fractional ratio device pixels span one or two of the images' pixels, and
// each device pixel of the source lands wholly on the span of its device
// pixel in the destination, however far the copy is shifted.
std::vector<int> SpanMap(int nDest, int nSource, int nCount, qreal ratio, int nDestLimit, int nSourceLimit,
                         int* pnFirst)
{
    std::vector<int> map;
    *pnFirst = ToDevice(nDest, ratio);
    for (int k = 0; k < nCount; ++k) {
        const int d0 = ToDevice(nDest + k, ratio), d1 = ToDevice(nDest + k + 1, ratio);
        const int s0 = ToDevice(nSource + k, ratio), s1 = ToDevice(nSource + k + 1, ratio);
        for (int d = d0; d < d1; ++d) {
            const int s = std::min(s0 + (d - d0), s1 - 1);
            map.push_back(d < 0 || d >= nDestLimit || s < 0 || s >= nSourceLimit ? -1 : s);
        }
    }
    return map;
}

void CopyAtFractionalRatio(QImage& dest, int x, int y, int cx, int cy, const QImage& source, int xSrc, int ySrc,
                           const CDC::Impl& dc)
{
    const qreal ratio = dest.devicePixelRatio();
    int nLeft = 0, nTop = 0;
    const std::vector<int> columns = SpanMap(x, xSrc, cx, ratio, dest.width(), source.width(), &nLeft);
    const std::vector<int> rows = SpanMap(y, ySrc, cy, ratio, dest.height(), source.height(), &nTop);
    const QImage copy = &source == &dest ? source.copy() : QImage();
    const QImage& from = &source == &dest ? copy : source;
    int nMin = dest.width(), nMax = -1, nMinRow = dest.height(), nMaxRow = -1;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r] < 0)
            continue;
        const int nRow = nTop + static_cast<int>(r);
        const QRgb* in = reinterpret_cast<const QRgb*>(from.constScanLine(rows[r]));
        QRgb* out = reinterpret_cast<QRgb*>(dest.scanLine(nRow));
        for (size_t c = 0; c < columns.size(); ++c) {
            if (columns[c] < 0)
                continue;
            const int nColumn = nLeft + static_cast<int>(c);
            out[nColumn] = in[columns[c]];
            nMin = std::min(nMin, nColumn);
            nMax = std::max(nMax, nColumn);
        }
        nMinRow = std::min(nMinRow, nRow);
        nMaxRow = std::max(nMaxRow, nRow);
    }
    if (nMax >= nMin && nMaxRow >= nMinRow)
        dc.Covered(QRect(QPoint(nMin, nMinRow), QPoint(nMax, nMaxRow)));
}

}

bool CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD)
{
    // The copy covers its rectangle whole, so the destination is not erased
    // first; the source is read as it stands, erased where it is to be.
    QImage* pDest = m_pImpl->CoverTarget();
    QImage* pSrc = pSrcDC ? ImplOf(pSrcDC)->Target() : nullptr;
    if (!pDest || !pSrc)
        return false;
    if (nWidth <= 0 || nHeight <= 0)
        return true;
    const qreal ratio = pDest->devicePixelRatio();
    if (pSrc->devicePixelRatio() != ratio) {
        // A picture made before the desktop's ratio changed: drawn to size.
        QRect rc = DeviceRect(*pDest, x + m_pImpl->m_ptOrigin.x, y + m_pImpl->m_ptOrigin.y, nWidth, nHeight);
        m_pImpl->Covered(rc & pDest->rect());
        const QRect rcSource = DeviceRect(*pSrc, xSrc + ImplOf(pSrcDC)->m_ptOrigin.x,
                                          ySrc + ImplOf(pSrcDC)->m_ptOrigin.y, nWidth, nHeight);
        QImage source = pSrc->copy(rcSource);
        source.setDevicePixelRatio(1.0);
        QImage& target = *pDest;
        const qreal targetRatio = target.devicePixelRatio();
        target.setDevicePixelRatio(1.0);
        {
            QPainter painter(&target);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(rc, source);
        }
        target.setDevicePixelRatio(targetRatio);
        return true;
    }
    if (ratio != std::floor(ratio)) {
        CopyAtFractionalRatio(*pDest, x + m_pImpl->m_ptOrigin.x, y + m_pImpl->m_ptOrigin.y, nWidth, nHeight,
                              *pSrc, xSrc + ImplOf(pSrcDC)->m_ptOrigin.x, ySrc + ImplOf(pSrcDC)->m_ptOrigin.y,
                              *m_pImpl);
        return true;
    }
    // Device coordinates become the images' own pixels by the one mapping every
    // drawing uses, so that a block copied beside a fill or another block meets
    // it without a seam, and what lies at one device pixel of the source lands
    // on the pixels that device pixel has in the destination.
    int dx = ToDevice(x + m_pImpl->m_ptOrigin.x, ratio), dy = ToDevice(y + m_pImpl->m_ptOrigin.y, ratio);
    const int dxEnd = ToDevice(x + m_pImpl->m_ptOrigin.x + nWidth, ratio);
    const int dyEnd = ToDevice(y + m_pImpl->m_ptOrigin.y + nHeight, ratio);
    int sx = ToDevice(xSrc + ImplOf(pSrcDC)->m_ptOrigin.x, ratio);
    int sy = ToDevice(ySrc + ImplOf(pSrcDC)->m_ptOrigin.y, ratio);
    nWidth = dxEnd - dx;
    nHeight = dyEnd - dy;
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
    QImage* pSrc = pSrcDC ? ImplOf(pSrcDC)->Target() : nullptr;
    if (!pDest || !pSrc || nDestWidth <= 0 || nDestHeight <= 0 || nSrcWidth <= 0 || nSrcHeight <= 0)
        return false;
    const QRgb key = ToQRgb(crTransparent) & 0xffffff;
    // Both rectangles among the images' own pixels; the same sizes at the same
    // ratio copy pixel for pixel, others take the nearest source pixel.
    const QRect rcDest = DeviceRect(*pDest, xDest + m_pImpl->m_ptOrigin.x, yDest + m_pImpl->m_ptOrigin.y,
                                    nDestWidth, nDestHeight);
    const QRect rcSrc = DeviceRect(*pSrc, xSrc + ImplOf(pSrcDC)->m_ptOrigin.x,
                                   ySrc + ImplOf(pSrcDC)->m_ptOrigin.y, nSrcWidth, nSrcHeight);
    if (rcDest.isEmpty() || rcSrc.isEmpty())
        return true;
    const int dx0 = rcDest.left(), dy0 = rcDest.top(), sx0 = rcSrc.left(), sy0 = rcSrc.top();
    QImage source = pSrc == pDest ? pSrc->copy() : QImage();
    const QImage& src = pSrc == pDest ? source : *pSrc;
    // Rows by their strides, the columns of the source worked out once: a
    // chart copies dozens of icons each time it is composed.
    const int nDestPixelsWide = pDest->width(), nDestPixelsHigh = pDest->height();
    const int nSrcPixelsWide = src.width(), nSrcPixelsHigh = src.height();
    std::vector<int> columns(static_cast<size_t>(rcDest.width()));
    for (int col = 0; col < rcDest.width(); ++col) {
        const int dx = dx0 + col;
        const int sx = sx0 + static_cast<int>(static_cast<long long>(col) * rcSrc.width() / rcDest.width());
        columns[static_cast<size_t>(col)] = dx < 0 || dx >= nDestPixelsWide || sx < 0 || sx >= nSrcPixelsWide ? -1 : sx;
    }
    uchar* destBits = pDest->bits();
    const qsizetype nDestStride = pDest->bytesPerLine();
    const uchar* srcBits = src.constBits();
    const qsizetype nSrcStride = src.bytesPerLine();
    for (int row = 0; row < rcDest.height(); ++row) {
        const int dy = dy0 + row;
        const int sy = sy0 + static_cast<int>(static_cast<long long>(row) * rcSrc.height() / rcDest.height());
        if (dy < 0 || dy >= nDestPixelsHigh || sy < 0 || sy >= nSrcPixelsHigh)
            continue;
        const QRgb* srcLine = reinterpret_cast<const QRgb*>(srcBits + sy * nSrcStride);
        QRgb* destLine = reinterpret_cast<QRgb*>(destBits + dy * nDestStride);
        for (int col = 0; col < rcDest.width(); ++col) {
            const int sx = columns[static_cast<size_t>(col)];
            if (sx < 0)
                continue;
            const QRgb rgb = srcLine[sx];
            if ((rgb & 0xffffff) != key)
                destLine[dx0 + col] = rgb;
        }
    }
    return true;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    QImage* pImage = m_pImpl->Target();
    if (!pImage)
        return CLR_INVALID;
    const int dx = x + m_pImpl->m_ptOrigin.x, dy = y + m_pImpl->m_ptOrigin.y;
    const qreal ratio = pImage->devicePixelRatio();
    if (dx < 0 || dy < 0 || dx >= FromDevice(pImage->width(), ratio) || dy >= FromDevice(pImage->height(), ratio))
        return CLR_INVALID;
    // The middle of the device pixel.
    return FromQRgb(pImage->pixel(std::min(pImage->width() - 1, static_cast<int>((dx + 0.5) * ratio)),
                                  std::min(pImage->height() - 1, static_cast<int>((dy + 0.5) * ratio))));
}

double CDC::GetRatio() const
{
    const QImage* pImage = m_pImpl->CoverTarget();
    return pImage ? pImage->devicePixelRatio() : 1.0;
}

void CDC::UseTextMeasurer(TEXTMEASURER pfnMeasurer)
{
    g_pfnMeasurer.store(pfnMeasurer);
}
