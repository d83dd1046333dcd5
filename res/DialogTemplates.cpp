#include "res/ResourceParts.h"

#include "platform/Resources.h"
#include "platform/Translate.h"
#include "res/ChartBitmaps.h"
#include "res/Resource.h"

#include <map>
#include <vector>

namespace {

const DWORD kChild = WS_CHILD | WS_VISIBLE;

const DLGITEMTEMPLATE s_helpItems[] = {
    {IDC_HEADING, CTL_STATIC, kChild | SS_CENTER, TR_NOOP(L"Help"), 0, 2, 132, 8, 0},
    {IDC_HELP_TEXT, CTL_STATIC, kChild | SS_LEFT, L"", 6, 12, 120, 132, 0},
};
const DLGTEMPLATE s_help = {IDD_HELP, TR_NOOP(L"Help"), 0, 134, 148, s_helpItems, 2};

const DLGITEMTEMPLATE s_aboutItems[] = {
    {IDC_HEADING, CTL_STATIC, kChild | SS_CENTER, TR_NOOP(L"This is Cirrovan 1.00"), 5, 6, 153, 8, 0},
    {IDC_ABOUT_TEXT, CTL_EDIT, kChild | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER, nullptr,
     5, 17, 154, 116, 0},
    {IDC_ABOUT_CREDIT, CTL_STATIC, kChild | SS_BITMAP, nullptr, 70, 139, 47, 20, IDB_SERVICE_CREDIT},
    {IDC_ABOUT_LOGO, CTL_BUTTON, kChild | BS_OWNERDRAW, nullptr, 120, 138, 36, 24, 0},
};
const DLGTEMPLATE s_about = {IDD_ABOUT, TR_NOOP(L"About Cirrovan"), 0, 164, 163, s_aboutItems, 4};

const DWORD kGroup = WS_GROUP;
const DWORD kRadioPush = kChild | BS_AUTORADIOBUTTON | BS_PUSHLIKE;
const DWORD kCheck = kChild | BS_AUTOCHECKBOX;
const DWORD kPush = kChild | BS_PUSHBUTTON;
const DWORD kHeading = kChild | SS_CENTER;
const DWORD kLabel = kChild | SS_LEFT;
const DWORD kLineEdit = kChild | ES_AUTOHSCROLL | WS_BORDER;
const DWORD kList = kChild | LBS_NOTIFY | WS_BORDER | WS_VSCROLL;

const DLGITEMTEMPLATE s_mainItems[] = {
    {IDC_HEADER, CTL_STATIC, kChild | SS_LEFT | SS_CENTERIMAGE, L"Hourly (99m old)", 2, 4, 64, 8, 0},
    {IDC_VIEW1, CTL_BUTTON, kRadioPush | kGroup, L"1", 67, 0, 16, 15, 0},
    {IDC_VIEW2, CTL_BUTTON, kRadioPush, L"2", 82, 0, 16, 15, 0},
    {IDC_VIEW3, CTL_BUTTON, kRadioPush, L"3", 97, 0, 16, 15, 0},
    {IDC_DAILY_HOURLY, CTL_BUTTON, kChild | BS_OWNERDRAW | kGroup, nullptr, 116, 0, 16, 15, 0},
    {IDC_UPDATE_BUTTON, CTL_BUTTON, kChild | BS_OWNERDRAW, nullptr, 139, 0, 16, 15, 0},
    {IDC_STATION_COMBO, CTL_COMBOBOX, kChild | CBS_DROPDOWNLIST | WS_VSCROLL, nullptr, 0, 152, 160, 82, 0},
    {IDC_CHART_SCROLL, CTL_SCROLLBAR, kChild | SBS_HORZ, nullptr, 18, 144, 126, 8, 0},
    {IDC_EMPTY_HINT, CTL_STATIC, WS_CHILD | SS_CENTER, nullptr, 0, 18, 160, 120, 0},
};
const DLGTEMPLATE s_main = {IDD_CIRROVAN_DIALOG, L"Cirrovan", 0, 160, 164, s_mainItems, 9};

// Control 1005 is never shown: the dialog paints its message into that rectangle.
const DLGITEMTEMPLATE s_downloadItems[] = {
    {IDC_DOWNLOAD_MESSAGE, CTL_EDIT, WS_CHILD | ES_MULTILINE | ES_READONLY, nullptr, 6, 6, 132, 25, 0},
    {IDC_DOWNLOAD_STATUS, CTL_STATIC, kLabel, L"", 6, 35, 132, 8, 0},
    {IDC_DOWNLOAD_PROGRESS, CTL_PROGRESS, kChild, nullptr, 6, 48, 132, 14, 0},
    {IDC_DOWNLOAD_INTERNET_STATUS, CTL_STATIC, kLabel, L"", 6, 64, 132, 8, 0},
    {IDC_DOWNLOAD_CANCEL, CTL_BUTTON, kPush, TR_NOOP(L"Cancel"), 45, 74, 50, 14, 0},
};
const DLGTEMPLATE s_download = {IDD_DOWNLOAD, L"", WS_POPUP | WS_CAPTION, 143, 94, s_downloadItems, 5};

const DLGITEMTEMPLATE s_updateItems[] = {
    {IDC_HEADING, CTL_STATIC, kHeading, TR_NOOP(L"Update forecast..."), 0, 2, 108, 8, 0},
    {IDC_STATIC, CTL_STATIC, kLabel, TR_NOOP(L"ID :"), 6, 18, 18, 8, 0},
    {IDC_UPDATE_ID, CTL_STATIC, kLabel, L"", 24, 18, 78, 8, 0},
    {IDC_STATIC, CTL_STATIC, kLabel, TR_NOOP(L"Station :"), 6, 30, 30, 8, 0},
    {IDC_UPDATE_NAME, CTL_STATIC, kLabel, L"", 36, 30, 120, 8, 0},
    {IDC_KIND_DAILY, CTL_BUTTON, kCheck, TR_NOOP(L"daily"), 6, 48, 31, 10, 0},
    {IDC_KIND_HOURLY, CTL_BUTTON, kCheck, TR_NOOP(L"hour-by-hour"), 6, 60, 59, 10, 0},
    {IDC_OTHER_STATIONS, CTL_BUTTON, kPush, TR_NOOP(L"Other stations"), 47, 78, 69, 14, 0},
};
const DLGTEMPLATE s_update = {IDD_UPDATE_STATION, L"Cirrovan", 0, 164, 122, s_updateItems, 8};

const DLGITEMTEMPLATE s_stationsItems[] = {
    {IDC_HEADING, CTL_STATIC, kHeading, TR_NOOP(L"Weather Stations"), 0, 2, 97, 8, 0},
    {IDC_HELP_BUTTON, CTL_BUTTON, kPush, L"?", 100, 1, 14, 14, 0},
    {IDC_STATION_LIST, CTL_LISTBOX, kList, nullptr, 0, 15, 113, 103, 0},
};
const DLGTEMPLATE s_stations = {IDD_STATIONS, L"Cirrovan", 0, 114, 118, s_stationsItems, 3};

const DLGITEMTEMPLATE s_selectItems[] = {
    {IDC_HEADING, CTL_STATIC, kHeading, TR_NOOP(L"Update station(s)..."), 0, 2, 108, 8, 0},
    {IDC_SELECT_CURRENT, CTL_BUTTON, kPush, TR_NOOP(L"Current"), 1, 13, 34, 14, 0},
    {IDC_SELECT_ALL, CTL_BUTTON, kPush, TR_NOOP(L"All"), 37, 13, 34, 14, 0},
    {IDC_SELECT_CLEAR, CTL_BUTTON, kPush, TR_NOOP(L"Clear"), 75, 13, 34, 14, 0},
    {IDC_SELECT_LAST, CTL_BUTTON, kPush, TR_NOOP(L"Last"), 114, 12, 34, 14, 0},
    {IDC_STATION_TREE, CTL_TREE, kChild | TVS_CHECKBOXES | WS_BORDER, nullptr, 0, 28, 152, 60, 0},
    {IDC_KIND_DAILY, CTL_BUTTON, kCheck, TR_NOOP(L"daily"), 6, 90, 31, 10, 0},
    {IDC_KIND_HOURLY, CTL_BUTTON, kCheck, TR_NOOP(L"hour-by-hour"), 6, 102, 59, 10, 0},
};
const DLGTEMPLATE s_select = {IDD_SELECT_STATION, L"Cirrovan", 0, 152, 116, s_selectItems, 8};

const DLGITEMTEMPLATE s_preferencesItems[] = {
    {IDC_HEADING, CTL_STATIC, kHeading, TR_NOOP(L"Preferences"), 0, 2, 108, 8, 0},
    {IDC_STATIC, CTL_STATIC, kLabel, TR_NOOP(L"Wind speed"), 6, 18, 38, 8, 0},
    {IDC_STATIC, CTL_STATIC, kLabel, TR_NOOP(L"Unit : "), 12, 34, 19, 8, 0},
    {IDC_WIND_KMH, CTL_BUTTON, kRadioPush | kGroup, L"km/h", 34, 30, 23, 18, 0},
    {IDC_WIND_MPH, CTL_BUTTON, kRadioPush, TR_NOOP(L"Mph"), 56, 30, 23, 18, 0},
    {IDC_WIND_MS, CTL_BUTTON, kRadioPush, L"m/s", 78, 30, 23, 18, 0},
    {IDC_WIND_KNOTS, CTL_BUTTON, kRadioPush, TR_NOOP(L"knots"), 100, 30, 23, 18, 0},
    {IDC_WIND_BEAUFORT, CTL_BUTTON, kRadioPush, TR_NOOP(L"bf"), 122, 30, 23, 18, 0},
    {IDC_SHOW_ZERO, CTL_BUTTON, kCheck | kGroup, TR_NOOP(L"show 0 on Y-scale"), 12, 54, 73, 10, 0},
    {IDC_STATIC, CTL_STATIC, kLabel, TR_NOOP(L"Temperatures in"), 6, 76, 54, 8, 0},
    {IDC_TEMP_CELSIUS, CTL_BUTTON, kRadioPush | kGroup, L"\u00b0C", 64, 72, 18, 17, 0},
    {IDC_TEMP_FAHRENHEIT, CTL_BUTTON, kRadioPush, L"\u00b0F", 82, 72, 18, 17, 0},
    {IDC_DISCONNECT, CTL_BUTTON, kCheck | kGroup, TR_NOOP(L"Disconnect after update"), 6, 96, 93, 10, 0},
};
const DLGTEMPLATE s_preferences = {IDD_PREFERENCES, L"Cirrovan", 0, 164, 122, s_preferencesItems, 13};

const DLGITEMTEMPLATE s_newStationItems[] = {
    {IDC_HEADING, CTL_STATIC, kHeading, TR_NOOP(L"New Station"), 6, 0, 90, 8, 0},
    {IDC_HELP_BUTTON, CTL_BUTTON, kPush, L"?", 96, 0, 14, 14, 0},
    {IDC_STATIC, CTL_STATIC, kLabel, TR_NOOP(L"Station :"), 6, 26, 28, 8, 0},
    {IDC_STATION_TEXT, CTL_EDIT, kLineEdit, nullptr, 36, 24, 72, 14, 0},
};
const DLGTEMPLATE s_newStation = {IDD_NEW_STATION, L"Cirrovan", 0, 113, 50, s_newStationItems, 4};

const DLGITEMTEMPLATE s_findItems[] = {
    {IDC_HEADING, CTL_STATIC, kHeading, TR_NOOP(L"New Station"), 0, 2, 108, 8, 0},
    {IDC_STATIC, CTL_STATIC, kLabel, TR_NOOP(L"Location to search :"), 4, 21, 72, 8, 0},
    {IDC_STATION_TEXT, CTL_EDIT, kLineEdit, nullptr, 4, 32, 68, 14, 0},
    {IDC_FIND_CLEAR, CTL_BUTTON, kPush, TR_NOOP(L"Clear"), 75, 18, 31, 14, 0},
    {IDC_FIND_SEARCH, CTL_BUTTON, kPush, TR_NOOP(L"Search"), 75, 33, 31, 14, 0},
    {IDC_FIND_STATUS, CTL_STATIC, kLabel, L"", 0, 54, 108, 8, 0},
    {IDC_STATION_LIST, CTL_LISTBOX, kList, nullptr, 0, 66, 112, 78, 0},
};
const DLGTEMPLATE s_find = {IDD_FIND_STATION, L"Cirrovan", 0, 113, 163, s_findItems, 7};

// One row per series: shown, scale side, displayed first, and its picture.
#define SERIES_ROW(s, y, bitmap)                                                                               \
    {IDC_SERIES_DISPLAY + (s), CTL_BUTTON, kCheck | kGroup, nullptr, 6, (y) + 3, 10, 10, 0},                   \
    {IDC_STATIC, CTL_STATIC, kChild | SS_BITMAP, nullptr, 16, (y), 21, 16, (bitmap)},                          \
    {IDC_SERIES_LEFT + (s), CTL_BUTTON, kRadioPush | kGroup, TR_NOOP(L"left"), 38, (y), 22, 15, 0},            \
    {IDC_SERIES_RIGHT + (s), CTL_BUTTON, kRadioPush, TR_NOOP(L"right"), 60, (y), 22, 15, 0},                   \
    {IDC_SERIES_FIRST + (s), CTL_BUTTON, kCheck | kGroup, TR_NOOP(L"Displayed first"), 84, (y) + 3, 60, 10, 0}

const DLGITEMTEMPLATE s_viewsItems[] = {
    {IDC_HEADING, CTL_STATIC, kHeading, TR_NOOP(L"Custom views"), 0, 2, 108, 8, 0},
    {IDC_STATIC, CTL_STATIC, kLabel, TR_NOOP(L"Select custom view :"), 6, 21, 66, 8, 0},
    {IDC_VIEW1, CTL_BUTTON, kRadioPush | kGroup, L"1", 73, 18, 17, 15, 0},
    {IDC_VIEW2, CTL_BUTTON, kRadioPush, L"2", 90, 18, 17, 15, 0},
    {IDC_VIEW3, CTL_BUTTON, kRadioPush, L"3", 107, 18, 17, 15, 0},
    {IDC_STATIC, CTL_STATIC, kLabel | kGroup, TR_NOOP(L"Scale on"), 46, 36, 28, 8, 0},
    SERIES_ROW(0, 47, IDB_HEAD_TEMPERATURES),
    SERIES_ROW(1, 67, IDB_HEAD_PRECIPITATIONS),
    SERIES_ROW(2, 87, IDB_HEAD_WIND),
};
#undef SERIES_ROW
const DLGTEMPLATE s_views = {IDD_CUSTOM_VIEWS, L"Cirrovan", 0, 158, 116, s_viewsItems, 21};

// A template's copy with its caption and texts in the user's language; the
// copies stay where they are when the templates are installed again.
const DLGTEMPLATE* Translated(const DLGTEMPLATE& t)
{
    struct Copy
    {
        DLGTEMPLATE dialog;
        std::vector<DLGITEMTEMPLATE> items;
    };
    static std::map<UINT, Copy> s_copies;
    Copy& copy = s_copies[t.nID];
    copy.items.assign(t.pItems, t.pItems + t.nItems);
    for (DLGITEMTEMPLATE& item : copy.items)
        item.pszText = TranslatedText(item.pszText);
    copy.dialog = t;
    copy.dialog.pszCaption = TranslatedText(t.pszCaption);
    copy.dialog.pItems = copy.items.data();
    return &copy.dialog;
}
}

void InstallDialogTemplates()
{
    for (const DLGTEMPLATE* t : {&s_help, &s_about, &s_main, &s_download, &s_update, &s_stations, &s_select,
                                 &s_preferences, &s_newStation, &s_find, &s_views})
        CResources::AddDialog(Translated(*t));
}
