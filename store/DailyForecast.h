#pragma once

#include "store/ForecastBase.h"
#include "store/ForecastDay.h"
#include "store/PointerArray.h"

class CDailyForecast : public CForecastBase
{
public:
    void Clear() override;
    bool IsEmpty() override;
    bool Read(const TiXmlDocument& doc) override;

    // First day in array order with that number, or none.
    CForecastDay* FindDay(int nDay) const;

    // The day's date. The feed's "Dec 31" carries no year: it is taken in the
    // year that puts it nearest to the last update (to today when the last
    // update is not a date), so dates across New Year, a device clock already
    // in the next year and "Feb 29" all land where they belong, and a broken
    // feed's date that goes backwards stays near the others. A text with a year
    // of its own keeps it; one that is no date gives an invalid value.
    CDateTime DateOfDay(const CForecastDay& day) const;

    CPointerArray<CForecastDay> m_days;
};
