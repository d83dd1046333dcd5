#include "platform/testing/TestDriver.h"

#include "platform/Resources.h"
#include "platform/testing/DriverObserver.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/ScreenImpl.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeWidget>
#include <QWindow>
#include <QMenu>
#include <QLabel>
#include <QMouseEvent>
#include <QBackingStore>
#include <QPainter>
#include <QPushButton>
#include <utility>

namespace {

// Whether the widget is a pop-up window opened from the device screen.
bool IsDevicePopup(QWidget* pWidget, QWidget* pScreen)
{
    if (!pWidget || !pWidget->isWindow() || pWidget == pScreen || pWidget->windowType() != Qt::Popup)
        return false;
    for (QWidget* w = pWidget->parentWidget(); w; w = w->parentWidget())
        if (w == pScreen)
            return true;
    return false;
}

// The screen as the user sees it now, its open pop-ups included, with the
// desktop's pixels: an image of the screen's size times the ratio, the ratio
// set on it, so that it is read in device pixels.
QImage GrabDevice()
{
    // Whatever is pending is painted first; rendering then paints every widget
    // afresh, so the picture is the screen as it is now.
    QCoreApplication::processEvents();
    QWidget* screen = ImplOf(CDeviceScreen::Get())->m_pScreen;
    QImage shot = screen->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&shot);
    const QPoint origin = screen->mapToGlobal(QPoint(0, 0));
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && IsDevicePopup(window, screen))
            painter.drawPixmap(window->mapToGlobal(QPoint(0, 0)) - origin, window->grab());
    }
    return shot;
}

// The key of the keyboard that gives a virtual key, and its modifiers; false
// when no key gives it.
bool QtKeyFromVirtualKey(UINT vk, int* pnKey, Qt::KeyboardModifiers* pModifiers)
{
    *pModifiers = Qt::NoModifier;
    if (vk >= '0' && vk <= '9') {
        *pnKey = Qt::Key_0 + static_cast<int>(vk - '0');
    } else if (vk >= 'A' && vk <= 'Z') {
        *pnKey = Qt::Key_A + static_cast<int>(vk - 'A');
    } else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) {
        *pnKey = Qt::Key_0 + static_cast<int>(vk - VK_NUMPAD0);
        *pModifiers = Qt::KeypadModifier;
    } else if (vk >= VK_F1 && vk <= VK_F1 + 23) {
        *pnKey = Qt::Key_F1 + static_cast<int>(vk - VK_F1);
    } else {
        for (const KeyCode& code : kKeypadCodes) {
            if (code.vk == vk && vk != VK_RETURN) {
                *pnKey = code.nQt;
                *pModifiers = Qt::KeypadModifier;
                return true;
            }
        }
        for (const KeyCode& code : kKeyCodes) {
            if (code.vk == vk) {
                *pnKey = code.nQt;
                return true;
            }
        }
        *pnKey = vk == VK_NONAME ? Qt::Key_unknown : 0;
        return vk == VK_NONAME;
    }
    return true;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint p)
{
    Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

void TapWidget(QWidget* w, QPoint p)
{
    SendMouse(w, QEvent::MouseButtonPress, p);
    SendMouse(w, QEvent::MouseButtonRelease, p);
}

QWidget* ActiveControlWidget(UINT nControlID)
{
    CDialog* pDlg = CTestDriver::GetActiveDialog();
    CWnd* pCtrl = pDlg ? pDlg->GetDlgItem(nControlID) : nullptr;
    return pCtrl ? ImplOf(pCtrl)->m_pWidget.data() : nullptr;
}

// Where a pop-up window stands on the device screen, in its coordinates.
RECT ScreenRect(QWidget* pPopup)
{
    QWidget* screen = ImplOf(CDeviceScreen::Get())->m_pScreen;
    const QPoint topLeft = screen->mapFromGlobal(pPopup->mapToGlobal(QPoint(0, 0)));
    return RECT{topLeft.x(), topLeft.y(), topLeft.x() + pPopup->width(), topLeft.y() + pPopup->height()};
}

// The drop-down of the screen whose list is open, if any.
QComboBox* OpenDropDown()
{
    QWidget* screen = ImplOf(CDeviceScreen::Get())->m_pScreen;
    for (QComboBox* combo : screen->findChildren<QComboBox*>()) {
        QWidget* popup = combo->view() ? combo->view()->window() : nullptr;
        if (popup && popup != screen && popup->isVisible())
            return combo;
    }
    return nullptr;
}

// The tree's items in the order shown: depth first, children of collapsed items left out.
std::vector<QTreeWidgetItem*> ShownItems(QTreeWidget* tree)
{
    std::vector<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        bool shown = !(*it)->isHidden();
        for (QTreeWidgetItem* p = (*it)->parent(); p && shown; p = p->parent())
            shown = p->isExpanded() && !p->isHidden();
        if (shown)
            items.push_back(*it);
    }
    return items;
}

}

