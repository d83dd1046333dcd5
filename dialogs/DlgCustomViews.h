#pragma once

#include "platform/ui/CommandBar.h"
#include "platform/ui/Dialog.h"

class CCustomView;
class CWeatherData;

// Edits the three custom views of the chart in the settings, in place, as the
// user acts; OK saves the settings file, Cancel reads it back.
class CDlgCustomViews : public CDialog
{
public:
    explicit CDlgCustomViews(CWeatherData& data, CWnd* pParent = nullptr);

    // The view buttons and the rows of the series.
    bool OnCommand(UINT nID, UINT nNotifyCode) override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnOK() override;
    void OnCancel() override;

    // The view the rows edit: the current one.
    CCustomView& CurrentView();
    // Each row shows its series' flags in the current view.
    void ShowRows();

    CWeatherData& m_data;
    int m_nView;   // the pressed view button, 0 to 2
    CCommandBar m_commandBar;
};
