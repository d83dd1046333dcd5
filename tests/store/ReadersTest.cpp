// Every reader reads a document parsed from bytes exactly as it loads the file
// that holds those bytes: a download checks the answer once, and the store
// reads the document that was checked.
#include "store/DailyForecast.h"
#include "store/HourlyForecast.h"
#include "store/SearchAnswer.h"
#include "store/StationFile.h"
#include "store/XmlFile.h"

#include "../StationList.h"
#include "../TempFolder.h"

#include <gtest/gtest.h>

#include <tinyxml.h>

#include <functional>
#include <utility>
#include <sstream>

namespace {

std::string Describe(const CForecastBase& forecast)
{
    std::ostringstream out;
    out << CCodePage::Encode(forecast.m_strLocation) << '|' << forecast.m_nZone << '|'
        << forecast.m_dtLocalTime.m_dt << '|' << forecast.m_dtLastUpdate.m_dt << '|'
        << forecast.m_dtSunrise.m_dt << '|' << forecast.m_dtSunset.m_dt;
    return out.str();
}

std::string Describe(const CDailyForecast& daily)
{
    std::ostringstream out;
    out << Describe(static_cast<const CForecastBase&>(daily));
    for (int i = 0; i < daily.m_days.GetCount(); ++i) {
        const CForecastDay* pDay = daily.m_days.GetAt(i);
        out << "|day " << pDay->m_nDay << ' ' << (pDay->m_pszDate ? pDay->m_pszDate : "-") << ' '
            << pDay->m_dHigh << ' ' << pDay->m_dLow << ' ' << pDay->m_parts[0].m_nIcon << ' '
            << pDay->m_parts[1].m_wind.m_nSpeed;
    }
    return out.str();
}

std::string Describe(const CHourlyForecast& hourly)
{
    std::ostringstream out;
    out << Describe(static_cast<const CForecastBase&>(hourly));
    for (int i = 0; i < hourly.m_hours.GetCount(); ++i) {
        const CForecastHour* pHour = hourly.m_hours.GetAt(i);
        out << "|hour " << pHour->m_nHour << ' ' << pHour->m_dTemp << ' ' << pHour->m_nIcon << ' '
            << pHour->m_wind.m_nSpeed;
    }
    return out.str();
}

std::string Describe(const CPointerArray<CStation>& stations)
{
    std::string out;
    for (const auto& [id, name] : StationsOf(stations))
        out += CCodePage::Encode(id) + '=' + CCodePage::Encode(name) + '|';
    return out;
}

// One reader: from a known state, it loads the file or reads a document, and
// tells the state it ends in.
struct Reader
{
    const char* pszName;
    std::string good;   // a document it reads
    std::function<std::string(const std::wstring& path)> load;
    std::function<std::string(const TiXmlDocument& doc, bool& bRead)> read;
};

template <class T>
Reader ForecastReader(const char* pszName, const std::string& good, const std::string& before)
{
    auto prepared = [before](T& forecast) {
        TiXmlDocument doc;
        EXPECT_TRUE(CXmlFile::Parse(doc, before));
        EXPECT_TRUE(forecast.Read(doc));
    };
    return {pszName, good,
            [prepared](const std::wstring& path) {
                T forecast;
                prepared(forecast);
                forecast.Load(path);
                return Describe(forecast);
            },
            [prepared](const TiXmlDocument& doc, bool& bRead) {
                T forecast;
                prepared(forecast);
                bRead = forecast.Read(doc);
                return Describe(forecast);
            }};
}

template <class File>
Reader ListReader(const char* pszName, const std::string& good)
{
    auto prepared = [](CPointerArray<CStation>& stations) {
        CStation* pStation = new CStation;
        pStation->m_strID = L"OLD";
        stations.Add(pStation);
    };
    return {pszName, good,
            [prepared](const std::wstring& path) {
                CPointerArray<CStation> stations;
                prepared(stations);
                File::Load(path, stations);
                return Describe(stations);
            },
            [prepared](const TiXmlDocument& doc, bool& bRead) {
                CPointerArray<CStation> stations;
                prepared(stations);
                bRead = File::Read(doc, stations);
                return Describe(stations);
            }};
}

// The bytes as they may come: CR LF line ends, line breaks in values, a byte
// order mark, bytes that are not UTF-8 in the names.
std::string AsReceived(std::string text)
{
    for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 2))
        text.replace(i, 1, "\r\n");
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"York", "Y\xFFork"}, {"\xC3\xBC", "\xC3"},
                                    {"id=\"", "id=\"\r"}, {"dt=\"", "dt=\"\r\r\n"}}) {
        for (size_t i = text.find(from); i != std::string::npos; i = text.find(from, i + to.size()))
            text.replace(i, from.size(), to);
    }
    return "\xEF\xBB\xBF" + text;
}

TEST(Readers, ReadTheDocumentParsedFromBytesAsTheyLoadTheFileOfThoseBytes)
{
    std::string deep = "<weather>";
    for (int i = 0; i < CXmlFile::MAX_DEPTH; ++i)
        deep += "<a>";
    for (int i = 0; i < CXmlFile::MAX_DEPTH; ++i)
        deep += "</a>";
    deep += "</weather>";
    const std::vector<Reader> readers = {
        ForecastReader<CDailyForecast>("daily", ReadFixture("store/fixtures/daily.xml"),
                                       "<weather><loc><dnam>Before</dnam></loc><dayf><day d='9'/></dayf></weather>"),
        ForecastReader<CHourlyForecast>("hourly", ReadFixture("store/fixtures/hourly.xml"),
                                        "<weather><loc><dnam>Before</dnam></loc><hbhf><hour h='9'/></hbhf></weather>"),
        ListReader<CStationFile>("stations", ReadFixture("store/fixtures/stations_other_root.dat")),
        ListReader<CSearchAnswer>("search", ReadFixture("store/fixtures/search_answer.dat")),
    };
    CTempFolder temp;
    for (const Reader& reader : readers) {
        struct Case { const char* name; std::string bytes; bool bRead; };
        const Case cases[] = {
            {"as written", reader.good, true},
            {"as received", AsReceived(reader.good), true},
            {"nested too deep", deep, false},
            {"not XML", "Service unavailable", false},
            {"empty", "", false},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(reader.pszName) + ", " + c.name);
            temp.Write("answer.dat", c.bytes);
            const std::string loaded = reader.load(temp.WidePath("answer.dat"));
            TiXmlDocument doc;
            EXPECT_EQ(CXmlFile::Parse(doc, c.bytes), c.bRead);
            bool bRead = !c.bRead;
            EXPECT_EQ(reader.read(doc, bRead), loaded);
            EXPECT_EQ(bRead, c.bRead);
        }
    }
}

} // namespace
