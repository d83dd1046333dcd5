#pragma once

#include "settings/CustomView.h"

#include <string>

// A view's flags as nine digits: display, first, left for temperatures,
// precipitations and wind, so that a table of cases reads at a glance.
inline std::string Flags(const CCustomView& view)
{
    std::string out;
    for (const CSeriesFlags& f : view.m_series)
        out += std::string() + (f.m_bDisplay ? '1' : '0') + (f.m_bDisplayFirst ? '1' : '0') + (f.m_bLeft ? '1' : '0');
    return out;
}

inline CCustomView FromFlags(const std::string& flags)
{
    CCustomView view;
    for (int i = 0; i < SERIES_COUNT; ++i)
        view.m_series[i].Set(flags[3 * i] == '1', flags[3 * i + 1] == '1', flags[3 * i + 2] == '1');
    return view;
}
