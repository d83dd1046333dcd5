#pragma once

#include <string>

// Where the weather service lives and what it is called. Each value comes from
// the environment when set there (CIRROVAN_SEARCH_HOST, CIRROVAN_FEED_HOST as
// host[:port], CIRROVAN_SERVICE_NAME, CIRROVAN_SERVICE_HOME); otherwise from
// the service the program runs inside itself when no host is configured; and
// without that, cirrovan-service on its default address, localhost:8470.
class CServiceConfig
{
public:
    static constexpr const wchar_t* DEFAULT_HOST = L"localhost:8470";
    static constexpr const wchar_t* DEFAULT_NAME = L"Cirrovan";

    // Reads the environment now, so a test can change it between two objects.
    CServiceConfig();

    // Whether the environment names a host, which means an external service.
    static bool IsConfigured();
    // The service inside the program: its host, and the name and home page to
    // show for its source. Safe from any thread; may be called again once the
    // source is chosen.
    static void UseEmbedded(const std::wstring& strHost, const std::wstring& strName, const std::wstring& strHome);
    // Once the service inside the program has stopped.
    static void ForgetEmbedded();

    std::wstring m_strSearchHost;   // host of "/search/search"
    std::wstring m_strFeedHost;     // host of "/weather/local"
    std::wstring m_strName;         // the service's display name
    std::wstring m_strHome;         // its home page: "http://" + feed host + "/"
};
