#pragma once

#include "platform/WinTypes.h"

#include <string>

// The texts the download dialog (and the find-station dialog) show for the
// statuses they are told of; a status a table does not know has no text.

// The connection manager's statuses (0x10: "Connection is up").
std::wstring ConnMgrStatusText(DWORD dwStatus);

// The HTTP layer's status notices (60: "Handle created").
std::wstring InternetStatusText(DWORD dwStatus);
