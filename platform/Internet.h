#pragma once

// The asynchronous HTTP layer, with the names and meanings of the platform's
// HTTP library in its asynchronous mode, on top of libcurl.
//
// One open handle (InternetOpenW) owns a thread of the layer, which runs its
// transfers and calls the status callback; the callback never runs on the
// caller's thread. A request (InternetOpenUrlW) answers "pending" and reports
// its progress through the callback:
//   60 handle created (INTERNET_ASYNC_RESULT, dwResult = the request handle),
//   10 resolving name (the host name), 11 name resolved, 20 connecting,
//   21 connected (the address as text), 30 sending request, 31 request sent
//   (DWORD bytes), 40 receiving response, 41 response received (DWORD bytes),
//   110 redirect (the new URL, only when a redirect is followed),
//   100 request complete (INTERNET_ASYNC_RESULT) once the final answer's headers
//   are in or the request has failed.
// Texts handed to the callback are wide (const wchar_t*); the length counts
// their terminator, in bytes.
// 50 closing connection and 51 connection closed come only when the server ends
// the connection before the answer is complete; a complete answer ends with a
// read of 0 bytes and no such notice. 70 handle closing is the last notice of a
// request handle.
//
// Every request goes to the network: a new connection each time, no cache, no
// cookies. Redirects are followed (up to 10, to http and https only) unless the
// request asks for INTERNET_FLAG_NO_AUTO_REDIRECT.

#include "platform/LastError.h"
#include "platform/WinDef.h"

typedef void* HINTERNET;

typedef void (*INTERNET_STATUS_CALLBACK)(HINTERNET hInternet, DWORD_PTR dwContext, DWORD dwInternetStatus,
                                         void* lpvStatusInformation, DWORD dwStatusInformationLength);
inline const INTERNET_STATUS_CALLBACK INTERNET_INVALID_STATUS_CALLBACK =
    reinterpret_cast<INTERNET_STATUS_CALLBACK>(static_cast<intptr_t>(-1));

// InternetOpenW
constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;   // the proxy of the environment (http_proxy)
constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;      // no proxy, whatever the environment says
constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;       // the named proxy: "host[:port]" (port 80 if none)
constexpr DWORD INTERNET_FLAG_ASYNC = 0x10000000;   // required: the layer is asynchronous only

// InternetOpenUrlW
constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;             // also asks caches on the way for a fresh answer
constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;   // hand a redirect answer back as it is

// InternetReadFileExA
constexpr DWORD IRF_ASYNC = 0x00000001;

// Status notices.
constexpr DWORD INTERNET_STATUS_RESOLVING_NAME = 10;
constexpr DWORD INTERNET_STATUS_NAME_RESOLVED = 11;
constexpr DWORD INTERNET_STATUS_CONNECTING_TO_SERVER = 20;
constexpr DWORD INTERNET_STATUS_CONNECTED_TO_SERVER = 21;
constexpr DWORD INTERNET_STATUS_SENDING_REQUEST = 30;
constexpr DWORD INTERNET_STATUS_REQUEST_SENT = 31;
constexpr DWORD INTERNET_STATUS_RECEIVING_RESPONSE = 40;
constexpr DWORD INTERNET_STATUS_RESPONSE_RECEIVED = 41;
constexpr DWORD INTERNET_STATUS_CTL_RESPONSE_RECEIVED = 42;
constexpr DWORD INTERNET_STATUS_PREFETCH = 43;
constexpr DWORD INTERNET_STATUS_CLOSING_CONNECTION = 50;
constexpr DWORD INTERNET_STATUS_CONNECTION_CLOSED = 51;
constexpr DWORD INTERNET_STATUS_HANDLE_CREATED = 60;
constexpr DWORD INTERNET_STATUS_HANDLE_CLOSING = 70;
constexpr DWORD INTERNET_STATUS_DETECTING_PROXY = 80;
constexpr DWORD INTERNET_STATUS_REQUEST_COMPLETE = 100;
constexpr DWORD INTERNET_STATUS_REDIRECT = 110;

// HttpQueryInfoW
constexpr DWORD HTTP_QUERY_CONTENT_LENGTH = 5;
constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
constexpr DWORD HTTP_QUERY_FLAG_NUMBER = 0x20000000;   // answer a DWORD instead of text

// InternetSetOptionW: timeouts in milliseconds, as a DWORD. On an open handle
// they apply to its later requests; on no handle (nullptr) to later open handles.
// Connecting (name resolution included) may take 15 s; a transfer that delivers
// nothing for 30 s has failed.
constexpr DWORD INTERNET_OPTION_CONNECT_TIMEOUT = 2;
constexpr DWORD INTERNET_OPTION_RECEIVE_TIMEOUT = 6;
// The named proxy's credentials, on an open handle, as wide text (the length
// in characters, or 0: up to the terminator); sent to the proxy by Basic
// authentication with the handle's later requests.
constexpr DWORD INTERNET_OPTION_PROXY_USERNAME = 43;
constexpr DWORD INTERNET_OPTION_PROXY_PASSWORD = 44;
constexpr DWORD DEFAULT_CONNECT_TIMEOUT_MS = 15000;
constexpr DWORD DEFAULT_RECEIVE_TIMEOUT_MS = 30000;

