#include "platform/LastError.h"

namespace {
thread_local DWORD t_dwLastError = ERROR_SUCCESS;
}

DWORD GetLastError()
{
    return t_dwLastError;
}

void SetLastError(DWORD dwError)
{
    t_dwLastError = dwError;
}
