#pragma once

// The condition icons as the feed numbers them (the 49 weather pictures):
// their texts and which of them fall from the sky.
class CConditions
{
public:
    // The feed's text for an icon ("Mostly Cloudy"); "N/A" for 44 and 48.
    static const char* Text(int nIcon);
    // True for the icons that show falling rain, snow or ice.
    static bool IsPrecipitation(int nIcon);
};
