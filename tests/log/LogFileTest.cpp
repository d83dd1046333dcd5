#include "log/LogFile.h"
#include "platform/testing/FakeClock.h"
#include "platform/Clock.h"

#include "../TempFolder.h"

#include <gtest/gtest.h>

namespace {

// 1 January 1970, 09:05:03 UTC; the local offset must not show in the stamp.
const long long kAt090503 = 9 * 3600 + 5 * 60 + 3;

class LogFile : public ::testing::Test
{
protected:
    void SetUp() override { CFakeClock::Set(kAt090503, -120); }
    void TearDown() override { CFakeClock::Clear(); }
    CTempFolder m_temp;
};

TEST_F(LogFile, StaysOffWithoutAnExistingFile)
{
    {
        CLogFile log(L"log.txt");
        EXPECT_FALSE(log.IsOn());
        log.Printf(L"nothing %d\n", 1);
    }
    EXPECT_FALSE(m_temp.Exists("log.txt"));
    CLogFile none(nullptr);
    EXPECT_FALSE(none.IsOn());
    none.Printf(L"nothing\n");
}

TEST_F(LogFile, EmptiesTheFileAndStampsEachFlushedEntry)
{
    m_temp.Write("log.txt", "left from the last run\n");
    CLogFile log(L"log.txt");
    ASSERT_TRUE(log.IsOn());
    EXPECT_EQ(m_temp.Read("log.txt"), "");

    log.Printf(L"InternetOpenUrl(%s) = %08X\n", L"http://h/weather/local/\u00c5SE0001?dayf=10 ", 0xCC0004u);
    // Flushed per entry: readable before the log is closed.
    EXPECT_EQ(m_temp.Read("log.txt"),
              "[09:05:03] InternetOpenUrl(http://h/weather/local/\xc3\x85SE0001?dayf=10 ) = 00CC0004\n");

    CFakeClock::Set(kAt090503 + 14 * 3600 + 54 * 60 + 56, 0);
    log.Printf(L"%S no newline", "8-bit");
    log.Printf(L"|%d%%\n", 50);
    EXPECT_EQ(m_temp.Read("log.txt"),
              "[09:05:03] InternetOpenUrl(http://h/weather/local/\xc3\x85SE0001?dayf=10 ) = 00CC0004\n"
              "[23:59:59] 8-bit no newline[23:59:59] |50%\n");
}

TEST_F(LogFile, EveryStartBeginsAnEmptyLog)
{
    m_temp.Write("log.txt", "");
    {
        CLogFile first(L"log.txt");
        first.Printf(L"first run\n");
    }
    CLogFile second(L"log.txt");
    second.Printf(L"second run\n");
    EXPECT_EQ(m_temp.Read("log.txt"), "[09:05:03] second run\n");
}

} // namespace