void CTestDriver::Install()
{
    EnsureApplication();
    CDeviceScreen::Get();
    CDriverObserver::Get().Observe(true);
}

void CTestDriver::Uninstall()
{
    CDriverObserver::Get().Forget();
}

void CTestDriver::AnswerNextMessageBox(int nAnswer)
{
    CDriverObserver::Get().m_script.m_answers.push_back(nAnswer);
}

void CTestDriver::ShowNextMessageBox(const std::wstring& strShotPath)
{
    CDriverObserver::Get().m_script.m_strShowPath = strShotPath;
}

void CTestDriver::ActOnNextMessageBox(std::function<void()> fnAction)
{
    CDriverObserver::Get().m_script.m_fnBoxAction = std::move(fnAction);
}

std::vector<MESSAGEBOXCALL>& CTestDriver::MessageBoxes()
{
    return CDriverObserver::Get().m_script.m_calls;
}

void CTestDriver::OnDialogOpen(UINT nTemplateID, std::function<void(CDialog*)> fnAction)
{
    CDriverObserver::Get().m_script.m_actions.emplace_back(nTemplateID, std::move(fnAction));
}

CDialog* CTestDriver::GetActiveDialog()
{
    return ImplOf(CDeviceScreen::Get())->ActiveDialog();
}

void CTestDriver::Tap(UINT nControlID)
{
    CDialog* pDlg = GetActiveDialog();
    CWnd* pCtrl = pDlg ? pDlg->GetDlgItem(nControlID) : nullptr;
    if (!pCtrl || !ImplOf(pCtrl)->m_pWidget)
        return;
    if (auto* b = qobject_cast<QAbstractButton*>(ImplOf(pCtrl)->m_pWidget.data())) {
        if (b->isEnabled())
            b->click();
        return;
    }
    QWidget* w = ImplOf(pCtrl)->m_pWidget;
    TapAt(pCtrl, POINT{w->width() / 2, w->height() / 2});
}

void CTestDriver::TapAt(CWnd* pWnd, POINT pt)
{
    QWidget* w = pWnd ? ImplOf(pWnd)->m_pWidget.data() : nullptr;
    if (!w)
        return;
    SendMouse(w, QEvent::MouseButtonPress, QPoint(pt.x, pt.y));
    SendMouse(w, QEvent::MouseButtonRelease, QPoint(pt.x, pt.y));
}

void CTestDriver::Drag(CWnd* pWnd, POINT ptFrom, POINT ptTo, int nSteps)
{
    QWidget* w = pWnd ? ImplOf(pWnd)->m_pWidget.data() : nullptr;
    if (!w)
        return;
    if (nSteps < 1)
        nSteps = 1;
    SendMouse(w, QEvent::MouseButtonPress, QPoint(ptFrom.x, ptFrom.y));
    for (int i = 1; i <= nSteps; ++i) {
        QPoint p(ptFrom.x + (ptTo.x - ptFrom.x) * i / nSteps, ptFrom.y + (ptTo.y - ptFrom.y) * i / nSteps);
        SendMouse(w, QEvent::MouseMove, p);
    }
    SendMouse(w, QEvent::MouseButtonRelease, QPoint(ptTo.x, ptTo.y));
}

void CTestDriver::SelectItem(UINT nControlID, int nIndex)
{
    QWidget* w = ActiveControlWidget(nControlID);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (nIndex < 0 || nIndex >= combo->count())
            return;
        combo->setCurrentIndex(nIndex);
        emit combo->activated(nIndex);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        if (nIndex < 0 || nIndex >= list->count())
            return;
        list->scrollToItem(list->item(nIndex));
        QRect rc = list->visualItemRect(list->item(nIndex));
        if (!rc.isEmpty())
            TapWidget(list->viewport(), rc.center());
    }
}

bool CTestDriver::TapTreeItem(UINT nControlID, int nIndex, bool bOnCheckBox)
{
    auto* tree = qobject_cast<QTreeWidget*>(ActiveControlWidget(nControlID));
    if (!tree || !tree->isEnabled())
        return false;
    std::vector<QTreeWidgetItem*> items = ShownItems(tree);
    if (nIndex < 0 || nIndex >= static_cast<int>(items.size()))
        return false;
    QTreeWidgetItem* item = items[static_cast<size_t>(nIndex)];
    tree->scrollToItem(item);
    QRect rc = tree->visualItemRect(item);
    if (rc.isEmpty())
        return false;
    // Where the view's style puts the item's check box and text.
    QStyleOptionViewItem option;
    option.initFrom(tree);
    option.rect = rc;
    option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasCheckIndicator;
    option.text = item->text(0);
    option.checkState = item->checkState(0);
    QRect check = tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree);
    QRect text = tree->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, tree);
    TapWidget(tree->viewport(), bOnCheckBox ? check.center() : QPoint(text.left() + 4, text.center().y()));
    return true;
}

