#pragma once

#include "platform/ui/CommandBar.h"
#include "platform/ui/Dialog.h"

#include <string>

class CLogFile;
class CWeatherData;

// Adds a station by its ID, or by a place name searched online. On OK the
// station asked for (added, or already in the list) is in
// the data object's m_chosenStation.
class CDlgNewStation : public CDialog
{
public:
    CDlgNewStation(CWeatherData& data, CLogFile& log, CWnd* pParent = nullptr);

    // A station ID: eight characters, the first four letters and the last four
    // digits, in any letter case. Nothing is trimmed.
    static bool IsStationID(const std::wstring& strText);

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy) override;
    bool OnCommand(UINT nID, UINT nNotifyCode) override;
    void OnHelp();
    // The addition: an ID is taken as typed; anything else is searched for
    // online once the user agrees. Stays open when the user declines.
    void OnOK() override;

    CWeatherData& m_data;
    CLogFile& m_log;
    std::wstring m_strStation;   // edit 1001
    CCommandBar m_commandBar;
};
