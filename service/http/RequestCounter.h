#pragma once

#include <map>
#include <mutex>
#include <string>

// How many requests the service has had for each path, so that a test can
// tell what a client asked for and how often.
class CRequestCounter
{
public:
    void Count(const std::string& strPath);
    int CountOf(const std::string& strPath) const;
    // "COUNT PATH" lines in path order.
    std::string Text() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::map<std::string, int> m_counts;
};
