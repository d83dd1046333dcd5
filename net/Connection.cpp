#include "net/Connection.h"

#include "log/LogFile.h"
#include "platform/Internet.h"
#include "platform/LastError.h"
#include "platform/Ras.h"
#include "platform/ui/ConnMgr.h"

#include <cstdint>
#include <vector>

namespace {

// Any address on the Internet outside the weather service: it only tells the
// connection manager which network the program needs.
const wchar_t* const MAPPED_ADDRESS = L"http://www.example.com/";

const DWORD ESTABLISH_TIMEOUT_MS = 15000;

} // namespace

void HangUpAllConnections()
{
    // One record first; most often there is none or one. The records' size is
    // the platform's own, which differs from the device's on this machine.
    std::vector<RASCONN> records(1);
    records[0].dwSize = sizeof(RASCONN);
    DWORD cb = sizeof(RASCONN);
    DWORD dwCount = 0;
    DWORD dwResult = RasEnumConnections(records.data(), &cb, &dwCount);
    if (dwResult == ERROR_BUFFER_TOO_SMALL || dwResult == ERROR_NOT_ENOUGH_MEMORY) {
        if (dwCount == 0)
            return;
        records.assign(dwCount, RASCONN{});
        records[0].dwSize = sizeof(RASCONN);
        cb = static_cast<DWORD>(records.size() * sizeof(RASCONN));
        dwResult = RasEnumConnections(records.data(), &cb, &dwCount);
    }
    if (dwResult != 0)
        return;
    // Never trust a count beyond the records the buffer holds.
    if (dwCount > records.size())
        dwCount = static_cast<DWORD>(records.size());
    for (DWORD i = 0; i < dwCount; ++i)
        RasHangUp(records[i].hrasconn);
}

unsigned LogAddress(const void* p)
{
    return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p));
}

bool CConnection::Connect(CWnd* pWnd, HANDLE hEventConnected, HANDLE hEventCancel)
{
    CONNMGR_CONNECTIONINFO ci = {};
    ci.cbSize = sizeof ci;
    ci.dwParams = CONNMGR_PARAM_GUIDDESTNET;
    ci.dwFlags = CONNMGR_FLAG_PROXY_HTTP;
    ci.dwPriority = CONNMGR_PRIORITY_USERINTERACTIVE;
    ci.hWnd = pWnd;
    ci.uMsg = WM_CONNMGR_STATUS;

    // A failed mapping is only traced: the request goes on with whatever network it left.
    DWORD dwIndex = 0;
    HRESULT hr = ConnMgrMapURL(MAPPED_ADDRESS, &ci.guidDestNet, &dwIndex);
    m_log.Printf(L"0x%08x = ConnMgrMapURL(L'%s', &(ci.guidDestNet) (0x%08x), &dwIndex (0x%08x))\n",
                  static_cast<unsigned>(hr), MAPPED_ADDRESS, LogAddress(&ci.guidDestNet), LogAddress(&dwIndex));

    DWORD dwStatus = 0;
    hr = ConnMgrEstablishConnectionSync(&ci, &m_hConnection, ESTABLISH_TIMEOUT_MS, &dwStatus);
    m_log.Printf(L"0x%08x = ConnMgrEstablishConnectionSync(&ci (0x%08x ), &hConnection (0x%08x), 15000, "
                  L"&dwStatus (0x%08x))\n",
                  static_cast<unsigned>(hr), LogAddress(&ci), LogAddress(&m_hConnection), LogAddress(&dwStatus));
    m_log.Printf(L"hConnection = 0x%08x, dwStatus = 0x%08x\n", LogAddress(m_hConnection), dwStatus);
    if (hr != S_OK || dwStatus != CONNMGR_STATUS_CONNECTED)
        return false;

    PROXY_CONFIG pcProxy = {};
    hr = ConnMgrProviderMessage(m_hConnection, &IID_ConnPrv_IProxyExtension, nullptr, 0, 0,
                                reinterpret_cast<BYTE*>(&pcProxy), sizeof pcProxy);
    m_log.Printf(L"ConnMgrProviderMessage(hConnection (0x%08x),&IID_ConnPrv_IProxyExtension, NULL, 0, 0, "
                  L"&pcProxy (0x%08x), %d)\n",
                  LogAddress(m_hConnection), LogAddress(&pcProxy), static_cast<int>(sizeof pcProxy));
    if (hr == S_OK) {
        m_dwAccessType = INTERNET_OPEN_TYPE_PROXY;
        m_strProxy = pcProxy.szProxyServer;
    } else if (hr == E_NOINTERFACE) {
        m_dwAccessType = INTERNET_OPEN_TYPE_DIRECT;
        m_strProxy.clear();
    } else {
        // The manager could not say; the system's own proxy setting is the
        // best guess left.
        m_dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG;
        m_strProxy.clear();
    }

    m_log.Printf(L"WaitForSingleObject(m_hEventStatusConnected,INFINITE)...\n");
    // The user's Cancel comes first when both are set: a cancelled download
    // makes no request at all.
    HANDLE events[] = {hEventCancel, hEventConnected};
    if (WaitForMultipleObjects(2, events, false, INFINITE) != WAIT_OBJECT_0 + 1)
        return false;
    m_log.Printf(L"WaitForSingleObject OK\n");
    return true;
}

void CConnection::Release()
{
    if (!m_hConnection)
        return;
    m_log.Printf(L"ConnMgrReleaseConnection(hConnection (0x%08x), 0)\n", LogAddress(m_hConnection));
    ConnMgrReleaseConnection(m_hConnection, 0);
    m_hConnection = nullptr;
}
