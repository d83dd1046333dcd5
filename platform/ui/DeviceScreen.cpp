#include "platform/ui/DeviceScreen.h"

#include "platform/Resources.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/ScreenImpl.h"
#include "platform/ui/ZoomChoice.h"

#include <QApplication>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QWindow>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const int kPortraitWidth = 240;
const int kPortraitHeight = 320;
const int kMaxZoom = 4;

class ScreenWidget : public QWidget
{
public:
    explicit ScreenWidget(CDeviceScreen::Impl* pImpl) : m_pImpl(pImpl) {}

protected:
    void resizeEvent(QResizeEvent*) override { m_pImpl->Layout(); }
    void closeEvent(QCloseEvent* pEvent) override
    {
        pEvent->ignore();
        m_pImpl->RequestQuit();
    }

private:
    CDeviceScreen::Impl* m_pImpl;
};

// Key presses reach the screen's window before any widget: there each key-down
// is offered to the active dialog (or message box), once; what it leaves goes
// on to the focused widget or the open pop-up.
class KeyFilter : public QObject
{
public:
    explicit KeyFilter(CDeviceScreen::Impl* pImpl) : m_pImpl(pImpl) {}

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (pEvent->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(pEvent);
        return m_pImpl->DispatchKey(VirtualKeyFromQt(key->key(), key->modifiers()), m_pImpl->FocusWidget());
    }

private:
    CDeviceScreen::Impl* m_pImpl;
};

// The desktop's own scale, before any zoom: what the user asked of every Qt
// program through QT_SCALE_FACTOR (the screen's own ratio comes on top of it).
qreal DesktopFactor()
{
    bool ok = false;
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && factor > 0 ? factor : 1.0;
}

// Qt warns when the scale changes while windows exist; here that is meant
// (the screen is re-laid and repainted at once), so the warning says nothing.
QtMessageHandler g_previousHandler = nullptr;

void QuietScaleWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("QHighDpiScaling::setFactor")))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

// Every window of the program is drawn at zoom x the desktop's ratio, through
// Qt's high-DPI scaling: layouts stay in device pixels while text, lines and
// pictures are rasterised at the screen's own resolution.
void SetScale(qreal factor)
{
    static qreal s_factor = DesktopFactor();   // Qt's own at its start
    if (qFuzzyCompare(s_factor, factor))
        return;
    s_factor = factor;
    g_previousHandler = qInstallMessageHandler(QuietScaleWarning);
    QHighDpiScaling::setGlobalFactor(factor);
    qInstallMessageHandler(g_previousHandler);
}

// CIRROVAN_ZOOM, or the zoom that suits the desktop (ZoomChoice.h). A zoom
// asked for that would make the window taller than the desktop is lowered, and
// the user is told why the window is smaller than asked. Without a desktop
// (Qt's offscreen platform: the tests, the tour) nothing is enlarged unasked.
int InitialZoom()
{
    const char* pszAsked = std::getenv("CIRROVAN_ZOOM");
    const QScreen* desktop = QGuiApplication::primaryScreen();
    if (!desktop)
        return 1;
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        const bool bAsked = pszAsked && pszAsked[0] >= '1' && pszAsked[0] <= '4' && pszAsked[1] == '\0';
        return bAsked ? pszAsked[0] - '0' : 1;
    }
    const int nHeight = desktop->availableGeometry().height();
    const ZOOMCHOICE choice = ChooseZoom(nHeight, pszAsked);
    if (choice.bLowered)
        std::fprintf(stderr, "cirrovan: CIRROVAN_ZOOM=%s makes the window taller than the screen (%d pixels); "
                             "zoom %d is used\n", pszAsked, nHeight, choice.nZoom);
    return choice.nZoom;
}

// Chosen once the application exists, before any window or picture: everything
// is then made at its ratio from the start.
int g_nStartZoom = 0;
// The screen's window, once made.
QPointer<QWidget> g_pScreenWidget;

QString SoftKeyLabel(const MENUBARBUTTON& button)
{
    return ToQString(CResources::LoadString(button.nStringID));
}

}

UINT VirtualKeyFromQt(int nKey, Qt::KeyboardModifiers modifiers)
{
    const bool bKeypad = (modifiers & Qt::KeypadModifier) != 0;
    if (nKey >= Qt::Key_0 && nKey <= Qt::Key_9)
        return bKeypad ? VK_NUMPAD0 + (nKey - Qt::Key_0) : '0' + (nKey - Qt::Key_0);
    if (nKey >= Qt::Key_A && nKey <= Qt::Key_Z)
        return 'A' + (nKey - Qt::Key_A);
    if (nKey >= Qt::Key_F1 && nKey <= Qt::Key_F24)
        return VK_F1 + (nKey - Qt::Key_F1);
    if (bKeypad) {
        for (const KeyCode& code : kKeypadCodes)
            if (code.nQt == nKey)
                return code.vk;
    }
    for (const KeyCode& code : kKeyCodes)
        if (code.nQt == nKey)
            return code.vk;
    return VK_NONAME;
}

