#include "platform/ui/DeviceScreen.h"

#include "platform/Resources.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ScreenImpl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

std::function<bool(const std::wstring&, const std::wstring&, UINT, int&)> g_messageBoxHook;
std::function<void(CDialog*)> g_dialogOpenHook;

namespace {

const int kPortraitWidth = 240;
const int kPortraitHeight = 320;

class ScreenWidget : public QWidget
{
public:
    explicit ScreenWidget(CDeviceScreen::Impl* pImpl) : m_pImpl(pImpl) {}

protected:
    void resizeEvent(QResizeEvent*) override { m_pImpl->Layout(); }

private:
    CDeviceScreen::Impl* m_pImpl;
};

// The hardware keys come in as key presses anywhere on the screen.
class KeyFilter : public QObject
{
public:
    explicit KeyFilter(CDeviceScreen::Impl* pImpl) : m_pImpl(pImpl) {}

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        if (pEvent->type() != QEvent::KeyPress)
            return false;
        auto* widget = qobject_cast<QWidget*>(pObject);
        if (!widget || widget->window() != m_pImpl->m_pScreen)
            return false;
        auto* key = static_cast<QKeyEvent*>(pEvent);
        UINT vk = 0;
        int k = key->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter)
            vk = VK_RETURN;
        else if (k == Qt::Key_Escape)
            vk = VK_ESCAPE;
        else if (k == Qt::Key_Left)
            vk = VK_LEFT;
        else if (k == Qt::Key_Right)
            vk = VK_RIGHT;
        else if (k == Qt::Key_Up)
            vk = VK_UP;
        else if (k == Qt::Key_Down)
            vk = VK_DOWN;
        else if (k >= Qt::Key_0 && k <= Qt::Key_9)
            vk = (key->modifiers() & Qt::KeypadModifier) ? VK_NUMPAD0 + (k - Qt::Key_0) : '0' + (k - Qt::Key_0);
        else if (k >= Qt::Key_A && k <= Qt::Key_Z)
            vk = 'A' + (k - Qt::Key_A);
        if (!vk)
            return false;
        return m_pImpl->DispatchKey(vk, widget);
    }

private:
    CDeviceScreen::Impl* m_pImpl;
};

QString SoftKeyLabel(const MENUBARBUTTON& button)
{
    return ToQString(CResources::LoadString(button.nStringID));
}

}

QWidget* MakePopupFrame(QWidget* pScreen, const QString& caption, QWidget** ppClientParent)
{
    auto* frame = new QWidget(pScreen);
    frame->setObjectName(QStringLiteral("popupFrame"));
    frame->setAttribute(Qt::WA_StyledBackground);
    frame->setStyleSheet(QStringLiteral("#popupFrame { background: white; border: 1px solid #1c3f8c; }"));
    auto* title = new QLabel(caption, frame);
    title->setObjectName(QStringLiteral("popupCaption"));
    title->setStyleSheet(QStringLiteral("#popupCaption { background: #1c3f8c; color: white; font-weight: bold; padding-left: 4px; }"));
    title->setGeometry(1, 1, 10, POPUP_CAPTION_HEIGHT);
    *ppClientParent = frame;
    return frame;
}

