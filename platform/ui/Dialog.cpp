#include "platform/ui/Dialog.h"

#include "platform/Resources.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DCImpl.h"
#include "platform/ui/ScreenImpl.h"
#include "platform/ui/UiObserver.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QPainter>

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
void BuildRadioGroups(CDialog* pDlg, const DLGTEMPLATE* t)
{
    QButtonGroup* group = nullptr;
    for (int i = 0; i < t->nItems; ++i) {
        const DLGITEMTEMPLATE& item = t->pItems[i];
        bool radio = item.nKind == CTL_BUTTON && (item.dwStyle & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
        if (!radio) {
            if (item.dwStyle & WS_GROUP)
                group = nullptr;
            continue;
        }
        if (!group || (item.dwStyle & WS_GROUP)) {
            group = new QButtonGroup(pDlg->m_pImpl->m_pWidget);
            group->setExclusive(true);
            pDlg->m_pImpl->m_radioGroups.push_back(group);
        }
        CWnd* pCtrl = pDlg->GetDlgItem(item.nID);
        if (auto* b = qobject_cast<QAbstractButton*>(pCtrl->m_pImpl->m_pWidget.data()))
            group->addButton(b);
    }
}

}

int CDialog::DoModal()
{
    EnsureApplication();
    const DLGTEMPLATE* t = CResources::FindDialog(m_nIDTemplate);
    if (!t || m_pImpl->m_pWidget || !OnUiThread())
        return -1;
    CDeviceScreen& screen = CDeviceScreen::Get();
    CDeviceScreen::Impl* s = screen.m_pImpl;

    m_pImpl->m_bPopup = (t->dwStyle & WS_CAPTION) == WS_CAPTION;
    m_pImpl->m_bFullScreen = false;
    m_pImpl->m_bEnded = false;
    m_pImpl->m_strCaption = t->pszCaption ? t->pszCaption : L"";
    m_pImpl->m_lastSize = SIZE{-1, -1};
    m_nModalResult = -1;
    m_bDoneButton = false;
    m_nMenuBarID = 0;

    RECT rc;
    DialogUnitsToPixels(0, 0, t->cx, t->cy, rc);
    QWidget* frame = nullptr;
    QWidget* parent = s->m_pScreen;
    if (m_pImpl->m_bPopup) {
        frame = MakePopupFrame(s->m_pScreen, ToQString(m_pImpl->m_strCaption), &parent);
        frame->resize(rc.right + 2, rc.bottom + POPUP_CAPTION_HEIGHT + 2);
        if (auto* title = frame->findChild<QLabel*>(QStringLiteral("popupCaption")))
            title->setGeometry(1, 1, rc.right, POPUP_CAPTION_HEIGHT);
        SetPopupCaption(frame, ToQString(m_pImpl->m_strCaption));
    }
    auto* host = new HostWidget(this, parent);
    if (auto* border = dynamic_cast<BorderFrame*>(frame))
        border->m_pClient = host;
    host->setObjectName(QStringLiteral("dialog"));
    SetWidgetWnd(host, this);
    host->setGeometry(m_pImpl->m_bPopup ? 1 : 0, m_pImpl->m_bPopup ? POPUP_CAPTION_HEIGHT + 1 : 0, rc.right, rc.bottom);
    AttachWindow(this, host);
    m_pImpl->m_pFrame = frame;
    m_pImpl->m_bOwnsWidget = true;
    m_pImpl->m_pParent = m_pParentWnd;
    {
        std::lock_guard<std::mutex> lock(m_pImpl->m_controlsMutex);
        for (auto& control : m_pImpl->m_controls)
            m_pImpl->m_retiredControls.push_back(std::move(control.second));
        m_pImpl->m_controls.clear();
        m_pImpl->m_controlOrder.clear();
        for (int i = 0; i < t->nItems; ++i) {
            std::unique_ptr<CWnd> control = CreateTemplateControl(this, host, t->pItems[i]);
            if (control) {
                m_pImpl->m_controlOrder.push_back(t->pItems[i].nID);
                m_pImpl->m_controls[t->pItems[i].nID] = std::move(control);
            }
        }
    }
    BuildRadioGroups(this, t);

    QWidget* shown = frame ? frame : host;
    s->PushLayer(ScreenLayer{this, shown, ToQString(m_pImpl->m_strCaption), true, nullptr, nullptr});
    DispatchSize(this);
    OnInitDialog();
    s->UpdateBars();
    if (GetUiObserver()) {
        std::shared_ptr<WndToken> token = m_pImpl->m_token;
        unsigned nLife = 0;
        GetWindowLife(this, &nLife);
        QMetaObject::invokeMethod(host, [token, nLife]() {
            CWnd* pWnd = LiveWindow(token, nLife);
            CUiObserver* pObserver = GetUiObserver();
            if (pWnd && pObserver)
                pObserver->DialogOpened(static_cast<CDialog*>(pWnd));
        }, Qt::QueuedConnection);
    }
    if (!m_pImpl->m_bEnded) {
        QEventLoop loop;
        m_pImpl->m_pLoop = &loop;
        loop.exec();
        m_pImpl->m_pLoop = nullptr;
    }

    EndWindowLife(this);
    s->PopLayer(shown);
    if (CWnd* pCapture = GetCapture()) {
        QWidget* w = pCapture->m_pImpl->m_pWidget;
        if (!w || w == host || host->isAncestorOf(w))
            ReleaseCapture();
    }
    host->m_pWnd = nullptr;
    for (QButtonGroup* group : m_pImpl->m_radioGroups)
        delete group;
    m_pImpl->m_radioGroups.clear();
    delete shown;
    m_pImpl->m_pWidget = nullptr;
    m_pImpl->m_pFrame = nullptr;
    m_pImpl->m_bOwnsWidget = false;
    m_pImpl->m_bEnded = false;
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    RunForWindow(this, [nResult](CWnd* p) {
        auto* pDlg = static_cast<CDialog*>(p);
        if (pDlg->m_pImpl->m_bEnded || !pDlg->m_pImpl->m_pWidget)
            return;   // the first end counts
        pDlg->m_nModalResult = nResult;
        pDlg->m_pImpl->m_bEnded = true;
        // Whatever is still queued for the dialog or its controls is dropped.
        EndWindowLife(pDlg);
        if (pDlg->m_pImpl->m_pLoop)
            pDlg->m_pImpl->m_pLoop->exit(nResult);
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
    if (!m_pImpl->m_bPopup)
        SHInitDialog(SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU);
    UpdateData(false);
    return true;
}

bool CDialog::SHInitDialog(DWORD dwFlags)
{
    if (!m_pImpl->m_pWidget)
        return false;
    m_bDoneButton = (dwFlags & SHIDIF_DONEBUTTON) != 0;
    if (dwFlags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIZEDLG | SHIDIF_FULLSCREENNOMENUBAR)) {
        m_pImpl->m_bFullScreen = true;
        CDeviceScreen::Impl* s = CDeviceScreen::Get().m_pImpl;
        for (const ScreenLayer& layer : s->m_layers)
            if (layer.m_pDialog == this)
                s->PlaceLayer(layer);
    }
    CDeviceScreen::Get().m_pImpl->UpdateBars();
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

void CDialog::OnDrawItem(int, DRAWITEMSTRUCT* pDrawItem)
{
    // The framework's plain face for owner-drawn items nobody draws.
    if (!pDrawItem || !pDrawItem->pDC)
        return;
    const RECT& rc = pDrawItem->rcItem;
    COLORREF face = (pDrawItem->itemState & ODS_SELECTED) ? RGB(160, 160, 160) : RGB(212, 208, 200);
    pDrawItem->pDC->FillSolidRect(rc, face);
}
