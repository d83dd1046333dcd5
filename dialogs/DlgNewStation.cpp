#include "dialogs/DlgNewStation.h"

#include "dialogs/DialogCommon.h"
#include "dialogs/DlgFindStation.h"
#include "dialogs/DlgHelp.h"
#include "model/WeatherData.h"
#include "platform/Resources.h"
#include "platform/Translate.h"
#include "platform/WideFormat.h"
#include "platform/ui/DataExchange.h"
#include "res/Resource.h"

CDlgNewStation::CDlgNewStation(CWeatherData& data, CLogFile& log, CWnd* pParent)
    : CDialog(IDD_NEW_STATION, pParent), m_data(data), m_log(log)
{
}

namespace {

bool SameID(const std::wstring& strA, const std::wstring& strB)
{
    auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    if (strA.size() != strB.size())
        return false;
    for (size_t i = 0; i < strA.size(); ++i) {
        if (upper(strA[i]) != upper(strB[i]))
            return false;
    }
    return true;
}

// The station of the list with that ID in any letter case: the service answers
// in capitals what a user may have typed in small letters, and both name one
// station with one set of files.
CStation* FindListed(const CWeatherData& data, const std::wstring& strID)
{
    for (int i = 0; i < data.m_stations.GetCount(); ++i) {
        CStation* pStation = data.m_stations.GetAt(i);
        if (pStation && SameID(pStation->m_strID, strID))
            return pStation;
    }
    return nullptr;
}

} // namespace

bool CDlgNewStation::IsStationID(const std::wstring& strText)
{
    if (strText.size() != 8)
        return false;
    for (size_t i = 0; i < 8; ++i) {
        // Upper case of the ASCII letters only: the locale's would let letters
        // such as the dotless i pass as an "I".
        wchar_t c = strText[i];
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        const bool bOk = i < 4 ? (c >= L'A' && c <= L'Z') : (c >= L'0' && c <= L'9');
        if (!bOk)
            return false;
    }
    return true;
}

void CDlgNewStation::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_STATION_TEXT, m_strStation);
}

bool CDlgNewStation::OnInitDialog()
{
    CDialog::OnInitDialog();
    CDialogCommon::CreateMenuBar(this, m_commandBar, IDR_MENUBAR_DONE_CANCEL);
    return true;
}

void CDlgNewStation::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CDialogCommon::PlaceHeadingBesideHelp(this, cx, 0);
    if (CWnd* pEdit = GetDlgItem(IDC_STATION_TEXT)) {
        RECT rc;
        pEdit->GetWindowRect(&rc);
        pEdit->MoveWindow(rc.left, rc.top, cx - rc.left - 8, rc.bottom - rc.top);
    }
}

bool CDlgNewStation::OnCommand(UINT nID, UINT nNotifyCode)
{
    if (nID == IDC_HELP_BUTTON && nNotifyCode == BN_CLICKED) {
        OnHelp();
        return true;
    }
    return CDialog::OnCommand(nID, nNotifyCode);
}

void CDlgNewStation::OnHelp()
{
    CDlgHelp dlg(IDS_HELP_NEW_STATION);
    dlg.DoModal();
}

void CDlgNewStation::OnOK()
{
    if (!UpdateData(true))
        return;
    CStation& chosen = m_data.m_chosenStation;
    std::wstring strNotChecked;
    if (IsStationID(m_strStation)) {
        CStation typed;
        typed.m_strID = m_strStation;
        if (!FindListed(m_data, typed.m_strID) && !CheckWithService(typed, strNotChecked))
            return;
        chosen = typed;
    } else {
        if (CDialogCommon::MessageBox(this, IDS_CONNECT_TO_SEARCH, Tr("Connection Required"),
                                      MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        CDlgFindStation dlg(m_data, m_log, this);
        dlg.m_strSearch = m_strStation;
        if (dlg.DoModal() != IDOK)
            return;
    }
    if (const CStation* pListed = FindListed(m_data, chosen.m_strID)) {
        // The station the user asked for is the one in the list, with its name;
        // the caller shows it, and the user learns why nothing was added.
        chosen = *pListed;
        CDialogCommon::MessageBox(this, IDS_ALREADY_LISTED, Tr("New station"), MB_ICONINFORMATION, chosen.m_strID,
                                  chosen.m_strName);
    } else if (!CWeatherData::IsSafeFileID(chosen.m_strID)) {
        CDialogCommon::MessageBox(this, IDS_UNUSABLE_ID, Tr("New station"), MB_ICONEXCLAMATION);
        return;
    } else {
        m_data.m_stations.Add(new CStation(chosen));
        m_data.SaveStations();
        if (strNotChecked.empty()) {
            CDialogCommon::MessageBox(this, IDS_STATION_ADDED, Tr("New station"), MB_ICONINFORMATION, chosen.m_strID,
                                      chosen.m_strName);
        } else {
            CDialogCommon::MessageText(this,
                                       CWideFormat::Format(CResources::LoadString(IDS_ID_NOT_CHECKED).c_str(),
                                                           chosen.m_strID.c_str(), chosen.m_strName.c_str(),
                                                           strNotChecked.c_str()),
                                       Tr("New station"), MB_ICONINFORMATION);
        }
    }
    CDialog::OnOK();
}

bool CDlgNewStation::CheckWithService(CStation& station, std::wstring& strNotChecked)
{
    CDownloadOutcome outcome = CDialogCommon::Download(
        m_data, m_log, this, DOWNLOAD_SEARCH, station.m_strID,
        CWideFormat::Format(Tr("Search stations for '%s'...").c_str(), station.m_strID.c_str()));
    if (outcome.m_nReason == CDownloadOutcome::CANCELLED)
        return false;
    if (outcome.IsFailure()) {
        // Added as before, but the user learns that nobody vouched for it.
        strNotChecked = outcome.Words(DOWNLOAD_SEARCH, station.m_strID);
        return true;
    }
    // IDs are compared without letter case: the ID is kept as typed, and the
    // service answers in capitals.
    for (int i = 0; i < m_data.m_searchResults.GetCount(); ++i) {
        const CStation* pResult = m_data.m_searchResults.GetAt(i);
        if (pResult && CDlgNewStation::IsStationID(pResult->m_strID) && SameID(pResult->m_strID, station.m_strID)) {
            station.m_strName = pResult->m_strName;
            return true;
        }
    }
    CDialogCommon::MessageBox(this, IDS_ID_UNKNOWN, Tr("New station"), MB_ICONEXCLAMATION, station.m_strID, L"");
    return false;
}
