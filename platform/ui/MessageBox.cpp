// Message boxes: captioned pop-ups centred over the screen, run modally.

#include "platform/ui/Dialog.h"
#include "platform/Translate.h"
#include "platform/ui/Accessibility.h"
#include "platform/ui/FocusMark.h"
#include "platform/ui/ScreenImpl.h"
#include "platform/ui/UiObserver.h"

#include <QEventLoop>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <vector>

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

const ButtonChoice kOk[] = {{TR_NOOP("OK"), IDOK}};
const ButtonChoice kOkCancel[] = {{TR_NOOP("OK"), IDOK}, {TR_NOOP("Cancel"), IDCANCEL}};
const ButtonChoice kYesNo[] = {{TR_NOOP("Yes"), IDYES}, {TR_NOOP("No"), IDNO}};

const int kMargin = 10;          // between the box and the screen's edges
const int kMaxWidth = 300;
const int kButtonWidth = 64, kButtonHeight = 22, kButtonGap = 8;
const int kIconSize = 32;

// A message box on the screen: its widgets, its answer and the button that Enter
// chooses. The last choice is always the one that changes nothing.
struct MessageBoxUi
{
    QWidget* m_pFrame = nullptr;
    QLabel* m_pIcon = nullptr;
    QScrollArea* m_pScroll = nullptr;
    QLabel* m_pText = nullptr;
    std::vector<QPushButton*> m_buttons;
    const ButtonChoice* m_pChoices = kOk;
    int m_nCurrent = 0;
    QEventLoop m_loop;
    int m_nResult = IDOK;
    bool m_bAnswered = false;

    void Answer(int nID)
    {
        if (m_bAnswered)
            return;
        m_bAnswered = true;
        m_nResult = nID;
        m_loop.exit(nID);
    }

    void Highlight(int nIndex)
    {
        m_nCurrent = nIndex;
        for (size_t i = 0; i < m_buttons.size(); ++i)
            m_buttons[i]->setDefault(static_cast<int>(i) == nIndex);
    }

    void OnKey(UINT vk)
    {
        const int n = static_cast<int>(m_buttons.size());
        switch (vk) {
        case VK_RETURN:
        case VK_SPACE:
            Answer(m_pChoices[m_nCurrent].id);
            break;
        case VK_ESCAPE:
            Answer(m_pChoices[n - 1].id);
            break;
        case VK_LEFT:
            Highlight((m_nCurrent + n - 1) % n);
            break;
        case VK_RIGHT:
        case VK_TAB:
            Highlight((m_nCurrent + 1) % n);
            break;
        case VK_UP:
        case VK_DOWN: {
            QScrollBar* bar = m_pScroll->verticalScrollBar();
            bar->setValue(bar->value() + (vk == VK_UP ? -1 : 1) * bar->singleStep() * 3);
            break;
        }
        default:
            break;   // the box is modal: no other key goes anywhere
        }
    }

    // Fits the box to the screen: as wide as the screen allows, the text wrapped
    // at its words, and a scroll bar for a text that would make it taller than
    // the screen.
    void Layout(int nScreenWidth, int nScreenHeight)
    {
        const int width = std::min(nScreenWidth - 2 * kMargin, kMaxWidth);
        const int textLeft = m_pIcon->isVisibleTo(m_pFrame) ? 8 + kIconSize + 8 : 10;
        const int textTop = POPUP_CAPTION_HEIGHT + 1 + 10;
        const int textWidth = width - textLeft - 8;
        const int chrome = textTop + 10 + kButtonHeight + 10 + 1;
        const int maxTextHeight = std::max(kIconSize, nScreenHeight - 2 * kMargin - chrome);
        int textHeight = std::max(kIconSize, m_pText->heightForWidth(textWidth));
        int labelWidth = textWidth;
        if (textHeight > maxTextHeight) {
            labelWidth = textWidth - m_pScroll->verticalScrollBar()->sizeHint().width();
            m_pScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            m_pText->setFixedSize(labelWidth, m_pText->heightForWidth(labelWidth));
            textHeight = maxTextHeight;
        } else {
            m_pScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            m_pText->setFixedSize(labelWidth, textHeight);
        }
        m_pIcon->setGeometry(8, textTop, kIconSize, kIconSize);
        m_pScroll->setGeometry(textLeft, textTop, textWidth, textHeight);

        const int n = static_cast<int>(m_buttons.size());
        int x = (width - (n * kButtonWidth + (n - 1) * kButtonGap)) / 2;
        const int y = textTop + textHeight + 10;
        for (QPushButton* button : m_buttons) {
            button->setGeometry(x, y, kButtonWidth, kButtonHeight);
            x += kButtonWidth + kButtonGap;
        }
        m_pFrame->resize(width, y + kButtonHeight + 10 + 1);
        if (auto* title = m_pFrame->findChild<QLabel*>(QStringLiteral("popupCaption")))
            title->setGeometry(1, 1, width - 2, POPUP_CAPTION_HEIGHT);
        SetPopupCaption(m_pFrame, m_pFrame->property("caption").toString());
    }
};

}