CDeviceScreen::CDeviceScreen() : m_pImpl(new Impl)
{
    EnsureApplication();
    Impl* d = m_pImpl;
    d->m_pScreen = new ScreenWidget(d);
    d->m_pScreen->setWindowTitle(QStringLiteral("Cirrovan"));
    d->m_pScreen->setObjectName(QStringLiteral("deviceScreen"));
    d->m_pScreen->setAttribute(Qt::WA_StyledBackground);
    d->m_pScreen->setStyleSheet(QStringLiteral("#deviceScreen { background: white; }"));

    d->m_pTitleBar = new QWidget(d->m_pScreen);
    d->m_pTitleBar->setObjectName(QStringLiteral("titleBar"));
    d->m_pTitleBar->setAttribute(Qt::WA_StyledBackground);
    d->m_pTitleBar->setStyleSheet(QStringLiteral(
        "#titleBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2d5fc4, stop:1 #1c3f8c); }"
        "QLabel { color: white; font-weight: bold; font-size: 13px; padding-left: 5px; }"
        "QPushButton { color: white; font-weight: bold; font-size: 12px; border: 1px solid white;"
        " border-radius: 9px; background: #2a55b0; }"
        "QPushButton:pressed { background: #0e2560; }"));
    d->m_pCaption = new QLabel(d->m_pTitleBar);
    d->m_pDone = new QPushButton(QStringLiteral("ok"), d->m_pTitleBar);
    d->m_pDone->setFocusPolicy(Qt::NoFocus);
    d->m_pDone->hide();
    QObject::connect(d->m_pDone, &QPushButton::clicked, d->m_pDone, [d]() { d->RunCommand(IDOK); });

    d->m_pSoftBar = new QWidget(d->m_pScreen);
    d->m_pSoftBar->setObjectName(QStringLiteral("softKeyBar"));
    d->m_pSoftBar->setAttribute(Qt::WA_StyledBackground);
    d->m_pSoftBar->setStyleSheet(QStringLiteral(
        "#softKeyBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4a4a4a, stop:1 #1e1e1e); }"
        "QPushButton { color: white; font-size: 12px; font-weight: bold; border: none; background: transparent; }"
        "QPushButton:pressed { background: #2d5fc4; }"
        "QPushButton:disabled { color: #808080; }"));
    for (int i = 0; i < 2; ++i) {
        d->m_pKeys[i] = new QPushButton(d->m_pSoftBar);
        d->m_pKeys[i]->setFocusPolicy(Qt::NoFocus);
        QObject::connect(d->m_pKeys[i], &QPushButton::clicked, d->m_pKeys[i], [d, i]() { d->PressSoftKey(i); });
    }
    qApp->installEventFilter(new KeyFilter(d));
    d->m_pScreen->resize(kPortraitWidth, kPortraitHeight);
    d->m_pScreen->show();
    d->Layout();
}

CDeviceScreen& CDeviceScreen::Get()
{
    static CDeviceScreen* s_pScreen = new CDeviceScreen;   // lives as long as the application
    return *s_pScreen;
}

bool CDeviceScreen::SetOrientation(int nCode)
{
    bool landscape;
    if (nCode == DMDO_0 || nCode == DMDO_180)
        landscape = false;
    else if (nCode == DMDO_90 || nCode == DMDO_270)
        landscape = true;
    else
        return false;
    m_pImpl->m_nOrientation = nCode;
    QSize size = m_pImpl->m_pScreen->size();
    int shortSide = std::min(size.width(), size.height());
    int longSide = std::max(size.width(), size.height());
    Resize(landscape ? longSide : shortSide, landscape ? shortSide : longSide);
    return true;
}

int CDeviceScreen::GetOrientation() const
{
    return m_pImpl->m_nOrientation;
}

void CDeviceScreen::Resize(int cx, int cy)
{
    m_pImpl->m_pScreen->resize(cx, cy);
    // Offscreen and hidden windows may hold the resize back; lay out now regardless.
    m_pImpl->Layout();
}

SIZE CDeviceScreen::GetSize() const
{
    return SIZE{m_pImpl->m_pScreen->width(), m_pImpl->m_pScreen->height()};
}

RECT CDeviceScreen::GetWorkArea() const
{
    int w = m_pImpl->m_pScreen->width(), h = m_pImpl->m_pScreen->height();
    int bottom = h - SCREEN_BAR_HEIGHT;
    return RECT{0, SCREEN_BAR_HEIGHT, w, bottom < SCREEN_BAR_HEIGHT ? SCREEN_BAR_HEIGHT : bottom};
}

bool CDeviceScreen::SaveScreenshot(const std::wstring& strPath) const
{
    QCoreApplication::processEvents();
    return m_pImpl->m_pScreen->grab().save(ToQString(strPath), "PNG");
}

