#pragma once

#include <string>

// Puts the application's resources into the platform's resource table: strings,
// dialog templates, menus, menu bars and bitmaps. Run once at start (again
// after the service's environment changed, to refresh its name in the strings).
class CAppResources
{
public:
    static void Install();

    // The About box's information text.
    static std::wstring AboutText();
};
