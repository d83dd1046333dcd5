#pragma once

#include "platform/Clock.h"

#include <atomic>

// A clock that stands still at a chosen instant and offset, for as long as it
// is set.
class CFakeClock : public ITimeSource
{
public:
    // From now on the program's clock stands at this UTC instant (seconds
    // since 1970) with this bias, until Clear.
    static void Set(long long utcSeconds, int biasMinutes);
    // Back to the system's clock.
    static void Clear();

    void Now(long long& utcSeconds, int& milliseconds) const override;
    int BiasMinutes(long long utcSeconds) const override;

private:
    std::atomic<long long> m_utc{0};
    std::atomic<int> m_bias{0};
};
