#pragma once

#include "net/DownloadFile.h"
#include "net/DownloadOutcome.h"
#include "platform/Internet.h"
#include "platform/Kernel.h"

#include <atomic>
#include <cstdint>
#include <string>

class CConnection;
class CDownloadProgress;
class CLogFile;
class CWnd;

// One download on a worker thread of its own: it connects, opens the HTTP
// layer, receives the answer into a temporary file beside the target (and in
// memory, for the one parse that follows), and reports what it does through
// the progress it is given. The answer is not committed here: the job ends
// with it whole in m_file and m_strBody, or with the reason it failed.
//
// Use, on the user-interface thread: set the request, Start, pass on the
// connection statuses the window receives (OnConnectionStatus), Cancel at
// will; once the progress has been told Finished, Join and read the outcome.
class CDownloadJob
{
public:
    // How long and how slowly a transfer may go on before it is stopped. A
    // forecast is about 20 kB and a search answer far less, so a link of
    // 1 kB/s brings either in well within both; a server that sends a byte
    // now and then or never stops sending is stopped all the same.
    static constexpr DWORD TOTAL_DEADLINE_MS = 120000;   // from the request to the answer's last byte
    static constexpr DWORD RATE_WINDOW_MS = 30000;       // the rate is measured over each such period
    static constexpr uint64_t MIN_WINDOW_BYTES = 3000;   // 100 bytes/s, a tenth of the slowest link
    // The store refuses larger documents, so receiving more is pointless.
    static const uint64_t MAX_BYTES;

    CDownloadJob(CLogFile& log, CDownloadProgress& progress);
    ~CDownloadJob();   // cancels and waits for the worker
    CDownloadJob(const CDownloadJob&) = delete;
    CDownloadJob& operator=(const CDownloadJob&) = delete;

    // Starts the worker; the connection manager posts its statuses to pWnd.
    // False when no thread could be started.
    bool Start(CWnd* pWnd);
    // Ready for another run: events cleared, nothing received.
    void Reset();
    // From any thread: the transfer stops at its next wait.
    void Cancel();
    // A connection status the window has received.
    void OnConnectionStatus(DWORD dwStatus);
    // Waits for the worker, telling it to stop first if it is still running.
    void Join();

    // The request, set before Start.
    int m_nKind = 0;             // DOWNLOAD_SEARCH, DOWNLOAD_DAILY or DOWNLOAD_HOURLY
    std::wstring m_strURL;       // empty: no request can be made
    std::wstring m_strTarget;
    DWORD m_dwDeadlineMs = TOTAL_DEADLINE_MS;
    DWORD m_dwRateWindowMs = RATE_WINDOW_MS;
    uint64_t m_nMinWindowBytes = MIN_WINDOW_BYTES;
    uint64_t m_nMaxBytes;

    // Read after Join: the answer, whole, or why there is none.
    bool m_bWhole = false;
    CDownloadOutcome m_outcome;
    CDownloadFile m_file;
    std::string m_strBody;

    // Whether Start started a worker since the last Join.
    bool IsStarted() const { return m_hThread != nullptr; }

    // The transfer alone, on the caller's thread, through an open HTTP layer
    // (whose status callback must pass the notices on to OnInternetStatus).
    bool TransferUrl(HINTERNET hOpen, const std::wstring& strURL);
    // The HTTP layer's status callback; dwContext is the job.
    static void OnInternetStatus(HINTERNET hInternet, DWORD_PTR dwContext, DWORD dwInternetStatus,
                                 void* lpvStatusInformation, DWORD dwStatusInformationLength);

private:
    // The worker's steps.
    static DWORD s_DownloadThread(void* pParam);
    void Run();
    bool DownloadOver(const CConnection& connection);
    bool ReceiveAnswer(char* pBuffer, DWORD cbBuffer);
    void ReadBlock(INTERNET_BUFFERSA& ib, bool bFirst);
    void CloseRequest();
    // Waits for the request event; false when cancelled, cut or stopped by a limit first.
    bool WaitForRequest();
    // Waits until the request-complete notice has come; false when stopped first.
    bool WaitForCompletion();
    // Whether the transfer is to stop now: cancelled, cut, or past a limit.
    bool StopPending();
    CDownloadOutcome::Reason CancelReason() const;
    bool Fail(CDownloadOutcome::Reason nReason, long nStatus = 0);

    CLogFile& m_log;
    CDownloadProgress& m_progress;
    // Created with the job, so that every thread that sets them finds them.
    HANDLE m_hEventCancel = nullptr;            // Cancel, or the server closed the connection
    HANDLE m_hEventRequest = nullptr;           // handle created, handle closing, request complete
    HANDLE m_hEventStatusConnected = nullptr;   // the connection is up
    HANDLE m_hThread = nullptr;                 // the user-interface thread's alone
    CWnd* m_pWnd = nullptr;                     // where the connection's statuses go
    std::atomic<bool> m_bCancelAsked{false};    // the user's Cancel, not the server's closing
    // Written by the HTTP layer's callback thread, read by the worker after its waits.
    std::atomic<bool> m_bRequestComplete{false};
    std::atomic<bool> m_bRequestSucceeded{false};   // the request-complete notice's result
    std::atomic<DWORD> m_dwRequestError{0};         // and its error
    std::atomic<bool> m_bConnectionClosed{false};   // the server ended the connection
    std::atomic<HINTERNET> m_hHttpFile{nullptr};
    // The worker's alone.
    bool m_bReadOk = false;
    bool m_bStopped = false;      // the transfer was stopped; m_outcome says why
    uint64_t m_nStart = 0;        // when the request was made (ms)
    uint64_t m_nWindowStart = 0;  // 0 until the answer's body is being received
    uint64_t m_nWindowBytes = 0;  // received when the current rate window began
    uint64_t m_nReceived = 0;
};
