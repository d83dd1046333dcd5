#pragma once

#include "net/StatusTexts.h"
#include "platform/Internet.h"
#include "platform/Kernel.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ProgressCtrl.h"

#include <atomic>
#include <string>

class CConnection;
class CDownloadFile;
class CLogFile;
class CWeatherData;

// Performs one download request (a search, a daily or an hour-by-hour forecast)
// while showing its progress, and ends itself with 1 when the answer was stored
// and read back into the store, 2 otherwise.
//
// Use: construct, set m_strTitle, m_strMessage, m_nKind and m_strArgument, then
// DoModal. The first paint starts a worker thread that connects, receives the
// answer into the request's file, has the store read it and ends the dialog;
// only the worker ends it (Enter does nothing, Escape is the Cancel button).
// The answer replaces the previous file only when it came whole: HTTP status
// 200, every byte the server announced, not cancelled, and a document the
// store can read. Anything else ends with 2 and leaves the file and the store
// as they were.
class CDlgDownload : public CDialog
{
public:
    // The answer is read into the data object's store; every step is traced in the log.
    CDlgDownload(CWeatherData& data, CLogFile& log, CWnd* pParent = nullptr);
    ~CDlgDownload() override;

    // The modal run; returns once the worker has ended the dialog and is gone.
    int DoModal() override;

    // The dialog, on the user-interface thread.
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

    // The worker (DlgDownloadTransfer.cpp).
    static DWORD s_DownloadThread(void* pParam);
    void RunDownload();
    // Opens the HTTP layer over the connection, transfers the request's answer,
    // commits it to its file and loads it into the store; true when all of it worked.
    bool DownloadOver(const CConnection& connection);
    // Receives the URL's answer into the file's temporary file; true when it
    // came whole. The target itself is not touched.
    bool TransferUrl(HINTERNET hOpen, const std::wstring& strURL, CDownloadFile& file);
    bool ReceiveAnswer(CDownloadFile& file, char* pBuffer, DWORD cbBuffer);
    void ReadBlock(INTERNET_BUFFERSA& ib, bool bFirst);
    void CloseRequest();
    // Waits for the request event or the cancel event; false for cancel.
    bool WaitForRequest();
    // Waits until the request-complete notice has come; false when cancelled first.
    bool WaitForCompletion();
    bool CancelPending();
    static void OnInternetStatus(HINTERNET hInternet, DWORD_PTR dwContext, DWORD dwInternetStatus,
                                 void* lpvStatusInformation, DWORD dwStatusInformationLength);

    // Status line 1008 and the HTTP layer's line 1009, from any thread.
    void SetStatus(const std::wstring& strText);
    void SetInternetStatus(const std::wstring& strText);

    CWeatherData& m_data;
    CLogFile& m_log;
    std::wstring m_strTitle;      // set by the caller
    CProgressCtrl m_progress;     // bytes received
    int m_nKind = 0;              // DOWNLOAD_SEARCH, DOWNLOAD_DAILY or DOWNLOAD_HOURLY
    std::wstring m_strArgument;   // search text or station ID
    std::wstring m_strMessage;    // drawn at the top of the dialog
    bool m_bStartPending = false;
    // Written by the HTTP layer's callback thread, read by the worker.
    std::atomic<bool> m_bRequestComplete{false};
    std::atomic<bool> m_bRequestSucceeded{false};   // the request-complete notice's result
    std::atomic<DWORD> m_dwRequestError{0};         // and its error
    bool m_bReadOk = false;
    bool m_bCancelled = false;    // the worker has taken the cancel event
    // Set by the worker once the answer has replaced the target file; the store
    // reads it on the user-interface thread after the worker has ended, because
    // the windows underneath may compose the chart from the store meanwhile (the
    // screen can be resized while this dialog is up).
    std::atomic<bool> m_bAnswerStored{false};
    // Created before the worker starts and closed when the dialog goes, so that
    // every thread that sets them finds them.
    HANDLE m_hEventCancel = nullptr;            // Cancel, Escape, or the server closed the connection
    HANDLE m_hEventRequest = nullptr;           // handle created, handle closing, request complete
    HANDLE m_hEventStatusConnected = nullptr;   // the connection is up
    std::atomic<HINTERNET> m_hHttpFile{nullptr};
    HANDLE m_hThread = nullptr;   // the worker; the user-interface thread's alone
};