void CDeviceScreen::Impl::Layout()
{
    int w = m_pScreen->width(), h = m_pScreen->height();
    m_pTitleBar->setGeometry(0, 0, w, SCREEN_BAR_HEIGHT);
    m_pCaption->setGeometry(0, 0, w - 40, SCREEN_BAR_HEIGHT);
    m_pDone->setGeometry(w - 36, 4, 32, SCREEN_BAR_HEIGHT - 8);
    m_pSoftBar->setGeometry(0, h - SCREEN_BAR_HEIGHT, w, SCREEN_BAR_HEIGHT);
    m_pKeys[0]->setGeometry(0, 0, w / 2, SCREEN_BAR_HEIGHT);
    m_pKeys[1]->setGeometry(w / 2, 0, w - w / 2, SCREEN_BAR_HEIGHT);
    for (const ScreenLayer& layer : m_layers)
        PlaceLayer(layer);
}

void CDeviceScreen::Impl::PlaceLayer(const ScreenLayer& layer)
{
    if (!layer.m_pFrame)
        return;
    int h = m_pScreen->height();
    RECT work = {0, SCREEN_BAR_HEIGHT, m_pScreen->width(),
                 h - SCREEN_BAR_HEIGHT < SCREEN_BAR_HEIGHT ? SCREEN_BAR_HEIGHT : h - SCREEN_BAR_HEIGHT};
    if (layer.m_pDialog && layer.m_pDialog->m_pImpl->m_bFullScreen) {
        layer.m_pFrame->setGeometry(work.left, work.top, work.right - work.left, work.bottom - work.top);
        DispatchSize(layer.m_pDialog);
        return;
    }
    if (layer.m_pDialog && !layer.m_pDialog->m_pImpl->m_bPopup) {
        // Not yet made full-screen: it sits at the top of the work area.
        layer.m_pFrame->move(work.left, work.top);
        return;
    }
    QSize size = layer.m_pFrame->size();
    int x = (m_pScreen->width() - size.width()) / 2;
    int y = (m_pScreen->height() - size.height()) / 2;
    layer.m_pFrame->move(x < 0 ? 0 : x, y < 0 ? 0 : y);
}

CDialog* CDeviceScreen::Impl::ActiveDialog() const
{
    return m_layers.empty() ? nullptr : m_layers.back().m_pDialog;
}

void CDeviceScreen::Impl::UpdateBars()
{
    QString caption;
    bool done = false;
    const MENUBARTEMPLATE* bar = nullptr;
    if (!m_layers.empty()) {
        const ScreenLayer& top = m_layers.back();
        // A pop-up carries its own caption; the title bar keeps the page's.
        for (auto it = m_layers.rbegin(); it != m_layers.rend(); ++it) {
            if (it->m_pDialog && it->m_pDialog->m_pImpl->m_bFullScreen) {
                caption = ToQString(it->m_pDialog->m_pImpl->m_strCaption);
                break;
            }
        }
        if (top.m_pDialog) {
            done = top.m_pDialog->m_pImpl->m_bFullScreen && top.m_pDialog->m_bDoneButton;
            if (top.m_pDialog->m_nMenuBarID)
                bar = CResources::FindMenuBar(top.m_pDialog->m_nMenuBarID);
        }
    }
    m_pCaption->setText(caption);
    m_pDone->setVisible(done);
    for (int i = 0; i < 2; ++i) {
        bool present = bar && i < bar->nButtons;
        m_pKeys[i]->setText(present ? SoftKeyLabel(bar->buttons[i]) : QString());
        m_pKeys[i]->setEnabled(present);
    }
}

