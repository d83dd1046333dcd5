#include "settings/SeriesFlags.h"

void CSeriesFlags::Reset()
{
    Set(false, false, true);
}

void CSeriesFlags::Set(bool bDisplay, bool bDisplayFirst, bool bLeft)
{
    m_bDisplay = bDisplay;
    m_bDisplayFirst = bDisplayFirst;
    m_bLeft = bLeft;
}
