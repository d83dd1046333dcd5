#include "platform/ui/Dialog.h"

#include "platform/ui/Accessibility.h"

#include "platform/Resources.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DCImpl.h"
#include "platform/ui/FocusMark.h"
#include "platform/ui/ScreenImpl.h"
#include "platform/ui/UiObserver.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QTextEdit>

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd), m_nModalResult(-1), m_bDoneButton(false),
      m_nMenuBarID(0)
{
    EnsureApplication();
}

CDialog::~CDialog() = default;

namespace {

// Radio buttons form groups that start at a control with WS_GROUP (or at the
// first radio button after another kind of control) and run to the next such start.
void BuildRadioGroups(CDialog* pDlg, const DLGTEMPLATE& t)
{
    QButtonGroup* group = nullptr;
    for (int i = 0; i < t.nItems; ++i) {
        const DLGITEMTEMPLATE& item = t.pItems[i];
        bool radio = item.nKind == CTL_BUTTON && (item.dwStyle & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
        if (!radio) {
            if (item.dwStyle & WS_GROUP)
                group = nullptr;
            continue;
        }
        if (!group || (item.dwStyle & WS_GROUP)) {
            group = new QButtonGroup(ImplOf(pDlg)->m_pWidget);
            group->setExclusive(true);
            ImplOf(pDlg)->m_radioGroups.push_back(group);
        }
        CWnd* pCtrl = pDlg->GetDlgItem(item.nID);
        if (auto* b = qobject_cast<QAbstractButton*>(ImplOf(pCtrl)->m_pWidget.data()))
            group->addButton(b);
    }
}

// The widgets of one modal run: the dialog's own, and what the screen shows (the
// same, or the captioned frame of a pop-up around it).
struct ModalWindow
{
    HostWidget* pHost;
    QWidget* pShown;
};

// Nothing of the last run is left: not ended, no result, no done button or soft keys.
void ResetForRun(CDialog* pDlg, const DLGTEMPLATE& t)
{
    CWnd::Impl* d = ImplOf(pDlg);
    d->m_bPopup = (t.dwStyle & WS_CAPTION) == WS_CAPTION;
    d->m_bFullScreen = false;
    d->m_bEnded = false;
    d->m_strCaption = t.pszCaption ? t.pszCaption : L"";
    d->m_lastSize = SIZE{-1, -1};
    pDlg->m_nModalResult = -1;
    pDlg->m_bDoneButton = false;
    pDlg->m_nMenuBarID = 0;
}

// The dialog's widget at the template's size, inside a captioned frame when the
// template asks for a pop-up.
ModalWindow BuildWindow(CDialog* pDlg, const DLGTEMPLATE& t, QWidget* pScreen)
{
    CWnd::Impl* d = ImplOf(pDlg);
    RECT rc;
    DialogUnitsToPixels(0, 0, t.cx, t.cy, rc);
    QWidget* frame = nullptr;
    QWidget* parent = pScreen;
    if (d->m_bPopup) {
        frame = MakePopupFrame(pScreen, ToQString(d->m_strCaption), &parent);
        frame->resize(rc.right + 2, rc.bottom + POPUP_CAPTION_HEIGHT + 2);
        if (auto* title = frame->findChild<QLabel*>(QStringLiteral("popupCaption")))
            title->setGeometry(1, 1, rc.right, POPUP_CAPTION_HEIGHT);
        SetPopupCaption(frame, ToQString(d->m_strCaption));
    }
    auto* host = new HostWidget(pDlg, parent);
    if (auto* border = dynamic_cast<BorderFrame*>(frame))
        border->m_pClient = host;
    host->setObjectName(QStringLiteral("dialog"));
    SetWidgetWnd(host, pDlg);
    host->setGeometry(d->m_bPopup ? 1 : 0, d->m_bPopup ? POPUP_CAPTION_HEIGHT + 1 : 0, rc.right, rc.bottom);
    AttachWindow(pDlg, host);
    MarkDialog(frame ? frame : host, ToQString(d->m_strCaption));
    d->m_pFrame = frame;
    d->m_bOwnsWidget = true;
    d->m_pParent = pDlg->m_pParentWnd;
    return ModalWindow{host, frame ? frame : host};
}

// The template's controls. The last run's wrappers are retired, not destroyed,
// since a worker may still hold a pointer it got from GetDlgItem; the lock keeps
// a worker's lookup from seeing the table half rebuilt.
void BuildControls(CDialog* pDlg, const DLGTEMPLATE& t, QWidget* pHost)
{
    CWnd::Impl* d = ImplOf(pDlg);
    std::lock_guard<std::mutex> lock(d->m_controlsMutex);
    for (auto& control : d->m_controls)
        d->m_retiredControls.push_back(std::move(control.second));
    d->m_controls.clear();
    d->m_controlOrder.clear();
    for (int i = 0; i < t.nItems; ++i) {
        std::unique_ptr<CWnd> control = CreateTemplateControl(pDlg, pHost, t.pItems[i]);
        if (control) {
            d->m_controlOrder.push_back(t.pItems[i].nID);
            d->m_controls[t.pItems[i].nID] = std::move(control);
        }
    }
}

ModalWindow BuildModal(CDialog* pDlg, const DLGTEMPLATE& t, QWidget* pScreen)
{
    ResetForRun(pDlg, t);
    const ModalWindow window = BuildWindow(pDlg, t, pScreen);
    BuildControls(pDlg, t, window.pHost);
    BuildRadioGroups(pDlg, t);
    return window;
}

// Tells the observer, if any, once the loop below runs, and only if this run of
// the dialog is still the one on the screen by then.
void TellObserverOnceOpen(CDialog* pDlg, QWidget* pHost)
{
    if (!GetUiObserver())
        return;
    std::shared_ptr<WndToken> token = ImplOf(pDlg)->m_token;
    unsigned nLife = 0;
    GetWindowLife(pDlg, &nLife);
    QMetaObject::invokeMethod(pHost, [token, nLife]() {
        CWnd* pWnd = LiveWindow(token, nLife);
        CUiObserver* pObserver = GetUiObserver();
        if (pWnd && pObserver)
            pObserver->DialogOpened(static_cast<CDialog*>(pWnd));
    }, Qt::QueuedConnection);
}

// Whether Tab reaches the control.
bool TakesTab(QWidget* w)
{
    return w && w->isEnabled() && !w->isHidden() && (w->focusPolicy() & Qt::TabFocus);
}

// Whether the user can type into or move within the control with the keys: not
// a label, not a button or drop-down (which Tab reaches, but which a key
// pressed on opening would set off), not a text that cannot be changed.
bool TakesInput(QWidget* w)
{
    if (!TakesTab(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w))
        return false;
    if (auto* line = qobject_cast<QLineEdit*>(w))
        return !line->isReadOnly();
    if (auto* plain = qobject_cast<QTextEdit*>(w))
        return !plain->isReadOnly();
    return true;
}

// The focus goes where the user's first key belongs: the first control of the
// template that takes input, else the first that Tab reaches, so that Tab,
// Space and the arrows work from the start. Without it, what the user types on
// opening a dialog is lost until they tap the field.
void FocusFirstInputControl(CDialog* pDlg)
{
    CWnd::Impl* d = ImplOf(pDlg);
    for (bool (*fnTakes)(QWidget*) : {&TakesInput, &TakesTab}) {
        for (UINT nID : d->m_controlOrder) {
            CWnd* pControl = pDlg->GetDlgItem(nID);
            QWidget* w = pControl ? ImplOf(pControl)->m_pWidget.data() : nullptr;
            if (fnTakes(w)) {
                w->setFocus(Qt::OtherFocusReason);
                return;
            }
        }
    }
}

// Initialises the dialog on the screen and runs its loop until EndDialog, which
// may already have come from OnInitDialog. A dialog whose initialisation answers
// false has placed the focus itself.
void RunModal(CDialog* pDlg, CDeviceScreen::Impl* s, QWidget* pHost)
{
    DispatchSize(pDlg);
    if (pDlg->OnInitDialog() && !ImplOf(pDlg)->m_bEnded)
        FocusFirstInputControl(pDlg);
    s->UpdateBars();
    TellObserverOnceOpen(pDlg, pHost);
    if (!ImplOf(pDlg)->m_bEnded) {
        QEventLoop loop;
        ImplOf(pDlg)->m_pLoop = &loop;
        loop.exec();
        ImplOf(pDlg)->m_pLoop = nullptr;
    }
}

// After the run, with the dialog off the screen: its widgets go, the wrappers of
// its controls stay (see BuildControls).
void TearDownModal(CDialog* pDlg, const ModalWindow& window)
{
    CWnd::Impl* d = ImplOf(pDlg);
    // Whether the stylus is captured by the dialog or one of its controls can
    // only be told while their widgets stand.
    if (CWnd* pCapture = CWnd::GetCapture()) {
        QWidget* w = ImplOf(pCapture)->m_pWidget;
        if (!w || w == window.pHost || window.pHost->isAncestorOf(w))
            CWnd::ReleaseCapture();
    }
    // The widget stops speaking for the dialog before it goes, so that nothing
    // its destruction sets off (a paint, a size, the stylus) reaches the
    // dialog's handlers.
    window.pHost->m_pWnd = nullptr;
    // The groups are children of the dialog's widget: deleted after it, they
    // would be deleted twice.
    for (QButtonGroup* group : d->m_radioGroups)
        delete group;
    d->m_radioGroups.clear();
    delete window.pShown;
    d->m_pWidget = nullptr;
    d->m_pFrame = nullptr;
    d->m_bOwnsWidget = false;
    d->m_bEnded = false;
}

}

int CDialog::DoModal()
{
    EnsureApplication();
    const DLGTEMPLATE* t = CResources::FindDialog(m_nIDTemplate);
    if (!t || ImplOf(this)->m_pWidget || !OnUiThread())
        return -1;
    CDeviceScreen::Impl* s = ImplOf(CDeviceScreen::Get());
    FocusMark::Install();
    const QPointer<QWidget> pFocus = s->m_pScreen->focusWidget();
    const ModalWindow window = BuildModal(this, *t, s->m_pScreen);
    {
        ScreenLayerGuard onScreen(s, ScreenLayer{this, window.pShown, ToQString(ImplOf(this)->m_strCaption), true,
                                                 nullptr, nullptr});
        RunModal(this, s, window.pHost);
        // The run is over: from here on whatever a worker queues for the
        // dialog, or had queued, is dropped, and a worker asking whether it
        // exists hears that it does not, so nothing of a worker's reaches it
        // while it leaves the screen and its widgets go.
        EndWindowLife(this);
    }
    // The layer is popped while its frame still exists: the screen finds it by
    // its frame.
    TearDownModal(this, window);
    ReturnFocus(pFocus);
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    RunForWindow(this, [nResult](CWnd* p) {
        auto* pDlg = static_cast<CDialog*>(p);
        if (ImplOf(pDlg)->m_bEnded || !ImplOf(pDlg)->m_pWidget)
            return;   // the first end counts
        pDlg->m_nModalResult = nResult;
        ImplOf(pDlg)->m_bEnded = true;
        // Whatever is still queued for the dialog or its controls is dropped.
        EndWindowLife(pDlg);
        if (ImplOf(pDlg)->m_pLoop)
            ImplOf(pDlg)->m_pLoop->exit(nResult);
    });
}

bool CDialog::UpdateData(bool bSaveAndValidate)
{
    if (bSaveAndValidate && !OnUiThread()) {
        // Reading the controls needs the user-interface thread; the members stay.
        qWarning("UpdateData(true) called from a worker thread: nothing is read");
        return false;
    }
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

bool CDialog::OnInitDialog()
{
    if (!ImplOf(this)->m_bPopup)
        SHInitDialog(SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU);
    UpdateData(false);
    return true;
}

bool CDialog::SHInitDialog(DWORD dwFlags)
{
    if (!ImplOf(this)->m_pWidget)
        return false;
    m_bDoneButton = (dwFlags & SHIDIF_DONEBUTTON) != 0;
    if (dwFlags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIZEDLG | SHIDIF_FULLSCREENNOMENUBAR)) {
        ImplOf(this)->m_bFullScreen = true;
        CDeviceScreen::Impl* s = ImplOf(CDeviceScreen::Get());
        for (const ScreenLayer& layer : s->m_layers)
            if (layer.m_pDialog == this)
                s->PlaceLayer(layer);
    }
    ImplOf(CDeviceScreen::Get())->UpdateBars();
    return true;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::OnClose()
{
    OnCancel();
}

bool CDialog::OnCommand(UINT nID, UINT nNotifyCode)
{
    if (nNotifyCode != BN_CLICKED)
        return false;
    if (nID == static_cast<UINT>(IDOK)) {
        OnOK();
        return true;
    }
    if (nID == static_cast<UINT>(IDCANCEL)) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::PreTranslateMessage(MSG* pMsg)
{
    // Qt moves within a group only in the window the desktop has focused,
    // which the screen never is while it is shown enlarged.
    const UINT vk = static_cast<UINT>(pMsg->wParam);
    if (pMsg->message != WM_KEYDOWN || (vk != VK_LEFT && vk != VK_RIGHT && vk != VK_UP && vk != VK_DOWN))
        return CWnd::PreTranslateMessage(pMsg);
    auto* button = qobject_cast<QAbstractButton*>(ImplOf(CDeviceScreen::Get())->m_pScreen->focusWidget());
    QButtonGroup* group = button ? button->group() : nullptr;
    if (!group)
        return CWnd::PreTranslateMessage(pMsg);
    // In the template's order, round from either end, past what is disabled.
    const QList<QAbstractButton*> buttons = group->buttons();
    const int n = static_cast<int>(buttons.size());
    const int step = vk == VK_LEFT || vk == VK_UP ? n - 1 : 1;
    int i = static_cast<int>(buttons.indexOf(button));
    for (int k = 1; k < n; ++k) {
        QAbstractButton* next = buttons[(i + k * step) % n];
        if (!next->isEnabled() || next->isHidden())
            continue;
        next->setFocus(Qt::TabFocusReason);
        if (next->isCheckable() && !next->isChecked())
            next->click();
        return true;
    }
    return true;
}

void CDialog::OnDrawItem(int, DRAWITEMSTRUCT* pDrawItem)
{
    // The framework's plain face for owner-drawn items nobody draws.
    if (!pDrawItem || !pDrawItem->pDC)
        return;
    const RECT& rc = pDrawItem->rcItem;
    COLORREF face = (pDrawItem->itemState & ODS_SELECTED) ? RGB(160, 160, 160) : RGB(212, 208, 200);
    pDrawItem->pDC->FillSolidRect(rc, face);
}
