#pragma once

// Internal to the platform layer.

#include "platform/ui/DC.h"
#include "platform/ui/Pen.h"
#include "platform/ui/QtBridge.h"

#include <QImage>
#include <QRect>
#include <vector>

// The part of a window's back buffer that its paint has yet to erase white. The
// erase waits for the first drawing that blends with what lies under it or reads
// it (text, lines, transparent copies), or else for the end of the paint; copies
// and fills cover their pixels whole, so they only take those pixels off the
// part. A paint made of copies alone (every step of a drag) erases nothing twice.
struct PendingErase
{
    std::vector<QRect> m_rects;   // apart from one another

    void Start(const QRect& rc);
    // Takes the rectangle off: a few integer comparisons, where a region's
    // arithmetic would cost more than the copy that covers it.
    void Cover(const QRect& rc);
    void Flush(QImage& image);

private:
    std::vector<QRect> m_rest;   // Cover's work space, kept for its capacity
};

struct CDC::Impl
{
    CBitmap* m_pBitmap = nullptr;     // the selected image of a memory context
    QImage* m_pSurface = nullptr;     // a window's back buffer while it paints
    PendingErase* m_pErase = nullptr; // that paint's erase, when it has one
    CPen* m_pPen = nullptr;
    HFONT m_hFont = nullptr;
    POINT m_ptOrigin = {0, 0};
    POINT m_ptCurrent = {0, 0};
    int m_nBkMode = OPAQUE;
    COLORREF m_crBk = RGB(255, 255, 255);
    COLORREF m_crText = RGB(0, 0, 0);

    // The image to draw into or read, erased where the paint has yet to erase it.
    QImage* Target() const
    {
        if (m_pSurface && m_pErase)
            m_pErase->Flush(*m_pSurface);
        return CoverTarget();
    }
    // The image for drawing that covers a rectangle whole; the drawing then
    // reports the rectangle with Covered.
    QImage* CoverTarget() const
    {
        if (m_pSurface)
            return m_pSurface;
        if (m_pBitmap && !ImplOf(m_pBitmap)->m_image.isNull())
            return &ImplOf(m_pBitmap)->m_image;
        return nullptr;
    }
    void Covered(const QRect& rc) const
    {
        if (m_pSurface && m_pErase)
            m_pErase->Cover(rc);
    }
    LOGFONT CurrentLogFont() const { return m_hFont ? m_hFont->m_lf : DefaultLogFont(); }
};

// The platform's own way to a context's state, which the class keeps private.
struct DCAccess
{
    static CDC::Impl* Of(const CDC& dc) { return dc.m_pImpl.get(); }
};
inline CDC::Impl* ImplOf(const CDC* pDC) { return DCAccess::Of(*pDC); }
inline CDC::Impl* ImplOf(const CDC& dc) { return DCAccess::Of(dc); }
