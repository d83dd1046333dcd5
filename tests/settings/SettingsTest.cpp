#include "settings/Settings.h"
#include "store/XmlFile.h"

#include "../TempFolder.h"

#include <gtest/gtest.h>

#include <tinyxml.h>

#include <csignal>
#include <sys/resource.h>

namespace {

using List = std::vector<std::pair<std::wstring, std::wstring>>;

List Preferred(const CSettings& settings)
{
    List out;
    for (int i = 0; i < settings.m_preferredStations.GetCount(); ++i)
        out.emplace_back(settings.m_preferredStations.GetAt(i)->m_strID,
                         settings.m_preferredStations.GetAt(i)->m_strName);
    return out;
}

void AddPreferred(CSettings& settings, const wchar_t* id, const wchar_t* name)
{
    CStation* pStation = new CStation;
    pStation->m_strID = id;
    pStation->m_strName = name;
    settings.m_preferredStations.Add(pStation);
}

bool SameView(const CCustomView& a, const CCustomView& b)
{
    for (int i = 0; i < SERIES_COUNT; ++i) {
        if (a.m_series[i].m_bDisplay != b.m_series[i].m_bDisplay
            || a.m_series[i].m_bDisplayFirst != b.m_series[i].m_bDisplayFirst
            || a.m_series[i].m_bLeft != b.m_series[i].m_bLeft)
            return false;
    }
    return true;
}

CCustomView Preset(int nKind)
{
    CCustomView view;
    view.ApplyPreset(nKind);
    return view;
}

TEST(Settings, DefaultsAreWrittenInTheKnownLayout)
{
    CTempFolder temp;
    CSettings settings;
    EXPECT_EQ(settings.m_strPath, temp.WidePath("settings.dat"));
    EXPECT_EQ(settings.m_nCurrentView, 0);
    EXPECT_EQ(settings.m_bDaily, 0);
    EXPECT_FALSE(settings.Load());
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(temp.Read("settings.dat"), ReadFixture("settings/fixtures/default_settings.dat"));
}

TEST(Settings, SaveAndLoadKeepEveryStoredMember)
{
    CTempFolder temp;
    CSettings saved;
    saved.m_nWindUnit = 4;
    saved.m_bShowZero = true;
    saved.m_nTempUnit = 1;
    saved.m_bDisconnect = true;
    saved.m_views[0].ApplyPreset(2);
    saved.m_views[2].m_series[SERIES_WIND].Set(false, true, false);
    saved.m_nCurrentView = 2;
    saved.m_bDaily = 1;
    saved.m_currentStation.m_strID = L"JAXX0085";
    saved.m_currentStation.m_strName = L"\u6771\u4eac & <Tokyo>";
    saved.m_nOrientation = 4;
    AddPreferred(saved, L"USNY0996", L"New York, NY");
    AddPreferred(saved, L"JAXX0085", L"");
    ASSERT_TRUE(saved.Save());

    // Loaded from the file, or read from a document parsed from its bytes as a
    // download hands them over: the same settings.
    for (bool bFromBytes : {false, true}) {
        SCOPED_TRACE(bFromBytes ? "read from bytes" : "loaded");
        CSettings loaded;
        if (bFromBytes) {
            TiXmlDocument doc;
            ASSERT_TRUE(CXmlFile::Parse(doc, temp.Read("settings.dat")));
            ASSERT_TRUE(loaded.Read(doc));
        } else {
            ASSERT_TRUE(loaded.Load());
        }
        EXPECT_EQ(loaded.m_nWindUnit, 4);
        EXPECT_TRUE(loaded.m_bShowZero);
        EXPECT_EQ(loaded.m_nTempUnit, 1);
        EXPECT_TRUE(loaded.m_bDisconnect);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(SameView(loaded.m_views[i], saved.m_views[i])) << i;
        EXPECT_EQ(loaded.m_nCurrentView, 2);
        EXPECT_EQ(loaded.m_bDaily, 1);
        EXPECT_EQ(loaded.m_currentStation.m_strID, L"JAXX0085");
        EXPECT_EQ(loaded.m_currentStation.m_strName, L"\u6771\u4eac & <Tokyo>");
        EXPECT_EQ(loaded.m_nOrientation, 4);
        EXPECT_EQ(Preferred(loaded), (List{{L"USNY0996", L"New York, NY"}, {L"JAXX0085", L""}}));
    }

    // Loading again does not double the preferred stations.
    CSettings loaded;
    ASSERT_TRUE(loaded.Load());
    ASSERT_TRUE(loaded.Load());
    EXPECT_EQ(Preferred(loaded).size(), 2u);
}

TEST(Settings, OtherRootLoadsTheSameAndIsSavedBackClean)
{
    CTempFolder temp;
    temp.Write("settings.dat", ReadFixture("settings/fixtures/other_root.dat"));
    CSettings settings;
    ASSERT_TRUE(settings.Load());
    EXPECT_EQ(settings.m_nOrientation, 4);
    EXPECT_EQ(settings.m_currentStation.m_strID, L"FRXX0076");
    EXPECT_EQ(settings.m_currentStation.m_strName, L"Paris");
    EXPECT_EQ(settings.m_nCurrentView, 2);
    EXPECT_FALSE(settings.m_views[0].m_series[SERIES_WIND].m_bDisplay);
    EXPECT_TRUE(SameView(settings.m_views[1], Preset(1)));
    EXPECT_TRUE(settings.m_bDisconnect);
    EXPECT_EQ(settings.m_nWindUnit, 3);
    EXPECT_TRUE(settings.m_bShowZero);
    EXPECT_EQ(settings.m_nTempUnit, 1);
    EXPECT_EQ(Preferred(settings), (List{{L"USNY0996", L"New York, NY"}, {L"FRXX0076", L"Paris"}}));

    ASSERT_TRUE(settings.Save());
    TiXmlDocument doc;
    ASSERT_TRUE(CXmlFile::Load(doc, temp.WidePath("settings.dat")));
    EXPECT_STREQ(doc.RootElement()->Value(), "Cirrovan");
    EXPECT_EQ(doc.RootElement()->FirstChildElement("unknown"), nullptr);
    std::vector<std::string> names;
    for (const TiXmlElement* p = doc.RootElement()->FirstChildElement(); p; p = p->NextSiblingElement())
        names.push_back(p->Value());
    EXPECT_EQ(names, (std::vector<std::string>{"settings", "preferences", "customviews", "station",
                                               "displayorientation", "preferred_update_stations"}));
}

// Each case loads a document into settings whose members all differ from the
// defaults, then checks what changed.
TEST(Settings, LoadRulesForPresentAndAbsentValues)
{
    struct Expect { int nWind; bool bZero; int nTemp; bool bDisc; int nView; int nOrient; const wchar_t* station; size_t nPreferred; };
    struct Case { const char* doc; Expect expect; };
    // Before each load: wind 2, zero on, temp 1, disconnect on, view 1, orientation 1, station "OLD", 1 preferred.
    const Case cases[] = {
        {"<Cirrovan/>", {2, true, 1, true, 1, 1, L"OLD", 1}},
        {"<x><preferences><windspeed unit=\"3\"/></preferences></x>", {3, false, 1, false, 1, 1, L"OLD", 1}},
        {"<x><preferences/></x>", {2, true, 1, false, 1, 1, L"OLD", 1}},
        {"<x><preferences disconnectafterupdate=\"2\"><temperatures/></preferences></x>", {2, true, 0, true, 1, 1, L"OLD", 1}},
        {"<x><preferences disconnectafterupdate=\"y1\"><windspeed unit=\" -7kmh\" showzero=\"0x1\"/></preferences></x>",
         {-7, false, 1, false, 1, 1, L"OLD", 1}},
        {"<x><customviews/></x>", {2, true, 1, true, 0, 1, L"OLD", 1}},
        {"<x><customviews current=\"2\"/></x>", {2, true, 1, true, 2, 1, L"OLD", 1}},
        {"<x><customviews current=\"3\"/></x>", {2, true, 1, true, 0, 1, L"OLD", 1}},
        {"<x><customviews current=\"-1\"/></x>", {2, true, 1, true, 0, 1, L"OLD", 1}},
        {"<x><customviews current=\"99999999999\"/></x>", {2, true, 1, true, 0, 1, L"OLD", 1}},
        {"<x><displayorientation>2</displayorientation></x>", {2, true, 1, true, 1, 2, L"OLD", 1}},
        // An element without text does not stop the load: it reads as 0.
        {"<x><displayorientation/><station id=\"NEW\"/></x>", {2, true, 1, true, 1, 0, L"NEW", 1}},
        {"<x><displayorientation><b>4</b></displayorientation><station/></x>", {2, true, 1, true, 1, 0, L"", 1}},
        {"<x><preferred_update_stations/></x>", {2, true, 1, true, 1, 1, L"OLD", 0}},
        {"<x><preferred_update_stations><station id=\"A\"/><other/><station id=\"B\"/></preferred_update_stations></x>",
         {2, true, 1, true, 1, 1, L"OLD", 2}},
        {"<x><station id=\"FIRST\"/><station id=\"SECOND\"/></x>", {2, true, 1, true, 1, 1, L"FIRST", 1}},
        {"<x><preferences><station id=\"NESTED\"/></preferences></x>", {2, true, 1, false, 1, 1, L"OLD", 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.doc);
        CTempFolder temp;
        temp.Write("settings.dat", c.doc);
        CSettings settings;
        settings.m_nWindUnit = 2;
        settings.m_bShowZero = true;
        settings.m_nTempUnit = 1;
        settings.m_bDisconnect = true;
        settings.m_nCurrentView = 1;
        settings.m_nOrientation = 1;
        settings.m_currentStation.m_strID = L"OLD";
        AddPreferred(settings, L"P", L"");
        ASSERT_TRUE(settings.Load());
        EXPECT_EQ(settings.m_nWindUnit, c.expect.nWind);
        EXPECT_EQ(settings.m_bShowZero, c.expect.bZero);
        EXPECT_EQ(settings.m_nTempUnit, c.expect.nTemp);
        EXPECT_EQ(settings.m_bDisconnect, c.expect.bDisc);
        EXPECT_EQ(settings.m_nCurrentView, c.expect.nView);
        EXPECT_EQ(settings.m_nOrientation, c.expect.nOrient);
        EXPECT_EQ(settings.m_currentStation.m_strID, c.expect.station);
        EXPECT_EQ(static_cast<size_t>(settings.m_preferredStations.GetCount()), c.expect.nPreferred);
    }
}

// The chart's kind is kept with the view, as 0 or 1; what the file holds of
// both is remembered after each load and each save that succeeded.
TEST(Settings, DailyIsKeptWithTheViewAndWhatTheFileHoldsIsKnown)
{
    const struct
    {
        const char* pszDoc;
        int nView, bDaily;
    } cases[] = {
        {"<x/>", 1, 1},   // nothing read: both as they were
        {"<x><customviews/></x>", 0, 0},
        {"<x><customviews current=\"2\" daily=\"1\"/></x>", 2, 1},
        {"<x><customviews daily=\"7\"/></x>", 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszDoc);
        CTempFolder temp;
        temp.Write("settings.dat", c.pszDoc);
        CSettings settings;
        settings.m_nCurrentView = 1;
        settings.m_bDaily = 1;
        ASSERT_TRUE(settings.Load());
        EXPECT_EQ(settings.m_nCurrentView, c.nView);
        EXPECT_EQ(settings.m_bDaily, c.bDaily);
        EXPECT_EQ(settings.m_nStoredView, c.nView);
        EXPECT_EQ(settings.m_bStoredDaily, c.bDaily);
    }

    CTempFolder temp;
    CSettings settings;
    settings.m_nCurrentView = 2;
    settings.m_bDaily = 1;
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(settings.m_nStoredView, 2);
    EXPECT_EQ(settings.m_bStoredDaily, 1);
    // A save that fails leaves the file as it was, and so what is known of it.
    settings.m_nCurrentView = 0;
    settings.m_strPath = temp.WidePath("no-such-folder/settings.dat");
    EXPECT_FALSE(settings.Save());
    EXPECT_EQ(settings.m_nStoredView, 2);
}

TEST(Settings, ViewsAreReadInOrderUpToThree)
{
    CTempFolder temp;
    temp.Write("settings.dat",
               "<Cirrovan><customviews current=\"1\">"
               "<view><temperatures display=\"0\" displayfirst=\"1\"/></view>"
               "<other/>"
               "<view><wind display=\"1\"/></view>"
               "<view/>"
               "<view><temperatures display=\"0\"/></view>"
               "</customviews></Cirrovan>");
    CSettings settings;
    ASSERT_TRUE(settings.Load());
    const CSeriesFlags& t0 = settings.m_views[0].m_series[SERIES_TEMPERATURES];
    EXPECT_FALSE(t0.m_bDisplay);
    EXPECT_TRUE(t0.m_bDisplayFirst);   // taken as stored, not repaired
    EXPECT_FALSE(t0.m_bLeft);
    const CSeriesFlags& w1 = settings.m_views[1].m_series[SERIES_WIND];
    EXPECT_TRUE(w1.m_bDisplay);
    EXPECT_FALSE(w1.m_bLeft);
    EXPECT_TRUE(SameView(settings.m_views[2], Preset(2)));   // an empty view changes nothing
    // One "view" element replaces view 0 only.
    temp.Write("settings.dat", "<Cirrovan><customviews><view/></customviews></Cirrovan>");
    CSettings one;
    one.m_views[0].ApplyPreset(1);
    ASSERT_TRUE(one.Load());
    EXPECT_TRUE(SameView(one.m_views[0], Preset(1)));
    EXPECT_TRUE(SameView(one.m_views[1], Preset(1)));
    EXPECT_TRUE(SameView(one.m_views[2], Preset(2)));
}

TEST(Settings, UnreadableFileChangesNothing)
{
    std::string deep = "<Cirrovan>";
    for (int i = 0; i < CXmlFile::MAX_DEPTH; ++i)
        deep += "<x>";
    for (int i = 0; i < CXmlFile::MAX_DEPTH; ++i)
        deep += "</x>";
    deep += "<displayorientation>4</displayorientation></Cirrovan>";
    std::string large = "<Cirrovan><displayorientation>4</displayorientation><!--"
                        + std::string(CXmlFile::MAX_BYTES, '-') + "--></Cirrovan>";
    const std::string bad = "<Cirrovan><displayorientation>4</displayorientation>";
    const std::string noRoot = "<?xml version=\"1.0\"?><!-- nothing -->";
    struct Case { const char* name; const std::string* content; };
    const Case cases[] = {
        {"missing", nullptr}, {"not well-formed", &bad}, {"no root element", &noRoot},
        {"nested too deep", &deep}, {"over 4 MiB", &large},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTempFolder temp;
        if (c.content)
            temp.Write("settings.dat", *c.content);
        CSettings settings;
        settings.m_nOrientation = 1;
        AddPreferred(settings, L"P", L"");
        EXPECT_FALSE(settings.Load());
        EXPECT_EQ(settings.m_nOrientation, 1);
        EXPECT_EQ(settings.m_preferredStations.GetCount(), 1);
        // Nor does a document parsed from the same bytes, as a download hands it over.
        TiXmlDocument doc;
        CXmlFile::Parse(doc, c.content ? *c.content : std::string());
        EXPECT_FALSE(settings.Read(doc));
        EXPECT_EQ(settings.m_nOrientation, 1);
        EXPECT_EQ(settings.m_preferredStations.GetCount(), 1);
    }
}

TEST(Settings, FailedSaveLeavesTheOldFileWhole)
{
    CTempFolder temp;
    CSettings settings;
    ASSERT_TRUE(settings.Save());
    const std::string before = temp.Read("settings.dat");
    settings.m_nWindUnit = 3;
    {
        // A full disk: the process may write no more than 16 bytes per file.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old;
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &limit);
        EXPECT_FALSE(settings.Save());
        setrlimit(RLIMIT_FSIZE, &old);
    }
    EXPECT_EQ(temp.Read("settings.dat"), before);

    // A folder in the file's place cannot be replaced either.
    CTempFolder other;
    std::filesystem::create_directories(other.Path("settings.dat/inside"));
    CSettings blocked;
    EXPECT_FALSE(blocked.Save());
    EXPECT_TRUE(other.Exists("settings.dat/inside"));
    int nEntries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(other.m_path)) {
        (void)entry;
        ++nEntries;
    }
    EXPECT_EQ(nEntries, 1);
}

} // namespace
