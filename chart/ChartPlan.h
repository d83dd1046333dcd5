#pragma once

#include "platform/WinTypes.h"

#include <string>
#include <vector>

// The chart's two fonts, by number: the bold one of the values, scales and time
// labels, the normal one of the link line.
constexpr int CHART_FONT_BOLD = 0;
constexpr int CHART_FONT_NORMAL = 1;

// The two picture strips icons are copied from.
constexpr int PICTURES_WEATHER = 0;   // 49 weather icons of 28 x 28
constexpr int PICTURES_ARROWS = 1;    // 16 wind arrows of 16 x 16

// Every position of a plan is in its image's own pixels: origin at the top-left
// corner, y growing downward; boxes cover left .. left + width - 1 and
// top .. top + height - 1.

// One line of text, drawn at its box's top-left corner in one colour and font.
struct CPlanText
{
    std::wstring m_str;
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    COLORREF m_crColour = RGB(0, 0, 0);
    int m_nFont = CHART_FONT_BOLD;
    // Where a viewport's edge cuts it, it may stand whole just inside the edge
    // instead (a day's name or date); otherwise (an hour, which names its grid
    // line) the cut part is left out.
    bool m_bMovable = false;
};

// A solid 1-pixel line through its points; like the device's lines, each piece
// leaves out its last pixel.
struct CPlanLine
{
    COLORREF m_crColour = RGB(0, 0, 0);
    std::vector<POINT> m_points;
};

// A filled rectangle, right and bottom exclusive.
struct CPlanFill
{
    RECT m_rc = {0, 0, 0, 0};
    COLORREF m_crColour = RGB(0, 0, 0);
};

// A picture of a strip, copied without its key colour into a square box.
struct CPlanIcon
{
    int m_nStrip = PICTURES_WEATHER;
    int m_nPicture = 0;
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nSize = 0;
};

// One series as drawn: its line, then its icons or its labels.
struct CPlanSeries
{
    int m_nSeries = 0;
    std::vector<CPlanLine> m_lines;
    std::vector<CPlanIcon> m_icons;
    std::vector<CPlanText> m_labels;
};

// One value scale in its side panel: ticks, numbers, axis and unit.
struct CPlanPanel
{
    int m_nSeries = -1;
    std::vector<CPlanLine> m_lines;
    std::vector<CPlanText> m_texts;
};

// A composed chart, ready to be drawn: the chart image (W x H), the time strip
// under it and the panels of both sides. Everything is drawn in the order of
// the members: background, bands, grid, now marker, series, link line.
struct CChartPlan
{
    void Clear();

    // What the strip shows in the viewport from column nScroll on, nViewport
    // wide, beyond a copy of the strip image: the parts of the lines the
    // viewport's edges cut, to be covered with the strip's colour, and those of
    // them that stand whole just inside the edge, where they keep clear of the
    // lines in view. All in the strip image's columns.
    void StripEdges(int nScroll, int nViewport, std::vector<RECT>& cut,
                    std::vector<CPlanText>& moved) const;

    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nStripHeight = 26;
    bool m_bEmpty = true;   // no forecast: only the backgrounds and the link line
    std::vector<CPlanFill> m_bands;
    std::vector<CPlanLine> m_grid;
    std::vector<CPlanFill> m_marks;   // the now marker, when it is on the chart
    std::vector<CPlanSeries> m_series;
    std::vector<CPlanText> m_link;
    std::vector<CPlanText> m_strip;   // in the strip image
    std::vector<CPlanPanel> m_panels[2];   // by side, one per listed series

    static constexpr COLORREF CR_WHITE = RGB(255, 255, 255);
    static constexpr COLORREF CR_PANEL = RGB(255, 255, 204);
    static constexpr COLORREF CR_STRIP = RGB(192, 192, 192);
    static constexpr COLORREF CR_NIGHT = RGB(204, 204, 204);
    static constexpr COLORREF CR_LINK = RGB(100, 100, 100);
};
