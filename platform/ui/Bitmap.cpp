#include "platform/ui/Bitmap.h"

#include "platform/Resources.h"
#include "platform/ui/QtBridge.h"

#include <QtMath>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The colour that the device's pictures leave see-through.
const QRgb kKey = qRgb(255, 153, 255);

bool HasKeyColour(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xffffff) == (kKey & 0xffffff))
                return true;
    }
    return false;
}

// A picture drawn at one scale brought to another: smoothly, and where it has
// see-through parts, without any edge pixel becoming a blend with the key
// colour (it would show as a pink fringe): the key becomes transparency before
// the scaling, and every pixel after it is either opaque in its own colour or
// the key again.
QImage Rescaled(const QImage& source, const QSize& size)
{
    if (!HasKeyColour(source))
        return source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    QImage argb = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if ((line[x] & 0xffffff) == (kKey & 0xffffff))
                line[x] = 0;
    }
    QImage scaled = argb.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_ARGB32);
    QImage out(scaled.size(), QImage::Format_RGB32);
    for (int y = 0; y < scaled.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(scaled.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < scaled.width(); ++x) {
            QRgb c = qAlpha(in[x]) >= 128 ? (in[x] | 0xff000000u) : kKey;
            // A drawn pixel that happens to have the key colour would vanish.
            if (qAlpha(in[x]) >= 128 && (c & 0xffffff) == (kKey & 0xffffff))
                c = qRgb(254, 153, 255);
            line[x] = c;
        }
    }
    return out;
}

// A picture of the resource table drawn at the ratio: the drawing made for the
// ratio when there is one, otherwise the next finer drawing brought down to it
// (never a coarser one brought up, while a finer one exists).
QImage LoadAtRatio(UINT nID, qreal ratio)
{
    const int nWanted = std::clamp(static_cast<int>(std::ceil(ratio - 1e-6)), 1, 4);
    std::vector<int> scales;
    for (int nScale = nWanted; nScale <= 4; ++nScale)
        scales.push_back(nScale);
    for (int nScale = nWanted - 1; nScale >= 1; --nScale)
        scales.push_back(nScale);
    for (int nScale : scales) {
        const unsigned char* pPng = nullptr;
        size_t nSize = 0;
        if (!CResources::FindBitmap(nID, pPng, nSize, nScale))
            continue;
        QImage image;
        if (!image.loadFromData(pPng, static_cast<int>(nSize), "PNG"))
            return QImage();
        image = image.convertToFormat(QImage::Format_RGB32);
        if (std::fabs(nScale - ratio) > 1e-6) {
            const QSize device(image.width() / nScale, image.height() / nScale);
            image = Rescaled(image, QSize(static_cast<int>(std::ceil(device.width() * ratio - 1e-6)),
                                          static_cast<int>(std::ceil(device.height() * ratio - 1e-6))));
        }
        image.setDevicePixelRatio(ratio);
        return image;
    }
    return QImage();
}

}

CBitmap::CBitmap() : m_pImpl(std::make_unique<Impl>()) {}

CBitmap::~CBitmap() = default;

bool CBitmap::CreateBitmap(int nWidth, int nHeight)
{
    if (nWidth <= 0 || nHeight <= 0) {
        m_pImpl->m_image = QImage();
        return false;
    }
    const qreal ratio = DrawingRatio();
    const QSize size(static_cast<int>(std::ceil(nWidth * ratio - 1e-6)),
                     static_cast<int>(std::ceil(nHeight * ratio - 1e-6)));
    QImage& image = m_pImpl->m_image;
    // An image of the same size is used again: a chart composed anew (every
    // station switch) then costs no fresh pages, which at a desktop's ratio
    // are many.
    if (image.size() != size || image.devicePixelRatio() != ratio || image.format() != QImage::Format_RGB32
        || !image.isDetached())
        image = QImage(size, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    m_pImpl->m_image.setDevicePixelRatio(ratio);
    m_pImpl->m_image.fill(qRgb(0, 0, 0));
    return true;
}

bool CBitmap::LoadBitmap(UINT nID)
{
    m_pImpl->m_image = LoadAtRatio(nID, DrawingRatio());
    return !m_pImpl->m_image.isNull();
}

bool CBitmap::LoadPng(const std::wstring& strPath)
{
    QImage image;
    m_pImpl->m_image = QImage();
    if (!image.load(ToQString(strPath), "PNG"))
        return false;
    m_pImpl->m_image = image.convertToFormat(QImage::Format_RGB32);
    return !m_pImpl->m_image.isNull();
}

void CBitmap::DeleteObject()
{
    m_pImpl->m_image = QImage();
}

bool CBitmap::IsValid() const
{
    return !m_pImpl->m_image.isNull();
}

SIZE CBitmap::GetSize() const
{
    const QImage& image = m_pImpl->m_image;
    const qreal ratio = image.devicePixelRatio();
    return SIZE{FromDevice(image.width(), ratio), FromDevice(image.height(), ratio)};
}

double CBitmap::GetRatio() const
{
    return m_pImpl->m_image.isNull() ? 1.0 : m_pImpl->m_image.devicePixelRatio();
}

COLORREF CBitmap::GetPixel(int x, int y) const
{
    const QImage& image = m_pImpl->m_image;
    const SIZE size = GetSize();
    if (x < 0 || y < 0 || x >= size.cx || y >= size.cy)
        return CLR_INVALID;
    // The middle of the device pixel.
    const qreal ratio = image.devicePixelRatio();
    const int dx = std::min(image.width() - 1, static_cast<int>((x + 0.5) * ratio));
    const int dy = std::min(image.height() - 1, static_cast<int>((y + 0.5) * ratio));
    return FromQRgb(image.pixel(dx, dy));
}

SIZE CBitmap::GetDesktopSize() const
{
    return SIZE{m_pImpl->m_image.width(), m_pImpl->m_image.height()};
}

COLORREF CBitmap::GetDesktopPixel(int x, int y) const
{
    const QImage& image = m_pImpl->m_image;
    if (!image.valid(x, y))
        return CLR_INVALID;
    return FromQRgb(image.pixel(x, y));
}

void CBitmap::SetPixel(int x, int y, COLORREF cr)
{
    QImage& image = m_pImpl->m_image;
    const SIZE size = GetSize();
    if (x < 0 || y < 0 || x >= size.cx || y >= size.cy)
        return;
    const qreal ratio = image.devicePixelRatio();
    for (int dy = ToDevice(y, ratio); dy < std::min(image.height(), ToDevice(y + 1, ratio)); ++dy)
        for (int dx = ToDevice(x, ratio); dx < std::min(image.width(), ToDevice(x + 1, ratio)); ++dx)
            image.setPixel(dx, dy, ToQRgb(cr));
}

bool CBitmap::SavePng(const std::wstring& strPath) const
{
    if (m_pImpl->m_image.isNull())
        return false;
    return m_pImpl->m_image.save(ToQString(strPath), "PNG");
}
