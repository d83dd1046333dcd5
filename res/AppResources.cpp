#include "res/AppResources.h"

#include "platform/Translate.h"
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
    const std::wstring strText =
        Tr("Cirrovan shows the weather forecast of your stations as charts: ten days day by day "
           "and three days hour by hour, with temperatures, the chance of rain with weather icons, "
           "and wind speed with direction arrows.\n\n"
           "Forecasts are kept on the device, so the charts work without a connection and tell how "
           "old their data is.\n\n"
           "Weather data is provided by {service} ({home}). "
           "Tap its logo or the key below to visit it.\n\n"
           "Version 1.00");
    const std::wstring strAbout = Filled(Filled(strText, L"{service}", config.m_strName), L"{home}", config.m_strHome);
    // The catalogue keeps plain line breaks; the text box breaks lines at CR LF.
    return Filled(strAbout, L"\n", L"\r\n");
}
