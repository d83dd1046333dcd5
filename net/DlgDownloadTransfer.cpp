// The download dialog's worker: connection, HTTP transfer, and the store's
// reading of the answer. Everything here runs on the worker thread, except
// OnInternetStatus, which the HTTP layer calls on its own thread.

#include "net/DlgDownload.h"

#include "model/WeatherData.h"
#include "net/Connection.h"
#include "net/DownloadFile.h"
#include "log/LogFile.h"
#include "platform/DebugOutput.h"
#include "platform/WideFormat.h"
#include "store/XmlFile.h"

#include <tinyxml.h>

#include <cstdint>
#include <cwchar>

namespace {

// The body is received in blocks of this size, and the progress bar moves once per block.
const DWORD RECEIVE_BLOCK = 1024;

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

// Kilobytes as the status line shows them, in single precision.
std::wstring FormatKb(const wchar_t* pszFormat, uint64_t nBytes)
{
    return CWideFormat::Format(pszFormat, static_cast<float>(nBytes) * (1.0f / 1024));
}

// The status line has no room for the log line's line break.
std::wstring WithoutLineBreak(std::wstring strText)
{
    if (!strText.empty() && strText.back() == L'\n')
        strText.pop_back();
    return strText;
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

// The store reads only documents that are whole and well-formed; an answer it
// would reject (a notice in plain text, a document cut short by a wrong length,
// one too large or too deep) must not replace a forecast that it can read.
bool CommitAnswer(CLogFile& log, CDownloadFile& file)
{
    TiXmlDocument doc;
    if (!CXmlFile::Load(doc, file.m_strTemp)) {
        log.Printf(L"Not a readable document: %s\n", file.m_strTarget.c_str());
        file.Discard();
        return false;
    }
    if (!file.Commit()) {
        log.Printf(L"Cannot replace %s\n", file.m_strTarget.c_str());
        return false;
    }
    return true;
}

} // namespace

DWORD CDlgDownload::s_DownloadThread(void* pParam)
{
    // The log is the dialog's: a thread started without one has nowhere to write.
    auto* pDlg = static_cast<CDlgDownload*>(pParam);
    if (pDlg) {
        CLogFile& log = pDlg->m_log;
        log.Printf(L"s_DownloadThread %p\n", pParam);
        log.Printf(L"BEGIN Thread\n");
        pDlg->RunDownload();
        log.Printf(L"END Thread\n");
    }
    return static_cast<DWORD>(-1);
}

void CDlgDownload::RunDownload()
{
    bool bOk = false;
    CConnection connection(m_log);
    if (connection.Connect(this, m_hEventStatusConnected, m_hEventCancel))
        bOk = DownloadOver(connection);
    connection.Release();
    m_log.Printf(L"exit:\n");
    // The worker's last use of the dialog.
    EndDialog(bOk ? IDOK : IDCANCEL);
}

bool CDlgDownload::DownloadOver(const CConnection& connection)
{
    HINTERNET hOpen = InternetOpenW(L"anonymous", connection.m_dwAccessType, connection.m_strProxy.c_str(), nullptr,
                                    INTERNET_FLAG_ASYNC);
    m_log.Printf(L"hOpen (0x%08x) = InternetOpen('anonymous', 0x%08x, %s, NULL,INTERNET_FLAG_ASYNC)\n",
                  LogAddress(hOpen), connection.m_dwAccessType, connection.m_strProxy.c_str());
    if (!hOpen)
        return false;
    m_log.Printf(L"InternetOpen OK\n");
    InternetSetStatusCallbackW(hOpen, &CDlgDownload::OnInternetStatus);

    std::wstring strURL;
    std::wstring strTarget;
    m_data.BuildRequest(m_nKind, m_strArgument, strURL, strTarget);
    bool bOk = false;
    // An unknown kind or a station ID unfit for a file name gives no request.
    if (!strURL.empty() && !strTarget.empty()) {
        CDownloadFile file(strTarget);
        bOk = TransferUrl(hOpen, strURL, file) && CommitAnswer(m_log, file);
    }
    m_bAnswerStored = bOk;

    // After this nothing calls back into the dialog.
    InternetSetStatusCallbackW(hOpen, nullptr);
    m_log.Printf(L"InternetCloseHandle(hOpen (0x%08x))...\n", LogAddress(hOpen));
    if (!InternetCloseHandle(hOpen))
        ReportCloseError(m_log, L"hOpen : %s: %x");
    return bOk;
}

bool CDlgDownload::TransferUrl(HINTERNET hOpen, const std::wstring& strURL, CDownloadFile& file)
{
    m_bRequestComplete = false;
    m_bRequestSucceeded = false;
    m_hHttpFile = nullptr;
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
    // No handle yet (cancelled first): the request is ended with the open handle.
    if (!m_hHttpFile)
        return false;
    // The layer may write into the buffer until the request is closed.
    char buffer[RECEIVE_BLOCK];
    bool bOk = !m_bCancelled && ReceiveAnswer(file, buffer, sizeof buffer);
    CloseRequest();
    return bOk;
}

bool CDlgDownload::ReceiveAnswer(CDownloadFile& file, char* pBuffer, DWORD cbBuffer)
{
    m_log.Printf(L"Wait for request complete...\n");
    if (!WaitForCompletion())
        return false;
    if (!m_bRequestSucceeded) {
        // Refused, timed out, or no answer at all: nothing to read.
        m_log.Printf(L"Error : 0x%x\n", m_dwRequestError.load());
        return false;
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
        return false;
    }

    std::wstring strDownload = FormatKb(L"Download... (%.2f Kb)\n", nLength);
    SetStatus(WithoutLineBreak(strDownload));
    m_log.Printf(L"%s", strDownload.c_str());
    m_progress.SetRange32(0, ProgressValue(nLength));
    m_progress.SetPos(0);

    if (!file.Create()) {
        m_log.Printf(L"Cannot create %s\n", file.m_strTarget.c_str());
        return false;
    }
    INTERNET_BUFFERSA ib = {};
    ib.dwStructSize = sizeof ib;
    ib.lpvBuffer = pBuffer;
    ib.dwBufferLength = cbBuffer;
    uint64_t nTotal = 0;
    ReadBlock(ib, true);
    while (m_bReadOk && ib.dwBufferLength != 0) {
        nTotal += ib.dwBufferLength;
        m_progress.SetPos(ProgressValue(nTotal));
        file.Write(pBuffer, ib.dwBufferLength);
        // Reads that the layer answers at once never wait: look for Cancel here.
        if (CancelPending())
            break;
        ib.lpvBuffer = pBuffer;
        ib.dwBufferLength = cbBuffer;
        ReadBlock(ib, false);
    }

    // Whole: the body's end was read, nobody cancelled, the server did not cut
    // the connection, and every announced byte came.
    bool bWhole = m_bReadOk && ib.dwBufferLength == 0 && !CancelPending();
    if (bWhole && bLengthKnown && nTotal != nLength) {
        m_log.Printf(L"Received %llu of %llu bytes\n", static_cast<unsigned long long>(nTotal),
                      static_cast<unsigned long long>(nLength));
        bWhole = false;
    }
    if (bWhole && !file.Flush()) {
        m_log.Printf(L"Cannot write %s\n", file.m_strTemp.c_str());
        bWhole = false;
    }
    if (!bWhole) {
        file.Discard();
        return false;
    }
    std::wstring strDone = FormatKb(L"Done (%.2f Kb downloaded)\n", nTotal);
    m_log.Printf(L"%s", strDone.c_str());
    SetStatus(WithoutLineBreak(strDone));
    return true;
}

void CDlgDownload::ReadBlock(INTERNET_BUFFERSA& ib, bool bFirst)
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
        return;
    }
    if (bFirst)
        m_log.Printf(L"Wait for receive...\n");
    if (!WaitForCompletion())
        return;
    // A read that failed completes too, with FALSE: a cut or timed-out transfer.
    m_bReadOk = m_bRequestSucceeded;
    if (!m_bReadOk)
        m_log.Printf(L"Error : 0x%x\n", m_dwRequestError.load());
}

