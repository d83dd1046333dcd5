// The main window: construction, initialisation, layout, the header, the
// station list, the picture buttons and the chart's scrolling. Its commands,
// keys and station switching are in CirrovanDlgCommands.cpp.
#include "app/CirrovanDlg.h"

#include "chart/Units.h"
#include "dialogs/DialogCommon.h"
#include "model/WeatherData.h"
#include "platform/Resources.h"
#include "platform/Translate.h"
#include "platform/WideFormat.h"
#include "platform/ui/DC.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DeviceScreen.h"
#include "res/Resource.h"

#include <cwctype>

namespace {

// The application's icon, in all its sizes.
const UINT IDI_CIRROVAN = 128;

struct ControlPlace
{
    UINT nID;
    int x, y, cx, cy;
};

// What the list shows of a station: its name, or its ID when it has none.
std::wstring DisplayText(const CStation& station)
{
    return station.m_strName.empty() ? station.m_strID : station.m_strName;
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i])))
            return false;
    return true;
}

} // namespace

CCirrovanDlg::CCirrovanDlg(CWeatherData& data, CLogFile& log, CWnd* pParent)
    : CDialog(IDD_CIRROVAN_DIALOG, pParent),
      m_data(data),
      m_log(log),
      m_hIcon(nullptr),
      m_wndGraph(data),
      m_nStartOrientation(-1),
      m_nView(0)
{
    m_hIcon = LoadIcon(IDI_CIRROVAN);
    m_bmpUpdate.LoadBitmap(IDB_UPDATE);
    m_bmpUpdatePressed.LoadBitmap(IDB_UPDATE_PRESSED);
    m_bmpCalendar.LoadBitmap(IDB_CALENDAR);
    m_bmpCalendarPressed.LoadBitmap(IDB_CALENDAR_PRESSED);
    m_bmpClock.LoadBitmap(IDB_CLOCK);
    m_bmpClockPressed.LoadBitmap(IDB_CLOCK_PRESSED);
}

CCirrovanDlg::~CCirrovanDlg() = default;

void CCirrovanDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_HEADER, m_strHeader);
    DDX_Control(pDX, IDC_STATION_COMBO, m_comboStations);
    DDX_Control(pDX, IDC_CHART_SCROLL, m_scrollBar);
    DDX_Radio(pDX, IDC_VIEW1, m_nView);
}

bool CCirrovanDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);
    if (!CDialogCommon::CreateMenuBar(this, m_commandBar, IDR_MAINMENU))
        return true;

    CSettings& settings = m_data.m_settings;
    m_nStartOrientation = GetDisplayOrientation();
    if (m_nStartOrientation != settings.m_nOrientation)
        SetDisplayOrientation(settings.m_nOrientation);

    if (settings.m_currentStation.m_strID.empty())
        RunFirstRunFlow();

    m_nView = settings.m_nCurrentView;
    FillStationList();

    RECT rc;
    GetClientRect(&rc);
    m_wndGraph.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{0, rc.top + 26, rc.right, rc.bottom - 30}, this,
                      IDC_GRAPH);
    // The chart takes its place for the window's shape at once.
    LayOut(rc.right - rc.left, rc.bottom - rc.top);
    PlaceEmptyHint();

    if (CWnd* pSwitch = GetDlgItem(IDC_DAILY_HOURLY))
        pSwitch->SetWindowPos(nullptr, 0, 0, 32, 26, SWP_NOMOVE | SWP_NOZORDER);
    if (CWnd* pUpdate = GetDlgItem(IDC_UPDATE_BUTTON))
        pUpdate->SetWindowPos(nullptr, 0, 0, 26, 26, SWP_NOMOVE | SWP_NOZORDER);

    UpdateScrollRange();
    NameControls();
    OnSelectStation();
    UpdateData(false);
    // Its keys are its own (PreTranslateMessage): no control takes the focus,
    // nor shows its mark.
    return false;
}

void CCirrovanDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    LayOut(cx, cy);
    PlaceEmptyHint();
}

