#pragma once

#include "platform/ui/CommandBar.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListBox.h"

class CLogFile;
class CWeatherData;

// The station list: add, delete, inspect and pick the station to show. The
// picked station is handed back in the data object's m_chosenStation.
class CDlgStations : public CDialog
{
public:
    CDlgStations(CWeatherData& data, CLogFile& log, CWnd* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy) override;
    bool OnCommand(UINT nID, UINT nNotifyCode) override;
    void OnSelChangeList();
    void OnAdd();
    void OnDelete();
    void OnDetails();
    void OnHelp();
    // "Done": the chosen station is the selected line's, or empty.
    void OnOK() override;

    // One line per station, the chosen station's selected; or the placeholder.
    void FillList();

    CWeatherData& m_data;
    CLogFile& m_log;
    CListBox m_list;   // line k shows station k
    CCommandBar m_commandBar;
};
