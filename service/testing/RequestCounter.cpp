#include "service/testing/RequestCounter.h"

void CRequestCounter::Count(const std::string& strPath)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_counts[strPath];
}

int CRequestCounter::CountOf(const std::string& strPath) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_counts.find(strPath);
    return it != m_counts.end() ? it->second : 0;
}

std::string CRequestCounter::Text() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string text;
    for (const auto& entry : m_counts)
        text += std::to_string(entry.second) + " " + entry.first + "\n";
    return text;
}

void CRequestCounter::Clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_counts.clear();
}