void CDeviceScreen::Impl::PushLayer(const ScreenLayer& layer)
{
    if (!m_layers.empty() && m_layers.back().m_pFrame) {
        m_layers.back().m_bWasEnabled = m_layers.back().m_pFrame->isEnabled();
        m_layers.back().m_pFrame->setEnabled(false);
    }
    m_layers.push_back(layer);
    PlaceLayer(layer);
    if (layer.m_pFrame) {
        layer.m_pFrame->show();
        layer.m_pFrame->raise();
    }
    UpdateBars();
}

void CDeviceScreen::Impl::PopLayer(QWidget* pFrame)
{
    for (size_t i = 0; i < m_layers.size(); ++i) {
        if (m_layers[i].m_pFrame == pFrame) {
            m_layers.erase(m_layers.begin() + static_cast<long>(i));
            break;
        }
    }
    if (!m_layers.empty() && m_layers.back().m_pFrame)
        m_layers.back().m_pFrame->setEnabled(m_layers.back().m_bWasEnabled);
    UpdateBars();
}

bool CDeviceScreen::Impl::DispatchKey(UINT vk, QWidget* pTarget)
{
    CDialog* pDlg = ActiveDialog();
    if (!pDlg) {
        // A message box: Enter and Escape are its buttons.
        return false;
    }
    MSG msg = {pTarget ? WndFromWidget(pTarget) : pDlg, WM_KEYDOWN, vk, 0};
    if (!msg.pWnd)
        msg.pWnd = pDlg;
    if (pDlg->PreTranslateMessage(&msg))
        return true;
    if (vk == VK_RETURN) {
        RunCommand(IDOK);
        return true;
    }
    if (vk == VK_ESCAPE) {
        RunCommand(IDCANCEL);
        return true;
    }
    return false;
}

void CDeviceScreen::Impl::RunCommand(UINT nCommand)
{
    if (CDialog* pDlg = ActiveDialog())
        pDlg->WindowProc(WM_COMMAND, MAKEWPARAM(nCommand, BN_CLICKED), 0);
}

void CDeviceScreen::Impl::PressSoftKey(int nKey)
{
    CDialog* pDlg = ActiveDialog();
    if (!pDlg || !pDlg->m_nMenuBarID)
        return;
    const MENUBARTEMPLATE* bar = CResources::FindMenuBar(pDlg->m_nMenuBarID);
    if (!bar || nKey < 0 || nKey >= bar->nButtons)
        return;
    const MENUBARBUTTON& button = bar->buttons[nKey];
    if (button.nPopup < 0) {
        RunCommand(button.nCommand);
        return;
    }
    const MENUTEMPLATE* menu = CResources::FindMenu(bar->nMenuID);
    if (!menu || button.nPopup >= menu->nPopups)
        return;
    const MENUPOPUPTEMPLATE& popup = menu->pPopups[button.nPopup];
    auto* qmenu = new QMenu(m_pScreen);
    qmenu->setAttribute(Qt::WA_DeleteOnClose);
    for (int i = 0; i < popup.nItems; ++i) {
        const MENUITEMTEMPLATE& item = popup.pItems[i];
        if (item.nCommand == 0) {
            qmenu->addSeparator();
            continue;
        }
        UINT command = item.nCommand;
        QAction* action = qmenu->addAction(ToQString(item.pszText));
        QObject::connect(action, &QAction::triggered, qmenu, [this, command]() {
            // After the menu has closed, as a menu command arrives on the device.
            QMetaObject::invokeMethod(m_pScreen, [this, command]() { RunCommand(command); }, Qt::QueuedConnection);
        });
    }
    // Soft-key menus open upward from their key.
    QPushButton* key = m_pKeys[nKey];
    QSize hint = qmenu->sizeHint();
    QPoint at = key->mapToGlobal(QPoint(nKey == 0 ? 0 : key->width() - hint.width(), 0));
    at.ry() -= hint.height();
    qmenu->popup(at);
}

int GetDisplayOrientation()
{
    return CDeviceScreen::Get().GetOrientation();
}

void SetDisplayOrientation(int nCode)
{
    CDeviceScreen::Get().SetOrientation(nCode);
}
