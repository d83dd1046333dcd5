#include "platform/Clock.h"

#include <atomic>
#include <ctime>
#include <sys/time.h>

namespace {

std::atomic<const ITimeSource*> g_pSource{nullptr};

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
    if (const ITimeSource* pSource = g_pSource.load()) {
        pSource->Now(utcSeconds, milliseconds);
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
    if (const ITimeSource* pSource = g_pSource.load()) {
        time_t t = static_cast<time_t>(utc - 60LL * pSource->BiasMinutes(utc));
        gmtime_r(&t, &tm);
    } else {
        time_t t = static_cast<time_t>(utc);
        localtime_r(&t, &tm);
    }
    return FromTm(tm, ms);
}

int CClock::GetBiasMinutes()
{
    if (const ITimeSource* pSource = g_pSource.load()) {
        long long utc;
        int ms;
        pSource->Now(utc, ms);
        return pSource->BiasMinutes(utc);
    }
    time_t t = time(nullptr);
    std::tm tm;
    localtime_r(&t, &tm);
    return static_cast<int>(-tm.tm_gmtoff / 60);
}

void CClock::Use(const ITimeSource* pSource)
{
    g_pSource = pSource;
}
