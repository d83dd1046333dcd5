#include "service/http/HomePage.h"

#include "service/feed/FeedWriter.h"
#include "service/places/Places.h"

namespace {

// Places on every continent and at both ends of the day's length.
const char* const EXAMPLE_ZONES[] = {
    "Europe/Zurich", "America/Sao_Paulo", "America/New_York", "Asia/Tokyo",
    "Australia/Sydney", "Africa/Nairobi", "Atlantic/Reykjavik", "Arctic/Longyearbyen",
};

std::string SyntheticText(const CPlaces& places)
{
    return "<p>Its forecasts are <strong>synthetic</strong>: made up, but shaped like real weather "
           "(seasons by latitude, day and night, sunrise and sunset, passing weather systems) and "
           "the same for a station all through an hour. Do not plan a picnic on them.</p>\n"
           "<p>It knows " + std::to_string(places.m_places.size()) +
           " places, the principal cities of the time zones of the world.</p>\n";
}

// The licence of the live data (CC BY 4.0) asks for this credit with a link.
std::string LiveText()
{
    return "<p>Its forecasts are <strong>live</strong>: real forecasts for any place its search "
           "finds, fetched when asked for and kept for a few minutes.</p>\n"
           "<p class=\"credit\"><a href=\"https://open-meteo.com/\">Weather data by Open-Meteo.com</a>, "
           "under the <a href=\"https://creativecommons.org/licenses/by/4.0/\">CC BY 4.0</a> licence.</p>\n";
}

} // namespace

std::string CHomePage::Html(const CPlaces& places, bool bLive)
{
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>" + std::string(SERVICE_NAME) + "</title>\n"
        "<style>body{font-family:sans-serif;max-width:40em;margin:1em auto;padding:0 1em}"
        "code{background:#eee;padding:0 .2em}td{padding:.1em .8em .1em 0}</style>\n"
        "</head>\n<body>\n"
        "<h1>" + std::string(SERVICE_NAME) + "</h1>\n"
        "<p>This is the local forecast service of Cirrovan, the weather viewer for small touch "
        "screens. It answers the program's station searches and its forecast requests: a daily "
        "forecast for 10 days and an hour-by-hour forecast for 72 hours, as XML.</p>\n"
        + (bLive ? LiveText() : SyntheticText(places)) +
        "<h2>Ask it</h2>\n<ul>\n"
        "<li>Search: <code>/search/search?where=zurich</code></li>\n"
        "<li>Daily: <code>/weather/local/ID?dayf=10</code></li>\n"
        "<li>Hour by hour: <code>/weather/local/ID?hbhf=72</code></li>\n</ul>\n"
        "<form action=\"/search/search\" method=\"get\"><input name=\"where\" placeholder=\"Place name\">"
        " <button>Search</button></form>\n"
        "<h2>Places to try</h2>\n<table>\n";
    for (const char* pszZone : EXAMPLE_ZONES) {
        for (const CPlace& place : places.m_places) {
            if (place.m_clock.m_strZone != pszZone)
                continue;
            const std::string id = CFeedWriter::Escape(place.m_strID);
            html += "<tr><td>" + CFeedWriter::Escape(place.m_strName) + "</td><td><code>" + id +
                    "</code></td><td><a href=\"/weather/local/" + id + "?dayf=10\">daily</a></td>"
                    "<td><a href=\"/weather/local/" + id + "?hbhf=72\">hourly</a></td></tr>\n";
            break;
        }
    }
    html += "</table>\n</body>\n</html>\n";
    return html;
}
