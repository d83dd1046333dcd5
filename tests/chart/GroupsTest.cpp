#include "chart/GraphSeries.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Group
{
    std::vector<int> points;
    int kind;
    int placement;
    bool operator==(const Group& o) const
    {
        return points == o.points && kind == o.kind && placement == o.placement;
    }
};

std::ostream& operator<<(std::ostream& os, const Group& g)
{
    os << "{";
    for (int p : g.points)
        os << p << " ";
    return os << "kind " << g.kind << " place " << g.placement << "}";
}

std::vector<Group> LabelGroups(const std::vector<int>& values)
{
    CGraphSeries series;
    for (size_t i = 0; i < values.size(); ++i)
        series.AddTextPoint(static_cast<int>(i), values[i], L"x");
    CPointerArray<CGraphGroup> groups;
    series.BuildLabelGroups(groups);
    std::vector<Group> out;
    for (int i = 0; i < groups.GetCount(); ++i) {
        const CGraphGroup* g = groups.GetAt(i);
        EXPECT_EQ(g->m_pSeries, &series);
        out.push_back({g->m_points, g->m_nKind, g->m_nPlacement});
    }
    return out;
}

std::vector<std::vector<int>> IconGroups(const std::vector<int>& values, bool bOnePerPoint)
{
    CGraphSeries series;
    for (size_t i = 0; i < values.size(); ++i)
        series.AddValuePoint(static_cast<int>(i), 0, values[i]);
    CPointerArray<CGraphGroup> groups;
    series.BuildIconGroups(groups, bOnePerPoint);
    std::vector<std::vector<int>> out;
    for (int i = 0; i < groups.GetCount(); ++i)
        out.push_back(groups.GetAt(i)->m_points);
    return out;
}

} // namespace

TEST(Groups, LabelGroupsCutRunsAndMarkTurns)
{
    const int A = PLACE_ABOVE, B = PLACE_BELOW, L = PLACE_LEFT, R = PLACE_RIGHT;
    const struct { std::vector<int> values; std::vector<Group> groups; } cases[] = {
        // A peak: labelled above or not at all; the empty group comes from the change at point 1.
        {{5, 8, 6, 6}, {{{0}, GROUP_END, A | B | L}, {{}, GROUP_PLAIN, A | B}, {{1}, GROUP_TURN, A},
                        {{2}, GROUP_CHANGE, A | B}, {{3}, GROUP_END, A | B | R}}},
        // The last point never marks the run before it as a turn.
        {{5, 8, 6}, {{{0}, GROUP_END, A | B | L}, {{}, GROUP_PLAIN, A | B}, {{1}, GROUP_CHANGE, A | B},
                     {{2}, GROUP_END, A | B | R}}},
        // A trough.
        {{5, 3, 4, 4}, {{{0}, GROUP_END, A | B | L}, {{}, GROUP_PLAIN, A | B}, {{1}, GROUP_TURN, B},
                        {{2}, GROUP_CHANGE, A | B}, {{3}, GROUP_END, A | B | R}}},
        // Flat runs are cut every nine points.
        {std::vector<int>(12, 10), {{{0}, GROUP_END, A | B | L},
                                    {{1, 2, 3, 4, 5, 6, 7, 8, 9}, GROUP_PLAIN, A | B},
                                    {{10}, GROUP_PLAIN, A | B}, {{11}, GROUP_END, A | B | R}}},
        {{7}, {{{0}, GROUP_END, A | B | L}}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LabelGroups(c.values), c.groups) << ::testing::PrintToString(c.values);
}

TEST(Groups, IconGroupsPerRunAndLastPoint)
{
    const struct { std::vector<int> values; bool onePer; std::vector<std::vector<int>> groups; } cases[] = {
        // A single point is drawn twice at the same place.
        {{30}, false, {{0}, {0}}},
        // Twelve equal hours: icons at the first, the tenth and the last.
        {std::vector<int>(12, 26), false, {{11}, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11}}},
        {{26, 26, 11, 11, 26}, false, {{4}, {0, 1}, {2, 3}, {4}}},
        {{26, 26, 26}, true, {{2}, {0}, {1}, {2}}},
        // A point with a text ends the runs.
        {{26, -1, 26}, false, {{2}, {0}}},
        {{}, false, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IconGroups(c.values, c.onePer), c.groups) << ::testing::PrintToString(c.values);
}
