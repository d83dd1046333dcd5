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

struct CBitmap::Impl
{
    QImage m_image;
};

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
