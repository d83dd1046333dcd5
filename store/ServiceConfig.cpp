#include "store/ServiceConfig.h"

#include "platform/CodePage.h"

#include <cstdlib>

namespace {

std::wstring FromEnvironment(const char* pszName, const std::wstring& strDefault)
{
    const char* pszValue = std::getenv(pszName);
    if (!pszValue || !*pszValue)
        return strDefault;
    return CCodePage::Decode(pszValue);
}

} // namespace

CServiceConfig::CServiceConfig()
    : m_strSearchHost(FromEnvironment("CIRROVAN_SEARCH_HOST", DEFAULT_HOST)),
      m_strFeedHost(FromEnvironment("CIRROVAN_FEED_HOST", DEFAULT_HOST)),
      m_strName(FromEnvironment("CIRROVAN_SERVICE_NAME", DEFAULT_NAME)),
      m_strHome(FromEnvironment("CIRROVAN_SERVICE_HOME", L"http://" + m_strFeedHost + L"/"))
{
}
