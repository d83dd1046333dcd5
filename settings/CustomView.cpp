#include "settings/CustomView.h"

#include "store/NumberText.h"

#include <tinyxml.h>

CCustomView::CCustomView()
{
    for (CSeriesFlags& flags : m_series)
        flags.Reset();
}

void CCustomView::ApplyPreset(int nKind)
{
    switch (nKind) {
    case 0:
        m_series[SERIES_TEMPERATURES].Set(true, true, true);
        m_series[SERIES_PRECIPITATIONS].Set(true, true, false);
        m_series[SERIES_WIND].Set(true, false, false);
        break;
    case 1:
        m_series[SERIES_TEMPERATURES].Set(true, true, false);
        m_series[SERIES_PRECIPITATIONS].Set(true, true, true);
        m_series[SERIES_WIND].Set(true, false, false);
        break;
    case 2:
        m_series[SERIES_TEMPERATURES].Set(true, true, false);
        m_series[SERIES_PRECIPITATIONS].Set(true, false, false);
        m_series[SERIES_WIND].Set(true, true, true);
        break;
    default:
        break;
    }
}

const char* CCustomView::SeriesName(int nSeries)
{
    static const char* const s_names[SERIES_COUNT] = {"temperatures", "precipitations", "wind"};
    return nSeries >= 0 && nSeries < SERIES_COUNT ? s_names[nSeries] : "";
}

void CCustomView::WriteXml(TiXmlElement* pParent) const
{
    TiXmlElement view("view");
    for (int i = 0; i < SERIES_COUNT; ++i) {
        TiXmlElement series(SeriesName(i));
        series.SetAttribute("display", m_series[i].m_bDisplay ? 1 : 0);
        series.SetAttribute("displayfirst", m_series[i].m_bDisplayFirst ? 1 : 0);
        series.SetAttribute("left", m_series[i].m_bLeft ? 1 : 0);
        view.InsertEndChild(series);
    }
    pParent->InsertEndChild(view);
}

void CCustomView::ReadXml(const TiXmlElement* pView)
{
    for (int i = 0; i < SERIES_COUNT; ++i) {
        const TiXmlElement* pSeries = pView->FirstChildElement(SeriesName(i));
        if (!pSeries)
            continue;
        m_series[i].m_bDisplay = CNumberText::BoolAttribute(pSeries, "display");
        m_series[i].m_bDisplayFirst = CNumberText::BoolAttribute(pSeries, "displayfirst");
        m_series[i].m_bLeft = CNumberText::BoolAttribute(pSeries, "left");
    }
}

void CCustomView::GetSideSeries(int nSide, std::vector<int>& series) const
{
    series.clear();
    if (nSide != SIDE_LEFT && nSide != SIDE_RIGHT)
        return;
    for (int i = 0; i < SERIES_COUNT; ++i) {
        if (m_series[i].m_bDisplay && m_series[i].m_bLeft == (nSide == SIDE_LEFT))
            series.push_back(i);
    }
}
