#pragma once

#include "platform/ui/CommandBar.h"
#include "platform/ui/Dialog.h"

class CWeatherData;

// Units, the zero of the wind scale and hanging up after an update; OK saves
// the settings file at once.
class CDlgPreferences : public CDialog
{
public:
    explicit CDlgPreferences(CWeatherData& data, CWnd* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnOK() override;

    CWeatherData& m_data;
    int m_bShowZero;     // check box 1015
    int m_bDisconnect;   // check box 1018
    int m_nWindUnit;     // radio group 1010 to 1014; -1 when none is pressed
    int m_nTempUnit;     // radio group 1016 to 1017; -1 when none is pressed
    CCommandBar m_commandBar;
};
