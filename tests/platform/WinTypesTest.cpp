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
