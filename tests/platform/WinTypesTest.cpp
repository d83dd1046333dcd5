#include "platform/HResult.h"
#include "platform/WinTypes.h"
#include "platform/WideFormat.h"

#include <gtest/gtest.h>

// Code written for the platform formats DWORDs with "0x%08x" and compares with
// (DWORD)-1; both only hold when the fixed-width types are 32 bits.
TEST(WinTypesTest, FixedWidthTypesAreThirtyTwoBits)
{
    EXPECT_EQ(sizeof(DWORD), 4u);
    EXPECT_EQ(sizeof(UINT), 4u);
    EXPECT_EQ(sizeof(LONG), 4u);
    EXPECT_EQ(sizeof(HRESULT), 4u);
    EXPECT_EQ(static_cast<DWORD>(-1), 0xffffffffu);
    EXPECT_EQ(static_cast<HRESULT>(0x80004002u), -2147467262);
}

TEST(WinTypesTest, LogFormatsReadADwordAtItsWidth)
{
    DWORD dwHandle = 0x1234abcd;
    DWORD dwStatus = 0x10;
    EXPECT_EQ(CWideFormat::Format(L"hConnection = 0x%08x, dwStatus = 0x%08x\n", dwHandle, dwStatus),
              L"hConnection = 0x1234abcd, dwStatus = 0x00000010\n");
}

TEST(WinTypesTest, MulDivRoundsAndAnswersMinusOneWhenTheResultCannotBeHeld)
{
    struct Case
    {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {164, 13, 8, 267},               // 266.5 rounds away from zero
        {-164, 13, 8, -267},
        {7, 1, -2, -4},                  // a negative divisor
        {5, 1, 0, -1},                   // no divisor
        {2147483647, 2, 2, 2147483647},  // the product is wider than an int; the result is not
        {2147483647, 2, 1, -1},          // the result is too large
        {-2147483647 - 1, 2, 1, -1},     // and too small
        {-2147483647 - 1, 1, -1, -1},    // minus the smallest int
        {-2147483647 - 1, 1, 1, -2147483647 - 1},
        {1000000, 1000000, 1000000, 1000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}
