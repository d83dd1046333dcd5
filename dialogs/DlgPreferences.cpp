#include "dialogs/DlgPreferences.h"

#include "dialogs/DialogCommon.h"
#include "model/WeatherData.h"
#include "platform/ui/DataExchange.h"
#include "res/Resource.h"

CDlgPreferences::CDlgPreferences(CWeatherData& data, CWnd* pParent)
    : CDialog(IDD_PREFERENCES, pParent), m_data(data), m_bShowZero(0), m_bDisconnect(0), m_nWindUnit(0), m_nTempUnit(0)
{
}

void CDlgPreferences::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_WIND_KMH, m_nWindUnit);
    DDX_Check(pDX, IDC_SHOW_ZERO, m_bShowZero);
    DDX_Radio(pDX, IDC_TEMP_CELSIUS, m_nTempUnit);
    DDX_Check(pDX, IDC_DISCONNECT, m_bDisconnect);
}

bool CDlgPreferences::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!CDialogCommon::CreateMenuBar(this, m_commandBar, IDR_MENUBAR_OK_CANCEL))
        return true;
    const CSettings& settings = m_data.m_settings;
    m_nWindUnit = settings.m_nWindUnit;
    m_nTempUnit = settings.m_nTempUnit;
    m_bShowZero = settings.m_bShowZero ? 1 : 0;
    m_bDisconnect = settings.m_bDisconnect ? 1 : 0;
    UpdateData(false);
    return true;
}

void CDlgPreferences::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CDialogCommon::PlaceHeading(this, cx);
}

void CDlgPreferences::OnOK()
{
    if (!UpdateData(true))
        return;
    CSettings& settings = m_data.m_settings;
    settings.m_nWindUnit = m_nWindUnit;
    settings.m_nTempUnit = m_nTempUnit;
    settings.m_bShowZero = m_bShowZero != 0;
    settings.m_bDisconnect = m_bDisconnect != 0;
    settings.Save();
    EndDialog(IDOK);
}
