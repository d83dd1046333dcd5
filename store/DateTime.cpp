#include "store/DateTime.h"

// Placeholder until the date parser lands.
bool CDateTime::ParseDateTime(const wchar_t*, unsigned long, unsigned long)
{
    m_dt = 0.0;
    m_status = invalid;
    return false;
}

std::wstring CDateTime::Format(const wchar_t*) const
{
    return L"Invalid DateTime";
}

long long CDateTime::SecondsUntil(const CDateTime& other) const
{
    return static_cast<long long>((other.m_dt - m_dt) * 86400.0);
}
