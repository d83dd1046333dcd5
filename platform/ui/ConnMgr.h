#pragma once

// The connection manager, with the platform's names. Linux has no such service:
// the stand-in reports a connection that is always there, posting "Attempting
// to connect" and then "Connection is up" to the requesting window, and answers
// the proxy question from the environment (http_proxy, then HTTP_PROXY). The
// program may be handed another way of connecting when it starts.

#include "platform/HResult.h"
#include "platform/Kernel.h"
#include "platform/WinDef.h"

class CWnd;

constexpr DWORD CONNMGR_PARAM_GUIDDESTNET = 0x1;
constexpr DWORD CONNMGR_FLAG_PROXY_HTTP = 0x1;
constexpr DWORD CONNMGR_PRIORITY_USERINTERACTIVE = 0x08000;

// Connection statuses, posted as the message's wParam.
constexpr DWORD CONNMGR_STATUS_UNKNOWN = 0x00;
constexpr DWORD CONNMGR_STATUS_CONNECTED = 0x10;
constexpr DWORD CONNMGR_STATUS_SUSPENDED = 0x11;
constexpr DWORD CONNMGR_STATUS_DISCONNECTED = 0x20;
constexpr DWORD CONNMGR_STATUS_CONNECTIONFAILED = 0x21;
constexpr DWORD CONNMGR_STATUS_CONNECTIONCANCELED = 0x22;
constexpr DWORD CONNMGR_STATUS_CONNECTIONDISABLED = 0x23;
constexpr DWORD CONNMGR_STATUS_NOPATHTODESTINATION = 0x24;
constexpr DWORD CONNMGR_STATUS_WAITINGFORPATH = 0x25;
constexpr DWORD CONNMGR_STATUS_WAITINGFORPHONE = 0x26;
constexpr DWORD CONNMGR_STATUS_PHONEOFF = 0x27;
constexpr DWORD CONNMGR_STATUS_EXCLUSIVECONFLICT = 0x28;
constexpr DWORD CONNMGR_STATUS_NORESOURCES = 0x29;
constexpr DWORD CONNMGR_STATUS_CONNECTIONLINKFAILED = 0x2A;
constexpr DWORD CONNMGR_STATUS_AUTHENTICATIONFAILED = 0x2B;
constexpr DWORD CONNMGR_STATUS_WAITINGCONNECTION = 0x40;
constexpr DWORD CONNMGR_STATUS_WAITINGFORRESOURCE = 0x41;
constexpr DWORD CONNMGR_STATUS_WAITINGFORNETWORK = 0x42;
constexpr DWORD CONNMGR_STATUS_WAITINGDISCONNECTION = 0x80;
constexpr DWORD CONNMGR_STATUS_WAITINGCONNECTIONABORT = 0x81;

// The request for a connection. cbSize: sizeof the record (64 bytes on the
// device). Statuses go to hWnd as uMsg with wParam = the status, lParam = lParam.
struct CONNMGR_CONNECTIONINFO
{
    DWORD cbSize;
    DWORD dwParams;
    DWORD dwFlags;
    DWORD dwPriority;
    BOOL bExclusive;
    BOOL bDisabled;
    GUID guidDestNet;
    CWnd* hWnd;
    UINT uMsg;
    LPARAM lParam;
    ULONG ulMaxCost;
    ULONG ulMaxConnLatency;
};

constexpr int CMPROXY_PROXYSERVER_MAXSIZE = 256;
constexpr int CMPROXY_USERNAME_MAXSIZE = 32;
constexpr int CMPROXY_PASSWORD_MAXSIZE = 32;
constexpr int CMPROXY_PROXYOVERRIDE_MAXSIZE = 256;
constexpr int CMPROXY_EXTRAINFO_MAXSIZE = 64;

// The proxy answer (1288 bytes on the device). szProxyServer is "host[:port]",
// ready for the HTTP layer's named proxy; szProxyOverride lists the hosts that
// bypass it (from no_proxy), separated by ';'.
struct PROXY_CONFIG
{
    DWORD dwType;
    BOOL dwEnable;
    wchar_t szProxyServer[CMPROXY_PROXYSERVER_MAXSIZE];
    wchar_t szUsername[CMPROXY_USERNAME_MAXSIZE];
    wchar_t szPassword[CMPROXY_PASSWORD_MAXSIZE];
    wchar_t szProxyOverride[CMPROXY_PROXYOVERRIDE_MAXSIZE];
    wchar_t szExtraInfo[CMPROXY_EXTRAINFO_MAXSIZE];
};

extern const GUID IID_DestNetInternet;
extern const GUID IID_ConnPrv_IProxyExtension;

// Every address is on the Internet: the Internet's network and index 0.
HRESULT ConnMgrMapURL(const wchar_t* pwszURL, GUID* pguid, DWORD* pdwIndex);
// Posts the statuses to the request's window, then answers with the last one
// and, unless it fails, a connection handle to release.
HRESULT ConnMgrEstablishConnectionSync(CONNMGR_CONNECTIONINFO* pConnInfo, HANDLE* phConnection, DWORD dwTimeout,
                                       DWORD* pdwStatus);
// With IID_ConnPrv_IProxyExtension and a PROXY_CONFIG: S_OK and the proxy of
// the environment, or E_NOINTERFACE when there is none.
HRESULT ConnMgrProviderMessage(HANDLE hConnection, const GUID* pguidProvider, DWORD* pdwIndex, DWORD dwMsg1,
                               DWORD dwMsg2, BYTE* pParams, ULONG cbParamSize);
HRESULT ConnMgrReleaseConnection(HANDLE hConnection, LONG lCache);

// How a connection is established: posts the statuses to the request's window
// (wParam the status, lParam the request's), sets the last one, and answers
// S_OK for a connection or the failure. dwTimeout: what the caller waits.
class IConnectionPath
{
public:
    virtual ~IConnectionPath() = default;
    virtual HRESULT Establish(const CONNMGR_CONNECTIONINFO& info, DWORD dwTimeout, DWORD& dwStatus) = 0;
};

class CConnMgr
{
public:
    // The way of connecting from now on; nullptr: the stand-in's, always
    // connected. The caller keeps it alive while it is in use.
    static void Use(IConnectionPath* pPath);
    // Connections established and not yet released.
    static int OpenConnections();
};
