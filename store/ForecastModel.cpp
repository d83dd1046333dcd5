// Placeholder bodies of the forecast model so the data layer links while the
// feed parser is written; replaced by one file per class.
#include "store/DailyForecast.h"
#include "store/HourlyForecast.h"

CWind::~CWind() { delete[] m_pszDirection; }
void CWind::ReadXml(const TiXmlElement*) {}
void CDayPart::ReadXml(const TiXmlElement*) {}
CForecastDay::~CForecastDay() { delete[] m_pszWeekday; delete[] m_pszDate; }
void CForecastDay::ReadXml(const TiXmlElement*) {}
void CForecastHour::ReadXml(const TiXmlElement*) {}
void CDailyForecast::Load(const std::wstring&) {}
void CDailyForecast::Clear() { m_days.RemoveAll(); }
bool CDailyForecast::IsEmpty() { return m_days.GetCount() == 0; }
CForecastDay* CDailyForecast::FindDay(int) const { return nullptr; }
void CHourlyForecast::Load(const std::wstring&) {}
void CHourlyForecast::Clear() { m_hours.RemoveAll(); }
bool CHourlyForecast::IsEmpty() { return m_hours.GetCount() == 0; }
CForecastHour* CHourlyForecast::FindHour(int) const { return nullptr; }
