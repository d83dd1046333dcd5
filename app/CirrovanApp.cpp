#include "app/CirrovanApp.h"

#include "app/CirrovanDlg.h"
#include "app/Globals.h"
#include "res/AppResources.h"

CCirrovanApp::CCirrovanApp() : CWinApp(nullptr)
{
}

bool CCirrovanApp::InitInstance()
{
    // The device has its resources in the executable; here they are put into
    // the platform's table first. The shell's one-time initialisation has no
    // counterpart on a desktop.
    CAppResources::Install();
    SetRegistryKey(L"Cirrovan");
    theWeatherData.m_settings.Load();
    // Written at once, so the file has its full layout from the first start on.
    theWeatherData.m_settings.Save();

    CCirrovanDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return false;
}
