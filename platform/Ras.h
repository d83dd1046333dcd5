#pragma once

// The remote-access service's dial-up connections, with the platform's names.
// A Linux desktop has no dial-up connections of the program's to end, so the
// list is empty unless the program is handed a dial-up service when it starts.

#include "platform/WinDef.h"

#include <string>
#include <utility>
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

// The dial-up connections open, and hanging one up.
class IDialUp
{
public:
    virtual ~IDialUp() = default;
    virtual std::vector<std::pair<HRASCONN, std::wstring>> Connections() const = 0;
    // False for a connection that is not open.
    virtual bool HangUp(HRASCONN hConnection) = 0;
};

class CRas
{
public:
    // The dial-up service from now on; nullptr: none, as on a desktop. The
    // caller keeps it alive while it is in use.
    static void Use(IDialUp* pDialUp);
};
