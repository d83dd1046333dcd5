#include "platform/ui/QtBridge.h"

#include "platform/UserLocale.h"
#include "platform/ui/Accessibility.h"
#include "platform/ui/ScreenImpl.h"

#include <QApplication>
#include <cwchar>

void EnsureCallQueue();

void EnsureApplication()
{
    if (QCoreApplication::instance()) {
        InstallAccessibleFactory();
        EnsureCallQueue();
        return;
    }
    static int argc = 1;
    static char name[] = "cirrovan";
    static char* argv[] = {name, nullptr};
    // Lives for the rest of the process, as the device's shell does.
    new QApplication(argc, argv);
    // Qt has set every category of the C library's locale from the
    // environment; numbers and dates in files stay "C" (CUserLocale).
    CUserLocale::KeepProcessNeutral();
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The device's dialog font: small, plain, the same on every machine. The
    // templates' texts were made to fit their controls in a font whose average
    // letter is at most the 6-pixel base unit wide; DejaVu Sans at 11 pixels is
    // 6.8 and cut "Wind speed" to "Wind", the condensed face at 10 is 5.6.
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(10);
    QApplication::setFont(font);
    ApplyStartZoom();
    // After the application's own: Qt asks the factory installed last first.
    InstallAccessibleFactory();
    EnsureCallQueue();
}

QString ToQString(const std::wstring& str)
{
    return QString::fromStdWString(str);
}

std::wstring FromQString(const QString& str)
{
    return str.toStdWString();
}

QFont FontFromLogFont(const LOGFONT& lf)
{
    QString face = QString::fromWCharArray(lf.lfFaceName, static_cast<int>(wcsnlen(lf.lfFaceName, 32)));
    QFont font;
    if (face.compare(QLatin1String("Serif"), Qt::CaseInsensitive) == 0) {
        font.setFamilies({QStringLiteral("DejaVu Serif"), QStringLiteral("Serif")});
        font.setStyleHint(QFont::Serif);
    } else if (face.isEmpty() || face.compare(QLatin1String("Sans"), Qt::CaseInsensitive) == 0
               || face.compare(QLatin1String("Tahoma"), Qt::CaseInsensitive) == 0) {
        font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Sans")});
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamilies({face, QStringLiteral("DejaVu Sans")});
    }
    int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    // A positive height is the cell height, which includes the internal leading.
    if (lf.lfHeight > 0)
        height = height * 8 / 10;
    font.setPixelSize(height > 0 ? height : 12);
    int weight = lf.lfWeight <= 0 ? FW_NORMAL : lf.lfWeight;
    font.setWeight(static_cast<QFont::Weight>(weight < 100 ? 100 : (weight > 900 ? 900 : weight)));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

LOGFONT DefaultLogFont()
{
    LOGFONT lf = {};
    lf.lfHeight = -12;
    lf.lfWeight = FW_NORMAL;
    wcscpy(lf.lfFaceName, L"Sans");
    return lf;
}
