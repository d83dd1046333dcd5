#pragma once

// Series numbers, the index of a series wherever one is named.
constexpr int SERIES_TEMPERATURES = 0;
constexpr int SERIES_PRECIPITATIONS = 1;
constexpr int SERIES_WIND = 2;
constexpr int SERIES_COUNT = 3;

// How one custom view shows one series.
class CSeriesFlags
{
public:
    CSeriesFlags() { Reset(); }

    // Hidden, not first, scale on the left.
    void Reset();
    void Set(bool bDisplay, bool bDisplayFirst, bool bLeft);

    bool m_bDisplay;        // the series is drawn
    bool m_bDisplayFirst;   // first among the displayed series of its side
    bool m_bLeft;           // its value scale stands on the left; false: right
};
