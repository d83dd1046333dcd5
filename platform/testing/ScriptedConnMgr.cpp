#include "platform/testing/ScriptedConnMgr.h"

#include "platform/ui/Wnd.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

CScriptedConnMgr g_connMgr;

void Post(const CONNMGR_CONNECTIONINFO& info, DWORD dwStatus)
{
    if (info.hWnd)
        info.hWnd->PostMessage(info.uMsg, dwStatus, info.lParam);
}

} // namespace

void CScriptedConnMgr::Use(const CONNMGRSCRIPT& script)
{
    {
        std::lock_guard<std::mutex> lock(g_connMgr.m_mutex);
        g_connMgr.m_script = script;
    }
    CConnMgr::Use(&g_connMgr);
}

void CScriptedConnMgr::Reset()
{
    CConnMgr::Use(nullptr);
}

HRESULT CScriptedConnMgr::Establish(const CONNMGR_CONNECTIONINFO& info, DWORD dwTimeout, DWORD& dwStatus)
{
    CONNMGRSCRIPT script;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        script = m_script;
    }
    for (size_t i = 0; i + 1 < script.statuses.size(); ++i) {
        Post(info, script.statuses[i]);
        dwStatus = script.statuses[i];
    }
    if (script.dwDelayMs > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(script.dwDelayMs, dwTimeout)));
        if (script.dwDelayMs > dwTimeout)
            return E_FAIL;
    }
    if (!script.statuses.empty()) {
        Post(info, script.statuses.back());
        dwStatus = script.statuses.back();
    }
    return script.hrEstablish;
}
