#include "tools/service/ZoneClock.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>

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
