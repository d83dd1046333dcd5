#pragma once

#include "store/ForecastBase.h"
#include "store/ForecastDay.h"
#include "store/PointerArray.h"

class CDailyForecast : public CForecastBase
{
public:
    void Load(const std::wstring& strPath) override;
    void Clear() override;
    bool IsEmpty() override;

    // First day in array order with that number, or none.
    CForecastDay* FindDay(int nDay) const;

    CPointerArray<CForecastDay> m_days;
};
