#include "platform/testing/FakeClock.h"

namespace {
CFakeClock g_clock;
}

void CFakeClock::Set(long long utcSeconds, int biasMinutes)
{
    g_clock.m_utc = utcSeconds;
    g_clock.m_bias = biasMinutes;
    CClock::Use(&g_clock);
}

void CFakeClock::Clear()
{
    CClock::Use(nullptr);
}

void CFakeClock::Now(long long& utcSeconds, int& milliseconds) const
{
    utcSeconds = m_utc;
    milliseconds = 0;
}

int CFakeClock::BiasMinutes(long long) const
{
    return m_bias;
}
