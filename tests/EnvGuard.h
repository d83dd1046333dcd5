#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets or unsets an environment variable for one test and puts it back after.
class CEnvGuard
{
public:
    CEnvGuard(const char* pszName, const char* pszValue) : m_name(pszName)
    {
        if (const char* pszOld = std::getenv(pszName))
            m_old = pszOld;
        if (pszValue)
            setenv(pszName, pszValue, 1);
        else
            unsetenv(pszName);
    }
    ~CEnvGuard()
    {
        if (m_old)
            setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    CEnvGuard(const CEnvGuard&) = delete;
    CEnvGuard& operator=(const CEnvGuard&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};
