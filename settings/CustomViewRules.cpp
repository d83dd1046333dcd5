#include "settings/CustomViewRules.h"

namespace {

bool IsSeries(int nSeries)
{
    return nSeries >= 0 && nSeries < SERIES_COUNT;
}

}

void CCustomViewRules::SetDisplay(CCustomView& view, int nSeries, bool bDisplay)
{
    if (!IsSeries(nSeries))
        return;
    CSeriesFlags& flags = view.m_series[nSeries];
    flags.m_bDisplay = bDisplay;
    if (!bDisplay)
        flags.m_bDisplayFirst = false;
    EnsureFirst(view, false);
    EnsureFirst(view, true);
}

void CCustomViewRules::SetSide(CCustomView& view, int nSeries, bool bLeft)
{
    if (!IsSeries(nSeries))
        return;
    CSeriesFlags& flags = view.m_series[nSeries];
    if (flags.m_bLeft == bLeft)
        return;
    flags.m_bLeft = bLeft;
    bool bOtherFirst = false;
    for (int i = 0; i < SERIES_COUNT; ++i) {
        const CSeriesFlags& other = view.m_series[i];
        if (i != nSeries && other.m_bDisplay && other.m_bLeft == bLeft && other.m_bDisplayFirst)
            bOtherFirst = true;
    }
    flags.m_bDisplayFirst = !bOtherFirst;
    EnsureFirst(view, !bLeft, nSeries);
}

void CCustomViewRules::MakeFirst(CCustomView& view, int nSeries)
{
    if (!IsSeries(nSeries))
        return;
    const bool bLeft = view.m_series[nSeries].m_bLeft;
    view.m_series[nSeries].m_bDisplayFirst = true;
    for (int i = 0; i < SERIES_COUNT; ++i) {
        if (i != nSeries && view.m_series[i].m_bLeft == bLeft)
            view.m_series[i].m_bDisplayFirst = false;
    }
}

void CCustomViewRules::EnsureFirst(CCustomView& view, bool bLeft, int nExcept)
{
    int nFirstShown = -1;
    for (int i = 0; i < SERIES_COUNT; ++i) {
        const CSeriesFlags& flags = view.m_series[i];
        if (i == nExcept || !flags.m_bDisplay || flags.m_bLeft != bLeft)
            continue;
        if (flags.m_bDisplayFirst)
            return;
        if (nFirstShown < 0)
            nFirstShown = i;
    }
    if (nFirstShown >= 0)
        view.m_series[nFirstShown].m_bDisplayFirst = true;
}
