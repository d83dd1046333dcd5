#include "platform/testing/FakeDialUp.h"

namespace {
CFakeDialUp g_dialUp;
}

HRASCONN CFakeDialUp::Add(const std::wstring& strEntryName)
{
    CRas::Use(&g_dialUp);
    std::lock_guard<std::mutex> lock(g_dialUp.m_mutex);
    HRASCONN h = reinterpret_cast<HRASCONN>(g_dialUp.m_nNextHandle++);
    g_dialUp.m_connections.emplace_back(h, strEntryName);
    return h;
}

std::vector<std::wstring> CFakeDialUp::Names()
{
    std::lock_guard<std::mutex> lock(g_dialUp.m_mutex);
    std::vector<std::wstring> names;
    for (const auto& connection : g_dialUp.m_connections)
        names.push_back(connection.second);
    return names;
}

void CFakeDialUp::Reset()
{
    CRas::Use(&g_dialUp);
    std::lock_guard<std::mutex> lock(g_dialUp.m_mutex);
    g_dialUp.m_connections.clear();
}

std::vector<std::pair<HRASCONN, std::wstring>> CFakeDialUp::Connections() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_connections;
}

bool CFakeDialUp::HangUp(HRASCONN hConnection)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        if (it->first == hConnection) {
            m_connections.erase(it);
            return true;
        }
    }
    return false;
}
