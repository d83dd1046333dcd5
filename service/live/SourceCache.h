#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

// The live source's answers kept for its update interval, per place and
// kind ("forecast:ID", "search:text"), so that the program's daily and
// hour-by-hour requests, or two updates in a row, ask the source once.
// Requests for one key wait for each other instead of fetching twice; a
// failed fetch is not kept, so the next request asks again.
//
// The answers kept are bounded in number and in bytes: past either bound the
// run-out ones go first, then the oldest; an answer larger than the whole
// budget serves its request and is not kept.
class CSourceCache
{
public:
    struct Entry
    {
        std::string strBody;
        int64_t nFetchedUtc = 0;   // seconds since 1970 when the source answered
    };

    // The entry of the key if it is younger than the interval, else the one
    // fetch() makes (true: keep it). False when fetch() fails; strError says why.
    using Fetch = std::function<bool(std::string& strBody, std::string& strError)>;
    bool Get(const std::string& strKey, int64_t nNowUtc, const Fetch& fetch, Entry& entry, std::string& strError);

    size_t Bytes() const;

    int m_nIntervalSeconds = 15 * 60;   // 0: every request asks the source
    size_t m_nMaxEntries = 1000;
    size_t m_nMaxBytes = 64 * 1024 * 1024;

private:
    struct Slot
    {
        std::mutex fetching;   // held while this key's source request is under way
        Entry entry;
        bool bFilled = false;
        size_t nCounted = 0;   // its bytes in m_nBytes; guarded by m_mutex
    };
    std::shared_ptr<Slot> SlotOf(const std::string& strKey, int64_t nNowUtc);
    // Drops slots no request holds until the bounds hold: run-out ones, then
    // the oldest. Called with m_mutex held.
    void Trim(int64_t nNowUtc, size_t nEntries, size_t nBytes);

    mutable std::mutex m_mutex;   // guards the map and the byte counts, not the entries
    std::map<std::string, std::shared_ptr<Slot>> m_slots;
    size_t m_nBytes = 0;
};
