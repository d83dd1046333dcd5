#pragma once

// Drives the HTTP layer the way the download code does: one open handle, a
// callback that records every notice and hands the request's events over
// (60, 70 and 100 set the request event, 51 the cancel event), waits on the two
// events without a time limit, and reads the body in 1024-byte blocks.

#include "platform/CodePage.h"
#include "platform/Internet.h"
#include "platform/Kernel.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

struct NOTICE
{
    DWORD dwStatus;
    std::wstring strText;           // 10, 11, 20, 21, 110
    DWORD dwNumber = 0;             // 31, 41
    INTERNET_ASYNC_RESULT result{}; // 60, 100
};

class CTransfer
{
public:
    explicit CTransfer(DWORD dwAccessType = INTERNET_OPEN_TYPE_DIRECT, const wchar_t* pszProxy = nullptr)
    {
        m_hEventRequest = CreateEvent(false, false);
        m_hEventCancel = CreateEvent(false, false);
        m_hOpen = InternetOpenW(L"anonymous", dwAccessType, pszProxy, nullptr, INTERNET_FLAG_ASYNC);
        if (m_hOpen)
            InternetSetStatusCallbackW(m_hOpen, &CTransfer::OnStatus);
    }
    ~CTransfer()
    {
        CloseRequest();
        if (m_hOpen) {
            InternetSetStatusCallbackW(m_hOpen, nullptr);
            InternetCloseHandle(m_hOpen);
        }
        CloseHandle(m_hEventRequest);
        CloseHandle(m_hEventCancel);
    }
    CTransfer(const CTransfer&) = delete;
    CTransfer& operator=(const CTransfer&) = delete;

    // Sends the request and waits for its handle; false if it did not start.
    bool Begin(const std::string& url, DWORD dwFlags = INTERNET_FLAG_RELOAD)
    {
        std::wstring wideUrl = CCodePage::Decode(url);
        HINTERNET h = InternetOpenUrlW(m_hOpen, wideUrl.c_str(), nullptr, 0, dwFlags,
                                       reinterpret_cast<DWORD_PTR>(this));
        m_dwOpenError = GetLastError();
        if (h || m_dwOpenError != ERROR_IO_PENDING)
            return false;
        Wait();
        return m_hRequest != nullptr;
    }
    // Waits for the request-complete notice; true when it came with TRUE. When
    // the request fails at once, 60 and 100 may both have set the auto-reset
    // event before the first wait, which took both: so look before waiting,
    // and take a set that came after that wait.
    bool Complete()
    {
        bool bAlreadyComplete;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            bAlreadyComplete = m_bRequestComplete;
        }
        if (bAlreadyComplete)
            WaitForSingleObject(m_hEventRequest, 0);
        else if (Wait() != WAIT_OBJECT_0)
            return false;
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_bRequestComplete && m_lastResult.dwResult == TRUE;
    }
    bool Request(const std::string& url, DWORD dwFlags = INTERNET_FLAG_RELOAD)
    {
        return Begin(url, dwFlags) && Complete();
    }

    // One read as the download code makes it: a pending one is waited for.
    // False when the read failed (m_dwReadError says why).
    bool ReadBlock(INTERNET_BUFFERSA* pRecord)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bRequestComplete = false;
        }
        if (InternetReadFileExA(m_hRequest, pRecord, IRF_ASYNC, reinterpret_cast<DWORD_PTR>(this)))
            return true;
        m_dwReadError = GetLastError();
        if (m_dwReadError != ERROR_IO_PENDING)
            return false;
        ++m_nPendingReads;
        if (Wait() != WAIT_OBJECT_0)
            return false;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_dwReadError = m_lastResult.dwError;
        return m_bRequestComplete && m_lastResult.dwResult == TRUE;
    }
    // The whole body in blocks of 1024 bytes, each handed to the sink as it
    // arrives; true when it ended with a read of 0 bytes.
    bool ReadAll(std::string* pBody)
    {
        return ReadEach([pBody](const char* pData, size_t nSize) { pBody->append(pData, nSize); });
    }
    template <typename SINK>
    bool ReadEach(SINK sink)
    {
        char buffer[1024];
        for (;;) {
            INTERNET_BUFFERSA record = {};
            record.dwStructSize = sizeof record;
            record.lpvBuffer = buffer;
            record.dwBufferLength = sizeof buffer;
            if (!ReadBlock(&record))
                return false;
            if (record.dwBufferLength > sizeof buffer)
                return false;
            if (record.dwBufferLength == 0)
                return true;
            sink(buffer, record.dwBufferLength);
            m_nLargestBlock = std::max<size_t>(m_nLargestBlock, record.dwBufferLength);
        }
    }

    std::wstring Query(DWORD dwInfoLevel)
    {
        wchar_t buffer[16] = {};   // 64 bytes, as the download code asks
        DWORD dwLength = sizeof buffer;
        if (!HttpQueryInfoW(m_hRequest, dwInfoLevel, buffer, &dwLength, nullptr))
            return L"(" + std::to_wstring(GetLastError()) + L")";
        return std::wstring(buffer, dwLength / sizeof(wchar_t));
    }

    void CloseRequest()
    {
        if (m_hRequest) {
            InternetCloseHandle(m_hRequest);
            m_hRequest = nullptr;
        }
    }

    std::vector<DWORD> Statuses()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<DWORD> statuses;
        for (const NOTICE& notice : m_notices)
            statuses.push_back(notice.dwStatus);
        return statuses;
    }
    std::vector<NOTICE> Notices()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_notices;
    }
    bool Saw(DWORD dwStatus)
    {
        std::vector<DWORD> statuses = Statuses();
        return std::find(statuses.begin(), statuses.end(), dwStatus) != statuses.end();
    }
    bool Cancelled() { return WaitForSingleObject(m_hEventCancel, 0) == WAIT_OBJECT_0; }
    INTERNET_ASYNC_RESULT LastResult()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lastResult;
    }

    HINTERNET m_hOpen = nullptr;
    HINTERNET m_hRequest = nullptr;
    HANDLE m_hEventRequest = nullptr;
    HANDLE m_hEventCancel = nullptr;
    DWORD m_dwOpenError = 0;
    DWORD m_dwReadError = 0;
    int m_nPendingReads = 0;
    size_t m_nLargestBlock = 0;

