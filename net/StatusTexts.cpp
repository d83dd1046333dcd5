#include "net/StatusTexts.h"

#include "platform/Internet.h"
#include "platform/Translate.h"
#include "platform/ui/ConnMgr.h"

namespace {

struct STATUSTEXT
{
    DWORD dwStatus;
    const wchar_t* pszText;
};

const STATUSTEXT s_connMgrTexts[] = {
    {CONNMGR_STATUS_UNKNOWN, TR_NOOP(L"Unknown status")},
    {CONNMGR_STATUS_CONNECTED, TR_NOOP(L"Connection is up")},
    {CONNMGR_STATUS_SUSPENDED, TR_NOOP(L"Connection is up but suspended")},
    {CONNMGR_STATUS_DISCONNECTED, TR_NOOP(L"Connection is disconnected")},
    {CONNMGR_STATUS_CONNECTIONFAILED, TR_NOOP(L"Connection failed and cannot not be reestablished")},
    {CONNMGR_STATUS_CONNECTIONCANCELED, TR_NOOP(L"User aborted connection")},
    {CONNMGR_STATUS_CONNECTIONDISABLED, TR_NOOP(L"Connection is ready to connect but disabled")},
    {CONNMGR_STATUS_NOPATHTODESTINATION, TR_NOOP(L"No path could be found to destination")},
    {CONNMGR_STATUS_WAITINGFORPATH, TR_NOOP(L"Waiting for a path to the destination")},
    {CONNMGR_STATUS_WAITINGFORPHONE, TR_NOOP(L"Voice call is in progress")},
    {CONNMGR_STATUS_PHONEOFF, TR_NOOP(L"Phone resource needed and phone is off")},
    {CONNMGR_STATUS_EXCLUSIVECONFLICT,
     TR_NOOP(L"The connection could not be established because it would multi-home an exclusive connection")},
    {CONNMGR_STATUS_NORESOURCES, TR_NOOP(L"Failed to allocate resources to make the connection")},
    {CONNMGR_STATUS_CONNECTIONLINKFAILED, TR_NOOP(L"Connection link disconnected prematurely")},
    {CONNMGR_STATUS_AUTHENTICATIONFAILED, TR_NOOP(L"Failed to authenticate user")},
    {CONNMGR_STATUS_WAITINGCONNECTION, TR_NOOP(L"Attempting to connect")},
    {CONNMGR_STATUS_WAITINGFORRESOURCE, TR_NOOP(L"Resource is in use by another connection")},
    {CONNMGR_STATUS_WAITINGFORNETWORK, TR_NOOP(L"Network is used by higher priority thread or device is roaming")},
    {CONNMGR_STATUS_WAITINGDISCONNECTION, TR_NOOP(L"Connection is being brought down")},
    {CONNMGR_STATUS_WAITINGCONNECTIONABORT, TR_NOOP(L"Aborting connection attempt")},
};

const STATUSTEXT s_internetTexts[] = {
    {INTERNET_STATUS_RESOLVING_NAME, TR_NOOP(L"Resolving name...")},
    {INTERNET_STATUS_NAME_RESOLVED, TR_NOOP(L"Name resolved")},
    {INTERNET_STATUS_CONNECTING_TO_SERVER, TR_NOOP(L"Connecting to server...")},
    {INTERNET_STATUS_CONNECTED_TO_SERVER, TR_NOOP(L"Connected to server")},
    {INTERNET_STATUS_SENDING_REQUEST, TR_NOOP(L"Sending request...")},
    {INTERNET_STATUS_REQUEST_SENT, TR_NOOP(L"Request sent")},
    {INTERNET_STATUS_RECEIVING_RESPONSE, TR_NOOP(L"Receiving response...")},
    {INTERNET_STATUS_RESPONSE_RECEIVED, TR_NOOP(L"Response received")},
    {INTERNET_STATUS_CTL_RESPONSE_RECEIVED, TR_NOOP(L"Ctl response received")},
    {INTERNET_STATUS_PREFETCH, TR_NOOP(L"Prefetch")},
    {INTERNET_STATUS_CLOSING_CONNECTION, TR_NOOP(L"Closing connection...")},
    {INTERNET_STATUS_CONNECTION_CLOSED, TR_NOOP(L"Connection closed")},
    {INTERNET_STATUS_HANDLE_CREATED, TR_NOOP(L"Handle created")},
    {INTERNET_STATUS_HANDLE_CLOSING, TR_NOOP(L"Handle closing")},
    {INTERNET_STATUS_DETECTING_PROXY, TR_NOOP(L"Detecting proxy...")},
    {INTERNET_STATUS_REQUEST_COMPLETE, TR_NOOP(L"Request complete")},
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
