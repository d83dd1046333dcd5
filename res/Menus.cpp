#include "res/ResourceParts.h"

#include "platform/Resources.h"
#include "res/Resource.h"

namespace {

const MENUITEMTEMPLATE s_stationsItems[] = {
    {ID_STATIONS_SELECT, L"Select..."},
    {ID_STATIONS_UPDATE, L"Update..."},
    {ID_STATIONS_NEW, L"New..."},
};
const MENUITEMTEMPLATE s_preferencesItems[] = {
    {ID_PREFERENCES_CUSTOMVIEWS, L"Custom views..."},
    {ID_PREFERENCES_PREFERENCES, L"Preferences..."},
    {0, nullptr},
    {ID_PREFERENCES_ORIENTATION, L"Change Display Orientation"},
    {0, nullptr},
    {ID_PREFERENCES_ABOUT, L"About"},
    {0, nullptr},
    {ID_PREFERENCES_QUIT, L"Quit"},
};
const MENUPOPUPTEMPLATE s_mainPopups[] = {
    {L"Stations", s_stationsItems, 3},
    {L"Preferences", s_preferencesItems, 8},
};
const MENUTEMPLATE s_mainMenu = {IDR_MAINMENU, s_mainPopups, 2};

const MENUITEMTEMPLATE s_stationListItems[] = {
    {ID_STATIONS_ADD, L"Add..."},
    {ID_STATIONS_DELETE, L"Delete..."},
    {ID_STATIONS_DETAILS, L"Details..."},
};
const MENUPOPUPTEMPLATE s_stationListPopups[] = {
    {L"Stations", s_stationListItems, 3},
};
const MENUTEMPLATE s_stationListMenu = {IDR_STATIONSMENU, s_stationListPopups, 1};

const MENUBARTEMPLATE s_menuBars[] = {
    {IDR_MAINMENU, IDR_MAINMENU, {{0, IDS_STATIONS, 0}, {0, IDS_PREFERENCES, 1}}, 2},
    {IDR_STATIONSMENU, IDR_STATIONSMENU, {{IDOK_COMMAND, IDS_DONE, -1}, {0, IDS_STATIONS, 0}}, 2},
    {IDR_MENUBAR_DONE_CANCEL, 0, {{IDOK_COMMAND, IDS_DONE, -1}, {IDCANCEL_COMMAND, IDS_CANCEL, -1}}, 2},
    {IDR_MENUBAR_OK, 0, {{IDOK_COMMAND, IDS_OK, -1}, {0, 0, -1}}, 1},
    {IDR_MENUBAR_OK_CANCEL, 0, {{IDOK_COMMAND, IDS_OK, -1}, {IDCANCEL_COMMAND, IDS_CANCEL, -1}}, 2},
    {IDR_MENUBAR_UPDATE_CANCEL, 0, {{IDOK_COMMAND, IDS_UPDATE, -1}, {IDCANCEL_COMMAND, IDS_CANCEL, -1}}, 2},
    {IDR_MENUBAR_ABOUT, 0, {{IDOK_COMMAND, IDS_OK, -1}, {IDCANCEL_COMMAND, IDS_SERVICE_NAME, -1}}, 2},
};

}

void InstallMenus()
{
    CResources::AddMenu(&s_mainMenu);
    CResources::AddMenu(&s_stationListMenu);
    for (const MENUBARTEMPLATE& bar : s_menuBars)
        CResources::AddMenuBar(&bar);
}
