#pragma once

#include "platform/WinTypes.h"

// The calling thread's last error code, as the platform keeps it: set by the
// calls that fail (and by the asynchronous ones that answer "pending").
DWORD GetLastError();
void SetLastError(DWORD dwError);

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_IO_PENDING = 997;
