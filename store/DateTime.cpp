#include "store/DateTime.h"

#include "platform/UserLocale.h"
#include "platform/VarDate.h"

#include <cmath>
#include <ctime>
#include <cwchar>
#include <locale.h>
#include <vector>

namespace {

// Automation dates before 30 December 1899 count their whole part down but
// their time of day forward; differences need a value that runs straight.
double Linear(double dt)
{
    if (dt >= 0.0)
        return dt;
    const double day = std::trunc(dt);
    return day + (day - dt);
}

} // namespace

CDateTime::CDateTime(const SYSTEMTIME& st)
{
    if (!SystemTimeToVariantTime(&st, &m_dt)) {
        m_dt = 0.0;
        m_status = invalid;
    }
}

bool CDateTime::ParseDateTime(const wchar_t* pszText, unsigned long dwFlags, unsigned long lcid)
{
    double dt = 0.0;
    const HRESULT hr = VarDateFromStr(pszText ? pszText : L"", lcid, dwFlags, &dt);
    if (SUCCEEDED(hr)) {
        m_dt = dt;
        m_status = valid;
        return true;
    }
    m_dt = hr == DISP_E_TYPEMISMATCH ? 0.0 : -1.0;
    m_status = invalid;
    return false;
}

bool CDateTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    return m_status == valid && VariantTimeToSystemTime(m_dt, &st) != 0;
}

std::wstring CDateTime::Format(const wchar_t* pszPattern) const
{
    SYSTEMTIME st;
    if (!GetAsSystemTime(st))
        return L"Invalid DateTime";
    if (!pszPattern || !*pszPattern)
        return std::wstring();

    std::tm tm = {};
    tm.tm_year = st.wYear - 1900;
    tm.tm_mon = st.wMonth - 1;
    tm.tm_mday = st.wDay;
    tm.tm_hour = st.wHour;
    tm.tm_min = st.wMinute;
    tm.tm_sec = st.wSecond;
    tm.tm_wday = st.wDayOfWeek;
    SYSTEMTIME newYear = st;
    newYear.wMonth = 1;
    newYear.wDay = 1;
    newYear.wHour = newYear.wMinute = newYear.wSecond = 0;
    tm.tm_yday = static_cast<int>(std::floor(Linear(m_dt)) - std::floor(Linear(CDateTime(newYear).m_dt)));
    tm.tm_isdst = 0;

    // An empty result and a buffer too small look alike; grow a few times, then
    // give up on a pattern that expands beyond reason.
    std::vector<wchar_t> buffer(256);
    while (buffer.size() <= 65536) {
        const size_t n = wcsftime_l(buffer.data(), buffer.size(), pszPattern, &tm, CUserLocale::Get());
        if (n > 0)
            return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 4);
    }
    return std::wstring();
}

long long CDateTime::SecondsUntil(const CDateTime& other) const
{
    const double seconds = std::round((Linear(other.m_dt) - Linear(m_dt)) * 86400.0);
    // Garbage values must not overflow the conversion.
    if (std::isnan(seconds))
        return 0;
    if (seconds < -9.0e18)
        return -9000000000000000000LL;
    if (seconds > 9.0e18)
        return 9000000000000000000LL;
    return static_cast<long long>(seconds);
}
