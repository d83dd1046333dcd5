#include "platform/Ras.h"

#include "platform/LastError.h"

#include <mutex>

namespace {

struct DIALUP
{
    HRASCONN hConnection;
    std::wstring strEntryName;
};

std::mutex g_mutex;
std::vector<DIALUP> g_connections;
uintptr_t g_nNextHandle = 0x5200;

}

DWORD RasEnumConnections(RASCONN* lprasconn, DWORD* lpcb, DWORD* lpcConnections)
{
    if (!lpcb || !lpcConnections)
        return ERROR_INVALID_PARAMETER;
    if (lprasconn && lprasconn->dwSize != sizeof(RASCONN))
        return ERROR_INVALID_SIZE;
    std::lock_guard<std::mutex> lock(g_mutex);
    DWORD dwNeeded = static_cast<DWORD>(g_connections.size() * sizeof(RASCONN));
    *lpcConnections = static_cast<DWORD>(g_connections.size());
    if (!lprasconn || *lpcb < dwNeeded) {
        *lpcb = dwNeeded;
        return g_connections.empty() ? 0 : ERROR_BUFFER_TOO_SMALL;
    }
    *lpcb = dwNeeded;
    for (size_t i = 0; i < g_connections.size(); ++i) {
        RASCONN& record = lprasconn[i];
        record = RASCONN{};
        record.dwSize = sizeof(RASCONN);
        record.hrasconn = g_connections[i].hConnection;
        g_connections[i].strEntryName.copy(record.szEntryName, RAS_MaxEntryName);
    }
    return 0;
}

DWORD RasHangUp(HRASCONN hrasconn)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    for (auto it = g_connections.begin(); it != g_connections.end(); ++it) {
        if (it->hConnection == hrasconn) {
            g_connections.erase(it);
            return 0;
        }
    }
    return ERROR_INVALID_HANDLE;
}

HRASCONN CRas::AddConnectionForTest(const std::wstring& strEntryName)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    HRASCONN h = reinterpret_cast<HRASCONN>(g_nNextHandle++);
    g_connections.push_back(DIALUP{h, strEntryName});
    return h;
}

std::vector<std::wstring> CRas::ConnectionsForTest()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    std::vector<std::wstring> names;
    for (const DIALUP& connection : g_connections)
        names.push_back(connection.strEntryName);
    return names;
}

void CRas::ResetForTest()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_connections.clear();
}
