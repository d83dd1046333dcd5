#include "service/live/SourceCache.h"

#include <iterator>

bool CSourceCache::Get(const std::string& strKey, int64_t nNowUtc, const Fetch& fetch, Entry& entry,
                       std::string& strError)
{
    const std::shared_ptr<Slot> pSlot = SlotOf(strKey, nNowUtc);
    std::lock_guard<std::mutex> fetching(pSlot->fetching);
    const int64_t nAge = nNowUtc - pSlot->entry.nFetchedUtc;
    if (pSlot->bFilled && nAge >= 0 && nAge < m_nIntervalSeconds) {
        entry = pSlot->entry;
        return true;
    }
    std::string strBody;
    if (!fetch(strBody, strError))
        return false;
    entry.strBody = std::move(strBody);
    entry.nFetchedUtc = nNowUtc;

    std::lock_guard<std::mutex> lock(m_mutex);
    m_nBytes -= pSlot->nCounted;
    pSlot->nCounted = 0;
    pSlot->bFilled = false;
    pSlot->entry = Entry();
    const size_t nSize = entry.strBody.size() + strKey.size();
    if (nSize > m_nMaxBytes) {
        const auto it = m_slots.find(strKey);
        if (it != m_slots.end() && it->second == pSlot)
            m_slots.erase(it);
        return true;
    }
    Trim(nNowUtc, m_nMaxEntries, m_nMaxBytes - nSize);
    pSlot->entry = entry;
    pSlot->bFilled = true;
    pSlot->nCounted = nSize;
    m_nBytes += nSize;
    return true;
}

size_t CSourceCache::Bytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nBytes;
}

std::shared_ptr<CSourceCache::Slot> CSourceCache::SlotOf(const std::string& strKey, int64_t nNowUtc)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_slots.find(strKey);
    if (it != m_slots.end())
        return it->second;
    if (m_slots.size() >= m_nMaxEntries)
        Trim(nNowUtc, m_nMaxEntries - 1, m_nMaxBytes);
    auto pSlot = std::make_shared<Slot>();
    m_slots.emplace(strKey, pSlot);
    return pSlot;
}

void CSourceCache::Trim(int64_t nNowUtc, size_t nEntries, size_t nBytes)
{
    // Only the map holds a slot no request is using; its entry is then
    // settled, as only a request's thread changes it.
    auto drop = [&](bool bRunOutOnly) {
        while (m_slots.size() > nEntries || m_nBytes > nBytes) {
            auto victim = m_slots.end();
            for (auto it = m_slots.begin(); it != m_slots.end(); ++it) {
                if (it->second.use_count() != 1)
                    continue;
                const int64_t nFetched = it->second->entry.nFetchedUtc;
                if (bRunOutOnly && nNowUtc - nFetched < m_nIntervalSeconds && it->second->bFilled)
                    continue;
                if (victim == m_slots.end() || nFetched < victim->second->entry.nFetchedUtc)
                    victim = it;
            }
            if (victim == m_slots.end())
                return;
            m_nBytes -= victim->second->nCounted;
            m_slots.erase(victim);
        }
    };
    drop(true);
    drop(false);
}
