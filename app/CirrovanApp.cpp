#include "app/CirrovanApp.h"

#include "app/CirrovanDlg.h"
#include "model/WeatherData.h"
#include "platform/Translate.h"
#include "res/AppResources.h"

CCirrovanApp::CCirrovanApp(CWeatherData& data, CLogFile& log) : CWinApp(nullptr), m_data(data), m_log(log)
{
}

bool CCirrovanApp::InitInstance()
{
    // The device has its resources in the executable; here they are put into
    // the platform's table first. The shell's one-time initialisation has no
    // counterpart on a desktop.
    // The resources are installed in the user's language.
    InitTranslations();
    CAppResources::Install();
    SetRegistryKey(L"Cirrovan");
    // What saves and downloads cut short by a crash left behind.
    m_data.RemoveLeftovers();
    m_data.m_settings.Load();
    // Written at once, so the file has its full layout from the first start on.
    m_data.m_settings.Save();

    CCirrovanDlg dlg(m_data, m_log);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return false;
}
