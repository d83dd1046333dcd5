#pragma once

#include "platform/Ras.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

// Dial-up connections that a test opens, to see the program hang them up.
class CFakeDialUp : public IDialUp
{
public:
    // Opens a connection of that name (and hands the program this service).
    static HRASCONN Add(const std::wstring& strEntryName);
    // The names of the connections still open.
    static std::vector<std::wstring> Names();
    // None open.
    static void Reset();

    std::vector<std::pair<HRASCONN, std::wstring>> Connections() const override;
    bool HangUp(HRASCONN hConnection) override;

private:
    mutable std::mutex m_mutex;
    std::vector<std::pair<HRASCONN, std::wstring>> m_connections;
    uintptr_t m_nNextHandle = 0x5200;
};
