#include "settings/CustomViewRules.h"
#include "ViewFlags.h"

#include <gtest/gtest.h>

namespace {

enum class Edit { Display, Side, First };

// One edit of the user's on a view, written as nine digits (display, first,
// left per series), and the view it must leave.
struct Case
{
    const char* pszWhat;
    const char* pszBefore;
    Edit edit;
    int nSeries;
    bool bValue;   // shown, or left
    const char* pszAfter;
};

void Apply(CCustomView& view, const Case& c)
{
    switch (c.edit) {
    case Edit::Display: CCustomViewRules::SetDisplay(view, c.nSeries, c.bValue); break;
    case Edit::Side: CCustomViewRules::SetSide(view, c.nSeries, c.bValue); break;
    case Edit::First: CCustomViewRules::MakeFirst(view, c.nSeries); break;
    }
}

TEST(CustomViewRules, EveryEditKeepsOneFirstSeriesPerSide)
{
    const Case cases[] = {
        // Preset 0: temperatures first on the left, precipitations first and wind on the right.
        {"hide the only left series", "111110100", Edit::Display, 0, false, "001110100"},
        {"hide the first of two", "111110100", Edit::Display, 1, false, "111000110"},
        {"hide the second of two", "111110100", Edit::Display, 2, false, "111110000"},
        {"show on an empty side", "001110100", Edit::Display, 0, true, "111110100"},
        {"show on a side with a first", "111110000", Edit::Display, 2, true, "111110100"},
        {"show a series whose stored flag says first", "011110100", Edit::Display, 0, true, "111110100"},
        {"move the left first to a right side with a first", "111101110", Edit::Side, 0, false, "100111110"},
        {"move the right first to a left side with a first", "111110100", Edit::Side, 1, true, "111101110"},
        {"move a series that is not first to the other side", "111110100", Edit::Side, 2, true, "111110101"},
        {"move the only left series to the right", "111110100", Edit::Side, 0, false, "100110100"},
        {"move to an empty side", "001110100", Edit::Side, 2, true, "001110111"},
        {"choose the side it is on", "111110100", Edit::Side, 1, false, "111110100"},
        {"click a ticked displayed first", "111110100", Edit::First, 0, false, "111110100"},
        {"make the second of a side first", "111110100", Edit::First, 2, false, "111100110"},
        {"a hidden series of the side loses first too", "111010100", Edit::First, 2, false, "111000110"},
        {"a series number out of range changes nothing", "111110100", Edit::Display, 3, false, "111110100"},
        {"nor a negative one", "111110100", Edit::First, -1, false, "111110100"},
    };
    for (const Case& c : cases) {
        CCustomView view = FromFlags(c.pszBefore);
        Apply(view, c);
        EXPECT_EQ(Flags(view), c.pszAfter) << c.pszWhat;
    }
}

}
