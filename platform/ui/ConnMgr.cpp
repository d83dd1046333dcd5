#include "platform/ui/ConnMgr.h"

#include "platform/CodePage.h"
#include "platform/InternetUrl.h"
#include "platform/ui/Wnd.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

const GUID IID_DestNetInternet = {0x436ef144, 0xb4fb, 0x4863, {0xa0, 0x41, 0x8f, 0x90, 0x5a, 0x62, 0xc5, 0x72}};
const GUID IID_ConnPrv_IProxyExtension = {0xaf96b0bd, 0xa481, 0x482c, {0xa0, 0x94, 0xa8, 0x44, 0x87, 0x67, 0xa0, 0xc0}};

namespace {

std::mutex g_mutex;
std::atomic<IConnectionPath*> g_pPath{nullptr};
std::vector<HANDLE> g_connections;

bool IsConnection(HANDLE h)
{
    return std::find(g_connections.begin(), g_connections.end(), h) != g_connections.end();
}

void Post(const CONNMGR_CONNECTIONINFO& info, DWORD dwStatus)
{
    if (info.hWnd)
        info.hWnd->PostMessage(info.uMsg, dwStatus, info.lParam);
}

// A desktop is always connected.
HRESULT EstablishAlways(const CONNMGR_CONNECTIONINFO& info, DWORD& dwStatus)
{
    for (DWORD dw : {CONNMGR_STATUS_WAITINGCONNECTION, CONNMGR_STATUS_CONNECTED}) {
        Post(info, dw);
        dwStatus = dw;
    }
    return S_OK;
}

// The first variable of the two that is set and not empty.
std::string Environment(const char* pszName, const char* pszOtherName)
{
    for (const char* pszVariable : {pszName, pszOtherName}) {
        const char* pszValue = std::getenv(pszVariable);
        if (pszValue && *pszValue)
            return pszValue;
    }
    return "";
}

template <size_t N>
void CopyText(wchar_t (&field)[N], const std::string& text)
{
    std::wstring wide = CCodePage::Decode(text);
    size_t n = std::min(wide.size(), N - 1);
    wide.copy(field, n);
    field[n] = L'\0';
}

}

HRESULT ConnMgrMapURL(const wchar_t* pwszURL, GUID* pguid, DWORD* pdwIndex)
{
    if (!pwszURL || !pguid)
        return E_INVALIDARG;
    *pguid = IID_DestNetInternet;
    if (pdwIndex)
        *pdwIndex = 0;
    return S_OK;
}

HRESULT ConnMgrEstablishConnectionSync(CONNMGR_CONNECTIONINFO* pConnInfo, HANDLE* phConnection, DWORD dwTimeout,
                                       DWORD* pdwStatus)
{
    if (!pConnInfo || pConnInfo->cbSize == 0 || !phConnection || !pdwStatus)
        return E_INVALIDARG;
    *phConnection = nullptr;
    *pdwStatus = CONNMGR_STATUS_UNKNOWN;
    IConnectionPath* pPath = g_pPath.load();
    const HRESULT hr = pPath ? pPath->Establish(*pConnInfo, dwTimeout, *pdwStatus) : EstablishAlways(*pConnInfo, *pdwStatus);
    if (FAILED(hr))
        return hr;
    std::lock_guard<std::mutex> lock(g_mutex);
    *phConnection = CreateEvent(true, false);
    g_connections.push_back(*phConnection);
    return hr;
}

HRESULT ConnMgrProviderMessage(HANDLE hConnection, const GUID* pguidProvider, DWORD*, DWORD, DWORD, BYTE* pParams,
                               ULONG cbParamSize)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!IsConnection(hConnection))
            return E_INVALIDARG;
    }
    if (!pguidProvider || *pguidProvider != IID_ConnPrv_IProxyExtension)
        return E_NOINTERFACE;
    if (!pParams || cbParamSize < sizeof(PROXY_CONFIG))
        return E_INVALIDARG;
    std::string userInfo;
    std::string hostPort = ProxyHostPort(Environment("http_proxy", "HTTP_PROXY"), &userInfo);
    if (hostPort.empty())
        return E_NOINTERFACE;

    PROXY_CONFIG config = {};
    config.dwType = CONNMGR_FLAG_PROXY_HTTP;
    config.dwEnable = TRUE;
    CopyText(config.szProxyServer, hostPort);
    size_t colon = userInfo.find(':');
    CopyText(config.szUsername, PercentDecoded(userInfo.substr(0, colon)));
    if (colon != std::string::npos)
        CopyText(config.szPassword, PercentDecoded(userInfo.substr(colon + 1)));
    std::string bypass = Environment("no_proxy", "NO_PROXY");
    std::replace(bypass.begin(), bypass.end(), ',', ';');
    CopyText(config.szProxyOverride, bypass);
    std::memcpy(pParams, &config, sizeof config);
    return S_OK;
}

HRESULT ConnMgrReleaseConnection(HANDLE hConnection, LONG)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = std::find(g_connections.begin(), g_connections.end(), hConnection);
    if (it == g_connections.end())
        return E_INVALIDARG;
    g_connections.erase(it);
    CloseHandle(hConnection);
    return S_OK;
}

void CConnMgr::Use(IConnectionPath* pPath)
{
    g_pPath = pPath;
}

int CConnMgr::OpenConnections()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return static_cast<int>(g_connections.size());
}
