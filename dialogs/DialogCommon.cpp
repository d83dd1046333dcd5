#include "dialogs/DialogCommon.h"

#include "model/WeatherData.h"
#include "net/Connection.h"
#include "net/DlgDownload.h"
#include "platform/Resources.h"
#include "platform/Translate.h"
#include "platform/WideFormat.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Shell.h"
#include "platform/ui/Wnd.h"
#include "res/Resource.h"
#include "store/ServiceConfig.h"

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

void CDialogCommon::OpenHomePage(CWnd* pOwner, const std::wstring& strCaption)
{
    // The device's browser (":MSPIE") with the address as its parameter.
    const std::wstring strHome = CServiceConfig().m_strHome;
    SHELLEXECUTEINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"open";
    info.lpFile = L":MSPIE";
    info.lpParameters = strHome.c_str();
    info.nShow = SW_SHOWNORMAL_SHELL;
    if (!ShellExecuteEx(&info))
        MessageBox(pOwner, IDS_HOME_PAGE_NOT_OPENED, strCaption, MB_ICONINFORMATION, strHome, std::wstring());
}

std::wstring CDialogCommon::StationLine(const CStation& station)
{
    return station.m_strID + L" / " + station.m_strName;
}

CDownloadOutcome CDialogCommon::Download(CWeatherData& data, CLogFile& log, CWnd* pOwner, int nKind,
                                         const std::wstring& strArgument, const std::wstring& strMessage)
{
    CDlgDownload dlg(data, log, pOwner);
    dlg.m_strTitle = Tr("Download");
    dlg.m_strMessage = strMessage;
    dlg.m_nKind = nKind;
    dlg.m_strArgument = strArgument;
    dlg.DoModal();
    return dlg.m_outcome;
}

void CDialogCommon::UpdateStation(CWeatherData& data, CLogFile& log, CWnd* pOwner, const CStation& station,
                                  bool bDaily, bool bHourly, CStation* pListed, CStation* pAlsoNamed,
                                  std::wstring& strFailures)
{
    // Named in the message as the list shows it, whatever the downloads then name it.
    const std::wstring strStation = station.m_strName.empty() ? station.m_strID
                                                              : station.m_strName + L" (" + station.m_strID + L")";
    // A failed download leaves the file it would have replaced; the user is
    // told so only where there was one, not after a first update.
    auto note = [&](const CDownloadOutcome& outcome, int nKind, const std::wstring& strKind, bool bHadFile) {
        if (!outcome.IsFailure())
            return;
        if (!strFailures.empty())
            strFailures += L"\n";
        strFailures += CWideFormat::Format(CResources::LoadString(IDS_UPDATE_FAILED_LINE).c_str(), strStation.c_str(),
                                           strKind.c_str(), outcome.Words(nKind, station.m_strID).c_str());
        if (bHadFile)
            strFailures += CResources::LoadString(IDS_UPDATE_KEPT);
    };
    bool bDailyOk = false;
    if (bDaily) {
        const bool bHadFile = data.HasDailyFile(station.m_strID);
        CDownloadOutcome outcome =
            Download(data, log, pOwner, DOWNLOAD_DAILY, station.m_strID,
                     CWideFormat::Format(Tr("Search daily forecasts for %s").c_str(), station.m_strName.c_str()));
        bDailyOk = outcome.IsStored();
        if (bDailyOk)
            NameAfterForecast(data, pListed, pAlsoNamed, data.m_daily.m_strLocation);
        note(outcome, DOWNLOAD_DAILY, Tr("daily forecast"), bHadFile);
    }
    if (bHourly && (!bDaily || bDailyOk)) {
        const bool bHadFile = data.HasHourlyFile(station.m_strID);
        CDownloadOutcome outcome = Download(
            data, log, pOwner, DOWNLOAD_HOURLY, station.m_strID,
            CWideFormat::Format(Tr("Search hour-by-hour forecasts for %s").c_str(), station.m_strName.c_str()));
        if (outcome.IsStored())
            NameAfterForecast(data, pListed, pAlsoNamed, data.m_hourly.m_strLocation);
        note(outcome, DOWNLOAD_HOURLY, Tr("hour-by-hour forecast"), bHadFile);
    }
}

void CDialogCommon::ReportUpdateFailures(CWnd* pOwner, const std::wstring& strFailures)
{
    if (strFailures.empty())
        return;
    MessageText(pOwner, CWideFormat::Format(CResources::LoadString(IDS_UPDATES_FAILED).c_str(), strFailures.c_str()),
                Tr("Update !"), MB_ICONEXCLAMATION);
}

int CDialogCommon::MessageText(CWnd* pOwner, const std::wstring& strText, const std::wstring& strCaption, UINT nType)
{
    return pOwner->MessageBox(strText, strCaption, nType);
}

void CDialogCommon::HangUpAfterUpdate(const CSettings& settings)
{
    if (settings.m_bDisconnect)
        HangUpAllConnections();
}
