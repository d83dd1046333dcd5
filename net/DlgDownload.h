#pragma once

#include "net/DownloadJob.h"
#include "net/DownloadOutcome.h"
#include "net/DownloadProgress.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ProgressCtrl.h"

#include <string>

class CLogFile;
class CWeatherData;

// Performs one download request (a search, a daily or an hour-by-hour forecast)
// while showing its progress, and ends with 1 when the answer was stored and
// read into the store, 2 otherwise (m_outcome says why).
//
// Use: construct, set m_strTitle, m_strMessage, m_nKind and m_strArgument, then
// DoModal. The first paint starts the download job, which reports here; once
// it has ended the dialog, the answer is committed (CDownloadAnswer). Only the
// job ends the dialog (Enter does nothing, Escape is the Cancel button).
class CDlgDownload : public CDialog, public CDownloadProgress
{
public:
    // The answer is read into the data object's store; every step is traced in the log.
    CDlgDownload(CWeatherData& data, CLogFile& log, CWnd* pParent = nullptr);

    // The modal run; returns once the job has ended and its answer is committed.
    int DoModal() override;

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;
    bool OnCommand(UINT nID, UINT nNotifyCode) override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnConnMgrStatus(DWORD dwStatus);
    void DoDownload();

    // What the job shows, from its threads.
    void ShowStatus(const std::wstring& strText) override;
    void ShowInternetStatus(const std::wstring& strText) override;
    void ShowRange(int nUpper) override;
    void ShowPosition(int nPos) override;
    void Finished() override;

    CWeatherData& m_data;
    CLogFile& m_log;
    std::wstring m_strTitle;      // set by the caller
    CProgressCtrl m_progress;     // bytes received
    int m_nKind = 0;              // DOWNLOAD_SEARCH, DOWNLOAD_DAILY or DOWNLOAD_HOURLY
    std::wstring m_strArgument;   // search text or station ID
    std::wstring m_strMessage;    // drawn at the top of the dialog
    bool m_bStartPending = false;
    CDownloadJob m_job;
    CDownloadOutcome m_outcome;   // after DoModal: stored, cancelled, or why it failed
};
