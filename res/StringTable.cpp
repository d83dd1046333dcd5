#include "res/ResourceParts.h"

#include "platform/Translate.h"
#include "res/Resource.h"
#include "store/ServiceConfig.h"

// In the user's language, so it runs after the catalogues are bound.
void InstallStringTable()
{
    const std::wstring strName = CServiceConfig().m_strName;
    auto named = [&strName](const char* pszEnglish) { return Filled(Tr(pszEnglish), L"{service}", strName); };
    AddStrings({
        {IDS_APP_NAME, L"Cirrovan"},
        {IDS_STATIONS, Tr("Stations")},
        {IDS_PREFERENCES, Tr("Preferences")},
        {IDS_DONE, Tr("Done")},
        {IDS_DELETE_STATION, Tr("Delete station %s (%s) ?")},
        {IDS_ADD_ONE_STATION, Tr("-- please add at least 1 station --")},
        {IDS_STATION_DETAILS, Tr("Station name is '%s'.\nStation ID is '%s'.")},
        {IDS_NO_SELECTION, Tr("You select a station in the list to perform this command.\n"
                              "To select a station, please tap on its name in the list.")},
        {IDS_OK, Tr("Ok")},
        {IDS_CONNECT_TO_SEARCH, named(TR_NOOP("Connect on {service} to search this location ?"))},
        // The example is one every source of our service knows: the demo's
        // place, whose ID the live source keeps for it too.
        {IDS_HELP_NEW_STATION,
         Filled(named(TR_NOOP("You can enter :\n\n- a Cirrovan station ID (such as CHZU3595 for {place}), or\n"
                              "- a location name.\n\nIn the latter case, an on-line search on {service}"
                              " is required to obtain the station ID.")),
                L"{place}", L"Z\u00fcrich")},
        {IDS_HELP_STATIONS, Tr("Which stations would you like to get weather forecasts from ?\n\n"
                               "- To add a station to the list, tap on 'Add'.\n"
                               "- To remove a station, select it, then tap on 'Delete'.\n"
                               "- To get details on a station, select it then tap on 'Details'.\n"
                               "- When set, tap on 'Done'.\n\n"
                               "The list must hold at least one station.")},
        {IDS_CANCEL, Tr("Cancel")},
        {IDS_UPDATE, Tr("Update !")},
        {IDS_ENTER_STATION, Tr("Please enter a station ID or a location name.")},
        {IDS_SELECT_A_STATION, Tr("Please select a station.")},
        {IDS_NO_STATION_FOUND, Tr("No station found. You may try again with another location name.")},
        {IDS_STATION_ADDED, Tr("'%s' (%s) has been added to the stations list.")},
        {IDS_SEARCH_FAILED, Tr("The search could not be completed. Please check the connection and try again.")},
        {IDS_SELECT_FORECAST_KIND, Tr("Please select at least one kind of forecast.")},
        {IDS_SELECT_LOCATION, Tr("Please select a location in the list.")},
        {IDS_UPDATE_FAILED, Tr("The forecast could not be updated. The previous forecast is kept.")},
        {IDS_CHECK_ONE_KIND, Tr("Please check at least one the checkboxes to indicate which kind of "
                                "forecast you would like to retrieve.")},
        {IDS_DOWNLOADING, Tr("Downloading...")},
        {IDS_DOWNLOAD_FAILED, Tr("The download failed.")},
        {IDS_SERVICE_NAME, strName},
        {IDS_NO_STATION_HINT, Tr("No station yet.\n\nTo add one, tap on 'Stations' below, then on 'New...'.")},
        // The first %s is "daily" or "hour-by-hour", the second the station.
        {IDS_NO_FORECAST_HINT, Tr("No %s forecast for %s yet.\n\nTo get one, tap on the update button (the two "
                                  "arrows) once a connection is up.")},
        {IDS_HOME_PAGE_NOT_OPENED, Tr("The web browser could not be opened. The address is:\n\n%s")},
        {IDS_FAIL_UNREACHABLE,
         named(TR_NOOP("{service} could not be reached. Please check the connection and try again."))},
        {IDS_FAIL_TIMED_OUT, named(TR_NOOP("{service} did not answer in time. Please try again later."))},
        {IDS_FAIL_TOO_SLOW, named(TR_NOOP("The answer of {service} came in too slowly. Please try again later."))},
        {IDS_FAIL_UNKNOWN_STATION, named(TR_NOOP("{service} does not know station '%s'."))},
        {IDS_FAIL_HTTP_ERROR, named(TR_NOOP("{service} answered with an error (%s). Please try again later."))},
        {IDS_FAIL_NO_SOURCE,
         named(TR_NOOP("{service} could not be asked (%s): the forecast service could not reach it. "
                       "Please check the connection and try again."))},
        {IDS_FAIL_NOT_A_FORECAST, Tr("The answer was not a forecast.")},
        {IDS_FAIL_NOT_A_SEARCH, Tr("The answer was not a list of places.")},
        {IDS_FAIL_TOO_LARGE, Tr("The download was too large.")},
        {IDS_FAIL_CUT_SHORT, Tr("The connection broke off before the whole answer came. Please try again.")},
        {IDS_FAIL_NOT_SAVED, Tr("The answer could not be saved on this device.")},
        {IDS_UPDATES_FAILED, Tr("These forecasts could not be updated:\n\n%s")},
        // Follows a line of the list above, after its full stop.
        {IDS_UPDATE_KEPT, Tr(" The previous one is kept.")},
        // Station, kind of forecast, and what went wrong.
        {IDS_UPDATE_FAILED_LINE, Tr("%s, %s: %s")},
        {IDS_ID_UNKNOWN,
         named(TR_NOOP("{service} does not know station '%s'. Please check the ID, or type a place name "
                       "to search for it."))},
        {IDS_ID_NOT_CHECKED, named(TR_NOOP("'%s' (%s) has been added to the stations list, but it could not be checked "
                                           "with {service}: %s"))},
        {IDS_ALREADY_LISTED, Tr("'%s' (%s) is already in the stations list: it is not added again.")},
        {IDS_UNUSABLE_ID, Tr("This place has no station ID that can be used. Please pick another one.")},
    });
}
