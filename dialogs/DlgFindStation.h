#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListBox.h"

#include <string>

class CLogFile;
class CWeatherData;

// Searches the service for a place and lets the user pick one of the answers.
// The first search starts by itself once the dialog has been painted. On OK
// the picked place is in the data object's m_chosenStation.
class CDlgFindStation : public CDialog
{
public:
    CDlgFindStation(CWeatherData& data, CLogFile& log, CWnd* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnPaint() override;
    bool OnCommand(UINT nID, UINT nNotifyCode) override;
    // Enter in the field searches for a text not searched yet; otherwise it is
    // the pick, as everywhere else.
    bool PreTranslateMessage(MSG* pMsg) override;
    // Empties the field and the list, which would otherwise show the places of
    // a text no longer there.
    void OnClear();
    // Runs the search download and lists what it found.
    void OnSearch();
    // The pick: the result on the selected line.
    void OnOK() override;

    CWeatherData& m_data;
    CLogFile& m_log;
    std::wstring m_strSearch;   // edit 1001; set by the caller before the run
    std::wstring m_strSearched; // the text of the last search started
    std::wstring m_strStatus;   // static 1008
    CListBox m_list;            // line k shows search result k
    CButton m_buttonSearch;     // disabled while a search runs
    bool m_bSearched;           // the first search has been started
    CCommandBar m_commandBar;
};
