#include "res/ResourceParts.h"

#include "platform/Resources.h"
#include "res/Resource.h"
#include "store/ServiceConfig.h"

void InstallStringTable()
{
    const std::wstring strName = CServiceConfig().m_strName;
    struct Entry
    {
        int nID;
        std::wstring strText;
    };
    const Entry entries[] = {
        {IDS_APP_NAME, L"Cirrovan"},
        {IDS_STATIONS, L"Stations"},
        {IDS_PREFERENCES, L"Preferences"},
        {IDS_DONE, L"Done"},
        {IDS_DELETE_STATION, L"Delete station %s (%s) ?"},
        {IDS_ADD_ONE_STATION, L"-- please add at least 1 station --"},
        {IDS_STATION_DETAILS, L"Station name is '%s'.\nStation ID is '%s'."},
        {IDS_NO_SELECTION, L"You select a station in the list to perform this command.\n"
                           L"To select a station, please tap on its name in the list."},
        {IDS_OK, L"Ok"},
        {IDS_CONNECT_TO_SEARCH, L"Connect on " + strName + L" to search this location ?"},
        // The example is one every source of our service knows: the demo's
        // place, whose ID the live source keeps for it too.
        {IDS_HELP_NEW_STATION, L"You can enter :\n\n- a Cirrovan station ID (such as CHZU3595 for Z\u00fcrich), or\n"
                               L"- a location name.\n\nIn the latter case, an on-line search on " + strName
                                   + L" is required to obtain the station ID."},
        {IDS_HELP_STATIONS, L"Which stations would you like to get weather forecasts from ?\n\n"
                            L"- To add a station to the list, tap on 'Add'.\n"
                            L"- To remove a station, select it, then tap on 'Delete'.\n"
                            L"- To get details on a station, select it then tap on 'Details'.\n"
                            L"- When set, tap on 'Done'.\n\n"
                            L"The list must hold at least one station."},
        {IDS_CANCEL, L"Cancel"},
        {IDS_UPDATE, L"Update !"},
        {IDS_ENTER_STATION, L"Please enter a station ID or a location name."},
        {IDS_SELECT_A_STATION, L"Please select a station."},
        {IDS_NO_STATION_FOUND, L"No station found. You may try again with another location name."},
        {IDS_STATION_ADDED, L"'%s' (%s) has been added to the stations list."},
        {IDS_SEARCH_FAILED, L"The search could not be completed. Please check the connection and try again."},
        {IDS_SELECT_FORECAST_KIND, L"Please select at least one kind of forecast."},
        {IDS_SELECT_LOCATION, L"Please select a location in the list."},
        {IDS_UPDATE_FAILED, L"The forecast could not be updated. The previous forecast is kept."},
        {IDS_CHECK_ONE_KIND, L"Please check at least one the checkboxes to indicate which kind of "
                             L"forecast you would like to retrieve."},
        {IDS_DOWNLOADING, L"Downloading..."},
        {IDS_DOWNLOAD_FAILED, L"The download failed."},
        {IDS_SERVICE_NAME, strName},
        {IDS_NO_STATION_HINT, L"No station yet.\n\nTo add one, tap on 'Stations' below, then on 'New...'."},
        {IDS_NO_FORECAST_HINT, L"No %s forecast for %s yet.\n\nTo get one, tap on the update button (the two "
                               L"arrows) once a connection is up."},
        {IDS_HOME_PAGE_NOT_OPENED, L"The web browser could not be opened. The address is:\n\n%s"},
        {IDS_FAIL_UNREACHABLE, strName + L" could not be reached. Please check the connection and try again."},
        {IDS_FAIL_TIMED_OUT, strName + L" did not answer in time. Please try again later."},
        {IDS_FAIL_TOO_SLOW, L"The answer of " + strName + L" came in too slowly. Please try again later."},
        {IDS_FAIL_UNKNOWN_STATION, strName + L" does not know station '%s'."},
        {IDS_FAIL_HTTP_ERROR, strName + L" answered with an error (%s). Please try again later."},
        {IDS_FAIL_NO_SOURCE, strName + L" could not be asked (%s): the forecast service could not reach it. "
                                       L"Please check the connection and try again."},
        {IDS_FAIL_NOT_A_FORECAST, L"The answer was not a forecast."},
        {IDS_FAIL_NOT_A_SEARCH, L"The answer was not a list of places."},
        {IDS_FAIL_TOO_LARGE, L"The download was too large."},
        {IDS_FAIL_CUT_SHORT, L"The connection broke off before the whole answer came. Please try again."},
        {IDS_FAIL_NOT_SAVED, L"The answer could not be saved on this device."},
        {IDS_UPDATES_FAILED, L"These forecasts could not be updated:\n\n%s"},
        {IDS_UPDATE_KEPT, L" The previous one is kept."},
        {IDS_UPDATE_FAILED_LINE, L"%s, %s: %s"},
        {IDS_ID_UNKNOWN, strName + L" does not know station '%s'. Please check the ID, or type a place name "
                                   L"to search for it."},
        {IDS_ID_NOT_CHECKED, L"'%s' (%s) has been added to the stations list, but it could not be checked "
                             L"with " + strName + L": %s"},
        {IDS_ALREADY_LISTED, L"'%s' (%s) is already in the stations list: it is not added again."},
        {IDS_UNUSABLE_ID, L"This place has no station ID that can be used. Please pick another one."},
    };
    for (const Entry& e : entries)
        CResources::AddString(static_cast<UINT>(e.nID), e.strText);
}
