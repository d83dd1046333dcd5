#pragma once

// Internal to the platform layer.

#include "platform/ui/DC.h"
#include "platform/ui/Pen.h"
#include "platform/ui/QtBridge.h"

#include <QImage>

struct CDC::Impl
{
    CBitmap* m_pBitmap = nullptr;     // the selected image of a memory context
    QImage* m_pSurface = nullptr;     // a window's back buffer while it paints
    CPen* m_pPen = nullptr;
    HFONT m_hFont = nullptr;
    POINT m_ptOrigin = {0, 0};
    POINT m_ptCurrent = {0, 0};
    int m_nBkMode = OPAQUE;
    COLORREF m_crBk = RGB(255, 255, 255);
    COLORREF m_crText = RGB(0, 0, 0);

    QImage* Target() const
    {
        if (m_pSurface)
            return m_pSurface;
        if (m_pBitmap && !m_pBitmap->m_pImpl->m_image.isNull())
            return &m_pBitmap->m_pImpl->m_image;
        return nullptr;
    }
    LOGFONT CurrentLogFont() const { return m_hFont ? m_hFont->m_lf : DefaultLogFont(); }
};
