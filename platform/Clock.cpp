#include "platform/Clock.h"

#include <atomic>
#include <ctime>
#include <sys/time.h>

namespace {

std::atomic<bool> g_bFrozen{false};
std::atomic<long long> g_frozenUtc{0};
std::atomic<int> g_frozenBias{0};

SYSTEMTIME FromTm(const std::tm& tm, int milliseconds)
{
    SYSTEMTIME st;
    st.wYear = static_cast<unsigned short>(tm.tm_year + 1900);
    st.wMonth = static_cast<unsigned short>(tm.tm_mon + 1);
    st.wDayOfWeek = static_cast<unsigned short>(tm.tm_wday);
    st.wDay = static_cast<unsigned short>(tm.tm_mday);
    st.wHour = static_cast<unsigned short>(tm.tm_hour);
    st.wMinute = static_cast<unsigned short>(tm.tm_min);
    st.wSecond = static_cast<unsigned short>(tm.tm_sec);
    st.wMilliseconds = static_cast<unsigned short>(milliseconds);
    return st;
}

void Now(long long& utcSeconds, int& milliseconds)
{
    if (g_bFrozen) {
        utcSeconds = g_frozenUtc;
        milliseconds = 0;
        return;
    }
    timeval tv;
    gettimeofday(&tv, nullptr);
    utcSeconds = tv.tv_sec;
    milliseconds = static_cast<int>(tv.tv_usec / 1000);
}

} // namespace

SYSTEMTIME CClock::GetSystemTime()
{
    long long utc;
    int ms;
    Now(utc, ms);
    time_t t = static_cast<time_t>(utc);
    std::tm tm;
    gmtime_r(&t, &tm);
    return FromTm(tm, ms);
}

SYSTEMTIME CClock::GetLocalTime()
{
    long long utc;
    int ms;
    Now(utc, ms);
    std::tm tm;
    if (g_bFrozen) {
        time_t t = static_cast<time_t>(utc - 60LL * g_frozenBias);
        gmtime_r(&t, &tm);
    } else {
        time_t t = static_cast<time_t>(utc);
        localtime_r(&t, &tm);
    }
    return FromTm(tm, ms);
}

int CClock::GetBiasMinutes()
{
    if (g_bFrozen)
        return g_frozenBias;
    time_t t = time(nullptr);
    std::tm tm;
    localtime_r(&t, &tm);
    return static_cast<int>(-tm.tm_gmtoff / 60);
}

void CClock::Freeze(long long utcSeconds, int biasMinutes)
{
    g_frozenUtc = utcSeconds;
    g_frozenBias = biasMinutes;
    g_bFrozen = true;
}

void CClock::Unfreeze()
{
    g_bFrozen = false;
}
