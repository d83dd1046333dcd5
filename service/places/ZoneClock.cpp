#include "service/places/ZoneClock.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>
#include <map>
#include <mutex>

namespace {

// Zones are few, but their names come from answers from elsewhere: the
// table stops growing at this many.
constexpr size_t MAX_SHARED_ZONES = 1000;

} // namespace

bool CZoneClock::Load(const std::string& strZone)
{
    const QTimeZone zone(QByteArray::fromStdString(strZone));
    if (!zone.isValid())
        return false;
    const QDateTime from(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime to(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC);
    m_strZone = strZone;
    m_nFirstOffset = zone.offsetFromUtc(from);
    m_transitions.clear();
    m_offsets.clear();
    for (const QTimeZone::OffsetData& change : zone.transitions(from, to)) {
        m_transitions.push_back(change.atUtc.toSecsSinceEpoch());
        m_offsets.push_back(change.offsetFromUtc);
    }
    return true;
}

int CZoneClock::OffsetAt(int64_t nUtc) const
{
    const auto it = std::upper_bound(m_transitions.begin(), m_transitions.end(), nUtc);
    if (it == m_transitions.begin())
        return m_nFirstOffset;
    return m_offsets[static_cast<size_t>(it - m_transitions.begin()) - 1];
}

int64_t CZoneClock::UtcFromLocal(int64_t nLocal) const
{
    // The offset a little before the wall-clock time, then the one that
    // instant really has: right everywhere except inside a skipped hour.
    const int64_t nGuess = nLocal - OffsetAt(nLocal - 86400);
    return nLocal - OffsetAt(nGuess);
}

bool CZoneClock::LoadShared(const std::string& strZone, CZoneClock& clock)
{
    static std::mutex s_mutex;
    static std::map<std::string, CZoneClock> s_known;   // an empty name marks a zone not known
    std::lock_guard<std::mutex> lock(s_mutex);
    auto it = s_known.find(strZone);
    if (it == s_known.end()) {
        CZoneClock loaded;
        if (!loaded.Load(strZone))
            loaded = CZoneClock();
        if (s_known.size() >= MAX_SHARED_ZONES) {
            clock = loaded;
            return !loaded.m_strZone.empty();
        }
        it = s_known.emplace(strZone, std::move(loaded)).first;
    }
    if (it->second.m_strZone.empty())
        return false;
    clock = it->second;
    return true;
}
