// The graph window: its images and their layout, composing (plan, then draw),
// painting, and the stylus.
#include "chart/view/WndGraph.h"

#include "model/WeatherData.h"
#include "platform/Resources.h"
#include "platform/ui/DC.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/Shell.h"
#include "res/ChartBitmaps.h"
#include "res/ResourceParts.h"
#include "store/ServiceConfig.h"

#include <algorithm>

namespace {

bool Inside(const RECT& rc, POINT pt)
{
    return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

} // namespace

CWndGraph::CWndGraph(CWeatherData& data) : m_data(data)
{
    const unsigned char* pData = nullptr;
    size_t nSize = 0;
    // The application installs its resources at start; a chart made before that
    // (a test, a tool) installs the pictures itself.
    if (!CResources::FindBitmap(IDB_WEATHER_ICONS, pData, nSize))
        InstallBitmaps();
    LoadPictures();
    SetAccessibleRole(AccessibleRole::Chart);
}

void CWndGraph::LoadPictures()
{
    m_headImages[0].LoadBitmap(IDB_HEAD_TEMPERATURES);
    m_headImages[1].LoadBitmap(IDB_HEAD_PRECIPITATIONS);
    m_headImages[2].LoadBitmap(IDB_HEAD_WIND);
    m_iconImage.LoadBitmap(IDB_WEATHER_ICONS);
    m_arrowImage.LoadBitmap(IDB_WIND_ARROWS);
}

void CWndGraph::SetClientSize(int nWidth, int nHeight)
{
    m_offWindowSize = SIZE{nWidth, nHeight};
}

SIZE CWndGraph::GetClientSize() const
{
    if (!IsWindow())
        return m_offWindowSize;
    RECT rc;
    GetClientRect(&rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

bool CWndGraph::HasStation() const
{
    return !m_data.m_settings.m_currentStation.m_strID.empty();
}

void CWndGraph::Refresh(bool bResetScroll)
{
    if (!HasStation())
        return;
    Compose();
    if (bResetScroll)
        m_nScroll = 0;
    Describe();
    Invalidate(true);
}

void CWndGraph::Compose()
{
    if (m_data.m_settings.m_bDaily)
        BuildDaily();
    else
        BuildHourly();
}

void CWndGraph::Layout()
{
    const CSettings& settings = m_data.m_settings;
    m_nStripHeight = 26;
    m_nLeftWidth = m_nRightWidth = 32;
    m_nChartWidth = settings.m_bDaily ? DAILY_CHART_WIDTH : HOURLY_CHART_WIDTH;
    CChartPlanner::SideSeries(settings, m_sideSeries);
    m_nSideIndex[0] = m_nSideIndex[1] = 0;
    if (m_sideSeries[0].empty())
        m_nLeftWidth = 0;
    if (m_sideSeries[1].empty())
        m_nRightWidth = 0;

    const SIZE client = GetClientSize();
    const int Wc = client.cx;
    const int Hc = client.cy;
    // A viewport wider than the chart's own width gets the same days or hours
    // spread across it, not a blank band beside them.
    if (Wc - m_nLeftWidth - m_nRightWidth > m_nChartWidth)
        m_nChartWidth = Wc - m_nLeftWidth - m_nRightWidth;
    const int W = m_nChartWidth;
    // A window shorter than the strip still gets a chart image of one row.
    const int H = Hc - m_nStripHeight > 0 ? Hc - m_nStripHeight : 1;
    m_chartImage.CreateBitmap(W, H);
    m_stripImage.CreateBitmap(W, m_nStripHeight);
    const int widths[2] = {m_nLeftWidth, m_nRightWidth};
    for (int side = 0; side < 2; ++side) {
        for (int j = 0; j < 3; ++j) {
            if (j < static_cast<int>(m_sideSeries[side].size()))
                m_panelImages[side][j].CreateBitmap(widths[side], H);
            else
                m_panelImages[side][j].DeleteObject();
        }
    }

    const int L = m_nLeftWidth;
    const int R = m_nRightWidth;
    m_rcLeftCorner = {0, H, L, Hc};
    m_rcChart = {L, 0, Wc - R, H};
    m_rcStrip = {L, H, Wc - R, Hc};
    m_rcRightCorner = {Wc - R, H, Wc, Hc};
    m_rcLink = {L, H - 10, Wc - R, H};
    m_rcArea.left = 0;
    m_rcArea.right = W;
    m_rcArea.top = H;
    m_rcArea.bottom = 0;
    // Sizes measured for the last chart are taken again only within this one.
    m_measure.Forget();
}

CChartFrame CWndGraph::Frame() const
{
    CChartFrame frame;
    frame.m_nWidth = m_nChartWidth;
    frame.m_nHeight = ChartHeight();
    frame.m_nViewport = ViewportWidth();
    return frame;
}

void CWndGraph::Render()
{
    m_renderer.Render(m_plan, m_chartImage, m_underLabels, m_stripImage, m_panelImages);
}

void CWndGraph::BuildDaily()
{
    Layout();
    m_plan = m_planner.PlanDaily(m_data.m_daily, m_data.m_settings, CDeviceClock::Now(), Frame());
    Render();
}

void CWndGraph::BuildHourly()
{
    Layout();
    m_plan = m_planner.PlanHourly(m_data.m_hourly, m_data.m_settings, CDeviceClock::Now(), Frame());
    Render();
}

int CWndGraph::MaxScroll() const
{
    // From the window's own size, so that the range is right before the chart of
    // a new size or mode has been composed.
    const int nChartWidth = m_data.m_settings.m_bDaily ? DAILY_CHART_WIDTH : HOURLY_CHART_WIDTH;
    const int nViewport = GetClientSize().cx - m_nLeftWidth - m_nRightWidth;
    const int nMax = nChartWidth - nViewport;
    return nMax > 0 ? nMax : 0;
}

void CWndGraph::Paint(CDC* pDC)
{
    const SIZE client = GetClientSize();
    const int Wc = client.cx;
    const int Hc = client.cy;
    if (!HasStation() || !m_chartImage.IsValid()) {
        pDC->FillSolidRect(0, 0, Wc, Hc, CR_WHITE);
        return;
    }
    if (m_chartImage.GetRatio() != pDC->GetRatio()) {
        // The desktop's ratio changed (another zoom, another screen): the
        // pictures and the chart are drawn again at the new one.
        LoadPictures();
        Compose();
    }
    CDC sourceDC;
    for (int side = 0; side < 2; ++side) {
        const std::vector<int>& list = m_sideSeries[side];
        if (list.empty())
            continue;
        int nIndex = m_nSideIndex[side];
        if (nIndex < 0 || nIndex >= static_cast<int>(list.size()) || nIndex >= 3)
            nIndex = 0;
        CBitmap& panel = m_panelImages[side][nIndex];
        const SIZE size = panel.GetSize();
        const int x = side == 0 ? 0 : Wc - m_nRightWidth;
        sourceDC.SelectObject(&panel);
        pDC->BitBlt(x, 0, size.cx, size.cy, &sourceDC, 0, 0, SRCCOPY);
        const int nSeries = m_nSideIndex[side] >= 0
                                    && m_nSideIndex[side] < static_cast<int>(list.size())
                                ? list[m_nSideIndex[side]] : 0;
        CBitmap& head = m_headImages[nSeries >= 0 && nSeries < 3 ? nSeries : 0];
        const RECT& rcCorner = side == 0 ? m_rcLeftCorner : m_rcRightCorner;
        const SIZE headSize = head.GetSize();
        sourceDC.SelectObject(&head);
        pDC->BitBlt(rcCorner.left, rcCorner.top, headSize.cx, headSize.cy, &sourceDC, 0, 0, SRCCOPY);
    }

    // A scroll offset past either end (a chart narrower than the viewport, a
    // viewport widened by another view) shows the images' own backgrounds where
    // they have nothing, and only the columns they have are copied.
    const int V = ViewportWidth();
    const int H = m_rcChart.bottom - m_rcChart.top;
    long long nSource = m_nScroll;
    long long nDest = m_rcChart.left;
    long long nWidth = V;
    if (nSource < 0) {
        nDest -= nSource;
        nWidth += nSource;
        nSource = 0;
    }
    if (nWidth > m_nChartWidth - nSource)
        nWidth = m_nChartWidth - nSource;
    if (nWidth < V) {
        pDC->FillSolidRect(m_rcChart.left, 0, V, H, CR_WHITE);
        pDC->FillSolidRect(m_rcStrip.left, m_rcStrip.top, V, m_nStripHeight, CR_STRIP);
    }
    if (nWidth > 0) {
        const int x = static_cast<int>(nDest);
        const int cx = static_cast<int>(nWidth);
        const int xSource = static_cast<int>(nSource);
        sourceDC.SelectObject(&m_chartImage);
        // Not the link line's band, which the edges below draw.
        pDC->BitBlt(x, 0, cx, std::max(0, H - CChartPlanner::LINK_BAND), &sourceDC, xSource, 0, SRCCOPY);
        sourceDC.SelectObject(&m_stripImage);
        pDC->BitBlt(x, m_rcStrip.top, cx, m_nStripHeight, &sourceDC, xSource, 0, SRCCOPY);
    }
    // A value label the viewport's edge would cut goes, and the link line
    // shows one whole copy.
    sourceDC.SelectObject(&m_chartImage);
    m_renderer.DrawChartEdges(*pDC, sourceDC, m_underLabels, m_plan, m_nScroll, V, m_rcChart.left, 0);
    // A day's name or date the viewport's edge would cut reads as another word
    // ("hursday"): it stands whole inside the edge, or its part goes.
    sourceDC.SelectObject(&m_stripImage);
    m_renderer.DrawStripEdges(*pDC, sourceDC, m_plan, m_nScroll, V, m_rcStrip.left, m_rcStrip.top);
    sourceDC.SelectObject(static_cast<CBitmap*>(nullptr));
}

void CWndGraph::OnPaint()
{
    CPaintDC dc(this);
    Paint(&dc);
    DescribePoint();
}

void CWndGraph::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (HasStation())
        Compose();
}

void CWndGraph::OnLButtonDown(UINT nFlags, POINT point)
{
    const RECT* corners[2] = {&m_rcLeftCorner, &m_rcRightCorner};
    bool bHandled = false;
    for (int side = 0; side < 2 && !bHandled; ++side) {
        if (!Inside(*corners[side], point))
            continue;
        bHandled = true;
        const int nCount = static_cast<int>(m_sideSeries[side].size());
        if (nCount > 1) {
            const int nIndex = m_nSideIndex[side] >= 0 ? m_nSideIndex[side] : 0;
            m_nSideIndex[side] = (nIndex + 1) % nCount;
            Invalidate(true);
        }
    }
    if (!bHandled && Inside(m_rcLink, point)) {
        bHandled = true;
        CWnd* pParent = GetParent();
        if (!pParent || pParent->SendMessage(WM_GRAPH_LINK, 0, 0) == 0)
            OpenHomePage();
    }
    if (!bHandled && (Inside(m_rcStrip, point) || Inside(m_rcChart, point))) {
        m_nDragScroll = m_nScroll;
        m_bDragging = true;
        m_ptDrag = point;
        SetCapture();
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CWndGraph::OnMouseMove(UINT nFlags, POINT point)
{
    if (m_bDragging)
        ScrollTo(static_cast<long long>(m_nDragScroll) + m_ptDrag.x - point.x);
    CWnd::OnMouseMove(nFlags, point);
}

void CWndGraph::ScrollTo(long long nScroll)
{
    // The chart stops at either end; a chart narrower than the viewport stays
    // at its start.
    const long long nMax = MaxScroll();
    if (nScroll > nMax)
        nScroll = nMax;
    if (nScroll < 0)
        nScroll = 0;
    m_nScroll = static_cast<int>(nScroll);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_GRAPH_SCROLLED, static_cast<WPARAM>(m_nScroll), 0);
    Invalidate(true);
}

LRESULT CWndGraph::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL)
        return CWnd::WindowProc(message, wParam, lParam);
    if (!HasStation() || m_bDragging)
        return 1;
    // A notch moves the chart 30 pixels: turned towards the user, or swiped to
    // the right, it goes on in time. A touchpad's small steps add up.
    const int nDelta = static_cast<short>(HIWORD(wParam));
    m_nWheelRest += message == WM_MOUSEWHEEL ? -nDelta : nDelta;
    const int nPixels = m_nWheelRest * 30 / 120;
    m_nWheelRest -= nPixels * 120 / 30;
    if (nPixels != 0)
        ScrollTo(static_cast<long long>(m_nScroll) + nPixels);
    return 1;
}

void CWndGraph::OnLButtonUp(UINT nFlags, POINT point)
{
    if (m_bDragging) {
        m_bDragging = false;
        ReleaseCapture();
    }
    CWnd::OnLButtonUp(nFlags, point);
}

void CWndGraph::OpenHomePage()
{
    // The device's browser (":MSPIE") with the address as its parameter.
    const std::wstring strHome = CServiceConfig().m_strHome;
    SHELLEXECUTEINFO info = {};
    info.cbSize = sizeof info;
    info.lpVerb = L"open";
    info.lpFile = L":MSPIE";
    info.lpParameters = strHome.c_str();
    info.nShow = SW_SHOWNORMAL_SHELL;
    ShellExecuteEx(&info);
}