QString ElidedText(QWidget* pWidget, const QString& text, int nWidth)
{
    pWidget->ensurePolished();
    return pWidget->fontMetrics().elidedText(text, Qt::ElideRight, nWidth < 0 ? 0 : nWidth);
}

void SetPopupCaption(QWidget* pFrame, const QString& caption)
{
    auto* title = pFrame ? pFrame->findChild<QLabel*>(QStringLiteral("popupCaption")) : nullptr;
    if (!title)
        return;
    title->setProperty("fullText", caption);
    // The strip's left padding and a little room on the right.
    title->setText(ElidedText(title, caption, title->width() - 8));
}

QWidget* MakePopupFrame(QWidget* pScreen, const QString& caption, QWidget** ppClientParent)
{
    auto* frame = new BorderFrame(pScreen, POPUP_CAPTION_HEIGHT + 1, QColor(0x1c, 0x3f, 0x8c));
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, Qt::white);
    frame->setPalette(palette);
    auto* title = new QLabel(caption, frame);
    title->setObjectName(QStringLiteral("popupCaption"));
    title->setStyleSheet(QStringLiteral("#popupCaption { background: #1c3f8c; color: white; font-weight: bold; padding-left: 4px; }"));
    title->setGeometry(1, 1, 10, POPUP_CAPTION_HEIGHT);
    *ppClientParent = frame;
    return frame;
}

CDeviceScreen::CDeviceScreen() : m_pImpl(std::make_unique<Impl>())
{
    EnsureApplication();
    Impl* d = m_pImpl.get();
    d->m_pScreen = new ScreenWidget(d);
    g_pScreenWidget = d->m_pScreen;
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
    d->m_pScreen->resize(kPortraitWidth, kPortraitHeight);
    // The short side of the device: a window sized smaller no longer reads.
    d->m_pScreen->setMinimumSize(kPortraitWidth, kPortraitWidth);
    d->m_pKeyFilter = new KeyFilter(d);
    d->SetZoom(g_nStartZoom ? g_nStartZoom : InitialZoom());
    d->m_pScreen->show();
    d->Layout();
    QCoreApplication::processEvents();
}

CDeviceScreen& CDeviceScreen::Get()
{
    static CDeviceScreen* s_pScreen = new CDeviceScreen;   // lives as long as the application
    return *s_pScreen;
}

CDeviceScreen::~CDeviceScreen() = default;

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
    m_pImpl->ResizeDevice(cx, cy);
}

