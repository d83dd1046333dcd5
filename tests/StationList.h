#pragma once

// Stations as (ID, name) pairs, which tests compare and print far more readably
// than the store's objects.

#include "store/Station.h"
#include "store/PointerArray.h"

#include <string>
#include <utility>
#include <vector>

using StationList = std::vector<std::pair<std::wstring, std::wstring>>;

inline StationList StationsOf(const CPointerArray<CStation>& stations)
{
    StationList list;
    for (int i = 0; i < stations.GetCount(); ++i)
        list.emplace_back(stations.GetAt(i)->m_strID, stations.GetAt(i)->m_strName);
    return list;
}
