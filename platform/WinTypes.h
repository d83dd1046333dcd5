#pragma once

// The plain records and scalar types of the phone platform's interfaces, so that
// code written against them reads the same on Linux.

#include <cstdint>

// The fixed-width types are 32 bits, as on the platform, so that "0x%08x" formats
// and (DWORD)-1 mean what code written for it expects. The message parameters
// are pointer-sized.
typedef uint32_t UINT;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned long WPARAM;
typedef long LPARAM;
typedef long LRESULT;

// 0x00bbggrr, as the platform packs colours.
typedef unsigned int COLORREF;

constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xff) | ((g & 0xff) << 8) | ((b & 0xff) << 16));
}
constexpr int GetRValue(COLORREF cr) { return static_cast<int>(cr & 0xff); }
constexpr int GetGValue(COLORREF cr) { return static_cast<int>((cr >> 8) & 0xff); }
constexpr int GetBValue(COLORREF cr) { return static_cast<int>((cr >> 16) & 0xff); }

// Right and bottom edges lie outside the rectangle.
struct RECT
{
    int left;
    int top;
    int right;
    int bottom;
};

struct POINT
{
    int x;
    int y;
};

struct SIZE
{
    int cx;
    int cy;
};

// The platform's rounding multiply-divide: a * b / c rounded half away from zero;
// a zero divisor, or a result that does not fit in an int, gives -1.
int MulDiv(int a, int b, int c);

constexpr UINT WM_USER = 0x0400;