void CDlgDownload::CloseRequest()
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
        WaitForRequest();
    }
}

bool CDlgDownload::WaitForRequest()
{
    // Cancel wins a tie, so that it ends the transfer at once.
    HANDLE events[] = {m_hEventCancel, m_hEventRequest};
    if (WaitForMultipleObjects(2, events, false, INFINITE) == WAIT_OBJECT_0 + 1)
        return true;
    m_bCancelled = true;
    return false;
}

bool CDlgDownload::WaitForCompletion()
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

bool CDlgDownload::CancelPending()
{
    if (!m_bCancelled && WaitForSingleObject(m_hEventCancel, 0) == WAIT_OBJECT_0)
        m_bCancelled = true;
    return m_bCancelled;
}

void CDlgDownload::OnInternetStatus(HINTERNET, DWORD_PTR dwContext, DWORD dwInternetStatus,
                                    void* lpvStatusInformation, DWORD dwStatusInformationLength)
{
    auto* pDlg = reinterpret_cast<CDlgDownload*>(dwContext);
    if (!pDlg)
        return;
    std::wstring strStatus = InternetStatusText(dwInternetStatus);
    pDlg->SetInternetStatus(strStatus);

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
        SetEvent(pDlg->m_hEventCancel);
        break;
    case INTERNET_STATUS_HANDLE_CREATED:
        if (pResult)
            pDlg->m_hHttpFile = reinterpret_cast<HINTERNET>(pResult->dwResult);
        pDlg->m_log.Printf(L"m_hHttpFile = 0x%08x\n", LogAddress(pDlg->m_hHttpFile));
        SetEvent(pDlg->m_hEventRequest);
        break;
    case INTERNET_STATUS_HANDLE_CLOSING:
        SetEvent(pDlg->m_hEventRequest);
        break;
    case INTERNET_STATUS_REQUEST_COMPLETE:
        if (pResult) {
            pDlg->m_bRequestSucceeded = pResult->dwResult != FALSE;
            pDlg->m_dwRequestError = pResult->dwError;
        }
        pDlg->m_bRequestComplete = true;
        SetEvent(pDlg->m_hEventRequest);
        break;
    }
    pDlg->m_log.Printf(L"InternetStatus : %s, %s\n", strStatus.c_str(), strDetail.c_str());
}
