#pragma once

#include "chart/ChartPlan.h"
#include "chart/view/ChartFonts.h"

#include <vector>

class CBitmap;
class CDC;

// Draws any plan into the chart's images through the platform's drawing
// context: the chart image, the time strip and the panel images of both sides.
// It decides nothing; every position comes from the plan.
class CChartRenderer
{
public:
    // The fonts of the plan's texts and the picture strips of its icons.
    CChartRenderer(const CChartFonts& fonts, CBitmap& weatherIcons, CBitmap& windArrows)
        : m_fonts(fonts), m_weatherIcons(weatherIcons), m_windArrows(windArrows)
    {
    }

    // Panel image j of a side shows the plan's panel j of that side; images
    // without a panel are only filled. What lies under the value labels is
    // kept in underLabels (made as large as that needs), side by side in the
    // labels' order.
    void Render(const CChartPlan& plan, CBitmap& chart, CBitmap& underLabels, CBitmap& strip,
                CBitmap panels[2][3]) const;

    // Over a strip copied into a viewport whose first column is the strip's
    // column nScroll, at (x, y) of the context: covers the parts of lines the
    // viewport cuts and copies those that stand whole inside its edges from
    // the strip's image, selected into stripDC (a copy costs a drag frame far
    // less than drawing the text again).
    void DrawStripEdges(CDC& dc, CDC& stripDC, const CChartPlan& plan, int nScroll, int nViewport, int x,
                        int y) const;

    // Over a chart image copied into a viewport from column nScroll on, at
    // (x, y) of the context: covers the value labels the viewport's edges cut
    // with what lies under them (Render's underLabels), and shows
    // the link line's band with one whole copy of it in the middle, from the
    // chart image selected into chartDC.
    void DrawChartEdges(CDC& dc, CDC& chartDC, CBitmap& underLabels, const CChartPlan& plan, int nScroll,
                        int nViewport, int x, int y) const;

    // The strips' transparent colour.
    static constexpr COLORREF CR_KEY = RGB(255, 153, 255);

private:
    void DrawLines(CDC& dc, const std::vector<CPlanLine>& lines) const;
    void DrawTexts(CDC& dc, const std::vector<CPlanText>& texts) const;
    void DrawIcons(CDC& dc, const std::vector<CPlanIcon>& icons) const;

    const CChartFonts& m_fonts;
    CBitmap& m_weatherIcons;
    CBitmap& m_windArrows;
    // Kept from frame to frame, so that a drag frame allocates next to nothing.
    mutable std::vector<CPlanCut> m_cut;
    mutable std::vector<RECT> m_stripCut;
    mutable std::vector<CPlanText> m_stripMoved;
};
