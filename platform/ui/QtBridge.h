#pragma once

// Internal to the platform layer: the Qt side of its Qt-free classes.

#include "platform/Font.h"
#include "platform/WinTypes.h"
#include "platform/ui/Bitmap.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <string>

// The image is held with the desktop's pixels: its size is the bitmap's size in
// device pixels times its device pixel ratio, which is set on it.
struct CBitmap::Impl
{
    QImage m_image;
};

// The platform's own way to an image, which the class keeps private.
struct BitmapAccess
{
    static CBitmap::Impl* Of(const CBitmap& bitmap) { return bitmap.m_pImpl.get(); }
};
inline CBitmap::Impl* ImplOf(const CBitmap* pBitmap) { return BitmapAccess::Of(*pBitmap); }
inline CBitmap::Impl* ImplOf(const CBitmap& bitmap) { return BitmapAccess::Of(bitmap); }

// The ratio new pictures are drawn at: the device screen's zoom times the
// desktop's own ratio (1 offscreen at zoom 1).
qreal DrawingRatio();

// Where a device coordinate falls among the desktop's pixels at a ratio. Every
// drawing maps its edges this way, so that blocks drawn side by side meet
// without a seam or an overlap at any ratio.
inline int ToDevice(int v, qreal ratio)
{
    return ratio == 1.0 ? v : qRound(v * ratio);
}
// The size in device pixels of an image held at its ratio.
inline int FromDevice(int v, qreal ratio)
{
    return ratio == 1.0 ? v : static_cast<int>(v / ratio + 1e-6);
}

// Widgets, fonts and painting need an application object; tests of drawing and
// of dialogs get one without writing a main of their own.
void EnsureApplication();

inline QColor ToQColor(COLORREF cr) { return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr)); }
inline QRgb ToQRgb(COLORREF cr) { return qRgb(GetRValue(cr), GetGValue(cr), GetBValue(cr)); }
inline COLORREF FromQRgb(QRgb rgb) { return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

QString ToQString(const std::wstring& str);
std::wstring FromQString(const QString& str);

// The real font for a logical-font record: a negative height is the pixel size,
// "Serif" and "Sans" resolve through fontconfig; never antialiased.
QFont FontFromLogFont(const LOGFONT& lf);
LOGFONT DefaultLogFont();
