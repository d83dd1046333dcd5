#include "net/DlgDownload.h"

#include "model/WeatherData.h"
#include "net/Connection.h"
#include "log/LogFile.h"
#include "platform/ui/ConnMgr.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/PaintDC.h"
#include "res/Resource.h"

CDlgDownload::CDlgDownload(CWeatherData& data, CLogFile& log, CWnd* pParent)
    : CDialog(IDD_DOWNLOAD, pParent), m_data(data), m_log(log)
{
}

CDlgDownload::~CDlgDownload()
{
    for (HANDLE hEvent : {m_hEventCancel, m_hEventRequest, m_hEventStatusConnected}) {
        if (hEvent)
            CloseHandle(hEvent);
    }
}

int CDlgDownload::DoModal()
{
    int nResult = CDialog::DoModal();
    // The worker uses the dialog until it has ended it; should the run have
    // ended any other way, it is told to stop. Either way it is gone before
    // the caller can destroy the dialog.
    if (m_hThread) {
        SetEvent(m_hEventCancel);
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    if (m_bAnswerStored) {
        if (m_nKind == DOWNLOAD_SEARCH)
            m_data.LoadSearchResults();
        else if (m_nKind == DOWNLOAD_DAILY)
            m_data.LoadDailyForecast(m_strArgument);
        else
            m_data.LoadHourlyForecast(m_strArgument);
    }
    return nResult;
}

bool CDlgDownload::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    if (CWnd* pMessage = GetDlgItem(IDC_DOWNLOAD_MESSAGE))
        pMessage->SetWindowText(m_strMessage);
    // Made before anything can be tapped, so that a Cancel pressed at once is
    // kept until the worker looks.
    for (HANDLE* phEvent : {&m_hEventCancel, &m_hEventRequest, &m_hEventStatusConnected}) {
        if (*phEvent)
            ResetEvent(*phEvent);   // left from an earlier run of the same dialog
        else
            *phEvent = CreateEvent(false, false);
    }
    m_bCancelled = false;
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
        SetEvent(m_hEventCancel);
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
    SetEvent(m_hEventCancel);
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
    SetStatus(strText);
    if (dwStatus == CONNMGR_STATUS_CONNECTED)
        SetEvent(m_hEventStatusConnected);
}

void CDlgDownload::DoDownload()
{
    m_log.Printf(L"DoDownload\n");
    m_hThread = CreateThread(&CDlgDownload::s_DownloadThread, this);
    if (!m_hThread)
        EndDialog(IDCANCEL);
}

void CDlgDownload::SetStatus(const std::wstring& strText)
{
    if (CWnd* pStatus = GetDlgItem(IDC_DOWNLOAD_STATUS))
        pStatus->SetWindowText(strText);
}

void CDlgDownload::SetInternetStatus(const std::wstring& strText)
{
    if (CWnd* pStatus = GetDlgItem(IDC_DOWNLOAD_INTERNET_STATUS))
        pStatus->SetWindowText(strText);
}
