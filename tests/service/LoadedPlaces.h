#pragma once

// The service's places, loaded once per test program from the system's tz data.

#include "service/places/Places.h"

#include <gtest/gtest.h>

inline const CPlaces& LoadedPlaces()
{
    static CPlaces* s_pPlaces = [] {
        auto* pPlaces = new CPlaces;
        std::string strError;
        EXPECT_TRUE(pPlaces->Load(CPlaces::DefaultZoneFolder(), strError)) << strError;
        return pPlaces;
    }();
    return *s_pPlaces;
}

// The place of a tz zone; the test fails when there is none.
inline const CPlace& PlaceOfZone(const std::string& strZone)
{
    for (const CPlace& place : LoadedPlaces().m_places) {
        if (place.m_clock.m_strZone == strZone)
            return place;
    }
    ADD_FAILURE() << "no place for " << strZone;
    return LoadedPlaces().m_places.front();
}
