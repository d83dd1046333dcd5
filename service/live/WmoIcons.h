#pragma once

#include <optional>
#include <vector>

// The feed's condition icons (the 49 weather pictures) for the WMO weather
// codes that live forecasts give (0 clear to 99 thunderstorm with hail), in
// the day or the night picture where the set has both.
class CWmoIcons
{
public:
    // One hour's icon. A clear or cloudy sky turns windy, hot or frigid with
    // the temperature (degrees Fahrenheit) and wind (mph) when they are known.
    // A code that is not a WMO weather code gives 44, "not available".
    static int Icon(int nCode, bool bDay, std::optional<double> tempF = {}, std::optional<double> windMph = {});

    // The icon of a half-day from the codes of its hours (-1 for an hour
    // without one): its worst weather, told as scattered when rain, showers or
    // thunder come in only a few of the hours; a dry half shows its mean sky,
    // or fog when fog lasts. 44 when no hour has a code.
    static int PartIcon(const std::vector<int>& codes, bool bDay);

    // How bad the weather of a code is, for picking the worst of several
    // hours: 0 for a clear sky up to thunder with hail; -1 for no WMO code.
    static int Severity(int nCode);
};
