#pragma once

#include "store/ForecastBase.h"
#include "store/ForecastHour.h"
#include "store/PointerArray.h"

class CHourlyForecast : public CForecastBase
{
public:
    void Load(const std::wstring& strPath) override;
    void Clear() override;
    bool IsEmpty() override;

    // First hour in array order with that number, or none.
    CForecastHour* FindHour(int nHour) const;

    CPointerArray<CForecastHour> m_hours;
};
