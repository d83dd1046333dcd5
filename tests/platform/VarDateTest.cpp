#include "platform/VarDate.h"
#include "platform/testing/FakeClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace {

// 2026-12-10 18:56 UTC, five hours behind: local time 13:56 on the same day.
const long long DEC_10_2026_UTC = 1796928960;
// 2027-01-01 02:00 UTC: still 31 December 2026 five hours west, already 2027 one hour east.
const long long JAN_1_2027_UTC = 1798768800;

// Day numbers of the automation calendar.
const double DEC_10_2026 = 46366;
const double OCT_12_2026 = 46307;
const double DEC_25_2026 = 46381;
const double FEB_29_2024 = 45351;
const double JAN_2_2049 = 54425;
const double JAN_2_1950 = 18265;
const double JAN_1_2000 = 36526;
const double DEC_29_1899 = -1;

double Time(int h, int m = 0, int s = 0)
{
    return (h * 3600 + m * 60 + s) / 86400.0;
}

struct Case
{
    const wchar_t* pszText;
    unsigned long dwFlags;
    HRESULT hr;
    double value;
};

std::ostream& operator<<(std::ostream& os, const Case& c)
{
    os << '"';
    for (const wchar_t* p = c.pszText; p && *p; ++p)
        os << (*p < 128 ? static_cast<char>(*p) : '?');
    return os << "\" flags " << c.dwFlags;
}

class VarDateParse : public ::testing::TestWithParam<Case>
{
protected:
    void SetUp() override { CFakeClock::Set(DEC_10_2026_UTC, 300); }
    void TearDown() override { CFakeClock::Clear(); }
};

TEST_P(VarDateParse, GivesResultAndValue)
{
    const Case& c = GetParam();
    double value = 123.0;
    EXPECT_EQ(VarDateFromStr(c.pszText, LOCALE_EN_US, c.dwFlags, &value), c.hr);
    EXPECT_DOUBLE_EQ(value, c.value);
}

const HRESULT MISMATCH = DISP_E_TYPEMISMATCH;

INSTANTIATE_TEST_SUITE_P(FeedForms, VarDateParse, ::testing::Values(
    Case{L"12/10/26 1:00 PM", 0, S_OK, DEC_10_2026 + Time(13)},
    Case{L"1:56 PM", VAR_TIMEVALUEONLY, S_OK, Time(13, 56)},
    Case{L"7:04 AM", VAR_TIMEVALUEONLY, S_OK, Time(7, 4)},
    Case{L"Dec 10", VAR_DATEVALUEONLY, S_OK, DEC_10_2026}));

INSTANTIATE_TEST_SUITE_P(Dates, VarDateParse, ::testing::Values(
    // Month names: full or three letters, any case, before or after the day.
    Case{L"december 10", 0, S_OK, DEC_10_2026},
    Case{L"DEC 10, 2026", 0, S_OK, DEC_10_2026},
    Case{L"10 Dec 2026", 0, S_OK, DEC_10_2026},
    Case{L"10-dec-2026", 0, S_OK, DEC_10_2026},
    Case{L"Dec10", 0, S_OK, DEC_10_2026},
    // Numeric orders: month/day/year, then year/month/day, then day/month/year.
    Case{L"10/12/2026", 0, S_OK, OCT_12_2026},
    Case{L"2026-12-10", 0, S_OK, DEC_10_2026},
    Case{L"26/12/10", 0, S_OK, DEC_10_2026},
    Case{L"25/12/2026", 0, S_OK, DEC_25_2026},
    Case{L"12/25", 0, S_OK, DEC_25_2026},
    Case{L"25/12", 0, S_OK, DEC_25_2026},
    Case{L"2/29/2024", 0, S_OK, FEB_29_2024},
    // Two-digit years.
    Case{L"1/2/49", 0, S_OK, JAN_2_2049},
    Case{L"1/2/50", 0, S_OK, JAN_2_1950},
    Case{L"1/1/00", 0, S_OK, JAN_1_2000},
    // Before the calendar's day 0 the time still counts forward.
    Case{L"12/29/1899 6:00 AM", 0, S_OK, DEC_29_1899 - Time(6)},
    Case{L"  12/10/2026  ", 0, S_OK, DEC_10_2026}));