void CTestDriver::PressSoftKey(int nKey)
{
    CDeviceScreen::Impl* s = ImplOf(CDeviceScreen::Get());
    if (nKey >= 0 && nKey < 2 && s->m_pKeys[nKey]->isEnabled())
        s->m_pKeys[nKey]->click();
}

bool CTestDriver::ChooseMenuItem(UINT nCommand)
{
    CDialog* pDlg = GetActiveDialog();
    const MENUBARTEMPLATE* bar = pDlg ? CResources::FindMenuBar(pDlg->m_nMenuBarID) : nullptr;
    const MENUTEMPLATE* menu = bar ? CResources::FindMenu(bar->nMenuID) : nullptr;
    if (!menu)
        return false;
    for (int k = 0; k < bar->nButtons; ++k) {
        int popup = bar->buttons[k].nPopup;
        if (popup < 0 || popup >= menu->nPopups)
            continue;
        for (int i = 0; i < menu->pPopups[popup].nItems; ++i) {
            if (menu->pPopups[popup].pItems[i].nCommand == nCommand) {
                ImplOf(CDeviceScreen::Get())->RunCommand(nCommand);
                return true;
            }
        }
    }
    return false;
}

namespace {

QMenu* OpenMenu()
{
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

}

bool CTestDriver::GetOpenMenu(std::vector<std::wstring>* pItems, RECT* pRect)
{
    QMenu* menu = OpenMenu();
    if (!menu)
        return false;
    if (pItems) {
        pItems->clear();
        for (QAction* action : menu->actions())
            pItems->push_back(action->isSeparator() ? std::wstring() : FromQString(action->text()));
    }
    if (pRect)
        *pRect = ScreenRect(menu);
    return true;
}

bool CTestDriver::GetOpenDropDown(std::vector<std::wstring>* pItems, RECT* pRect)
{
    QComboBox* combo = OpenDropDown();
    if (!combo)
        return false;
    if (pItems) {
        pItems->clear();
        for (int i = 0; i < combo->count(); ++i)
            pItems->push_back(FromQString(combo->itemText(i)));
    }
    if (pRect)
        *pRect = ScreenRect(combo->view()->window());
    return true;
}

void CTestDriver::CloseDropDown()
{
    if (QComboBox* combo = OpenDropDown())
        combo->hidePopup();
    QCoreApplication::processEvents();
}

bool CTestDriver::GetOpenMenuItemRect(const std::wstring& strText, RECT* pRect)
{
    QMenu* menu = OpenMenu();
    if (!menu || !pRect)
        return false;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || FromQString(action->text()) != strText)
            continue;
        const QRect item = menu->actionGeometry(action);
        QWidget* screen = ImplOf(CDeviceScreen::Get())->m_pScreen;
        const QPoint topLeft = screen->mapFromGlobal(menu->mapToGlobal(item.topLeft()));
        *pRect = RECT{topLeft.x(), topLeft.y(), topLeft.x() + item.width(), topLeft.y() + item.height()};
        return true;
    }
    return false;
}

bool CTestDriver::TapOpenMenuItem(const std::wstring& strText)
{
    QMenu* menu = OpenMenu();
    if (!menu)
        return false;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && FromQString(action->text()) == strText) {
            action->trigger();
            menu->close();
            QCoreApplication::processEvents();
            return true;
        }
    }
    return false;
}

void CTestDriver::TapDoneButton()
{
    CDeviceScreen::Impl* s = ImplOf(CDeviceScreen::Get());
    if (s->m_pDone->isVisible())
        s->m_pDone->click();
}

