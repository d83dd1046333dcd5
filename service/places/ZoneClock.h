#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The offsets from UTC of one time zone of the tz database, daylight saving
// included. Read once at start-up and never changed after, so any number of
// request threads may ask at once without a lock.
class CZoneClock
{
public:
    // Reads the zone's transitions from 1970 to 2100; false for a zone the
    // system's tz database does not know.
    bool Load(const std::string& strZone);
    // The same, each zone read once per process and then copied: safe from
    // any number of request threads at once, and quick after the first time.
    static bool LoadShared(const std::string& strZone, CZoneClock& clock);

    // Seconds east of UTC in effect at that instant (seconds since 1970 UTC).
    int OffsetAt(int64_t nUtc) const;
    // The wall-clock seconds of an instant, and back. A wall-clock time that
    // a change of offset skips or repeats maps to one of its neighbours.
    int64_t LocalFromUtc(int64_t nUtc) const { return nUtc + OffsetAt(nUtc); }
    int64_t UtcFromLocal(int64_t nLocal) const;

    std::string m_strZone;
    int m_nFirstOffset = 0;              // before the first transition
    std::vector<int64_t> m_transitions;  // UTC instants, ascending
    std::vector<int> m_offsets;          // offset from each transition on
};