INSTANTIATE_TEST_SUITE_P(Times, VarDateParse, ::testing::Values(
    Case{L"12:00 AM", 0, S_OK, 0.0},
    Case{L"12:30 am", 0, S_OK, Time(0, 30)},
    Case{L"12:00 PM", 0, S_OK, Time(12)},
    Case{L"12 PM", 0, S_OK, Time(12)},
    Case{L"1 P", 0, S_OK, Time(13)},
    Case{L"1:00a", 0, S_OK, Time(1)},
    Case{L"11:59:59 PM", 0, S_OK, Time(23, 59, 59)},
    Case{L"13:00 AM", 0, S_OK, Time(13)},
    Case{L"23:05 PM", 0, S_OK, Time(23, 5)},
    Case{L"13:05:09", 0, S_OK, Time(13, 5, 9)},
    Case{L"13.05", 0, S_OK, Time(13, 5)},
    Case{L"0:00", 0, S_OK, 0.0},
    Case{L"1:00 PM 12/10/26", 0, S_OK, DEC_10_2026 + Time(13)},
    Case{L"Dec 10, 2026 1:56 PM", 0, S_OK, DEC_10_2026 + Time(13, 56)},
    Case{L"Dec 10 5 pm", 0, S_OK, DEC_10_2026 + Time(17)}));

INSTANTIATE_TEST_SUITE_P(Flags, VarDateParse, ::testing::Values(
    Case{L"12/10/26 1:00 PM", VAR_TIMEVALUEONLY, S_OK, Time(13)},
    Case{L"12/10/26 1:00 PM", VAR_DATEVALUEONLY, S_OK, DEC_10_2026},
    Case{L"12/10/26", VAR_TIMEVALUEONLY, S_OK, 0.0},
    Case{L"1:56 PM", VAR_DATEVALUEONLY, S_OK, 0.0},
    Case{L"1:56 PM", 0, S_OK, Time(13, 56)},
    // Dropping a part does not excuse it from being valid.
    Case{L"2/29/2026 1:00 PM", VAR_TIMEVALUEONLY, MISMATCH, 0.0},
    Case{L"12/10/26 24:00", VAR_DATEVALUEONLY, MISMATCH, 0.0},
    Case{L"1:00", VAR_TIMEVALUEONLY | VAR_DATEVALUEONLY, E_INVALIDARG, 0.0}));

INSTANTIATE_TEST_SUITE_P(Mismatches, VarDateParse, ::testing::Values(
    Case{L"", 0, MISMATCH, 0.0},
    Case{L" , ", 0, MISMATCH, 0.0},
    Case{L"26", 0, MISMATCH, 0.0},
    Case{L"Dec", 0, MISMATCH, 0.0},
    Case{L"Dec 2026", 0, MISMATCH, 0.0},
    Case{L"Thu 10", 0, MISMATCH, 0.0},
    Case{L"12/10/26 1:00 PM EST", 0, MISMATCH, 0.0},
    Case{L"2/29/2026", 0, MISMATCH, 0.0},
    Case{L"2/29", 0, MISMATCH, 0.0},
    Case{L"13/13/13", 0, MISMATCH, 0.0},
    Case{L"12/10/10000", 0, MISMATCH, 0.0},
    Case{L"12/10/26/1", 0, MISMATCH, 0.0},
    Case{L"Dec 10 Jan", 0, MISMATCH, 0.0},
    Case{L"12//10", 0, MISMATCH, 0.0},
    Case{L"12/10/", 0, MISMATCH, 0.0},
    Case{L"/12/10", 0, MISMATCH, 0.0},
    Case{L"24:00", 0, MISMATCH, 0.0},
    Case{L"12:60", 0, MISMATCH, 0.0},
    Case{L"12:00:60", 0, MISMATCH, 0.0},
    Case{L"1:2:3:4", 0, MISMATCH, 0.0},
    Case{L"1:", 0, MISMATCH, 0.0},
    Case{L":30", 0, MISMATCH, 0.0},
    Case{L"1:00 2:00", 0, MISMATCH, 0.0},
    Case{L"1:00 PM PM", 0, MISMATCH, 0.0},
    Case{L"PM 1:00", 0, MISMATCH, 0.0},
    Case{L"12/10/26 AM", 0, MISMATCH, 0.0},
    Case{L"1234567890:00", 0, MISMATCH, 0.0},
    Case{L"12_10_26", 0, MISMATCH, 0.0},
    Case{L"D\u00e9c 10", 0, MISMATCH, 0.0}));