void CTestDriver::PressKey(UINT vk)
{
    CDeviceScreen::Impl* s = ImplOf(CDeviceScreen::Get());
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    if (!QtKeyFromVirtualKey(vk, &key, &modifiers)) {
        // No key of the keyboard gives this code.
        s->DispatchKey(vk, QApplication::focusWidget());
        return;
    }
    QString text;
    if (vk == VK_SPACE || (vk >= '0' && vk <= '9'))
        text = QChar(static_cast<char16_t>(vk));
    else if (vk >= 'A' && vk <= 'Z')
        text = QChar(static_cast<char16_t>(vk - 'A' + 'a'));
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(s->DeviceWindow(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(s->DeviceWindow(), &release);
}

std::wstring CTestDriver::GetTitle()
{
    return FromQString(ImplOf(CDeviceScreen::Get())->m_pCaption->property("fullText").toString());
}

bool CTestDriver::IsDoneButtonShown()
{
    return ImplOf(CDeviceScreen::Get())->m_pDone->isVisible();
}

std::wstring CTestDriver::GetSoftKeyText(int nKey)
{
    if (nKey < 0 || nKey > 1)
        return std::wstring();
    return FromQString(ImplOf(CDeviceScreen::Get())->m_keyLabels[nKey]);
}

std::wstring CTestDriver::GetSoftKeyShownText(int nKey)
{
    if (nKey < 0 || nKey > 1)
        return std::wstring();
    return FromQString(ImplOf(CDeviceScreen::Get())->m_pKeys[nKey]->text());
}

bool CTestDriver::SaveWindowIcon(const std::wstring& strPath, int nSize)
{
    QIcon icon = ImplOf(CDeviceScreen::Get())->m_pScreen->windowIcon();
    if (icon.isNull() || icon.availableSizes().isEmpty())
        return false;
    return icon.pixmap(nSize, nSize).save(ToQString(strPath), "PNG");
}

void CTestDriver::ProcessEvents()
{
    QCoreApplication::processEvents();
}

bool CTestDriver::SaveScreenshot(const std::wstring& strPath)
{
    return GrabDevice().save(ToQString(strPath), "PNG");
}

bool CTestDriver::GrabScreen(CBitmap& shot)
{
    shot.DeleteObject();
    QImage image = GrabDevice();
    if (image.isNull())
        return false;
    ImplOf(shot)->m_image = std::move(image);
    return true;
}

bool CTestDriver::GrabWindow(CBitmap& shot)
{
    shot.DeleteObject();
    QImage image = GrabDevice();
    if (image.isNull())
        return false;
    image.setDevicePixelRatio(1.0);
    ImplOf(shot)->m_image = std::move(image);
    return true;
}

void CTestDriver::CloseWindow()
{
    QCloseEvent event;
    QCoreApplication::sendEvent(ImplOf(CDeviceScreen::Get())->m_pScreen, &event);
}

void CTestDriver::ResizeWindow(int cx, int cy)
{
    ImplOf(CDeviceScreen::Get())->m_pScreen->resize(cx, cy);
    QCoreApplication::processEvents();
}

bool CTestDriver::GrabPaintedWindow(CBitmap& shot)
{
    // Every paint asked for so far, also one asked for while a posted event
    // (this test's own step, perhaps) was being handled.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    shot.DeleteObject();
    // A raster window keeps what Qt painted in its backing store's image from
    // one paint to the next: read back, it is what the last paint left.
    QWidget* window = ImplOf(CDeviceScreen::Get())->m_pScreen;
    QBackingStore* store = window->backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return false;
    const auto* painted = static_cast<const QImage*>(device);
    const qreal ratio = painted->devicePixelRatio();
    const QSize size(qRound(window->width() * ratio), qRound(window->height() * ratio));
    if (painted->width() < size.width() || painted->height() < size.height())
        return false;
    QImage image = painted->copy(QRect(QPoint(0, 0), size)).convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    ImplOf(shot)->m_image = std::move(image);
    return true;
}

void CTestDriver::StylusInWindow(UINT nMessage, POINT pt)
{
    QWindow* window = ImplOf(CDeviceScreen::Get())->DeviceWindow();
    const QEvent::Type type = nMessage == WM_LBUTTONDOWN ? QEvent::MouseButtonPress
                              : nMessage == WM_LBUTTONUP ? QEvent::MouseButtonRelease
                                                         : QEvent::MouseMove;
    const QPointF local(pt.x, pt.y);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, window->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &event);
}

void CTestDriver::DragInWindow(POINT ptFrom, POINT ptTo, int nSteps)
{
    StylusInWindow(WM_LBUTTONDOWN, ptFrom);
    for (int i = 1; i <= nSteps; ++i)
        StylusInWindow(WM_MOUSEMOVE, POINT{ptFrom.x + (ptTo.x - ptFrom.x) * i / nSteps,
                                           ptFrom.y + (ptTo.y - ptFrom.y) * i / nSteps});
    StylusInWindow(WM_LBUTTONUP, ptTo);
    QCoreApplication::processEvents();
}

void CTestDriver::OnPainted(std::function<void(CWnd*)> fnPainted)
{
    CDriverObserver::Get().m_script.m_fnPainted = std::move(fnPainted);
    CDriverObserver::Get().Observe(false);
}

void CTestDriver::ReplaceUrlOpener(std::function<void(const std::wstring&)> fnOpener)
{
    CDriverObserver::Get().SetUrlOpener(std::move(fnOpener));
    CDriverObserver::Get().Observe(false);
}
