// The download's worker: connection, HTTP transfer, the answer received into
// its temporary file. Everything here runs on the worker thread, except the
// control calls of the user-interface thread (Start, Cancel, Join, the
// connection statuses) and OnInternetStatus, which the HTTP layer calls on its
// own thread.

#include "net/DownloadJob.h"

#include "log/LogFile.h"
#include "model/WeatherData.h"
#include "net/Connection.h"
#include "net/DownloadProgress.h"
#include "platform/DebugOutput.h"
#include "platform/Translate.h"
#include "platform/WideFormat.h"
#include "platform/ui/ConnMgr.h"
#include "store/XmlFile.h"

#include <algorithm>
#include <chrono>
#include <cwchar>

namespace {

// The body is received in blocks of this size, and the progress bar moves once per block.
const DWORD RECEIVE_BLOCK = 1024;
// How often a wait looks at the clock, for the deadline and the rate.
const DWORD LIMIT_CHECK_MS = 250;

uint64_t NowMs()
{
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

// A header of the answer as text, read into 64 bytes as the platform's callers
// do; false when the answer has no such header.
bool QueryHeader(HINTERNET hRequest, DWORD dwInfoLevel, std::wstring& strValue)
{
    wchar_t buffer[64 / sizeof(wchar_t)] = {};
    DWORD cb = sizeof buffer;
    if (!HttpQueryInfoW(hRequest, dwInfoLevel, buffer, &cb, nullptr))
        return false;
    strValue.assign(buffer, cb / sizeof(wchar_t));
    return true;
}

// Kilobytes as the status line shows them, in single precision: with the
// user's decimal separator on the screen, with a point in the log.
std::wstring FormatKb(const wchar_t* pszFormat, uint64_t nBytes, bool bForUser)
{
    const double dKb = static_cast<float>(nBytes) * (1.0f / 1024);
    return bForUser ? CWideFormat::FormatForUser(pszFormat, dKb) : CWideFormat::Format(pszFormat, dKb);
}

int ProgressValue(uint64_t nBytes)
{
    // The bar's range is unsigned 32-bit, passed through int unchanged.
    return static_cast<int>(static_cast<DWORD>(nBytes > UINT32_MAX ? UINT32_MAX : nBytes));
}

void ReportCloseError(CLogFile& log, const wchar_t* pszFormat)
{
    std::wstring strText = CWideFormat::Format(pszFormat, L"CloseHandle Error", GetLastError());
    OutputDebugStringW(strText.c_str());
    log.Printf(L"%s", strText.c_str());
}

// Why a request or a read that the layer failed did not bring the answer.
CDownloadOutcome::Reason ReasonOfError(DWORD dwError, bool bReceiving)
{
    if (dwError == ERROR_INTERNET_TIMEOUT)
        return CDownloadOutcome::TIMED_OUT;
    return bReceiving ? CDownloadOutcome::CUT_SHORT : CDownloadOutcome::UNREACHABLE;
}

} // namespace

const uint64_t CDownloadJob::MAX_BYTES = CXmlFile::MAX_BYTES;

CDownloadJob::CDownloadJob(CLogFile& log, CDownloadProgress& progress)
    : m_nMaxBytes(MAX_BYTES), m_file(L""), m_log(log), m_progress(progress)
{
    m_hEventCancel = CreateEvent(false, false);
    m_hEventRequest = CreateEvent(false, false);
    m_hEventStatusConnected = CreateEvent(false, false);
}

CDownloadJob::~CDownloadJob()
{
    Join();
    for (HANDLE hEvent : {m_hEventCancel, m_hEventRequest, m_hEventStatusConnected}) {
        if (hEvent)
            CloseHandle(hEvent);
    }
}

bool CDownloadJob::Start(CWnd* pWnd)
{
    m_pWnd = pWnd;
    m_hThread = CreateThread(&CDownloadJob::s_DownloadThread, this);
    return m_hThread != nullptr;
}

void CDownloadJob::Reset()
{
    for (HANDLE hEvent : {m_hEventCancel, m_hEventRequest, m_hEventStatusConnected})
        ResetEvent(hEvent);
    m_bWhole = false;
    m_bCancelAsked = false;
    m_outcome = CDownloadOutcome();
    m_strBody.clear();
    m_file.Discard();
}

void CDownloadJob::Cancel()
{
    m_bCancelAsked = true;
    SetEvent(m_hEventCancel);
}

void CDownloadJob::OnConnectionStatus(DWORD dwStatus)
{
    if (dwStatus == CONNMGR_STATUS_CONNECTED)
        SetEvent(m_hEventStatusConnected);
}

void CDownloadJob::Join()
{
    if (!m_hThread)
        return;
    Cancel();
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
}

DWORD CDownloadJob::s_DownloadThread(void* pParam)
{
    // The log is the job's: a thread started without one has nowhere to write.
    auto* pJob = static_cast<CDownloadJob*>(pParam);
    if (pJob) {
        CLogFile& log = pJob->m_log;
        log.Printf(L"s_DownloadThread %p\n", pParam);
        log.Printf(L"BEGIN Thread\n");
        pJob->Run();
        log.Printf(L"END Thread\n");
    }
    return static_cast<DWORD>(-1);
}

void CDownloadJob::Run()
{
    m_bStopped = false;
    m_outcome = CDownloadOutcome::UNREACHABLE;
    CConnection connection(m_log);
    if (connection.Connect(m_pWnd, m_hEventStatusConnected, m_hEventCancel))
        m_bWhole = DownloadOver(connection);
    else if (m_bCancelAsked)
        m_outcome = CDownloadOutcome::CANCELLED;
    connection.Release();
    m_log.Printf(L"exit:\n");
    // The worker's last use of the progress.
    m_progress.Finished();
}

bool CDownloadJob::DownloadOver(const CConnection& connection)
{
    // Through a proxy, the connection's bypass list goes with it.
    const bool bProxy = connection.m_dwAccessType == INTERNET_OPEN_TYPE_PROXY;
    HINTERNET hOpen = InternetOpenW(L"anonymous", connection.m_dwAccessType, connection.m_strProxy.c_str(),
                                    bProxy ? connection.m_strBypass.c_str() : nullptr, INTERNET_FLAG_ASYNC);
    m_log.Printf(L"hOpen (0x%08x) = InternetOpen('anonymous', 0x%08x, %s, NULL,INTERNET_FLAG_ASYNC)\n",
                  LogAddress(hOpen), connection.m_dwAccessType, connection.m_strProxy.c_str());
    if (!hOpen)
        return false;
    m_log.Printf(L"InternetOpen OK\n");
    if (bProxy && !connection.m_strProxyUser.empty()) {
        std::wstring strUser = connection.m_strProxyUser;
        std::wstring strPassword = connection.m_strProxyPassword;
        InternetSetOptionW(hOpen, INTERNET_OPTION_PROXY_USERNAME, &strUser[0], 0);
        InternetSetOptionW(hOpen, INTERNET_OPTION_PROXY_PASSWORD, &strPassword[0], 0);
    }
    InternetSetStatusCallbackW(hOpen, &CDownloadJob::OnInternetStatus);

    bool bOk = false;
    // An unknown kind or a station ID unfit for a file name gives no request.
    if (!m_strURL.empty() && !m_strTarget.empty()) {
        m_file.m_strTarget = m_strTarget;
        bOk = TransferUrl(hOpen, m_strURL);
    }

    // After this nothing calls back into the job.
    InternetSetStatusCallbackW(hOpen, nullptr);
    m_log.Printf(L"InternetCloseHandle(hOpen (0x%08x))...\n", LogAddress(hOpen));
    if (!InternetCloseHandle(hOpen))
        ReportCloseError(m_log, L"hOpen : %s: %x");
    return bOk;
}

bool CDownloadJob::TransferUrl(HINTERNET hOpen, const std::wstring& strURL)
{
    m_bRequestComplete = false;
    m_bRequestSucceeded = false;
    m_bConnectionClosed = false;
    m_hHttpFile = nullptr;
    m_nStart = NowMs();
    m_nWindowStart = 0;
    m_nReceived = 0;
    // A set left by an earlier request (its last notices) must not pass for this one's.
    ResetEvent(m_hEventRequest);
    m_log.Printf(L"InternetOpenUrl(hOpen (0x%08x), url (%s),NULL,0,INTERNET_FLAG_RELOAD, this (0x%08x))\n",
                  LogAddress(hOpen), strURL.c_str(), LogAddress(this));
    HINTERNET hRequest = InternetOpenUrlW(hOpen, strURL.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD,
                                          reinterpret_cast<DWORD_PTR>(this));
    DWORD dwError = GetLastError();
    if (hRequest || dwError != ERROR_IO_PENDING) {
        m_log.Printf(L"Error : 0x%x\n", dwError);
        if (hRequest)
            InternetCloseHandle(hRequest);
        return false;
    }

    m_log.Printf(L"Wait for handle create...\n");
    WaitForRequest();
    // No handle yet (stopped first): the request is ended with the open handle.
    if (!m_hHttpFile)
        return false;
    // The layer may write into the buffer until the request is closed.
    char buffer[RECEIVE_BLOCK];
    bool bOk = !m_bStopped && ReceiveAnswer(buffer, sizeof buffer);
    CloseRequest();
    return bOk;
}

bool CDownloadJob::ReceiveAnswer(char* pBuffer, DWORD cbBuffer)
{
    m_log.Printf(L"Wait for request complete...\n");
    if (!WaitForCompletion())
        return false;
    if (!m_bRequestSucceeded) {
        // Refused, timed out, or no answer at all: nothing to read.
        m_log.Printf(L"Error : 0x%x\n", m_dwRequestError.load());
        return Fail(ReasonOfError(m_dwRequestError, false));
    }
    m_log.Printf(L"InternetOpenUrl OK\n");

    std::wstring strLength;
    bool bLengthKnown = QueryHeader(m_hHttpFile, HTTP_QUERY_CONTENT_LENGTH, strLength);
    uint64_t nLength = bLengthKnown ? std::wcstoull(strLength.c_str(), nullptr, 10) : 0;
    // An error page is not a forecast: only the service's answer proper is kept.
    std::wstring strStatusCode;
    QueryHeader(m_hHttpFile, HTTP_QUERY_STATUS_CODE, strStatusCode);
    if (strStatusCode != L"200") {
        m_log.Printf(L"HTTP status %s\n", strStatusCode.c_str());
        long nStatus = std::wcstol(strStatusCode.c_str(), nullptr, 10);
        // The service answers "not found" for a station it does not know.
        if (nStatus == 404 && m_nKind != DOWNLOAD_SEARCH)
            return Fail(CDownloadOutcome::UNKNOWN_STATION, nStatus);
        return Fail(CDownloadOutcome::HTTP_ERROR, nStatus);
    }

    m_progress.ShowStatus(FormatKb(Tr("Download... (%.2f Kb)").c_str(), nLength, true));
    m_log.Printf(L"%s", FormatKb(L"Download... (%.2f Kb)\n", nLength, false).c_str());
    if (nLength > m_nMaxBytes) {
        m_log.Printf(L"Larger than %llu bytes\n", static_cast<unsigned long long>(m_nMaxBytes));
        return Fail(CDownloadOutcome::TOO_LARGE);
    }
    m_progress.ShowRange(ProgressValue(nLength));
    m_progress.ShowPosition(0);

    if (!m_file.Create()) {
        m_log.Printf(L"Cannot create %s\n", m_file.m_strTarget.c_str());
        return Fail(CDownloadOutcome::NOT_SAVED);
    }
    m_strBody.clear();
    m_strBody.reserve(static_cast<size_t>(nLength));
    INTERNET_BUFFERSA ib = {};
    ib.dwStructSize = sizeof ib;
    ib.lpvBuffer = pBuffer;
    ib.dwBufferLength = cbBuffer;
    m_nWindowStart = NowMs();
    m_nWindowBytes = 0;
    ReadBlock(ib, true);
    while (m_bReadOk && ib.dwBufferLength != 0) {
        m_nReceived += ib.dwBufferLength;
        if (m_nReceived > m_nMaxBytes) {
            m_log.Printf(L"Larger than %llu bytes\n", static_cast<unsigned long long>(m_nMaxBytes));
            Fail(CDownloadOutcome::TOO_LARGE);
            break;
        }
        m_progress.ShowPosition(ProgressValue(m_nReceived));
        m_file.Write(pBuffer, ib.dwBufferLength);
        m_strBody.append(pBuffer, ib.dwBufferLength);
        // Reads that the layer answers at once never wait: look for Cancel and the limits here.
        if (StopPending())
            break;
        ib.lpvBuffer = pBuffer;
        ib.dwBufferLength = cbBuffer;
        ReadBlock(ib, false);
    }

    // Whole: the body's end was read, nobody stopped it, the server did not
    // cut the connection, and every announced byte came.
    bool bWhole = m_bReadOk && ib.dwBufferLength == 0 && !StopPending();
    if (bWhole && bLengthKnown && m_nReceived != nLength) {
        m_log.Printf(L"Received %llu of %llu bytes\n", static_cast<unsigned long long>(m_nReceived),
                      static_cast<unsigned long long>(nLength));
        bWhole = Fail(CDownloadOutcome::CUT_SHORT);
    }
    if (bWhole && !m_file.Flush()) {
        m_log.Printf(L"Cannot write %s\n", m_file.m_strTemp.c_str());
        bWhole = Fail(CDownloadOutcome::NOT_SAVED);
    }
    if (!bWhole) {
        m_file.Discard();
        m_strBody = std::string();
        return false;
    }
    m_log.Printf(L"%s", FormatKb(L"Done (%.2f Kb downloaded)\n", m_nReceived, false).c_str());
    m_progress.ShowStatus(FormatKb(Tr("Done (%.2f Kb downloaded)").c_str(), m_nReceived, true));
    return true;
}

void CDownloadJob::ReadBlock(INTERNET_BUFFERSA& ib, bool bFirst)
{
    m_bRequestComplete = false;
    if (bFirst)
        m_log.Printf(L"InternetReadFileExA(m_hHttpFile (0x%08x), &ib (0x%08x) ,IRF_ASYNC, this (0x%08x)\n",
                      LogAddress(m_hHttpFile), LogAddress(&ib), LogAddress(this));
    m_bReadOk = InternetReadFileExA(m_hHttpFile, &ib, IRF_ASYNC, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    if (m_bReadOk)
        return;
    DWORD dwError = GetLastError();
    if (dwError != ERROR_IO_PENDING) {
        m_log.Printf(L"Error : 0x%x\n", dwError);
        Fail(ReasonOfError(dwError, true));
        return;
    }
    if (bFirst)
        m_log.Printf(L"Wait for receive...\n");
    if (!WaitForCompletion())
        return;
    // A read that failed completes too, with FALSE: a cut or timed-out transfer.
    m_bReadOk = m_bRequestSucceeded;
    if (!m_bReadOk) {
        m_log.Printf(L"Error : 0x%x\n", m_dwRequestError.load());
        Fail(ReasonOfError(m_dwRequestError, true));
    }
}

void CDownloadJob::CloseRequest()
{
    HINTERNET hRequest = m_hHttpFile;
    m_log.Printf(L"InternetCloseHandle(m_hHttpFile (0x%08x))...\n", LogAddress(hRequest));
    // The layer's close returns after the handle's last notice; only a close
    // that itself answers "pending" leaves something to wait for.
    SetLastError(ERROR_SUCCESS);
    if (!InternetCloseHandle(hRequest))
        ReportCloseError(m_log, L"hRequest : %s: %x");
    if (GetLastError() == ERROR_IO_PENDING) {
        m_log.Printf(L"Wait handle closing...\n");
        HANDLE events[] = {m_hEventCancel, m_hEventRequest};
        WaitForMultipleObjects(2, events, false, INFINITE);
    }
}

bool CDownloadJob::WaitForRequest()
{
    // Cancel wins a tie, so that it ends the transfer at once.
    HANDLE events[] = {m_hEventCancel, m_hEventRequest};
    for (;;) {
        DWORD dwWait = WaitForMultipleObjects(2, events, false, LIMIT_CHECK_MS);
        if (dwWait == WAIT_OBJECT_0 + 1)
            return true;
        if (dwWait == WAIT_OBJECT_0) {
            Fail(CancelReason());
            m_bStopped = true;
            return false;
        }
        if (StopPending())
            return false;
    }
}

bool CDownloadJob::WaitForCompletion()
{
    // Sets of the auto-reset request event can merge (handle created and request
    // complete before the first wait) or come late (after the flag was seen):
    // the flag decides, and a set that finds it already true is only a leftover.
    while (!m_bRequestComplete) {
        if (!WaitForRequest())
            return false;
    }
    return true;
}

bool CDownloadJob::StopPending()
{
    if (m_bStopped)
        return true;
    if (WaitForSingleObject(m_hEventCancel, 0) == WAIT_OBJECT_0) {
        Fail(CancelReason());
        m_bStopped = true;
        return true;
    }
    uint64_t nNow = NowMs();
    if (nNow - m_nStart >= m_dwDeadlineMs) {
        m_log.Printf(L"Not complete after %u ms\n", static_cast<unsigned>(nNow - m_nStart));
        Fail(CDownloadOutcome::TIMED_OUT);
        m_bStopped = true;
        return true;
    }
    // Measured only while the body comes in: before it, silence is the layer's
    // to time out, and the whole wait the deadline's.
    if (m_nWindowStart != 0 && nNow - m_nWindowStart >= m_dwRateWindowMs) {
        if (m_nReceived - m_nWindowBytes < m_nMinWindowBytes) {
            m_log.Printf(L"%llu bytes in %u ms\n", static_cast<unsigned long long>(m_nReceived - m_nWindowBytes),
                          static_cast<unsigned>(nNow - m_nWindowStart));
            Fail(CDownloadOutcome::TOO_SLOW);
            m_bStopped = true;
            return true;
        }
        m_nWindowStart = nNow;
        m_nWindowBytes = m_nReceived;
    }
    return false;
}

CDownloadOutcome::Reason CDownloadJob::CancelReason() const
{
    // The cancel event is also the server's closing of the connection.
    return m_bConnectionClosed && !m_bCancelAsked ? CDownloadOutcome::CUT_SHORT : CDownloadOutcome::CANCELLED;
}

bool CDownloadJob::Fail(CDownloadOutcome::Reason nReason, long nStatus)
{
    // The first reason found is the one the user is told.
    if (!m_bStopped)
        m_outcome = CDownloadOutcome(nReason, nStatus);
    return false;
}

void CDownloadJob::OnInternetStatus(HINTERNET, DWORD_PTR dwContext, DWORD dwInternetStatus,
                                    void* lpvStatusInformation, DWORD dwStatusInformationLength)
{
    auto* pJob = reinterpret_cast<CDownloadJob*>(dwContext);
    if (!pJob)
        return;
    std::wstring strStatus = InternetStatusText(dwInternetStatus);
    pJob->m_progress.ShowInternetStatus(Tr(strStatus.c_str()));

    std::wstring strDetail;
    switch (dwInternetStatus) {
    case INTERNET_STATUS_NAME_RESOLVED:
    case INTERNET_STATUS_CONNECTING_TO_SERVER:
    case INTERNET_STATUS_CONNECTED_TO_SERVER:
        if (lpvStatusInformation) {
            const auto* pszText = static_cast<const wchar_t*>(lpvStatusInformation);
            strDetail = CWideFormat::Format(
                L"IP : %s",
                std::wstring(pszText, wcsnlen(pszText, dwStatusInformationLength / sizeof(wchar_t))).c_str());
        }
        break;
    case INTERNET_STATUS_REQUEST_SENT:
    case INTERNET_STATUS_RESPONSE_RECEIVED:
        if (lpvStatusInformation && dwStatusInformationLength >= sizeof(DWORD))
            strDetail = CWideFormat::Format(L"%d bytes", *static_cast<const DWORD*>(lpvStatusInformation));
        break;
    }

    const auto* pResult = static_cast<const INTERNET_ASYNC_RESULT*>(lpvStatusInformation);
    switch (dwInternetStatus) {
    case INTERNET_STATUS_CONNECTION_CLOSED:
        pJob->m_bConnectionClosed = true;
        SetEvent(pJob->m_hEventCancel);
        break;
    case INTERNET_STATUS_HANDLE_CREATED:
        if (pResult)
            pJob->m_hHttpFile = reinterpret_cast<HINTERNET>(pResult->dwResult);
        pJob->m_log.Printf(L"m_hHttpFile = 0x%08x\n", LogAddress(pJob->m_hHttpFile));
        SetEvent(pJob->m_hEventRequest);
        break;
    case INTERNET_STATUS_HANDLE_CLOSING:
        SetEvent(pJob->m_hEventRequest);
        break;
    case INTERNET_STATUS_REQUEST_COMPLETE:
        if (pResult) {
            pJob->m_bRequestSucceeded = pResult->dwResult != FALSE;
            pJob->m_dwRequestError = pResult->dwError;
        }
        pJob->m_bRequestComplete = true;
        SetEvent(pJob->m_hEventRequest);
        break;
    }
    pJob->m_log.Printf(L"InternetStatus : %s, %s\n", strStatus.c_str(), strDetail.c_str());
}
