// The live source's cache: one request to the source per key and interval.

#include "service/live/SourceCache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(SourceCache, AnAnswerServesItsIntervalAndAFailureIsNotKept)
{
    CSourceCache cache;
    cache.m_nIntervalSeconds = 900;
    int nFetches = 0;
    bool bFail = false;
    const auto fetch = [&](std::string& strBody, std::string& strError) {
        ++nFetches;
        if (bFail) {
            strError = "down";
            return false;
        }
        strBody = "answer " + std::to_string(nFetches);
        return true;
    };
    CSourceCache::Entry entry;
    std::string strError;
    ASSERT_TRUE(cache.Get("forecast:A", 1000, fetch, entry, strError));
    EXPECT_EQ(entry.strBody, "answer 1");
    EXPECT_EQ(entry.nFetchedUtc, 1000);
    ASSERT_TRUE(cache.Get("forecast:A", 1899, fetch, entry, strError));
    EXPECT_EQ(entry.strBody, "answer 1");
    EXPECT_EQ(entry.nFetchedUtc, 1000);   // an old answer says how old it is
    EXPECT_EQ(nFetches, 1);

    ASSERT_TRUE(cache.Get("forecast:B", 1899, fetch, entry, strError));   // another place
    EXPECT_EQ(nFetches, 2);

    // Run out: asked again; a failure then is a failure, not the old answer.
    bFail = true;
    EXPECT_FALSE(cache.Get("forecast:A", 1900, fetch, entry, strError));
    EXPECT_EQ(strError, "down");
    EXPECT_FALSE(cache.Get("forecast:A", 1901, fetch, entry, strError));
    EXPECT_EQ(nFetches, 4);
    bFail = false;
    ASSERT_TRUE(cache.Get("forecast:A", 1902, fetch, entry, strError));
    EXPECT_EQ(entry.nFetchedUtc, 1902);

    // A clock set back does not make an answer young.
    ASSERT_TRUE(cache.Get("forecast:A", 100, fetch, entry, strError));
    EXPECT_EQ(nFetches, 6);

    // Interval 0: every request asks.
    cache.m_nIntervalSeconds = 0;
    ASSERT_TRUE(cache.Get("forecast:A", 100, fetch, entry, strError));
    EXPECT_EQ(nFetches, 7);
}

TEST(SourceCache, RequestsForOneKeyAtOnceAskTheSourceOnce)
{
    CSourceCache cache;
    std::atomic<int> nFetches {0};
    std::atomic<int> nAnswered {0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&, i] {
            CSourceCache::Entry entry;
            std::string strError;
            const bool bGot = cache.Get(i % 2 ? "forecast:A" : "forecast:B", 5000,
                                        [&](std::string& strBody, std::string&) {
                                            ++nFetches;
                                            std::this_thread::yield();
                                            strBody = "answer";
                                            return true;
                                        },
                                        entry, strError);
            if (bGot && entry.strBody == "answer")
                ++nAnswered;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(nAnswered, 8);
    EXPECT_EQ(nFetches, 2);
}

TEST(SourceCache, RunOutEntriesMakeRoomForNewKeys)
{
    CSourceCache cache;
    cache.m_nIntervalSeconds = 60;
    cache.m_nMaxEntries = 4;
    int nFetches = 0;
    const auto fetch = [&](std::string& strBody, std::string&) {
        strBody = std::to_string(++nFetches);
        return true;
    };
    CSourceCache::Entry entry;
    std::string strError;
    for (int i = 0; i < 4; ++i)
        cache.Get("search:" + std::to_string(i), 0, fetch, entry, strError);
    // Later on the old ones have run out and go; the new ones are kept.
    for (int i = 4; i < 8; ++i)
        cache.Get("search:" + std::to_string(i), 100, fetch, entry, strError);
    for (int i = 4; i < 8; ++i)
        cache.Get("search:" + std::to_string(i), 101, fetch, entry, strError);
    EXPECT_EQ(nFetches, 8);
}

TEST(SourceCache, KeepsWithinItsBytesOldestFirstAndNeverAnAnswerLargerThanAll)
{
    CSourceCache cache;
    cache.m_nIntervalSeconds = 60;
    cache.m_nMaxBytes = 1000;
    int nFetches = 0;
    size_t nSize = 300;
    const auto fetch = [&](std::string& strBody, std::string&) {
        ++nFetches;
        strBody.assign(nSize, 'x');
        return true;
    };
    CSourceCache::Entry entry;
    std::string strError;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(cache.Get("k" + std::to_string(i), i, fetch, entry, strError));
        EXPECT_LE(cache.Bytes(), 1000u);
    }
    // The three youngest are kept, the oldest went first.
    cache.Get("k4", 10, fetch, entry, strError);
    cache.Get("k2", 10, fetch, entry, strError);
    EXPECT_EQ(nFetches, 5);
    cache.Get("k0", 10, fetch, entry, strError);
    EXPECT_EQ(nFetches, 6);

    nSize = 5000;
    ASSERT_TRUE(cache.Get("large", 11, fetch, entry, strError));
    EXPECT_EQ(entry.strBody.size(), 5000u);
    EXPECT_LE(cache.Bytes(), 1000u);
    cache.Get("large", 12, fetch, entry, strError);
    EXPECT_EQ(nFetches, 8);
}

} // namespace
