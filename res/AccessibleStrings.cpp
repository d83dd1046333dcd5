// The words a screen reader says for what is only seen: the picture buttons,
// the scroll bar, the chart. %1, %2 ... stand for the values each names.
#include "res/ResourceParts.h"

#include "platform/Resources.h"
#include "res/Resource.h"

void InstallAccessibleStrings()
{
    struct Entry
    {
        int nID;
        const wchar_t* pszText;
    };
    const Entry entries[] = {
        {IDS_ACC_VIEW, L"View %1"},
        {IDS_ACC_DAILY_HOURLY, L"Daily or hour-by-hour"},
        {IDS_ACC_SHOWING_DAILY, L"Showing the daily forecast"},
        {IDS_ACC_SHOWING_HOURLY, L"Showing the hour-by-hour forecast"},
        {IDS_ACC_UPDATE, L"Update forecast"},
        {IDS_ACC_STATION_LIST, L"Station"},
        {IDS_ACC_SCROLL, L"Scroll the chart"},
        {IDS_ACC_CHART_EMPTY, L"Forecast chart, no forecast"},
        {IDS_ACC_CHART, L"%1, %2 forecast"},
        {IDS_ACC_DAILY, L"daily"},
        {IDS_ACC_HOURLY, L"hour-by-hour"},
        {IDS_ACC_ISSUED, L"issued %1, %2"},
        {IDS_ACC_HIGH, L"high %1 on %2"},
        {IDS_ACC_LOW, L"low %1 on %2"},
        {IDS_ACC_RAIN, L"peak chance of rain %1% on %2"},
        {IDS_ACC_WIND, L"strongest wind %1 from %2 on %3"},
        {IDS_ACC_POINT, L"%1: %2"},
        {IDS_ACC_POINT_TEMP, L"%1"},
        {IDS_ACC_POINT_TEMPS, L"high %1, low %2"},
        {IDS_ACC_POINT_RAIN, L"rain %1%"},
        {IDS_ACC_POINT_WIND, L"wind %1 from %2"},
        {IDS_ACC_DAY_PATTERN, L"%a %d %b"},
        {IDS_ACC_HOUR_PATTERN, L"%a %H:%M"},
        {IDS_ACC_ISSUED_PATTERN, L"%a %d %b %H:%M"},
        {IDS_ACC_CELSIUS, L"%1 degrees Celsius"},
        {IDS_ACC_FAHRENHEIT, L"%1 degrees Fahrenheit"},
        {IDS_ACC_SPEED, L"%1 %2"},
        {IDS_ACC_BEAUFORT, L"force %1"},
    };
    for (const Entry& e : entries)
        CResources::AddString(static_cast<UINT>(e.nID), e.pszText);
}
