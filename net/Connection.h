#pragma once

#include "net/StatusTexts.h"
#include "platform/Kernel.h"
#include "platform/WinDef.h"

#include <string>

class CLogFile;
class CWnd;

// The message through which the connection manager reports the connection's
// statuses to the window that asked for it; wParam is the status.
constexpr UINT WM_CONNMGR_STATUS = WM_USER + 100;

// Ends every active dial-up connection, as the "Disconnect after update"
// setting asks after an update. Failures are ignored; nothing is reported.
void HangUpAllConnections();

// The low 32 bits of a handle or address, as the trace's "0x%08x" shows them.
unsigned LogAddress(const void* p);

// One download's claim on the Internet connection: asked for before the
// transfer, on the download worker, and given back after it. Every step is
// traced in the diagnostic log.
class CConnection
{
public:
    explicit CConnection(CLogFile& log) : m_log(log) {}
    ~CConnection() { Release(); }
    CConnection(const CConnection&) = delete;
    CConnection& operator=(const CConnection&) = delete;

    // Asks the connection manager for a connection whose statuses are posted to
    // pWnd as WM_CONNMGR_STATUS, learns its proxy and waits until the window
    // has seen the connection come up (it sets hEventConnected). Establishing
    // cannot be broken off, but is bounded by the manager's 15 s; the wait
    // for "up" has no time limit and ends when hEventCancel is set (the user's
    // Cancel), which fails the attempt. False: no connection to use.
    bool Connect(CWnd* pWnd, HANDLE hEventConnected, HANDLE hEventCancel);
    // Gives the connection back, if one was obtained.
    void Release();

    CLogFile& m_log;
    HANDLE m_hConnection = nullptr;
    // How the HTTP layer is to be opened: through the connection's proxy,
    // directly when it has none, or as the environment says when the manager
    // could not tell.
    DWORD m_dwAccessType = 0;
    std::wstring m_strProxy;
};
