// The words a screen reader says for what is only seen: the picture buttons,
// the scroll bar, the chart. %1, %2 ... stand for the values each names.
#include "res/ResourceParts.h"

#include "platform/Translate.h"
#include "res/Resource.h"

void InstallAccessibleStrings()
{
    AddStrings({
        {IDS_ACC_VIEW, Tr("View %1")},
        {IDS_ACC_DAILY_HOURLY, Tr("Daily or hour-by-hour")},
        {IDS_ACC_SHOWING_DAILY, Tr("Showing the daily forecast")},
        {IDS_ACC_SHOWING_HOURLY, Tr("Showing the hour-by-hour forecast")},
        {IDS_ACC_UPDATE, Tr("Update forecast")},
        {IDS_ACC_STATION_LIST, Tr("Station")},
        {IDS_ACC_SCROLL, Tr("Scroll the chart")},
        {IDS_ACC_CHART_EMPTY, Tr("Forecast chart, no forecast")},
        {IDS_ACC_CHART, Tr("%1, %2 forecast")},
        {IDS_ACC_DAILY, TrC("forecast kind", "daily")},
        {IDS_ACC_HOURLY, TrC("forecast kind", "hour-by-hour")},
        {IDS_ACC_ISSUED, Tr("issued %1, %2")},
        {IDS_ACC_HIGH, Tr("high %1 on %2")},
        {IDS_ACC_LOW, Tr("low %1 on %2")},
        {IDS_ACC_RAIN, Tr("peak chance of rain %1% on %2")},
        {IDS_ACC_WIND, Tr("strongest wind %1 from %2 on %3")},
        {IDS_ACC_POINT, Tr("%1: %2")},
        {IDS_ACC_POINT_TEMP, L"%1"},
        {IDS_ACC_POINT_TEMPS, Tr("high %1, low %2")},
        {IDS_ACC_POINT_RAIN, Tr("rain %1%")},
        {IDS_ACC_POINT_WIND, Tr("wind %1 from %2")},
        {IDS_ACC_DAY_PATTERN, Tr("%a %d %b")},
        {IDS_ACC_HOUR_PATTERN, Tr("%a %H:%M")},
        {IDS_ACC_ISSUED_PATTERN, Tr("%a %d %b %H:%M")},
        {IDS_ACC_CELSIUS, Tr("%1 degrees Celsius")},
        {IDS_ACC_FAHRENHEIT, Tr("%1 degrees Fahrenheit")},
        {IDS_ACC_SPEED, L"%1 %2"},
        {IDS_ACC_BEAUFORT, Tr("force %1")},
    });
}
