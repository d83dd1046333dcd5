// Message boxes: captioned pop-ups centred over the screen, run modally.

#include "platform/ui/Dialog.h"
#include "platform/ui/ScreenImpl.h"

#include <QEventLoop>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

namespace {

QPixmap IconPixmap(UINT nIcon)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    if (nIcon == MB_ICONEXCLAMATION) {
        QPainterPath triangle;
        triangle.moveTo(16, 2);
        triangle.lineTo(30, 29);
        triangle.lineTo(2, 29);
        triangle.closeSubpath();
        p.fillPath(triangle, QColor(250, 200, 20));
        p.setPen(QColor(120, 90, 0));
        p.drawPath(triangle);
        p.setPen(Qt::black);
        p.drawText(QRect(0, 7, 32, 24), Qt::AlignCenter, QStringLiteral("!"));
    } else if (nIcon == MB_ICONINFORMATION || nIcon == MB_ICONQUESTION) {
        p.setBrush(QColor(40, 90, 200));
        p.setPen(QColor(20, 50, 140));
        p.drawEllipse(2, 2, 28, 28);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter,
                   nIcon == MB_ICONQUESTION ? QStringLiteral("?") : QStringLiteral("i"));
    }
    return pixmap;
}

struct ButtonChoice
{
    const char* text;
    int id;
};

}

int CWnd::MessageBox(const std::wstring& strText, const std::wstring& strCaption, UINT nType)
{
    EnsureApplication();
    int answer = 0;
    if (g_messageBoxHook && g_messageBoxHook(strText, strCaption, nType, answer))
        return answer;

    CDeviceScreen::Impl* s = CDeviceScreen::Get().m_pImpl;
    QWidget* client = nullptr;
    QWidget* frame = MakePopupFrame(s->m_pScreen, ToQString(strCaption), &client);
    const int width = s->m_pScreen->width() - 20;

    auto* icon = new QLabel(frame);
    UINT nIcon = nType & MB_ICONMASK;
    int textLeft = 10;
    if (nIcon) {
        icon->setPixmap(IconPixmap(nIcon));
        icon->setGeometry(8, POPUP_CAPTION_HEIGHT + 10, 32, 32);
        textLeft = 48;
    }
    auto* text = new QLabel(ToQString(strText), frame);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    int textWidth = width - textLeft - 8;
    int textHeight = text->heightForWidth(textWidth);
    if (textHeight < 32)
        textHeight = 32;
    text->setGeometry(textLeft, POPUP_CAPTION_HEIGHT + 10, textWidth, textHeight);

    static const ButtonChoice kOk[] = {{"OK", IDOK}};
    static const ButtonChoice kOkCancel[] = {{"OK", IDOK}, {"Cancel", IDCANCEL}};
    static const ButtonChoice kYesNo[] = {{"Yes", IDYES}, {"No", IDNO}};
    const ButtonChoice* choices = kOk;
    int nButtons = 1;
    if ((nType & MB_TYPEMASK) == MB_OKCANCEL) {
        choices = kOkCancel;
        nButtons = 2;
    } else if ((nType & MB_TYPEMASK) == MB_YESNO) {
        choices = kYesNo;
        nButtons = 2;
    }
    QEventLoop loop;
    int result = (nType & MB_TYPEMASK) == MB_YESNO ? IDNO : ((nType & MB_TYPEMASK) == MB_OKCANCEL ? IDCANCEL : IDOK);
    const int buttonWidth = 64, gap = 8;
    int total = nButtons * buttonWidth + (nButtons - 1) * gap;
    int x = (width - total) / 2;
    int y = POPUP_CAPTION_HEIGHT + 10 + textHeight + 10;
    for (int i = 0; i < nButtons; ++i) {
        const ButtonChoice& choice = choices[i];
        auto* button = new QPushButton(QString::fromLatin1(choice.text), frame);
        button->setGeometry(x, y, buttonWidth, 22);
        int id = choice.id;
        QObject::connect(button, &QPushButton::clicked, &loop, [&loop, &result, id]() {
            result = id;
            loop.exit(id);
        });
        x += buttonWidth + gap;
    }
    frame->resize(width, y + 22 + 10);
    if (auto* title = frame->findChild<QLabel*>(QStringLiteral("popupCaption")))
        title->setGeometry(1, 1, width - 2, POPUP_CAPTION_HEIGHT);

    s->PushLayer(ScreenLayer{nullptr, frame, ToQString(strCaption), true});
    if (g_messageBoxShownHook) {
        QMetaObject::invokeMethod(frame, [&loop, &result]() {
            int id = 0;
            if (g_messageBoxShownHook && g_messageBoxShownHook(id)) {
                result = id;
                loop.exit(id);
            }
        }, Qt::QueuedConnection);
    }
    loop.exec();
    s->PopLayer(frame);
    delete frame;
    return result;
}
