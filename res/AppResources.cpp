#include "res/AppResources.h"

#include "res/ResourceParts.h"
#include "store/ServiceConfig.h"

void CAppResources::Install()
{
    InstallStringTable();
    InstallAccessibleStrings();
    InstallMenus();
    InstallDialogTemplates();
    InstallBitmaps();
}

std::wstring CAppResources::AboutText()
{
    CServiceConfig config;
    return L"Cirrovan shows the weather forecast of your stations as charts: ten days day by day "
           L"and three days hour by hour, with temperatures, the chance of rain with weather icons, "
           L"and wind speed with direction arrows.\r\n\r\n"
           L"Forecasts are kept on the device, so the charts work without a connection and tell how "
           L"old their data is.\r\n\r\n"
           L"Weather data is provided by " + config.m_strName + L" (" + config.m_strHome + L"). "
           L"Tap its logo or the key below to visit it.\r\n\r\n"
           L"Version 1.00";
}
