#pragma once

#include <map>
#include <mutex>
#include <string>

// How many requests the service has had of each kind, so that a test can
// tell what a client asked for and how often. A kind is a path the service
// answers (the home page, the search, a station that exists), or one of the
// two below: never a path as a client made it up, lest the counts grow with
// every request.
class CRequestCounter
{
public:
    static constexpr const char* OTHER = "(other)";
    static constexpr const char* UNKNOWN_STATION = "/weather/local/(unknown)";

    void Count(const std::string& strPath);
    int CountOf(const std::string& strPath) const;
    // "COUNT PATH" lines in path order.
    std::string Text() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::map<std::string, int> m_counts;
};
