#pragma once

// How much the device screen is enlarged on a desktop.

struct ZOOMCHOICE
{
    int nZoom;       // 1 to 4
    bool bLowered;   // the zoom asked for was too large for the desktop
};

// For a desktop nAvailableHeight pixels high (what its panels leave), and the
// zoom asked for (CIRROVAN_ZOOM; null or not a whole number 1 to 4: none).
// Without one: the largest zoom at which the portrait screen takes at most
// about 85 % of the height, so that the window is as readable as it can be with
// room left around it. One asked for stands unless the window, with its title
// bar, would be taller than the desktop: then it is lowered to the largest
// that fits.
ZOOMCHOICE ChooseZoom(int nAvailableHeight, const char* pszAsked);
