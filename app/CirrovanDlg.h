#pragma once

#include "chart/view/WndGraph.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/Timer.h"

#include <string>

class CLogFile;
class CWeatherData;

// Posted when the forecast's age has grown by a minute.
constexpr UINT WM_AGE_TICK = WM_USER + 122;
// The main window takes the chart's messages too: one number must not mean two.
static_assert(WM_AGE_TICK != WM_GRAPH_SCROLLED && WM_AGE_TICK != WM_GRAPH_LINK);

// The main window: the current station's forecast as a chart, with the kind and
// age of the forecast, the three custom views, the daily/hour-by-hour switch,
// the update button, the chart's scroll bar and the station list.
//
// CirrovanDlg.cpp builds and lays out the window and draws its header, list and
// buttons; CirrovanDlgCommands.cpp has its commands, keys and station switching.
class CCirrovanDlg : public CDialog
{
public:
    // Shows the data object's stations and forecasts; its dialogs write to the log.
    CCirrovanDlg(CWeatherData& data, CLogFile& log, CWnd* pParent = nullptr);
    ~CCirrovanDlg() override;

    void DoDataExchange(CDataExchange* pDX) override;
    // Every key-down addressed to the window or its controls ends here.
    bool PreTranslateMessage(MSG* pMsg) override;
    // The scroll bar follows the chart while the user drags it.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    // Quit: the display's orientation as it was at start; the settings saved
    // when the view or the daily/hour-by-hour switch changed since their last save.
    void OnOK() override;

    void OnSize(UINT nType, int cx, int cy) override;
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnDrawItem(int nIDCtl, DRAWITEMSTRUCT* pDrawItem) override;
    bool OnCommand(UINT nID, UINT nNotifyCode) override;

    // The controls at their places for the client size (portrait when narrower
    // than high, landscape otherwise).
    void LayOut(int cx, int cy);
    void FillStationList();
    void UpdateHeader();
    // The header's age as the clock now says, and the tick at its next minute.
    void UpdateAge();
    // Without a station the chart's place says how to add one.
    void ShowEmptyHint();
    void PlaceEmptyHint();
    // 0 to what the chart is wider than the window (never below 0).
    void UpdateScrollRange();

    // Station switching (CirrovanDlgCommands.cpp).
    void LoadCurrentForecasts();
    // The current station's files as they are now, without offering an update.
    void ReadForecastFiles();
    // Each forecast from its file, or cleared when it has none.
    void LoadForecasts(bool bDailyFile, bool bHourlyFile);
    void RunFirstRunFlow();
    void ShowView(int nView);
    // The scroll bar at the position (kept within its range), the chart at the
    // bar's position.
    void ScrollTo(int nPos);
    // The chart composed again for the current mode, view and size, and the
    // scroll range to match its panels.
    void RefreshChart(bool bResetScroll);
    // What a screen reader hears of the controls that show only pictures or
    // numbers; the switch also says which chart is shown.
    void NameControls();

    CWeatherData& m_data;
    CLogFile& m_log;
    CCommandBar m_commandBar;
    HICON m_hIcon;
    CWndGraph m_wndGraph;
    int m_nStartOrientation;
    CBitmap m_bmpUpdate;            // 155, 26 x 26
    CBitmap m_bmpUpdatePressed;     // 156
    CBitmap m_bmpCalendar;          // 159, 32 x 26
    CBitmap m_bmpCalendarPressed;   // 158
    CBitmap m_bmpClock;             // 157, 32 x 26
    CBitmap m_bmpClockPressed;      // 160
    std::wstring m_strHeader;       // label 1041
    CTimer m_ageTimer;
    CComboBox m_comboStations;      // 1000
    CScrollBar m_scrollBar;         // 1046
    int m_nView;                    // the pressed view button, 0 to 2

private:
    // The commands, reached through OnCommand and the keys.
    void OnSelectStation();
    void OnStationsSelect();
    void OnStationsUpdate();
    void OnStationsNew();
    void OnCustomViews();
    void OnPreferences();
    void OnChangeOrientation();
    void OnAbout();
    void OnViewButton();
    void OnDailyHourly();
    void OnKeyUp();
};
