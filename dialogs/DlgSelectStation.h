#pragma once

#include "platform/ui/CommandBar.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/TreeCtrl.h"

#include <string>

class CLogFile;
class CWeatherData;

// Updates the forecasts of the stations the user ticks, station after station
// in list order, and remembers them as the preferred update stations. Leaves
// the last station it updated in the data object's m_chosenStation (empty when
// it updated none).
class CDlgSelectStation : public CDialog
{
public:
    CDlgSelectStation(CWeatherData& data, CLogFile& log, CWnd* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy) override;
    bool OnCommand(UINT nID, UINT nNotifyCode) override;
    void OnCurrent();
    void OnAll();
    void OnClear();
    void OnLast();
    // "Update !": the update of the ticked stations.
    void OnOK() override;

    // Ticks every item whose station is one of the preferred update stations.
    void TickPreferred();
    void TickAll(bool bTick);

    CWeatherData& m_data;
    CLogFile& m_log;
    CTreeCtrl m_tree;            // item i shows station i of the list
    HTREEITEM m_hCurrentItem;    // the current station's item, or none
    int m_bDaily;                // check box 1006
    int m_bHourly;               // check box 1007
    CCommandBar m_commandBar;
};
