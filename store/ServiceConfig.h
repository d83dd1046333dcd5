#pragma once

#include <string>

// Where the weather service lives and what it is called. Each value comes from
// the environment when set there (CIRROVAN_SEARCH_HOST, CIRROVAN_FEED_HOST as
// host[:port], CIRROVAN_SERVICE_NAME, CIRROVAN_SERVICE_HOME); otherwise the
// local service of tools/ is meant, which listens on localhost:8470 by default.
class CServiceConfig
{
public:
    static constexpr const wchar_t* DEFAULT_HOST = L"localhost:8470";
    static constexpr const wchar_t* DEFAULT_NAME = L"Cirrovan";

    // Reads the environment now, so a test can change it between two objects.
    CServiceConfig();

    std::wstring m_strSearchHost;   // host of "/search/search"
    std::wstring m_strFeedHost;     // host of "/weather/local"
    std::wstring m_strName;         // the service's display name
    std::wstring m_strHome;         // its home page: "http://" + feed host + "/"
};
