#include "platform/InternetBody.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Bytes in and out in uneven amounts, so that the ring wraps, grows while it
// is wrapped and runs empty: what comes out is what went in, in order.
TEST(InternetBody, GivesBackEveryByteInOrderThroughWrapsAndGrowth)
{
    struct STEP
    {
        size_t nIn;
        size_t nOut;
    };
    const STEP steps[] = {
        {10000, 10000},    // empty again, part of the way round
        {12000, 0},        // runs over the end
        {3000, 0},         // goes on behind the wrap
        {2000, 0},         // grows while wrapped
        {0, 4096},  {16384, 1024}, {16384, 30000}, {1, 1},
        {70000, 100000},   // asks for more than there is
        {16384, 1024},
    };
    CInternetBody body;
    std::string pending;   // what went in and has not come out yet
    unsigned nNext = 0;
    for (const STEP& step : steps) {
        std::string in;
        for (size_t i = 0; i < step.nIn; ++i, ++nNext)
            in += static_cast<char>((nNext * 7 + nNext / 1024) & 0xff);
        body.Append(in.data(), in.size());
        pending += in;
        ASSERT_EQ(body.Size(), pending.size());

        std::string out(step.nOut, '\0');
        size_t n = body.Take(out.data(), out.size());
        ASSERT_EQ(n, std::min(step.nOut, pending.size()));
        ASSERT_TRUE(out.compare(0, n, pending, 0, n) == 0) << "after taking " << n;
        pending.erase(0, n);
        ASSERT_EQ(body.Size(), pending.size());
    }
}

}
