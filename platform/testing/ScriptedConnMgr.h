#pragma once

#include "platform/ui/ConnMgr.h"

#include <mutex>
#include <vector>

// What ConnMgrEstablishConnectionSync does: posts the statuses in order, waits
// dwDelayMs before the last one (a wait beyond the caller's timeout ends in
// E_FAIL with no handle after the timeout, the last status not posted), and
// answers hrEstablish with the last status.
struct CONNMGRSCRIPT
{
    HRESULT hrEstablish = S_OK;
    std::vector<DWORD> statuses = {CONNMGR_STATUS_WAITINGCONNECTION, CONNMGR_STATUS_CONNECTED};
    DWORD dwDelayMs = 0;
};

// A connection manager that answers as a test scripts it.
class CScriptedConnMgr : public IConnectionPath
{
public:
    // From now on connections are established as the script says.
    static void Use(const CONNMGRSCRIPT& script);
    // Back to the stand-in's way: always connected.
    static void Reset();

    HRESULT Establish(const CONNMGR_CONNECTIONINFO& info, DWORD dwTimeout, DWORD& dwStatus) override;

private:
    std::mutex m_mutex;
    CONNMGRSCRIPT m_script;
};
