#include "chart/view/ChartRenderer.h"

#include "chart/ChartPlanner.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/DC.h"
#include "platform/ui/Pen.h"

#include <algorithm>

void CChartRenderer::DrawLines(CDC& dc, const std::vector<CPlanLine>& lines) const
{
    for (const CPlanLine& line : lines) {
        if (line.m_points.empty())
            continue;
        CPen pen(PS_SOLID, 1, line.m_crColour);
        CPen* pOldPen = dc.SelectObject(&pen);
        dc.MoveTo(line.m_points[0].x, line.m_points[0].y);
        for (size_t i = 1; i < line.m_points.size(); ++i)
            dc.LineTo(line.m_points[i].x, line.m_points[i].y);
        dc.SelectObject(pOldPen);
    }
}

void CChartRenderer::DrawTexts(CDC& dc, const std::vector<CPlanText>& texts) const
{
    if (texts.empty())
        return;
    const HFONT hOldFont = dc.SelectObject(m_fonts.m_hFontBold);
    const int nOldBkMode = dc.SetBkMode(TRANSPARENT);
    int nFont = CHART_FONT_BOLD;
    for (const CPlanText& text : texts) {
        if (text.m_nFont != nFont) {
            nFont = text.m_nFont;
            dc.SelectObject(nFont == CHART_FONT_NORMAL ? m_fonts.m_hFontNormal : m_fonts.m_hFontBold);
        }
        dc.SetTextColor(text.m_crColour);
        RECT rc = {text.m_nLeft, text.m_nTop, text.m_nLeft + text.m_nWidth, text.m_nTop + text.m_nHeight};
        dc.DrawText(text.m_str, &rc, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
    }
    dc.SetBkMode(nOldBkMode);
    dc.SelectObject(hOldFont);
}

void CChartRenderer::DrawIcons(CDC& dc, const std::vector<CPlanIcon>& icons) const
{
    if (icons.empty())
        return;
    CDC sourceDC;
    int nStrip = -1;
    for (const CPlanIcon& icon : icons) {
        if (icon.m_nStrip != nStrip) {
            nStrip = icon.m_nStrip;
            sourceDC.SelectObject(nStrip == PICTURES_ARROWS ? &m_windArrows : &m_weatherIcons);
        }
        const int s = icon.m_nSize;
        dc.TransparentBlt(icon.m_nLeft, icon.m_nTop, s, s, &sourceDC, s * icon.m_nPicture, 0, s, s,
                          CR_KEY);
    }
    sourceDC.SelectObject(static_cast<CBitmap*>(nullptr));
}

void CChartRenderer::Render(const CChartPlan& plan, CBitmap& chart, CBitmap& underLabels, CBitmap& strip,
                            CBitmap panels[2][3]) const
{
    CDC dc;
    dc.SelectObject(&chart);
    dc.FillSolidRect(0, 0, plan.m_nWidth, plan.m_nHeight, CChartPlan::CR_WHITE);
    for (const CPlanFill& band : plan.m_bands)
        dc.FillSolidRect(band.m_rc, band.m_crColour);
    DrawLines(dc, plan.m_grid);
    for (const CPlanFill& mark : plan.m_marks)
        dc.FillSolidRect(mark.m_rc, mark.m_crColour);
    for (const CPlanSeries& series : plan.m_series) {
        DrawLines(dc, series.m_lines);
        DrawIcons(dc, series.m_icons);
    }
    // What lies under the labels, side by side, to cover a label's part where
    // a viewport's edge cuts it.
    int nPatches = 0;
    int nPatchHeight = 1;
    for (const CPlanSeries& series : plan.m_series)
        for (const CPlanText& label : series.m_labels) {
            nPatches += label.m_nWidth;
            nPatchHeight = std::max(nPatchHeight, label.m_nHeight);
        }
    const SIZE under = underLabels.IsValid() ? underLabels.GetSize() : SIZE{0, 0};
    if (under.cx < nPatches || under.cy < nPatchHeight) {
        underLabels.DeleteObject();
        underLabels.CreateBitmap(std::max(nPatches, 1), nPatchHeight);
    }
    CDC underDC;
    underDC.SelectObject(&underLabels);
    int nPatch = 0;
    for (const CPlanSeries& series : plan.m_series)
        for (const CPlanText& label : series.m_labels) {
            underDC.BitBlt(nPatch, 0, label.m_nWidth, label.m_nHeight, &dc, label.m_nLeft, label.m_nTop, SRCCOPY);
            nPatch += label.m_nWidth;
        }
    underDC.SelectObject(static_cast<CBitmap*>(nullptr));
    for (const CPlanSeries& series : plan.m_series)
        DrawTexts(dc, series.m_labels);
    DrawTexts(dc, plan.m_link);

    dc.SelectObject(&strip);
    dc.FillSolidRect(0, 0, plan.m_nWidth, plan.m_nStripHeight, CChartPlan::CR_STRIP);
    DrawTexts(dc, plan.m_strip);

    for (int side = 0; side < 2; ++side) {
        for (int j = 0; j < 3; ++j) {
            CBitmap& panel = panels[side][j];
            if (!panel.IsValid())
                continue;
            dc.SelectObject(&panel);
            const SIZE size = panel.GetSize();
            dc.FillSolidRect(0, 0, size.cx, size.cy, CChartPlan::CR_PANEL);
            if (j < static_cast<int>(plan.m_panels[side].size())) {
                DrawLines(dc, plan.m_panels[side][j].m_lines);
                DrawTexts(dc, plan.m_panels[side][j].m_texts);
            }
        }
    }
    dc.SelectObject(static_cast<CBitmap*>(nullptr));
}

void CChartRenderer::DrawStripEdges(CDC& dc, CDC& stripDC, const CChartPlan& plan, int nScroll, int nViewport,
                                    int x, int y) const
{
    std::vector<RECT>& cut = m_stripCut;
    std::vector<CPlanText>& moved = m_stripMoved;
    plan.StripEdges(nScroll, nViewport, cut, moved);
    // A line is cut only where the viewport overlaps the strip, so the offset
    // is then near it; any other offset (a scroll far past either end) draws nothing.
    if (cut.empty())
        return;
    const int dx = static_cast<int>(static_cast<long long>(x) - nScroll);
    for (const RECT& rc : cut)
        dc.FillSolidRect(rc.left + dx, rc.top + y, rc.right - rc.left, rc.bottom - rc.top,
                         CChartPlan::CR_STRIP);
    // Each line as the strip's image has it, whole at its own place.
    for (const CPlanText& text : moved)
        dc.BitBlt(text.m_nLeft + dx, text.m_nTop + y, text.m_nWidth, text.m_nHeight, &stripDC, text.m_nSource,
                  text.m_nTop, SRCCOPY);
}

void CChartRenderer::DrawChartEdges(CDC& dc, CDC& chartDC, CBitmap& underLabels, const CChartPlan& plan,
                                    int nScroll, int nViewport, int x, int y) const
{
    std::vector<CPlanCut>& cut = m_cut;
    plan.LabelEdges(nScroll, nViewport, cut);
    if (!cut.empty()) {
        CDC underDC;
        underDC.SelectObject(&underLabels);
        const long long dx = static_cast<long long>(x) - nScroll;
        size_t nLabel = 0;
        int nPatch = 0;   // the label's column in the image of what lies under the labels
        auto next = cut.begin();
        for (const CPlanSeries& series : plan.m_series) {
            for (const CPlanText& label : series.m_labels) {
                for (; next != cut.end() && next->m_nLabel == nLabel; ++next) {
                    const RECT& rc = next->m_rc;
                    dc.BitBlt(static_cast<int>(rc.left + dx), rc.top + y, rc.right - rc.left, rc.bottom - rc.top,
                              &underDC, nPatch + rc.left - label.m_nLeft, rc.top - label.m_nTop, SRCCOPY);
                }
                nPatch += label.m_nWidth;
                ++nLabel;
            }
        }
        underDC.SelectObject(static_cast<CBitmap*>(nullptr));
    }
    // The band is the link line's alone and white: one copy stands in the
    // middle of the viewport whatever the offset, and nothing of another.
    const int nBand = std::min(CChartPlanner::LINK_BAND, plan.m_nHeight);
    const int nTop = plan.m_nHeight - nBand;
    CPlanText link;
    const bool bLink = plan.LinkInView(nViewport, link);
    // The first copy stands in the middle of the image's first viewport width,
    // with only white around it unless the last copy, moved in from the
    // image's end, reaches in: then one copy of those columns is the whole band.
    const long long nFrom = static_cast<long long>(link.m_nSource) - link.m_nLeft;
    const bool bAlone = plan.m_link.size() < 2 || plan.m_link[1].m_nLeft >= nFrom + nViewport;
    if (bLink && bAlone && nFrom >= 0 && nFrom + nViewport <= plan.m_nWidth) {
        dc.BitBlt(x, y + nTop, nViewport, nBand, &chartDC, static_cast<int>(nFrom), nTop, SRCCOPY);
        return;
    }
    dc.FillSolidRect(x, y + nTop, nViewport, nBand, CChartPlan::CR_WHITE);
    if (bLink)
        dc.BitBlt(x + link.m_nLeft, y + link.m_nTop, link.m_nWidth, link.m_nHeight, &chartDC, link.m_nSource,
                  link.m_nTop, SRCCOPY);
}