void CCirrovanDlg::LayOut(int cx, int cy)
{
    // Portrait: the buttons in a bar along the top right of the header, the
    // chart in the middle, the scroll bar and the station list along the bottom.
    // Landscape: the station list along the top, the buttons in a column down
    // the left edge, the chart with its scroll bar under it in the rest.
    const bool bLandscape = cx >= cy;
    const ControlPlace portrait[] = {
        {IDC_HEADER, 2, 6, 90, 14},          {IDC_VIEW1, 95, 0, 26, 26},
        {IDC_VIEW2, 122, 0, 26, 26},         {IDC_VIEW3, 149, 0, 26, 26},
        {IDC_DAILY_HOURLY, 180, 0, 32, 26},  {IDC_UPDATE_BUTTON, 215, 0, 26, 26},
        {IDC_STATION_COMBO, 0, cy - 20, cx, 20}, {IDC_CHART_SCROLL, 0, cy - 30, cx, 10},
    };
    const ControlPlace landscape[] = {
        {IDC_HEADER, 2, 3, 90, 14},          {IDC_VIEW1, 3, 20, 26, 26},
        {IDC_VIEW2, 3, 47, 26, 26},          {IDC_VIEW3, 3, 74, 26, 26},
        {IDC_DAILY_HOURLY, 0, 110, 32, 26},  {IDC_UPDATE_BUTTON, 3, 140, 26, 26},
        {IDC_STATION_COMBO, 100, 0, cx - 100, 20}, {IDC_CHART_SCROLL, 32, cy - 10, cx - 32, 10},
    };
    for (const ControlPlace& place : bLandscape ? landscape : portrait) {
        if (CWnd* pControl = GetDlgItem(place.nID))
            pControl->MoveWindow(place.x, place.y, place.cx, place.cy, true);
    }
    if (!m_wndGraph.IsWindow())
        return;
    if (bLandscape)
        m_wndGraph.MoveWindow(32, 20, cx - 32, cy - 30, true);
    else
        m_wndGraph.MoveWindow(0, 26, cx, cy - 56, true);
    UpdateScrollRange();
}

void CCirrovanDlg::UpdateScrollRange()
{
    // The bar, the keys and a drag all reach as far as the chart's viewport lets
    // them; a chart that fits leaves the bar nothing to move.
    const int nMax = m_wndGraph.MaxScroll();
    m_scrollBar.SetScrollRange(0, nMax, true);
    // The chart never stands where the bar cannot: a range that shrank takes it
    // back along with the bar.
    if (m_wndGraph.m_nScroll < 0 || m_wndGraph.m_nScroll > nMax) {
        m_wndGraph.m_nScroll = m_scrollBar.GetScrollPos();
        m_wndGraph.Invalidate(true);
    }
}

void CCirrovanDlg::ScrollTo(int nPos)
{
    m_scrollBar.SetScrollPos(nPos, true);
    m_wndGraph.m_nScroll = m_scrollBar.GetScrollPos();
    m_wndGraph.Invalidate(true);
}

void CCirrovanDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar && pScrollBar->GetDlgCtrlID() == IDC_CHART_SCROLL) {
        const int nCurrent = m_scrollBar.GetScrollPos();
        switch (nSBCode) {
        case SB_LINELEFT:
        case SB_PAGELEFT:
            ScrollTo(nCurrent - 10);
            break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT:
            ScrollTo(nCurrent + 10);
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            ScrollTo(static_cast<int>(nPos));
            break;
        default:
            break;
        }
    }
    CDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

