#include "platform/Ras.h"
#include "platform/testing/FakeDialUp.h"

#include "platform/LastError.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Hangs up every dial-up connection the way the update flow does: one record
// first, a buffer of the reported size when that is too small.
void HangUpAll()
{
    std::vector<RASCONN> records(1);
    records[0].dwSize = sizeof(RASCONN);
    DWORD cb = sizeof(RASCONN);
    DWORD dwCount = 0;
    DWORD dwResult = RasEnumConnections(records.data(), &cb, &dwCount);
    if (dwResult == ERROR_BUFFER_TOO_SMALL) {
        EXPECT_EQ(cb, dwCount * sizeof(RASCONN));
        records.assign(dwCount, RASCONN{});
        records[0].dwSize = sizeof(RASCONN);
        dwResult = RasEnumConnections(records.data(), &cb, &dwCount);
    }
    ASSERT_EQ(dwResult, 0u);
    for (DWORD i = 0; i < dwCount; ++i)
        EXPECT_EQ(RasHangUp(records[i].hrasconn), 0u);
}

TEST(DialUp, ThereAreNoConnectionsToHangUp)
{
    CFakeDialUp::Reset();
    RASCONN record = {};
    record.dwSize = sizeof record;
    DWORD cb = sizeof record;
    DWORD dwCount = 99;
    EXPECT_EQ(RasEnumConnections(&record, &cb, &dwCount), 0u);
    EXPECT_EQ(dwCount, 0u);
    HangUpAll();
}

TEST(DialUp, EveryConnectionIsHungUpThroughTheLargerBuffer)
{
    CFakeDialUp::Reset();
    for (int nConnections : {1, 3}) {
        for (int i = 0; i < nConnections; ++i)
            CFakeDialUp::Add(L"GPRS " + std::to_wstring(i));
        HangUpAll();
        EXPECT_TRUE(CFakeDialUp::Names().empty());
    }

    HRASCONN h = CFakeDialUp::Add(L"A very long entry name indeed");
    RASCONN record = {};
    record.dwSize = sizeof record;
    DWORD cb = sizeof record;
    DWORD dwCount = 0;
    ASSERT_EQ(RasEnumConnections(&record, &cb, &dwCount), 0u);
    EXPECT_EQ(record.hrasconn, h);
    EXPECT_EQ(std::wstring(record.szEntryName), L"A very long entry na");   // 20 characters kept
    EXPECT_EQ(RasHangUp(h), 0u);
    EXPECT_EQ(RasHangUp(h), ERROR_INVALID_HANDLE);

    record.dwSize = 52;   // the device's size is not this record's
    EXPECT_EQ(RasEnumConnections(&record, &cb, &dwCount), ERROR_INVALID_SIZE);
}

}
