#include "model/WeatherData.h"
#include "store/XmlFile.h"

#include "../TempFolder.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<std::pair<std::wstring, std::wstring>>;

List Results(const CWeatherData& data)
{
    List out;
    for (int i = 0; i < data.m_searchResults.GetCount(); ++i)
        out.emplace_back(data.m_searchResults.GetAt(i)->m_strID, data.m_searchResults.GetAt(i)->m_strName);
    return out;
}

TEST(SearchResults, ReadsEveryLocInOrder)
{
    CTempFolder temp;
    CWeatherData data;
    temp.Write("search_stations.dat", ReadFixture("store/fixtures/search_answer.dat"));
    data.LoadSearchResults();
    EXPECT_EQ(Results(data), (List{{L"USNY0996", L"New York, NY"},
                                   {L"USNY0998", L"New York/JFK Intl Arpt, NY"},
                                   {L"USNY0996", L"New York, NY (again)"}}));
}

TEST(SearchResults, WellFormedAnswerReplacesTheList)
{
    struct Case { const char* answer; List expected; };
    const Case cases[] = {
        {"<search/>", {}},
        {"<search><other/></search>", {}},
        {"<results><loc id=\"USNY0996\">New York</loc></results>", {}},
        {"<search><loc>No ID</loc><loc id=\"FRXX0076\"/></search>", {{L"", L"No ID"}, {L"FRXX0076", L""}}},
        // Results come from the network: an unsafe ID is kept as a result; it
        // just never names a file.
        {"<search><loc id=\"../../etc\">Odd</loc></search>", {{L"../../etc", L"Odd"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        CTempFolder temp;
        CWeatherData data;
        data.m_searchResults.Add(new CStation);
        temp.Write("search_stations.dat", c.answer);
        data.LoadSearchResults();
        EXPECT_EQ(Results(data), c.expected);
    }
}

TEST(SearchResults, UnreadableAnswerKeepsThePreviousResults)
{
    std::string deep;
    for (int i = 0; i <= CXmlFile::MAX_DEPTH; ++i)
        deep += "<search>";
    std::string large = "<search><loc id=\"A\">a</loc>" + std::string(CXmlFile::MAX_BYTES, ' ') + "</search>";
    struct Case { const char* name; const std::string* answer; };
    const std::string html = "<html><body>Service unavailable</html>";
    const std::string text = "Service unavailable";
    const Case cases[] = {
        {"missing", nullptr}, {"not XML", &text}, {"not well-formed", &html},
        {"nested too deep", &deep}, {"over 4 MiB", &large},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTempFolder temp;
        CWeatherData data;
        temp.Write("search_stations.dat", "<search><loc id=\"USNY0996\">New York</loc></search>");
        data.LoadSearchResults();
        std::filesystem::remove(temp.Path("search_stations.dat"));
        if (c.answer)
            temp.Write("search_stations.dat", *c.answer);
        data.LoadSearchResults();
        EXPECT_EQ(Results(data), (List{{L"USNY0996", L"New York"}}));
    }
}

} // namespace
