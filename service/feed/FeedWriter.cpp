#include "service/feed/FeedWriter.h"

#include "service/feed/Conditions.h"
#include "service/places/Place.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

const char* const WEEKDAYS[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const MONTHS[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const char* const HEAD =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<weather ver=\"2.0\">\n"
    "  <head>\n"
    "    <locale>en_US</locale>\n"
    "    <form>MEDIUM</form>\n"
    "    <ut>F</ut>\n"
    "    <ud>mi</ud>\n"
    "    <us>mph</us>\n"
    "    <up>in</up>\n"
    "    <ur>in</ur>\n"
    "  </head>\n";

// Appends <name>text</name> on a line of its own at that indentation.
void Element(std::string& out, int nIndent, const char* pszName, const std::string& strText)
{
    out.append(static_cast<size_t>(nIndent), ' ');
    out += '<';
    out += pszName;
    out += '>';
    out += strText;
    out += "</";
    out += pszName;
    out += ">\n";
}

std::string Number(int n)
{
    return std::to_string(n);
}

std::string Optional(const std::optional<int>& value)
{
    return value ? Number(*value) : "N/A";
}

// With a point whatever the locale of the process it runs in: inside the
// program, the window toolkit sets that from the user's environment.
std::string Coordinate(double d)
{
    char sz[400];
    const std::to_chars_result r = std::to_chars(sz, sz + sizeof sz, d, std::chars_format::fixed, 2);
    return std::string(sz, r.ec == std::errc() ? r.ptr : sz);
}

void WriteWind(std::string& out, int nIndent, const CForecastRecord::Wind& wind)
{
    const std::string pad(static_cast<size_t>(nIndent), ' ');
    out += pad + "<wind>\n";
    Element(out, nIndent + 2, "s", wind.speed ? Number(CFeedWriter::Mph(*wind.speed)) : "N/A");
    Element(out, nIndent + 2, "gust", wind.gust ? Number(CFeedWriter::Mph(*wind.gust)) : "N/A");
    Element(out, nIndent + 2, "d", Number(wind.nDirection));
    const char* pszText = "N/A";
    if (wind.speed && CFeedWriter::Mph(*wind.speed) == 0)
        pszText = "CALM";
    else if (wind.speed && wind.bDirection)
        pszText = CFeedWriter::Compass(wind.nDirection);
    Element(out, nIndent + 2, "t", pszText);
    out += pad + "</wind>\n";
}

void WritePart(std::string& out, const char* pszHalf, const CForecastRecord::DayPart& part)
{
    out += "      <part p=\"";
    out += pszHalf;
    out += "\">\n";
    Element(out, 8, "icon", Number(part.nIcon));
    Element(out, 8, "t", CConditions::Text(part.nIcon));
    WriteWind(out, 8, part.wind);
    Element(out, 8, "bt", CConditions::Text(part.nIcon));
    Element(out, 8, "ppcp", Optional(part.precip));
    Element(out, 8, "hmid", Optional(part.humidity));
    out += "      </part>\n";
}

void WriteDay(std::string& out, const CForecastRecord::Day& day)
{
    out += "    <day d=\"" + Number(day.nDay) + "\" t=\"" + WEEKDAYS[day.date.m_nWeekday] + "\" dt=\"" +
           CFeedWriter::ShortDate(day.date) + "\">\n";
    Element(out, 6, "hi", day.high ? Number(CFeedWriter::Fahrenheit(*day.high)) : "N/A");
    Element(out, 6, "low", day.low ? Number(CFeedWriter::Fahrenheit(*day.low)) : "N/A");
    Element(out, 6, "sunr", CFeedWriter::ClockTime(day.sunrise));
    Element(out, 6, "suns", CFeedWriter::ClockTime(day.sunset));
    WritePart(out, "d", day.parts[0]);
    WritePart(out, "n", day.parts[1]);
    out += "    </day>\n";
}

void WriteHour(std::string& out, const CForecastRecord::Hour& hour)
{
    out += "    <hour h=\"" + Number(hour.nHour) + "\" c=\"" + Number(hour.time.m_nHour) + "\">\n";
    Element(out, 6, "tmp", Number(CFeedWriter::Fahrenheit(hour.dTemp)));
    Element(out, 6, "flik", Number(CFeedWriter::Fahrenheit(hour.dFeelsLike)));
    Element(out, 6, "t", CConditions::Text(hour.nIcon));
    Element(out, 6, "icon", Number(hour.nIcon));
    WriteWind(out, 6, hour.wind);
    Element(out, 6, "ppcp", Number(hour.nPrecip));
    Element(out, 6, "hmid", Number(hour.nHumidity));
    out += "    </hour>\n";
}

} // namespace

std::string CFeedWriter::Feed(const CForecastRecord& record)
{
    std::string out;
    out.reserve(1024 + record.m_days.size() * 900 + record.m_hours.size() * 300);
    out += HEAD;
    out += "  <loc id=\"" + Escape(record.m_strID) + "\">\n";
    Element(out, 4, "dnam", Escape(record.m_strName));
    Element(out, 4, "tm", ClockTime(record.m_localTime));
    Element(out, 4, "lat", Coordinate(record.m_dLatitude));
    Element(out, 4, "lon", Coordinate(record.m_dLongitude));
    Element(out, 4, "sunr", ClockTime(record.m_sunrise));
    Element(out, 4, "suns", ClockTime(record.m_sunset));
    Element(out, 4, "zone", Number(record.m_nZoneHours));
    out += "  </loc>\n";

    if (record.m_section == CForecastRecord::DAILY) {
        out += "  <dayf>\n";
        Element(out, 4, "lsup", UpdateTime(record.m_lastUpdate));
        for (const CForecastRecord::Day& day : record.m_days)
            WriteDay(out, day);
        out += "  </dayf>\n";
    } else if (record.m_section == CForecastRecord::HOURLY) {
        out += "  <hbhf>\n";
        Element(out, 4, "lsup", UpdateTime(record.m_lastUpdate));
        for (const CForecastRecord::Hour& hour : record.m_hours)
            WriteHour(out, hour);
        out += "  </hbhf>\n";
    }
    out += "</weather>\n";
    return out;
}

std::string CFeedWriter::SearchAnswer(const std::vector<const CPlace*>& places)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<search ver=\"2.0\">\n";
    for (const CPlace* pPlace : places)
        out += "  <loc id=\"" + Escape(pPlace->m_strID) + "\" type=\"1\">" + Escape(pPlace->m_strName) + "</loc>\n";
    out += "</search>\n";
    return out;
}