LRESULT CCirrovanDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GRAPH_SCROLLED)
        m_scrollBar.SetScrollPos(static_cast<int>(wParam), true);
    if (message == WM_AGE_TICK)
        UpdateAge();
    if (message == WM_GRAPH_LINK) {
        // As About does: where no browser opens, the user is given the address.
        CDialogCommon::OpenHomePage(this, L"Cirrovan");
        return 1;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CCirrovanDlg::UpdateHeader()
{
    UpdateAge();
    ShowEmptyHint();
    UpdateData(false);
}

// The age counts on while the window is open: each forecast's own age from its
// own update time, against the clock at this moment, written again when it
// next grows by a minute.
void CCirrovanDlg::UpdateAge()
{
    const CSettings& settings = m_data.m_settings;
    m_strHeader.clear();
    m_ageTimer.Stop();
    if (!settings.m_currentStation.m_strID.empty()) {
        CForecastBase& forecast = settings.m_bDaily ? static_cast<CForecastBase&>(m_data.m_daily)
                                                    : static_cast<CForecastBase&>(m_data.m_hourly);
        if (!forecast.IsEmpty()) {
            CDateTime dtStationNow;
            const std::wstring strAge = FormatAge(forecast.m_dtLastUpdate, forecast.m_nZone, dtStationNow);
            const std::wstring strFormat = settings.m_bDaily ? Tr("Daily (%s)") : Tr("Hourly (%s)");
            m_strHeader = CWideFormat::Format(strFormat.c_str(), strAge.c_str());
            const long long nSeconds = forecast.m_dtLastUpdate.SecondsUntil(dtStationNow);
            const long long nToNext = nSeconds < 0 ? 60 : 60 - nSeconds % 60;
            if (IsWindow())
                m_ageTimer.Start(*this, WM_AGE_TICK, static_cast<int>(nToNext * 1000 + 100));
        }
    }
    if (CWnd* pHeader = GetDlgItem(IDC_HEADER))
        pHeader->SetWindowText(m_strHeader);
}

void CCirrovanDlg::ShowEmptyHint()
{
    CWnd* pHint = GetDlgItem(IDC_EMPTY_HINT);
    if (!pHint)
        return;
    // A station without the forecast shown (offline since it was added, or
    // its update failed) would leave the chart blank: the hint says why.
    const CSettings& settings = m_data.m_settings;
    const CStation& current = settings.m_currentStation;
    CForecastBase& forecast = settings.m_bDaily ? static_cast<CForecastBase&>(m_data.m_daily)
                                                : static_cast<CForecastBase&>(m_data.m_hourly);
    const bool bNoStation = current.m_strID.empty();
    const bool bEmpty = bNoStation || forecast.IsEmpty();
    if (bNoStation) {
        pHint->SetWindowText(CResources::LoadString(IDS_NO_STATION_HINT));
    } else if (bEmpty) {
        const std::wstring strKind =
            settings.m_bDaily ? TrC("forecast kind", "daily") : TrC("forecast kind", "hour-by-hour");
        pHint->SetWindowText(CWideFormat::Format(CResources::LoadString(IDS_NO_FORECAST_HINT).c_str(), strKind.c_str(),
                                                 DisplayText(current).c_str()));
    }
    pHint->ShowWindow(bEmpty ? SW_SHOW : SW_HIDE);
    if (m_wndGraph.IsWindow())
        m_wndGraph.ShowWindow(bEmpty ? SW_HIDE : SW_SHOW);
}

void CCirrovanDlg::PlaceEmptyHint()
{
    CWnd* pHint = GetDlgItem(IDC_EMPTY_HINT);
    if (!pHint || !m_wndGraph.IsWindow())
        return;
    RECT rc;
    m_wndGraph.GetWindowRect(&rc);
    pHint->MoveWindow(rc.left + 10, rc.top + 30, rc.right - rc.left - 20, rc.bottom - rc.top - 40);
}

void CCirrovanDlg::FillStationList()
{
    m_comboStations.ResetContent();
    const CPointerArray<CStation>& stations = m_data.m_stations;
    for (int i = 0; i < stations.GetCount(); ++i)
        m_comboStations.AddString(DisplayText(*stations.GetAt(i)));

    // From the second item to the last, then the first.
    const CStation& current = m_data.m_settings.m_currentStation;
    const std::wstring strCurrent = DisplayText(current);
    const int nCount = m_comboStations.GetCount();
    for (int k = 1; k <= nCount; ++k) {
        std::wstring strItem;
        m_comboStations.GetLBText(k % nCount, strItem);
        if (EqualNoCase(strItem, strCurrent)) {
            m_comboStations.SetCurSel(k % nCount);
            return;
        }
    }
    // A station added by its ID gets its name from its first download, in the
    // list only; the current station, copied before, is still that station.
    if (current.m_strID.empty())
        return;
    for (int i = 0; i < stations.GetCount(); ++i) {
        if (stations.GetAt(i)->m_strID == current.m_strID) {
            m_comboStations.SetCurSel(i);
            return;
        }
    }
}

void CCirrovanDlg::OnDrawItem(int nIDCtl, DRAWITEMSTRUCT* pDrawItem)
{
    if (!pDrawItem || !pDrawItem->pDC || (nIDCtl != IDC_UPDATE_BUTTON && nIDCtl != IDC_DAILY_HOURLY)) {
        CDialog::OnDrawItem(nIDCtl, pDrawItem);
        return;
    }
    // Each button shows what it does: the update arrows, or the chart it
    // switches to (a clock over the daily chart, a calendar over the hourly).
    const bool bPressed = (pDrawItem->itemState & ODS_SELECTED) != 0;
    CBitmap* pBitmap;
    if (nIDCtl == IDC_UPDATE_BUTTON)
        pBitmap = bPressed ? &m_bmpUpdatePressed : &m_bmpUpdate;
    else if (m_data.m_settings.m_bDaily)
        pBitmap = bPressed ? &m_bmpClockPressed : &m_bmpClock;
    else
        pBitmap = bPressed ? &m_bmpCalendarPressed : &m_bmpCalendar;
    CDC dcMem;
    dcMem.CreateCompatibleDC(pDrawItem->pDC);
    CBitmap* pOld = dcMem.SelectObject(pBitmap);
    const SIZE size = pBitmap->GetSize();
    pDrawItem->pDC->BitBlt(pDrawItem->rcItem.left, pDrawItem->rcItem.top, size.cx, size.cy, &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
    // The platform's default would paint a plain face over the picture (it
    // stands for owner-drawn items that nobody draws), so it is left out here.
}
