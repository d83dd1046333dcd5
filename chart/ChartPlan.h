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
    // A line moved inside a viewport's edge: its column in the strip image.
    int m_nSource = 0;
    // A date's width as far as its first word ("Thu" of "Thu, Dec 10"), which
    // may stand for it where the whole date has no room; 0: no such word.
    int m_nFirstWordWidth = 0;
};

// A value label a viewport's edge cuts: its number among the labels of all
// series, in their order, and the part of it in view, in the chart image.
struct CPlanCut
{
    size_t m_nLabel = 0;
    RECT m_rc = {0, 0, 0, 0};
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
// the members: background, bands, grid, now marker, series, link line. A plan
// holds every point and text of a chart: it is handed on, never copied.
struct CChartPlan
{
    CChartPlan() = default;
    CChartPlan(CChartPlan&&) = default;
    CChartPlan& operator=(CChartPlan&&) = default;
    CChartPlan(const CChartPlan&) = delete;
    CChartPlan& operator=(const CChartPlan&) = delete;

    // What the strip shows in the viewport from column nScroll on, nViewport
    // wide, beyond a copy of the strip image: the parts of the lines the
    // viewport's edges cut, to be covered with the strip's colour, and those of
    // them that stand whole just inside the edge, where they keep clear of the
    // lines in view. All in the strip image's columns.
    void StripEdges(int nScroll, int nViewport, std::vector<RECT>& cut,
                    std::vector<CPlanText>& moved) const;

    // The value labels the viewport's edges cut, whose part in view is to be
    // covered with what lies under them: a label reads whole or not at all.
    void LabelEdges(int nScroll, int nViewport, std::vector<CPlanCut>& cut) const;

    // The link line as a viewport shows it: one whole copy in the middle of the
    // link band, left in the viewport's columns, m_nSource its column in the
    // chart image. False when there is none.
    bool LinkInView(int nViewport, CPlanText& link) const;

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
    static constexpr COLORREF CR_GRID = RGB(255, 204, 204);
    // The series' lines and value labels, the now marker and the link line
    // stand out from every background they cross (white, grid, night, the
    // panels' yellow) at 4.5:1 or more: red, blue and green as deep as that takes.
    static constexpr COLORREF CR_TEMP = RGB(168, 0, 0);
    static constexpr COLORREF CR_PRECIP = RGB(0, 0, 255);
    static constexpr COLORREF CR_WIND = RGB(0, 100, 0);
    static constexpr COLORREF CR_MARKER = RGB(80, 80, 80);
    static constexpr COLORREF CR_LINK = RGB(80, 80, 80);
};