std::string CFeedWriter::Error(int nType, const std::string& strText)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<error>\n  <err type=\"" + Number(nType) + "\">" +
           Escape(strText) + "</err>\n</error>\n";
}

std::string CFeedWriter::Escape(const std::string& strText)
{
    std::string out;
    out.reserve(strText.size());
    for (char c : strText) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string CFeedWriter::ClockTime(const CCivilTime& time)
{
    char sz[16];
    std::snprintf(sz, sizeof sz, "%d:%02d %s", (time.m_nHour + 11) % 12 + 1, time.m_nMinute,
                  time.m_nHour < 12 ? "AM" : "PM");
    return sz;
}

std::string CFeedWriter::UpdateTime(const CCivilTime& time)
{
    char sz[24];
    std::snprintf(sz, sizeof sz, "%d/%d/%02d ", time.m_nMonth, time.m_nDay, ((time.m_nYear % 100) + 100) % 100);
    return sz + ClockTime(time) + " Local Time";
}

std::string CFeedWriter::ShortDate(const CCivilTime& time)
{
    return std::string(MONTHS[time.m_nMonth - 1]) + " " + Number(time.m_nDay);
}

int CFeedWriter::Fahrenheit(double dCelsius)
{
    return static_cast<int>(std::lround(dCelsius * 9.0 / 5.0 + 32.0));
}

int CFeedWriter::Mph(double dKmh)
{
    return static_cast<int>(std::lround(dKmh / 1.609344));
}

const char* CFeedWriter::Compass(int nDegrees)
{
    static const char* const s_points[] = {"N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
                                           "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};
    const int nNormal = ((nDegrees % 360) + 360) % 360;
    return s_points[static_cast<int>((nNormal + 11.25) / 22.5) % 16];
}
