#pragma once

#include "settings/CustomView.h"

// Keeps the "displayed first" flags of a view consistent while the user edits
// it: on each side that has displayed series exactly one of them is first, and
// a hidden series is never first. Each operation is one edit of the user's; a
// view that was consistent stays so.
class CCustomViewRules
{
public:
    // Shows or hides the series. A hidden series stops being first; then each
    // side, right before left, that has displayed series but no first one gets
    // its first displayed series as first.
    static void SetDisplay(CCustomView& view, int nSeries, bool bDisplay);

    // Moves the series' scale to the left or right side (nothing when it is
    // there already). It is first on its new side unless another displayed
    // series there already is; the side it left gets a first series again.
    static void SetSide(CCustomView& view, int nSeries, bool bLeft);

    // Makes the series first on its side; every other series of that side,
    // displayed or not, stops being first. Choosing it again keeps it first.
    static void MakeFirst(CCustomView& view, int nSeries);

    // When the side has displayed series (nExcept left out) and none of them is
    // first, the first of them in series order becomes first.
    static void EnsureFirst(CCustomView& view, bool bLeft, int nExcept = -1);
};
