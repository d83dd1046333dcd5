#pragma once

#include "settings/SeriesFlags.h"

#include <vector>

class TiXmlElement;

// Scale sides of the chart.
constexpr int SIDE_LEFT = 0;
constexpr int SIDE_RIGHT = 1;

// One custom chart view: which series are drawn and where their scales stand.
class CCustomView
{
public:
    // Every series hidden, scales on the left.
    CCustomView();

    // Kinds 0, 1, 2 show all three series and put the temperatures, the
    // precipitations or the wind alone on the left; other kinds change nothing.
    void ApplyPreset(int nKind);

    // Appends <view> with one child per series under the parent.
    void WriteXml(TiXmlElement* pParent) const;
    // Series whose element is absent keep their flags; a present element sets
    // all three, an absent attribute giving false. Stored flags are not repaired.
    void ReadXml(const TiXmlElement* pView);

    // The displayed series whose scale stands on that side, in series order.
    void GetSideSeries(int nSide, std::vector<int>& series) const;

    // XML element name of a series.
    static const char* SeriesName(int nSeries);

    CSeriesFlags m_series[SERIES_COUNT];
};
