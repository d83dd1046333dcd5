#pragma once

// The platform's remaining scalar types and its GUID record, as the network
// interfaces (HTTP layer, connection manager, dial-up) publish them.

#include "platform/WinTypes.h"

#include <cstdint>

typedef int BOOL;
constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t ULONG;
// Pointer-sized, so that a context or a handle fits.
typedef uintptr_t DWORD_PTR;

struct GUID
{
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};

inline bool operator==(const GUID& a, const GUID& b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }
