#pragma once

#include "platform/WinTypes.h"

#include "net/DownloadOutcome.h"

#include <string>

class CCommandBar;
class CLogFile;
class CSettings;
class CStation;
class CWeatherData;
class CWnd;

// What every dialog of the application shares: its soft-key bar, the place of
// its heading and its message boxes; and what the station dialogs share: the
// text of a station's line, the download requests and the update of a station.
class CDialogCommon
{
public:
    // Creates the command bar and inserts the menu bar resource; false when either
    // fails, and the dialog then skips its own initialisation.
    static bool CreateMenuBar(CWnd* pDlg, CCommandBar& commandBar, UINT nMenuBarID);

    // The heading label 1005 across the top: x 5, y 5, client width - 10 wide.
    static void PlaceHeading(CWnd* pDlg, int cx, int nHeight = 16);

    // The heading beside the "?" button 1004 of the station dialogs: the heading
    // from x 0 to 22 pixels short of the right edge, the button 21 x 21 at the
    // right edge, nHelpTop down.
    static void PlaceHeadingBesideHelp(CWnd* pDlg, int cx, int nHelpTop);

    // The text comes from the string table when the box is shown; the caption is
    // literal. Styles: MB_ICONEXCLAMATION, MB_ICONINFORMATION,
    // MB_YESNO | MB_ICONQUESTION, MB_OKCANCEL | MB_ICONEXCLAMATION.
    static int MessageBox(CWnd* pOwner, UINT nStringID, const std::wstring& strCaption, UINT nType);
    // The same with the string's two "%s" filled, in this order.
    static int MessageBox(CWnd* pOwner, UINT nStringID, const std::wstring& strCaption, UINT nType,
                          const std::wstring& strFirst, const std::wstring& strSecond);

    // The service's home page in the web browser; where none can be started,
    // a box with that caption gives the address, so that the user can take it
    // elsewhere.
    static void OpenHomePage(CWnd* pOwner, const std::wstring& strCaption);

    // A station's line in the lists: "ID / name".
    static std::wstring StationLine(const CStation& station);

    // Runs one download request in the download dialog, titled "Download":
    // stored and read into the store, cancelled, or why it failed.
    static CDownloadOutcome Download(CWeatherData& data, CLogFile& log, CWnd* pOwner, int nKind,
                                     const std::wstring& strArgument, const std::wstring& strMessage);

    // The update of one station: its daily forecast, then its hour-by-hour one
    // unless the daily one was asked for and failed. The messages name the
    // station as it stands when each request starts. A station of the list
    // (pListed, may be null) that has no name yet is named after the place a
    // request has just loaded, and the list is saved; pAlsoNamed, when given,
    // is named with it. Each failure adds a line to strFailures: the station,
    // the kind and the reason.
    static void UpdateStation(CWeatherData& data, CLogFile& log, CWnd* pOwner, const CStation& station,
                              bool bDaily, bool bHourly, CStation* pListed, CStation* pAlsoNamed,
                              std::wstring& strFailures);
    // After an update walk: one message naming every failure, if there was any.
    static void ReportUpdateFailures(CWnd* pOwner, const std::wstring& strFailures);
    // A message box with text of its own.
    static int MessageText(CWnd* pOwner, const std::wstring& strText, const std::wstring& strCaption, UINT nType);

    // After an update: hangs up every dial-up connection when the user asked
    // for it ("Disconnect after update").
    static void HangUpAfterUpdate(const CSettings& settings);
};
