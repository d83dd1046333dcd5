#include "dialogs/DialogCommon.h"

#include "model/WeatherData.h"
#include "net/Connection.h"
#include "net/DlgDownload.h"
#include "platform/Resources.h"
#include "platform/WideFormat.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Wnd.h"
#include "res/Resource.h"

namespace {

// Names a listed station that has none yet after the forecast just loaded.
void NameAfterForecast(CWeatherData& data, CStation* pListed, CStation* pAlsoNamed, const std::wstring& strLocation)
{
    if (!pListed || !pListed->m_strName.empty())
        return;
    pListed->m_strName = strLocation;
    if (pAlsoNamed)
        pAlsoNamed->m_strName = strLocation;
    data.SaveStations();
}

}

bool CDialogCommon::CreateMenuBar(CWnd* pDlg, CCommandBar& commandBar, UINT nMenuBarID)
{
    return commandBar.Create(pDlg) && commandBar.InsertMenuBar(nMenuBarID);
}

void CDialogCommon::PlaceHeading(CWnd* pDlg, int cx, int nHeight)
{
    if (CWnd* pHeading = pDlg->GetDlgItem(IDC_HEADING))
        pHeading->MoveWindow(5, 5, cx - 10, nHeight);
}

void CDialogCommon::PlaceHeadingBesideHelp(CWnd* pDlg, int cx, int nHelpTop)
{
    if (CWnd* pHeading = pDlg->GetDlgItem(IDC_HEADING))
        pHeading->MoveWindow(0, 5, cx - 22, 16);
    if (CWnd* pHelp = pDlg->GetDlgItem(IDC_HELP_BUTTON))
        pHelp->MoveWindow(cx - 22, nHelpTop, 21, 21);
}

int CDialogCommon::MessageBox(CWnd* pOwner, UINT nStringID, const std::wstring& strCaption, UINT nType)
{
    return pOwner->MessageBox(CResources::LoadString(nStringID), strCaption, nType);
}

int CDialogCommon::MessageBox(CWnd* pOwner, UINT nStringID, const std::wstring& strCaption, UINT nType,
                              const std::wstring& strFirst, const std::wstring& strSecond)
{
    const std::wstring strFormat = CResources::LoadString(nStringID);
    return pOwner->MessageBox(CWideFormat::Format(strFormat.c_str(), strFirst.c_str(), strSecond.c_str()),
                              strCaption, nType);
}

std::wstring CDialogCommon::StationLine(const CStation& station)
{
    return station.m_strID + L" / " + station.m_strName;
}

bool CDialogCommon::Download(CWeatherData& data, CLogFile& log, CWnd* pOwner, int nKind,
                             const std::wstring& strArgument, const std::wstring& strMessage)
{
    CDlgDownload dlg(data, log, pOwner);
    dlg.m_strTitle = L"Download";
    dlg.m_strMessage = strMessage;
    dlg.m_nKind = nKind;
    dlg.m_strArgument = strArgument;
    return dlg.DoModal() == 1;
}

void CDialogCommon::UpdateStation(CWeatherData& data, CLogFile& log, CWnd* pOwner, const CStation& station,
                                  bool bDaily, bool bHourly, CStation* pListed, CStation* pAlsoNamed)
{
    bool bDailyOk = false;
    if (bDaily) {
        bDailyOk = Download(data, log, pOwner, DOWNLOAD_DAILY, station.m_strID,
                            L"Search daily forecasts for " + station.m_strName);
        if (bDailyOk)
            NameAfterForecast(data, pListed, pAlsoNamed, data.m_daily.m_strLocation);
    }
    if (bHourly && (!bDaily || bDailyOk)) {
        if (Download(data, log, pOwner, DOWNLOAD_HOURLY, station.m_strID,
                     L"Search hour-by-hour forecasts for " + station.m_strName))
            NameAfterForecast(data, pListed, pAlsoNamed, data.m_hourly.m_strLocation);
    }
}

void CDialogCommon::HangUpAfterUpdate(const CSettings& settings)
{
    if (settings.m_bDisconnect)
        HangUpAllConnections();
}
