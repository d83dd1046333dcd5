#include "chart/GraphSeries.h"
#include "chart/LabelPlacer.h"

#include <gtest/gtest.h>

namespace {

// Six pixels a character, ten a line.
SIZE Measure(void*, const std::wstring& str)
{
    return SIZE{static_cast<int>(str.size()) * 6, 10};
}

struct Fixture
{
    CGraphSeries series;
    CPointerArray<CGraphGroup> groups;
    std::vector<CGraphSegment> segments;
    std::vector<CGraphBox> placed;

    // A group of the given points (pixel positions) and placement bits.
    CGraphGroup* Group(std::initializer_list<POINT> points, int nPlacement)
    {
        CGraphGroup* g = new CGraphGroup(&series, GROUP_END, nPlacement);
        for (POINT pt : points) {
            CGraphPoint* p = series.AddTextPoint(0, 0, L"12");
            p->m_nPx = pt.x;
            p->m_nPy = pt.y;
            g->m_points.push_back(series.m_points.GetCount() - 1);
        }
        groups.Add(g);
        return g;
    }
};

struct Box
{
    int left, top;
};

} // namespace

TEST(LabelPlacer, CandidatesInOrder)
{
    const int all = PLACE_ABOVE | PLACE_BELOW | PLACE_LEFT | PLACE_RIGHT;
    const struct { int placement; std::vector<CGraphBox> placed; std::vector<CGraphSegment> segs;
                   POINT at; bool found; Box box; } cases[] = {
        // Above, centred.
        {7, {}, {}, {50, 50}, true, {44, -65}},
        // Above taken by an icon: above left (the first point may go left).
        {7, {{44, -70, 6, 10}}, {}, {50, 50}, true, {32, -65}},
        // The last point goes right instead.
        {11, {{44, -70, 6, 10}}, {}, {50, 50}, true, {57, -65}},
        // Too near the top: below.
        {7, {}, {}, {50, 95}, true, {44, -89}},
        // A peak with its place above blocked stays unlabelled.
        {PLACE_ABOVE, {{40, -70, 10, 10}}, {}, {50, 50}, false, {0, 0}},
        // Past the right edge everywhere it may go.
        {11, {}, {}, {98, 50}, false, {0, 0}},
        // A line crossing the box above.
        {3, {}, {{0, 60, 100, 62}}, {50, 50}, true, {44, -44}},
        // A line lying on the box's top edge touches it; one a pixel higher does not.
        {3, {}, {{0, 65, 100, 65}}, {50, 50}, true, {44, -44}},
        {3, {}, {{0, 66, 100, 66}}, {50, 50}, true, {44, -65}},
        // A line ending exactly at the box's corner.
        {3, {}, {{0, 0, 44, 65}}, {50, 50}, true, {44, -44}},
        // Left and right only when the middle rows are the last resort.
        {all, {{30, -70, 40, 14}, {30, -45, 40, 15}}, {}, {50, 50}, true, {32, -55}},
        // Boxes that only share an edge line overlap; one a pixel apart does not.
        {PLACE_ABOVE, {{55, -70, 10, 10}}, {}, {50, 50}, false, {0, 0}},
        {PLACE_ABOVE, {{56, -70, 10, 10}}, {}, {50, 50}, true, {44, -65}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        Fixture f;
        CGraphGroup* g = f.Group({c.at}, c.placement);
        f.placed = c.placed;
        CLabelPlacer placer(100, 100, c.segs, f.placed);
        CGraphBox box = {};
        int nPoint = -1;
        ASSERT_EQ(placer.Place(*g, Measure, nullptr, box, nPoint), c.found) << "case " << i;
        if (!c.found) {
            EXPECT_EQ(f.placed.size(), c.placed.size());
            continue;
        }
        EXPECT_EQ(box.m_nLeft, c.box.left) << "case " << i;
        EXPECT_EQ(box.m_nTop, c.box.top) << "case " << i;
        EXPECT_EQ(box.m_nWidth, 12);
        EXPECT_EQ(box.m_nHeight, 10);
        EXPECT_EQ(f.placed.size(), c.placed.size() + 1);
    }
}

TEST(LabelPlacer, NextPointWhenTheFirstHasNoRoom)
{
    Fixture f;
    CGraphGroup* g = f.Group({{98, 50}, {60, 50}}, PLACE_ABOVE | PLACE_BELOW);
    CLabelPlacer placer(100, 100, f.segments, f.placed);
    CGraphBox box = {};
    int nPoint = -1;
    ASSERT_TRUE(placer.Place(*g, Measure, nullptr, box, nPoint));
    EXPECT_EQ(nPoint, 1);
    EXPECT_EQ(box.m_nLeft, 54);
}

TEST(LabelPlacer, AreaEdges)
{
    std::vector<CGraphSegment> none;
    std::vector<CGraphBox> placed;
    CLabelPlacer placer(100, 80, none, placed);
    const struct { CGraphBox box; bool inside; } cases[] = {
        {{0, -80, 10, 10}, true},      // top row at the area's top, left edge at 0
        {{-1, -50, 10, 10}, false},
        {{0, -81, 10, 10}, false},     // one row above the top
        {{0, -10, 10, 10}, true},      // lowest row is the image's last
        {{0, -9, 10, 10}, false},      // one row below it
        {{90, -50, 10, 10}, true},     // right edge at the image's last column
        {{91, -50, 10, 10}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(placer.InsideArea(c.box), c.inside) << c.box.m_nLeft << "," << c.box.m_nTop;
}

TEST(LabelPlacer, SegmentsMeet)
{
    const struct { long long s[8]; bool meet; } cases[] = {
        {{0, 0, 10, 10, 0, 10, 10, 0}, true},     // crossing
        {{0, 0, 5, 5, 5, 5, 9, 0}, true},         // sharing an end point
        {{0, 0, 10, 0, 5, 0, 20, 0}, true},       // overlapping on one line
        {{0, 0, 4, 0, 5, 0, 20, 0}, false},       // same line, apart
        {{0, 0, 10, 0, 0, 1, 10, 1}, false},      // parallel
        {{3, 3, 3, 3, 0, 3, 9, 3}, true},         // a point on the edge
        {{0, 0, 10, 10, 4, 5, 9, 5}, true},       // crossing inside the extent
        {{0, 0, 10, 10, 0, 5, 4, 5}, false},      // would cross beyond the edge's end
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLabelPlacer::SegmentsMeet(c.s[0], c.s[1], c.s[2], c.s[3], c.s[4], c.s[5], c.s[6],
                                             c.s[7]), c.meet);
}