private:
    DWORD Wait()
    {
        HANDLE events[] = {m_hEventRequest, m_hEventCancel};
        return WaitForMultipleObjects(2, events, false, INFINITE);
    }

    static void OnStatus(HINTERNET, DWORD_PTR dwContext, DWORD dwStatus, void* pInfo, DWORD dwInfoLength)
    {
        auto* pThis = reinterpret_cast<CTransfer*>(dwContext);
        if (!pThis)
            return;
        NOTICE notice{dwStatus, L""};
        switch (dwStatus) {
        case INTERNET_STATUS_RESOLVING_NAME:
        case INTERNET_STATUS_NAME_RESOLVED:
        case INTERNET_STATUS_CONNECTING_TO_SERVER:
        case INTERNET_STATUS_CONNECTED_TO_SERVER:
        case INTERNET_STATUS_REDIRECT:
            notice.strText = std::wstring(static_cast<const wchar_t*>(pInfo), dwInfoLength / sizeof(wchar_t) - 1);
            break;
        case INTERNET_STATUS_REQUEST_SENT:
        case INTERNET_STATUS_RESPONSE_RECEIVED:
            notice.dwNumber = *static_cast<const DWORD*>(pInfo);
            break;
        case INTERNET_STATUS_HANDLE_CREATED:
        case INTERNET_STATUS_REQUEST_COMPLETE:
            notice.result = *static_cast<const INTERNET_ASYNC_RESULT*>(pInfo);
            break;
        }
        {
            std::lock_guard<std::mutex> lock(pThis->m_mutex);
            pThis->m_notices.push_back(notice);
            if (dwStatus == INTERNET_STATUS_HANDLE_CREATED)
                pThis->m_hRequest = reinterpret_cast<HINTERNET>(notice.result.dwResult);
            if (dwStatus == INTERNET_STATUS_REQUEST_COMPLETE) {
                pThis->m_bRequestComplete = true;
                pThis->m_lastResult = notice.result;
            }
        }
        if (dwStatus == INTERNET_STATUS_CONNECTION_CLOSED)
            SetEvent(pThis->m_hEventCancel);
        if (dwStatus == INTERNET_STATUS_HANDLE_CREATED || dwStatus == INTERNET_STATUS_HANDLE_CLOSING
            || dwStatus == INTERNET_STATUS_REQUEST_COMPLETE)
            SetEvent(pThis->m_hEventRequest);
    }

    std::mutex m_mutex;
    std::vector<NOTICE> m_notices;
    bool m_bRequestComplete = false;
    INTERNET_ASYNC_RESULT m_lastResult{};
};
