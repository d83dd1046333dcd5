#include "platform/Ras.h"

#include "platform/LastError.h"

#include <atomic>

namespace {

std::atomic<IDialUp*> g_pDialUp{nullptr};

std::vector<std::pair<HRASCONN, std::wstring>> Connections()
{
    IDialUp* pDialUp = g_pDialUp.load();
    return pDialUp ? pDialUp->Connections() : std::vector<std::pair<HRASCONN, std::wstring>>();
}

}

DWORD RasEnumConnections(RASCONN* lprasconn, DWORD* lpcb, DWORD* lpcConnections)
{
    if (!lpcb || !lpcConnections)
        return ERROR_INVALID_PARAMETER;
    if (lprasconn && lprasconn->dwSize != sizeof(RASCONN))
        return ERROR_INVALID_SIZE;
    const auto connections = Connections();
    DWORD dwNeeded = static_cast<DWORD>(connections.size() * sizeof(RASCONN));
    *lpcConnections = static_cast<DWORD>(connections.size());
    if (!lprasconn || *lpcb < dwNeeded) {
        *lpcb = dwNeeded;
        return connections.empty() ? 0 : ERROR_BUFFER_TOO_SMALL;
    }
    *lpcb = dwNeeded;
    for (size_t i = 0; i < connections.size(); ++i) {
        RASCONN& record = lprasconn[i];
        record = RASCONN{};
        record.dwSize = sizeof(RASCONN);
        record.hrasconn = connections[i].first;
        connections[i].second.copy(record.szEntryName, RAS_MaxEntryName);
    }
    return 0;
}

DWORD RasHangUp(HRASCONN hrasconn)
{
    IDialUp* pDialUp = g_pDialUp.load();
    return pDialUp && pDialUp->HangUp(hrasconn) ? 0 : ERROR_INVALID_HANDLE;
}

void CRas::Use(IDialUp* pDialUp)
{
    g_pDialUp = pDialUp;
}
