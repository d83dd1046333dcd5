#include "net/StatusTexts.h"

#include "platform/Internet.h"
#include "platform/ui/ConnMgr.h"

namespace {

struct STATUSTEXT
{
    DWORD dwStatus;
    const wchar_t* pszText;
};

const STATUSTEXT s_connMgrTexts[] = {
    {CONNMGR_STATUS_UNKNOWN, L"Unknown status"},
    {CONNMGR_STATUS_CONNECTED, L"Connection is up"},
    {CONNMGR_STATUS_SUSPENDED, L"Connection is up but suspended"},
    {CONNMGR_STATUS_DISCONNECTED, L"Connection is disconnected"},
    {CONNMGR_STATUS_CONNECTIONFAILED, L"Connection failed and cannot not be reestablished"},
    {CONNMGR_STATUS_CONNECTIONCANCELED, L"User aborted connection"},
    {CONNMGR_STATUS_CONNECTIONDISABLED, L"Connection is ready to connect but disabled"},
    {CONNMGR_STATUS_NOPATHTODESTINATION, L"No path could be found to destination"},
    {CONNMGR_STATUS_WAITINGFORPATH, L"Waiting for a path to the destination"},
    {CONNMGR_STATUS_WAITINGFORPHONE, L"Voice call is in progress"},
    {CONNMGR_STATUS_PHONEOFF, L"Phone resource needed and phone is off"},
    {CONNMGR_STATUS_EXCLUSIVECONFLICT,
     L"The connection could not be established because it would multi-home an exclusive connection"},
    {CONNMGR_STATUS_NORESOURCES, L"Failed to allocate resources to make the connection"},
    {CONNMGR_STATUS_CONNECTIONLINKFAILED, L"Connection link disconnected prematurely"},
    {CONNMGR_STATUS_AUTHENTICATIONFAILED, L"Failed to authenticate user"},
    {CONNMGR_STATUS_WAITINGCONNECTION, L"Attempting to connect"},
    {CONNMGR_STATUS_WAITINGFORRESOURCE, L"Resource is in use by another connection"},
    {CONNMGR_STATUS_WAITINGFORNETWORK, L"Network is used by higher priority thread or device is roaming"},
    {CONNMGR_STATUS_WAITINGDISCONNECTION, L"Connection is being brought down"},
    {CONNMGR_STATUS_WAITINGCONNECTIONABORT, L"Aborting connection attempt"},
};

const STATUSTEXT s_internetTexts[] = {
    {INTERNET_STATUS_RESOLVING_NAME, L"Resolving name..."},
    {INTERNET_STATUS_NAME_RESOLVED, L"Name resolved"},
    {INTERNET_STATUS_CONNECTING_TO_SERVER, L"Connecting to server..."},
    {INTERNET_STATUS_CONNECTED_TO_SERVER, L"Connected to server"},
    {INTERNET_STATUS_SENDING_REQUEST, L"Sending request..."},
    {INTERNET_STATUS_REQUEST_SENT, L"Request sent"},
    {INTERNET_STATUS_RECEIVING_RESPONSE, L"Receiving response..."},
    {INTERNET_STATUS_RESPONSE_RECEIVED, L"Response received"},
    {INTERNET_STATUS_CTL_RESPONSE_RECEIVED, L"Ctl response received"},
    {INTERNET_STATUS_PREFETCH, L"Prefetch"},
    {INTERNET_STATUS_CLOSING_CONNECTION, L"Closing connection..."},
    {INTERNET_STATUS_CONNECTION_CLOSED, L"Connection closed"},
    {INTERNET_STATUS_HANDLE_CREATED, L"Handle created"},
    {INTERNET_STATUS_HANDLE_CLOSING, L"Handle closing"},
    {INTERNET_STATUS_DETECTING_PROXY, L"Detecting proxy..."},
    {INTERNET_STATUS_REQUEST_COMPLETE, L"Request complete"},
};

template <size_t N>
std::wstring TextOf(const STATUSTEXT (&texts)[N], DWORD dwStatus)
{
    for (const STATUSTEXT& entry : texts) {
        if (entry.dwStatus == dwStatus)
            return entry.pszText;
    }
    return std::wstring();
}

} // namespace

std::wstring ConnMgrStatusText(DWORD dwStatus)
{
    return TextOf(s_connMgrTexts, dwStatus);
}

std::wstring InternetStatusText(DWORD dwStatus)
{
    return TextOf(s_internetTexts, dwStatus);
}
