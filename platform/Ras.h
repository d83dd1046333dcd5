#pragma once

// The remote-access service's dial-up connections, with the platform's names.
// A Linux desktop has no dial-up connections of the program's to end, so the
// list is empty unless a test adds some to see them hung up.

#include "platform/WinDef.h"

#include <string>
#include <vector>

struct RASCONNOBJECT;
typedef RASCONNOBJECT* HRASCONN;

constexpr int RAS_MaxEntryName = 20;
constexpr DWORD ERROR_BUFFER_TOO_SMALL = 603;
constexpr DWORD ERROR_INVALID_SIZE = 632;

// dwSize must be sizeof(RASCONN) (52 bytes on the device, more here: wide
// characters and handles are larger).
struct RASCONN
{
    DWORD dwSize;
    HRASCONN hrasconn;
    wchar_t szEntryName[RAS_MaxEntryName + 1];
};

// Fills the records (the first one's dwSize set by the caller) and answers 0;
// a buffer too small for all of them answers ERROR_BUFFER_TOO_SMALL with the
// bytes and the number of records needed.
DWORD RasEnumConnections(RASCONN* lprasconn, DWORD* lpcb, DWORD* lpcConnections);
DWORD RasHangUp(HRASCONN hrasconn);

class CRas
{
public:
    static HRASCONN AddConnectionForTest(const std::wstring& strEntryName);
    static std::vector<std::wstring> ConnectionsForTest();
    static void ResetForTest();
};