TEST(VarDate, BadArgumentsAreNotTypeMismatches)
{
    double value = 5.0;
    EXPECT_EQ(VarDateFromStr(nullptr, LOCALE_EN_US, 0, &value), E_INVALIDARG);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(VarDateFromStr(L"1:00 PM", LOCALE_EN_US, 0, nullptr), E_INVALIDARG);
}

// A date without a year takes the year of the device's local date, which around
// New Year is not the year in UTC.
TEST(VarDate, YearlessDateTakesTheLocalYear)
{
    double value = 0.0;
    CFakeClock::Set(JAN_1_2027_UTC, 300);
    EXPECT_EQ(VarDateFromStr(L"Dec 10", LOCALE_USER_DEFAULT, 0, &value), S_OK);
    EXPECT_EQ(value, DEC_10_2026);
    CFakeClock::Set(JAN_1_2027_UTC, -60);
    EXPECT_EQ(VarDateFromStr(L"Dec 10", LOCALE_USER_DEFAULT, 0, &value), S_OK);
    EXPECT_EQ(value, DEC_10_2026 + 365);
    CFakeClock::Set(JAN_1_2027_UTC + 366LL * 86400, 0);
    EXPECT_EQ(VarDateFromStr(L"2/29", LOCALE_USER_DEFAULT, 0, &value), S_OK);
    CFakeClock::Clear();
}

TEST(VarDate, SystemTimeConversionsRoundTrip)
{
    SYSTEMTIME st = {2026, 12, 0, 10, 13, 56, 7, 999};
    double value = 0.0;
    ASSERT_TRUE(SystemTimeToVariantTime(&st, &value));
    EXPECT_DOUBLE_EQ(value, DEC_10_2026 + Time(13, 56, 7));   // milliseconds dropped

    SYSTEMTIME back = {};
    ASSERT_TRUE(VariantTimeToSystemTime(value, &back));
    EXPECT_EQ(back.wYear, 2026);
    EXPECT_EQ(back.wMonth, 12);
    EXPECT_EQ(back.wDay, 10);
    EXPECT_EQ(back.wDayOfWeek, 4);   // Thursday
    EXPECT_EQ(back.wHour, 13);
    EXPECT_EQ(back.wMinute, 56);
    EXPECT_EQ(back.wSecond, 7);

    // Half a second before midnight rounds into the next day.
    ASSERT_TRUE(VariantTimeToSystemTime(DEC_10_2026 + Time(23, 59, 59) + 0.6 / 86400, &back));
    EXPECT_EQ(back.wDay, 11);
    EXPECT_EQ(back.wHour, 0);
    EXPECT_EQ(back.wSecond, 0);

    ASSERT_TRUE(VariantTimeToSystemTime(DEC_29_1899 - Time(6), &back));
    EXPECT_EQ(back.wYear, 1899);
    EXPECT_EQ(back.wDay, 29);
    EXPECT_EQ(back.wHour, 6);
    EXPECT_EQ(back.wDayOfWeek, 5);   // Friday
}

TEST(VarDate, SystemTimeConversionsRefuseImpossibleValues)
{
    double value = 0.0;
    SYSTEMTIME badDay = {2026, 2, 0, 29, 0, 0, 0, 0};
    SYSTEMTIME badHour = {2026, 12, 0, 10, 24, 0, 0, 0};
    SYSTEMTIME badYear = {99, 1, 0, 1, 0, 0, 0, 0};
    EXPECT_FALSE(SystemTimeToVariantTime(&badDay, &value));
    EXPECT_FALSE(SystemTimeToVariantTime(&badHour, &value));
    EXPECT_FALSE(SystemTimeToVariantTime(&badYear, &value));

    SYSTEMTIME st;
    EXPECT_FALSE(VariantTimeToSystemTime(2958466.0, &st));   // 1 January 10000
    EXPECT_FALSE(VariantTimeToSystemTime(-657435.0, &st));
    EXPECT_FALSE(VariantTimeToSystemTime(std::nan(""), &st));
    EXPECT_TRUE(VariantTimeToSystemTime(-657434.5, &st));    // 1 January 100, noon
    EXPECT_EQ(st.wYear, 100);
    EXPECT_EQ(st.wHour, 12);
}

} // namespace
