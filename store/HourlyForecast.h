#pragma once

#include "store/ForecastBase.h"
#include "store/ForecastHour.h"
#include "store/PointerArray.h"

class CHourlyForecast : public CForecastBase
{
public:
    void Clear() override;
    bool IsEmpty() override;
    bool Read(const TiXmlDocument& doc) override;

    // First hour in array order with that number, or none.
    CForecastHour* FindHour(int nHour) const;

    CPointerArray<CForecastHour> m_hours;
};
