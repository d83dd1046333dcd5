#include "net/DlgDownload.h"

#include "model/WeatherData.h"
#include "net/Connection.h"
#include "net/DownloadAnswer.h"
#include "log/LogFile.h"
#include "platform/Translate.h"
#include "platform/ui/ConnMgr.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/PaintDC.h"
#include "res/Resource.h"

#include <utility>

CDlgDownload::CDlgDownload(CWeatherData& data, CLogFile& log, CWnd* pParent)
    : CDialog(IDD_DOWNLOAD, pParent), m_data(data), m_log(log), m_job(log, *this)
{
}

int CDlgDownload::DoModal()
{
    m_outcome = CDownloadOutcome();
    CDialog::DoModal();
    // The job uses the dialog until it has ended it; should the run have ended
    // any other way, it is told to stop. Either way it is gone before the
    // answer is committed and before the caller can destroy the dialog.
    bool bRan = m_job.IsStarted();
    m_job.Join();
    if (bRan) {
        m_outcome = m_job.m_bWhole ? CDownloadAnswer::Commit(m_data, m_log, m_nKind, m_job.m_file,
                                                             std::move(m_job.m_strBody))
                                   : m_job.m_outcome;
    }
    return m_outcome.IsStored() ? IDOK : IDCANCEL;
}

bool CDlgDownload::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    if (CWnd* pMessage = GetDlgItem(IDC_DOWNLOAD_MESSAGE))
        pMessage->SetWindowText(m_strMessage);
    // The job's events were made with it, so that a Cancel pressed at once is
    // kept until the worker looks; what an earlier run left is cleared.
    m_job.Reset();
    m_bStartPending = true;
    return true;
}

void CDlgDownload::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_DOWNLOAD_PROGRESS, m_progress);
}

void CDlgDownload::OnPaint()
{
    CPaintDC dc(this);
    RECT rc = {};
    if (CWnd* pMessage = GetDlgItem(IDC_DOWNLOAD_MESSAGE))
        pMessage->GetWindowRect(&rc);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(m_strMessage, &rc, DT_LEFT | DT_TOP | DT_WORDBREAK);
    if (m_bStartPending) {
        m_bStartPending = false;
        // After this paint: the dialog is on the screen before anything starts.
        RunAfterPaint([this]() { DoDownload(); });
    }
}

void CDlgDownload::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    // Each keeps its place and takes the new width.
    auto place = [](CWnd* pCtrl, int nWidth, int nHeight) {
        if (!pCtrl)
            return;
        RECT rc;
        pCtrl->GetWindowRect(&rc);
        pCtrl->MoveWindow(rc.left, rc.top, nWidth, nHeight);
    };
    place(GetDlgItem(IDC_DOWNLOAD_PROGRESS), cx - 20, 20);
    place(GetDlgItem(IDC_DOWNLOAD_STATUS), cx - 10, 16);
    place(GetDlgItem(IDC_DOWNLOAD_INTERNET_STATUS), cx - 10, 16);
    if (CWnd* pMessage = GetDlgItem(IDC_DOWNLOAD_MESSAGE)) {
        RECT rc;
        pMessage->GetWindowRect(&rc);
        pMessage->MoveWindow(8, 5, cx - 16, rc.bottom - rc.top);
    }
}

bool CDlgDownload::OnCommand(UINT nID, UINT nNotifyCode)
{
    if (nID == IDC_DOWNLOAD_CANCEL && nNotifyCode == BN_CLICKED) {
        // The worker sees it at its next wait and ends the dialog itself.
        m_job.Cancel();
        return true;
    }
    return CDialog::OnCommand(nID, nNotifyCode);
}

// Enter would end the dialog under its worker: it does nothing here.
void CDlgDownload::OnOK()
{
}

// Escape asks the worker to stop, as the Cancel button does.
void CDlgDownload::OnCancel()
{
    m_job.Cancel();
}

LRESULT CDlgDownload::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CONNMGR_STATUS) {
        OnConnMgrStatus(static_cast<DWORD>(wParam));
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CDlgDownload::OnConnMgrStatus(DWORD dwStatus)
{
    std::wstring strText = ConnMgrStatusText(dwStatus);
    m_log.Printf(L"Status = %s\n", strText.c_str());
    ShowStatus(Tr(strText.c_str()));
    m_job.OnConnectionStatus(dwStatus);
}

void CDlgDownload::DoDownload()
{
    m_log.Printf(L"DoDownload\n");
    m_data.BuildRequest(m_nKind, m_strArgument, m_job.m_strURL, m_job.m_strTarget);
    m_job.m_nKind = m_nKind;
    if (!m_job.Start(this))
        EndDialog(IDCANCEL);
}

void CDlgDownload::ShowStatus(const std::wstring& strText)
{
    if (CWnd* pStatus = GetDlgItem(IDC_DOWNLOAD_STATUS))
        pStatus->SetWindowText(strText);
}

void CDlgDownload::ShowInternetStatus(const std::wstring& strText)
{
    if (CWnd* pStatus = GetDlgItem(IDC_DOWNLOAD_INTERNET_STATUS))
        pStatus->SetWindowText(strText);
}

void CDlgDownload::ShowRange(int nUpper)
{
    m_progress.SetRange32(0, nUpper);
}

void CDlgDownload::ShowPosition(int nPos)
{
    m_progress.SetPos(nPos);
}

void CDlgDownload::Finished()
{
    EndDialog(IDOK);
}
