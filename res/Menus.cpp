#include "res/ResourceParts.h"

#include "platform/Resources.h"
#include "platform/Translate.h"
#include "res/Resource.h"

#include <map>
#include <vector>

namespace {

const MENUITEMTEMPLATE s_stationsItems[] = {
    {ID_STATIONS_SELECT, TR_NOOP(L"Select...")},
    {ID_STATIONS_UPDATE, TR_NOOP(L"Update...")},
    {ID_STATIONS_NEW, TR_NOOP(L"New...")},
};
const MENUITEMTEMPLATE s_preferencesItems[] = {
    {ID_PREFERENCES_CUSTOMVIEWS, TR_NOOP(L"Custom views...")},
    {ID_PREFERENCES_PREFERENCES, TR_NOOP(L"Preferences...")},
    {0, nullptr},
    {ID_PREFERENCES_ORIENTATION, TR_NOOP(L"Change Display Orientation")},
    {0, nullptr},
    {ID_PREFERENCES_ABOUT, TR_NOOP(L"About")},
    {0, nullptr},
    {ID_PREFERENCES_QUIT, TR_NOOP(L"Quit")},
};
const MENUPOPUPTEMPLATE s_mainPopups[] = {
    {TR_NOOP(L"Stations"), s_stationsItems, 3},
    {TR_NOOP(L"Preferences"), s_preferencesItems, 8},
};
const MENUTEMPLATE s_mainMenu = {IDR_MAINMENU, s_mainPopups, 2};

const MENUITEMTEMPLATE s_stationListItems[] = {
    {ID_STATIONS_ADD, TR_NOOP(L"Add...")},
    {ID_STATIONS_DELETE, TR_NOOP(L"Delete...")},
    {ID_STATIONS_DETAILS, TR_NOOP(L"Details...")},
};
const MENUPOPUPTEMPLATE s_stationListPopups[] = {
    {TR_NOOP(L"Stations"), s_stationListItems, 3},
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

// A menu's copy with its texts in the user's language; the copies stay where
// they are when the menus are installed again.
const MENUTEMPLATE* Translated(const MENUTEMPLATE& menu)
{
    struct Copy
    {
        MENUTEMPLATE menu;
        std::vector<MENUPOPUPTEMPLATE> popups;
        std::vector<std::vector<MENUITEMTEMPLATE>> items;
    };
    static std::map<UINT, Copy> s_copies;
    Copy& copy = s_copies[menu.nID];
    copy.popups.assign(menu.pPopups, menu.pPopups + menu.nPopups);
    copy.items.assign(copy.popups.size(), {});
    for (size_t i = 0; i < copy.popups.size(); ++i) {
        MENUPOPUPTEMPLATE& popup = copy.popups[i];
        copy.items[i].assign(popup.pItems, popup.pItems + popup.nItems);
        for (MENUITEMTEMPLATE& item : copy.items[i])
            item.pszText = TranslatedText(item.pszText);
        popup.pszText = TranslatedText(popup.pszText);
        popup.pItems = copy.items[i].data();
    }
    copy.menu = menu;
    copy.menu.pPopups = copy.popups.data();
    return &copy.menu;
}
}

void InstallMenus()
{
    CResources::AddMenu(Translated(s_mainMenu));
    CResources::AddMenu(Translated(s_stationListMenu));
    for (const MENUBARTEMPLATE& bar : s_menuBars)
        CResources::AddMenuBar(&bar);
}