// Error codes, in the request-complete notice's dwError and the last error.
constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
constexpr DWORD ERROR_INTERNET_INTERNAL_ERROR = 12004;
constexpr DWORD ERROR_INTERNET_INVALID_URL = 12005;
constexpr DWORD ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006;
constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
constexpr DWORD ERROR_INTERNET_INVALID_OPTION = 12009;
constexpr DWORD ERROR_INTERNET_OPERATION_CANCELLED = 12017;
constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019;
constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
constexpr DWORD ERROR_INTERNET_CONNECTION_RESET = 12031;
constexpr DWORD ERROR_HTTP_HEADER_NOT_FOUND = 12150;
constexpr DWORD ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
constexpr DWORD ERROR_HTTP_INVALID_QUERY_REQUEST = 12154;
constexpr DWORD ERROR_HTTP_REDIRECT_FAILED = 12156;
constexpr DWORD ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157;

// The information of the handle-created and request-complete notices.
struct INTERNET_ASYNC_RESULT
{
    DWORD_PTR dwResult;   // 60: the new handle; 100: TRUE or FALSE
    DWORD dwError;        // 100 with FALSE: why
};

// A read's buffer record. The layer uses lpvBuffer and dwBufferLength only: in,
// the buffer's size; out, the bytes it holds.
struct INTERNET_BUFFERSA
{
    DWORD dwStructSize;
    INTERNET_BUFFERSA* Next;
    const char* lpcszHeader;
    DWORD dwHeadersLength;
    DWORD dwHeadersTotal;
    void* lpvBuffer;
    DWORD dwBufferLength;
    DWORD dwBufferTotal;
    DWORD dwOffsetLow;
    DWORD dwOffsetHigh;
};

// agent: the User-Agent; proxy and bypass: see the access types (bypass: host
// names separated by ';', ',' or spaces, or nullptr).
HINTERNET InternetOpenW(const wchar_t* lpszAgent, DWORD dwAccessType, const wchar_t* lpszProxy,
                        const wchar_t* lpszProxyBypass, DWORD dwFlags);

// One callback per open handle, used for its requests' notices too. Answers the
// previous callback (INTERNET_INVALID_STATUS_CALLBACK on failure). From a thread
// other than the layer's it returns only once no callback of the handle is
// running, so that after setting nullptr nothing calls the old one any more.
INTERNET_STATUS_CALLBACK InternetSetStatusCallbackW(HINTERNET hInternet, INTERNET_STATUS_CALLBACK lpfnCallback);

// Starts a GET request. Answers nullptr with the last error ERROR_IO_PENDING;
// the handle arrives with notice 60. Headers: "Name: value" lines separated by
// CR LF, of that length (or (DWORD)-1: up to the terminator), or nullptr. The
// URL is canonicalised first: white space at its ends dropped, other spaces,
// control characters and non-ASCII bytes (of its UTF-8 form) percent-encoded.
HINTERNET InternetOpenUrlW(HINTERNET hInternet, const wchar_t* lpszUrl, const wchar_t* lpszHeaders,
                           DWORD dwHeadersLength, DWORD dwFlags, DWORD_PTR dwContext);

// After the request has completed: the answer's status code or content length,
// as wide text (lpdwBufferLength in bytes; on success the text's bytes without
// the terminator) or with HTTP_QUERY_FLAG_NUMBER as a DWORD. No such header:
// ERROR_HTTP_HEADER_NOT_FOUND; buffer too small: ERROR_INSUFFICIENT_BUFFER with
// the bytes needed.
BOOL HttpQueryInfoW(HINTERNET hRequest, DWORD dwInfoLevel, void* lpBuffer, DWORD* lpdwBufferLength,
                    DWORD* lpdwIndex);

// Reads at most dwBufferLength bytes of the body. TRUE: the record holds the
// bytes (0 at the end of the body). FALSE with ERROR_IO_PENDING: a notice 100
// follows once the record has been filled (dwResult TRUE), or with dwResult FALSE,
// the error in dwError and dwBufferLength 0 when the transfer failed. FALSE with
// another error: the transfer has failed (dwBufferLength 0). One read at a time.
BOOL InternetReadFileExA(HINTERNET hFile, INTERNET_BUFFERSA* lpBuffersOut, DWORD dwFlags, DWORD_PTR dwContext);

// Closing a request aborts its transfer at once, whatever its phase; closing an
// open handle closes its requests too. Each closed handle's last notice is 70.
// From a thread other than the layer's it returns after that notice, so the
// closed handle's callbacks are over; it must not be called holding anything
// the callback waits for.
BOOL InternetCloseHandle(HINTERNET hInternet);

BOOL InternetSetOptionW(HINTERNET hInternet, DWORD dwOption, void* lpBuffer, DWORD dwBufferLength);
