#include "platform/ui/Bitmap.h"

#include "platform/Resources.h"
#include "platform/ui/QtBridge.h"

CBitmap::CBitmap() : m_pImpl(new Impl) {}

CBitmap::~CBitmap()
{
    delete m_pImpl;
}

bool CBitmap::CreateBitmap(int nWidth, int nHeight)
{
    if (nWidth <= 0 || nHeight <= 0) {
        m_pImpl->m_image = QImage();
        return false;
    }
    m_pImpl->m_image = QImage(nWidth, nHeight, QImage::Format_RGB32);
    if (m_pImpl->m_image.isNull())
        return false;
    m_pImpl->m_image.fill(qRgb(0, 0, 0));
    return true;
}

bool CBitmap::LoadBitmap(UINT nID)
{
    const unsigned char* pPng = nullptr;
    size_t nSize = 0;
    m_pImpl->m_image = QImage();
    if (!CResources::FindBitmap(nID, pPng, nSize))
        return false;
    QImage image;
    if (!image.loadFromData(pPng, static_cast<int>(nSize), "PNG"))
        return false;
    m_pImpl->m_image = image.convertToFormat(QImage::Format_RGB32);
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
    return SIZE{m_pImpl->m_image.width(), m_pImpl->m_image.height()};
}

COLORREF CBitmap::GetPixel(int x, int y) const
{
    const QImage& image = m_pImpl->m_image;
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return CLR_INVALID;
    return FromQRgb(image.pixel(x, y));
}

void CBitmap::SetPixel(int x, int y, COLORREF cr)
{
    QImage& image = m_pImpl->m_image;
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return;
    image.setPixel(x, y, ToQRgb(cr));
}

bool CBitmap::SavePng(const std::wstring& strPath) const
{
    if (m_pImpl->m_image.isNull())
        return false;
    return m_pImpl->m_image.save(ToQString(strPath), "PNG");
}
