#include "store/ServiceConfig.h"

#include "platform/CodePage.h"

#include <cstdlib>
#include <mutex>

namespace {

// The service the program runs inside itself, once it has one; it chooses its
// source on a thread of its own, so its name may come while windows draw.
std::mutex s_embeddedLock;
bool s_bEmbedded = false;
std::wstring s_strEmbeddedHost;
std::wstring s_strEmbeddedName;
std::wstring s_strEmbeddedHome;

std::wstring FromEnvironment(const char* pszName, const std::wstring& strDefault)
{
    const char* pszValue = std::getenv(pszName);
    if (!pszValue || !*pszValue)
        return strDefault;
    return CCodePage::Decode(pszValue);
}

} // namespace

CServiceConfig::CServiceConfig()
{
    std::wstring strHost = DEFAULT_HOST;
    std::wstring strName = DEFAULT_NAME;
    std::wstring strHome;
    {
        std::lock_guard<std::mutex> lock(s_embeddedLock);
        if (s_bEmbedded) {
            strHost = s_strEmbeddedHost;
            strName = s_strEmbeddedName;
            strHome = s_strEmbeddedHome;
        }
    }
    m_strSearchHost = FromEnvironment("CIRROVAN_SEARCH_HOST", strHost);
    m_strFeedHost = FromEnvironment("CIRROVAN_FEED_HOST", strHost);
    m_strName = FromEnvironment("CIRROVAN_SERVICE_NAME", strName);
    m_strHome = FromEnvironment("CIRROVAN_SERVICE_HOME", strHome.empty() ? L"http://" + m_strFeedHost + L"/" : strHome);
}

void CServiceConfig::UseEmbedded(const std::wstring& strHost, const std::wstring& strName,
                                 const std::wstring& strHome)
{
    std::lock_guard<std::mutex> lock(s_embeddedLock);
    s_bEmbedded = true;
    s_strEmbeddedHost = strHost;
    s_strEmbeddedName = strName;
    s_strEmbeddedHome = strHome;
}

void CServiceConfig::ForgetEmbedded()
{
    std::lock_guard<std::mutex> lock(s_embeddedLock);
    s_bEmbedded = false;
}

bool CServiceConfig::IsConfigured()
{
    for (const char* pszName : {"CIRROVAN_FEED_HOST", "CIRROVAN_SEARCH_HOST"}) {
        const char* pszValue = std::getenv(pszName);
        if (pszValue && *pszValue)
            return true;
    }
    return false;
}