int CWnd::MessageBox(const std::wstring& strText, const std::wstring& strCaption, UINT nType)
{
    EnsureApplication();
    if (!OnUiThread()) {
        // A box is a window of the user-interface thread, and waiting for it
        // there could hang both threads: the choice that changes nothing.
        qWarning("MessageBox called from a worker thread: not shown");
        return (nType & MB_TYPEMASK) == MB_YESNO ? IDNO : ((nType & MB_TYPEMASK) == MB_OKCANCEL ? IDCANCEL : IDOK);
    }
    int answer = 0;
    if (CUiObserver* pObserver = GetUiObserver();
        pObserver && pObserver->MessageBoxOpening(strText, strCaption, nType, answer))
        return answer;

    CDeviceScreen::Impl* s = CDeviceScreen::Get().m_pImpl;
    const QPointer<QWidget> pFocus = s->m_pScreen->focusWidget();
    MessageBoxUi box;
    QWidget* client = nullptr;
    box.m_pFrame = MakePopupFrame(s->m_pScreen, ToQString(strCaption), &client);
    box.m_pFrame->setProperty("caption", ToQString(strCaption));
    SetAccessibleRoleOf(box.m_pFrame, QAccessible::AlertMessage);
    box.m_pFrame->setAccessibleName(ToQString(strCaption));
    box.m_pFrame->setAccessibleDescription(ToQString(strText));

    box.m_pIcon = new QLabel(box.m_pFrame);
    const UINT nIcon = nType & MB_ICONMASK;
    box.m_pIcon->setPixmap(IconPixmap(nIcon));
    box.m_pIcon->setVisible(nIcon != 0);

    box.m_pScroll = new QScrollArea(box.m_pFrame);
    box.m_pScroll->setFrameShape(QFrame::NoFrame);
    box.m_pScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box.m_pScroll->setFocusPolicy(Qt::NoFocus);
    // The box's white shows through the text's area.
    box.m_pScroll->setAutoFillBackground(false);
    box.m_pScroll->viewport()->setAutoFillBackground(false);
    box.m_pText = new QLabel(ToQString(strText));
    box.m_pText->setTextFormat(Qt::PlainText);
    box.m_pText->setWordWrap(true);
    box.m_pText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box.m_pScroll->setWidget(box.m_pText);
    box.m_pText->setAutoFillBackground(false);

    int nButtons = 1;
    if ((nType & MB_TYPEMASK) == MB_OKCANCEL) {
        box.m_pChoices = kOkCancel;
        nButtons = 2;
    } else if ((nType & MB_TYPEMASK) == MB_YESNO) {
        box.m_pChoices = kYesNo;
        nButtons = 2;
    }
    // Nobody answering (the window closed) counts as the choice that changes nothing.
    box.m_nResult = box.m_pChoices[nButtons - 1].id;
    for (int i = 0; i < nButtons; ++i) {
        auto* button = new QPushButton(QString::fromStdWString(Tr(box.m_pChoices[i].text)), box.m_pFrame);
        button->setFocusPolicy(Qt::NoFocus);
        const int id = box.m_pChoices[i].id;
        QObject::connect(button, &QPushButton::clicked, button, [&box, id]() { box.Answer(id); });
        box.m_buttons.push_back(button);
    }
    box.Highlight((nType & MB_DEFMASK) == MB_DEFBUTTON2 && nButtons > 1 ? 1 : 0);

    ScreenLayer layer{nullptr, box.m_pFrame, ToQString(strCaption), true, nullptr, nullptr};
    layer.m_fnLayout = [&box, s]() { box.Layout(s->m_pScreen->width(), s->m_pScreen->height()); };
    layer.m_fnKey = [&box](UINT vk) { box.OnKey(vk); };
    {
        ScreenLayerGuard onScreen(s, layer);
        if (GetUiObserver()) {
            QMetaObject::invokeMethod(box.m_pFrame, [&box]() {
                QRect g = box.m_pFrame->geometry();
                RECT rcBox = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
                int id = 0;
                CUiObserver* pObserver = GetUiObserver();
                if (pObserver && pObserver->MessageBoxShown(rcBox, id))
                    box.Answer(id);
            }, Qt::QueuedConnection);
        }
        box.m_loop.exec();
    }
    // Only now: the screen finds a layer by its frame, which a deleted one no longer is.
    delete box.m_pFrame;
    ReturnFocus(pFocus);
    if (CUiObserver* pObserver = GetUiObserver())
        pObserver->MessageBoxAnswered(box.m_nResult);
    return box.m_nResult;
}
