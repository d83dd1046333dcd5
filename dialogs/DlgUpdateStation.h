#pragma once

#include "platform/ui/CommandBar.h"
#include "platform/ui/Dialog.h"

#include <string>

class CLogFile;
class CWeatherData;

// Updates the forecasts of the current station, or of others through "Other
// stations". Leaves the data object's m_chosenStation as it found it, unless
// "Other stations" ran the select dialog (which leaves the last station it
// updated there).
class CDlgUpdateStation : public CDialog
{
public:
    CDlgUpdateStation(CWeatherData& data, CLogFile& log, CWnd* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy) override;
    bool OnCommand(UINT nID, UINT nNotifyCode) override;
    void OnOtherStations();
    // "Ok": the update of the current station; closes with OK whatever the
    // requests returned.
    void OnOK() override;

    CWeatherData& m_data;
    CLogFile& m_log;
    std::wstring m_strID;     // label 1034
    std::wstring m_strName;   // label 1035
    int m_bDaily;             // check box 1006
    int m_bHourly;            // check box 1007
    CCommandBar m_commandBar;
};
