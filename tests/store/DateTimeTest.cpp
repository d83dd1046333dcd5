#include "store/DateTime.h"
#include "platform/testing/FakeClock.h"

#include <gtest/gtest.h>

namespace {

const double DEC_10_2026 = 46366;

double Time(int h, int m = 0, int s = 0)
{
    return (h * 3600 + m * 60 + s) / 86400.0;
}

class DateTime : public ::testing::Test
{
protected:
    // 2026-12-10 18:56 UTC, local 13:56 five hours behind.
    void SetUp() override { CFakeClock::Set(1796928960, 300); }
    void TearDown() override { CFakeClock::Clear(); }
};

TEST_F(DateTime, ParseSetsValueOrMarksTheFailureKind)
{
    CDateTime dt;
    dt.m_status = CDateTime::invalid;
    EXPECT_TRUE(dt.ParseDateTime(L"12/10/26 1:00 PM", 0, 0x0409));
    EXPECT_EQ(dt.m_status, CDateTime::valid);
    EXPECT_DOUBLE_EQ(dt.m_dt, DEC_10_2026 + Time(13));

    EXPECT_FALSE(dt.ParseDateTime(L"24:00", 1));
    EXPECT_EQ(dt.m_status, CDateTime::invalid);
    EXPECT_EQ(dt.m_dt, 0.0);

    dt.ParseDateTime(L"7:04 AM", 1);
    EXPECT_FALSE(dt.ParseDateTime(nullptr, 1));   // null counts as empty: a mismatch
    EXPECT_EQ(dt.m_status, CDateTime::invalid);
    EXPECT_EQ(dt.m_dt, 0.0);

    // Any other parser error gives -1.0.
    EXPECT_FALSE(dt.ParseDateTime(L"7:04 AM", 3));
    EXPECT_EQ(dt.m_status, CDateTime::invalid);
    EXPECT_EQ(dt.m_dt, -1.0);
}

TEST_F(DateTime, FormatUsesEnglishNamesAndRoundsToTheSecond)
{
    CDateTime dt(DEC_10_2026 + Time(13, 56, 7));
    EXPECT_EQ(dt.Format(L"%a, %b %d"), L"Thu, Dec 10");
    EXPECT_EQ(dt.Format(L"%A %B %Y %H:%M:%S %p %j"), L"Thursday December 2026 13:56:07 PM 344");
    EXPECT_EQ(CDateTime(DEC_10_2026 + Time(23, 59, 59) + 0.7 / 86400).Format(L"%Y-%m-%d %H:%M:%S"),
              L"2026-12-11 00:00:00");
    EXPECT_EQ(CDateTime(-1.25).Format(L"%Y-%m-%d %H:%M"), L"1899-12-29 06:00");
    EXPECT_EQ(CDateTime(Time(16, 29)).Format(L"%H:%M"), L"16:29");
    EXPECT_EQ(dt.Format(L""), L"");

    CDateTime bad;
    bad.ParseDateTime(L"nonsense");
    EXPECT_EQ(bad.Format(L"%a, %b %d"), L"Invalid DateTime");
    EXPECT_EQ(CDateTime(1e12).Format(L"%Y"), L"Invalid DateTime");
}

TEST_F(DateTime, SecondsUntilRoundsTheSpan)
{
    const CDateTime start(DEC_10_2026);
    EXPECT_EQ(start.SecondsUntil(CDateTime(DEC_10_2026 + 59.6 / 86400)), 60);
    EXPECT_EQ(start.SecondsUntil(CDateTime(DEC_10_2026 + 59.4 / 86400)), 59);
    EXPECT_EQ(start.SecondsUntil(CDateTime(DEC_10_2026 - Time(1) - 0.6 / 86400)), -3601);
    EXPECT_EQ(start.SecondsUntil(CDateTime(DEC_10_2026 + 3)), 3 * 86400);
    // Across the calendar's day 0 the value is not linear: 29 Dec 06:00 to 30 Dec 06:00.
    EXPECT_EQ(CDateTime(-1.25).SecondsUntil(CDateTime(0.25)), 86400);
}

TEST_F(DateTime, SystemTimeConversions)
{
    SYSTEMTIME st = {2026, 12, 4, 10, 13, 56, 7, 500};
    CDateTime dt(st);
    EXPECT_EQ(dt.m_status, CDateTime::valid);
    EXPECT_DOUBLE_EQ(dt.m_dt, DEC_10_2026 + Time(13, 56, 7));

    SYSTEMTIME back = {};
    ASSERT_TRUE(dt.GetAsSystemTime(back));
    EXPECT_EQ(back.wHour, 13);
    EXPECT_EQ(back.wDayOfWeek, 4);

    SYSTEMTIME impossible = {2026, 13, 0, 1, 0, 0, 0, 0};
    CDateTime bad(impossible);
    EXPECT_EQ(bad.m_status, CDateTime::invalid);
    EXPECT_EQ(bad.m_dt, 0.0);
    EXPECT_FALSE(bad.GetAsSystemTime(back));
}

} // namespace
