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
    pSlot->entry.strBody = std::move(strBody);
    pSlot->entry.nFetchedUtc = nNowUtc;
    pSlot->bFilled = true;
    entry = pSlot->entry;
    return true;
}

std::shared_ptr<CSourceCache::Slot> CSourceCache::SlotOf(const std::string& strKey, int64_t nNowUtc)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_slots.find(strKey);
    if (it != m_slots.end())
        return it->second;
    // Before a new key comes in, drop what has run out (and no request is
    // using), so that the cache holds at most the places of an interval.
    if (m_slots.size() >= m_nMaxEntries) {
        for (auto slot = m_slots.begin(); slot != m_slots.end();) {
            bool bDrop = false;
            if (slot->second.use_count() == 1) {
                std::lock_guard<std::mutex> idle(slot->second->fetching);
                bDrop = nNowUtc - slot->second->entry.nFetchedUtc >= m_nIntervalSeconds;
            }
            slot = bDrop ? m_slots.erase(slot) : std::next(slot);
        }
    }
    auto pSlot = std::make_shared<Slot>();
    m_slots.emplace(strKey, pSlot);
    return pSlot;
}