void CDeviceScreen::Impl::ResizeDevice(int cx, int cy)
{
    m_pScreen->resize(cx, cy);
    // Offscreen and hidden windows may hold the resize back; lay out now regardless.
    Layout();
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

void CDeviceScreen::SetZoom(int nZoom)
{
    m_pImpl->SetZoom(nZoom);
    QCoreApplication::processEvents();
}

int CDeviceScreen::GetZoom() const
{
    return m_pImpl->m_nZoom;
}

bool CDeviceScreen::RequestQuit()
{
    return m_pImpl->RequestQuit();
}

QWindow* CDeviceScreen::Impl::DeviceWindow() const
{
    m_pScreen->winId();   // makes sure the window exists
    return m_pScreen->windowHandle();
}

QWidget* CDeviceScreen::Impl::FocusWidget() const
{
    return QApplication::focusWidget();
}

void CDeviceScreen::Impl::SetZoom(int nZoom)
{
    nZoom = std::clamp(nZoom, 1, kMaxZoom);
    // The screen keeps its size in device pixels whatever the desktop's
    // window becomes.
    const QSize size = m_pScreen->size();
    m_nZoom = nZoom;
    SetScale(DesktopFactor() * nZoom);
    if (m_pScreen->size() != size)
        m_pScreen->resize(size);
    Layout();
    m_pScreen->update();
    InstallKeyFilter();
}

void CDeviceScreen::Impl::InstallKeyFilter()
{
    if (!m_pKeyFilter)
        return;
    DeviceWindow()->removeEventFilter(m_pKeyFilter);
    DeviceWindow()->installEventFilter(m_pKeyFilter);
}

bool CDeviceScreen::Impl::RequestQuit()
{
    if (m_layers.empty()) {
        // Only a message loop of the application's own can be ended here.
        if (QThread::currentThread()->loopLevel() == 0)
            return false;
        QCoreApplication::quit();
        return true;
    }
    if (m_bQuitting)
        return false;
    m_bQuitting = true;
    ContinueQuit();
    return true;
}

void CDeviceScreen::Impl::ContinueQuit()
{
    if (!m_bQuitting)
        return;
    if (m_layers.empty()) {
        m_bQuitting = false;
        return;
    }
    const ScreenLayer& top = m_layers.back();
    if (top.m_fnKey) {
        // A message box: the answer that changes nothing.
        std::function<void(UINT)> fnKey = top.m_fnKey;
        fnKey(VK_ESCAPE);
    } else if (m_layers.size() == 1) {
        m_bQuitting = false;
        RunCommand(IDOK);
    } else if (top.m_pDialog) {
        // A dialog with a worker (a download) ends once its worker has stopped;
        // the next step comes when it has left the screen.
        top.m_pDialog->OnClose();
    }
}

void CDeviceScreen::Impl::ContinueQuitLater()
{
    // Once the code that ran the layer just gone has gone on (it may open
    // another dialog, which is then closed in turn), or once the new layer runs.
    if (m_bQuitting)
        QMetaObject::invokeMethod(m_pScreen, [this]() { ContinueQuit(); }, Qt::QueuedConnection);
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
    ShowBarTexts();
    for (const ScreenLayer& layer : m_layers)
        PlaceLayer(layer);
}

void CDeviceScreen::Impl::ShowBarTexts()
{
    QString caption = m_pCaption->property("fullText").toString();
    // The caption label's padding on the left and a margin on the right.
    m_pCaption->setText(ElidedText(m_pCaption, caption, m_pCaption->width() - 10));
    for (int i = 0; i < 2; ++i)
        m_pKeys[i]->setText(ElidedText(m_pKeys[i], m_keyLabels[i], m_pKeys[i]->width() - 8));
}

void CDeviceScreen::Impl::PlaceLayer(const ScreenLayer& layer)
{
    if (!layer.m_pFrame)
        return;
    if (layer.m_fnLayout)
        layer.m_fnLayout();
    int h = m_pScreen->height();
    RECT work = {0, SCREEN_BAR_HEIGHT, m_pScreen->width(),
                 h - SCREEN_BAR_HEIGHT < SCREEN_BAR_HEIGHT ? SCREEN_BAR_HEIGHT : h - SCREEN_BAR_HEIGHT};
    if (layer.m_pDialog && ImplOf(layer.m_pDialog)->m_bFullScreen) {
        layer.m_pFrame->setGeometry(work.left, work.top, work.right - work.left, work.bottom - work.top);
        DispatchSize(layer.m_pDialog);
        return;
    }
    if (layer.m_pDialog && !ImplOf(layer.m_pDialog)->m_bPopup) {
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
            if (it->m_pDialog && ImplOf(it->m_pDialog)->m_bFullScreen) {
                caption = ToQString(ImplOf(it->m_pDialog)->m_strCaption);
                break;
            }
        }
        if (top.m_pDialog) {
            done = ImplOf(top.m_pDialog)->m_bFullScreen && top.m_pDialog->m_bDoneButton;
            if (top.m_pDialog->m_nMenuBarID)
                bar = CResources::FindMenuBar(top.m_pDialog->m_nMenuBarID);
        }
    }
    m_pCaption->setProperty("fullText", caption);
    m_pDone->setVisible(done);
    for (int i = 0; i < 2; ++i) {
        bool present = bar && i < bar->nButtons;
        m_keyLabels[i] = present ? SoftKeyLabel(bar->buttons[i]) : QString();
        m_pKeys[i]->setEnabled(present);
    }
    ShowBarTexts();
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
    ContinueQuitLater();
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
    if (m_layers.empty())
        m_bQuitting = false;
    ContinueQuitLater();
}

bool CDeviceScreen::Impl::DispatchKey(UINT vk, QWidget* pTarget)
{
    if (!m_layers.empty() && m_layers.back().m_fnKey) {
        // A message box is modal: it takes every key.
        std::function<void(UINT)> fnKey = m_layers.back().m_fnKey;
        fnKey(vk);
        return true;
    }
    CDialog* pDlg = ActiveDialog();
    if (!pDlg)
        return false;
    if (pTarget && pTarget->window() != m_pScreen)
        pTarget = nullptr;
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

qreal DrawingRatio()
{
    // The application's own answer is kept from the screens' start, before
    // any zoom; the window's, or its screen's, follows the zoom.
    if (g_pScreenWidget)
        return g_pScreenWidget->devicePixelRatioF();
    const QScreen* desktop = QGuiApplication::primaryScreen();
    return desktop ? desktop->devicePixelRatio() : 1.0;
}

void ApplyStartZoom()
{
    g_nStartZoom = InitialZoom();
    SetScale(DesktopFactor() * g_nStartZoom);
}

int GetDisplayOrientation()
{
    return CDeviceScreen::Get().GetOrientation();
}

void SetDisplayOrientation(int nCode)
{
    CDeviceScreen::Get().SetOrientation(nCode);
}
