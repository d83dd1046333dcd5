#pragma once

#include <string>
#include <vector>

// The texts the HTTP layer hands to libcurl, made from the wide texts of its
// callers.

// The text without the white space (ASCII, whatever the locale) at its ends.
std::string Trim(const std::string& text);
// Whether the text starts with the prefix, which is written in lower case,
// ignoring the case of ASCII letters.
bool StartsWithNoCase(const std::string& text, const std::string& prefix);

// The URL as the request sends it (UTF-8): white space at its ends dropped;
// every other space, control character and non-ASCII byte percent-encoded. An
// escape that is already there ("%20") stays as it is.
std::string CanonicalUrl(const std::wstring& strUrl);

// The "host[:port]" of an HTTP proxy written as "host:port" or
// "http://[user[:password]@]host[:port]/" (the user part goes to pUserInfo);
// empty when it names another kind of proxy or none.
std::string ProxyHostPort(const std::string& proxy, std::string* pUserInfo = nullptr);

// The text with its "%XX" escapes undone (the user part of a proxy URL is
// written so when it holds ':' or '@'); a '%' that starts no escape stays.
std::string PercentDecoded(const std::string& text);

// A proxy named the platform's way ("host:port", "http://host:port/" or a list
// such as "http=host:port https=other:port") as libcurl's proxy URL; the port
// is 80 when none is named. Empty when no HTTP proxy is named.
std::string CurlProxy(const std::wstring& strProxy);

// A bypass list (names separated by ';', ',' or spaces) as libcurl's no-proxy
// list: "*.example.com" becomes ".example.com"; "<local>" (names without a dot)
// has no equivalent there and is dropped.
std::string CurlNoProxy(const std::wstring& strBypass);

// A caller's extra request headers ("Name: value" lines separated by CR LF) as
// libcurl's header lines; empty lines dropped.
std::vector<std::string> HeaderLines(const std::wstring& strHeaders);
