#include "settings/CustomView.h"
#include "ViewFlags.h"

#include <tinyxml.h>

#include <gtest/gtest.h>

namespace {

using Sides = std::pair<std::vector<int>, std::vector<int>>;

Sides SidesOf(const CCustomView& view)
{
    Sides sides;
    view.GetSideSeries(SIDE_LEFT, sides.first);
    view.GetSideSeries(SIDE_RIGHT, sides.second);
    return sides;
}

TEST(CustomView, PresetsAndSides)
{
    struct Case { int nPreset; const char* flags; Sides sides; };
    const Case cases[] = {
        {0, "111110100", {{0}, {1, 2}}},
        {1, "110111100", {{1}, {0, 2}}},
        {2, "110100111", {{2}, {0, 1}}},
    };
    for (const Case& c : cases) {
        CCustomView view;
        view.ApplyPreset(c.nPreset);
        EXPECT_EQ(Flags(view), c.flags) << c.nPreset;
        EXPECT_EQ(SidesOf(view), c.sides) << c.nPreset;
        // Any other kind leaves the view as it is.
        view.ApplyPreset(3);
        view.ApplyPreset(-1);
        EXPECT_EQ(Flags(view), c.flags);
    }
    CCustomView fresh;
    EXPECT_EQ(Flags(fresh), "001001001");
    EXPECT_EQ(SidesOf(fresh), Sides());
    EXPECT_EQ(SidesOf(FromFlags("101101101")), Sides({0, 1, 2}, {}));
    EXPECT_EQ(SidesOf(FromFlags("100001000")), Sides({}, {0}));
    std::vector<int> list = {7};
    FromFlags("111111111").GetSideSeries(2, list);
    EXPECT_TRUE(list.empty());
}

TEST(CustomView, WriteThenReadGivesEveryCombinationBack)
{
    for (int bits = 0; bits < 512; ++bits) {
        std::string flags;
        for (int i = 8; i >= 0; --i)
            flags += (bits >> i) & 1 ? '1' : '0';
        TiXmlElement parent("customviews");
        FromFlags(flags).WriteXml(&parent);
        const TiXmlElement* pView = parent.FirstChildElement("view");
        ASSERT_NE(pView, nullptr);
        CCustomView read;
        read.ApplyPreset(bits % 3);
        read.ReadXml(pView);
        ASSERT_EQ(Flags(read), flags);
    }
}

TEST(CustomView, WritesTheKnownForm)
{
    TiXmlElement parent("customviews");
    FromFlags("110001100").WriteXml(&parent);
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    parent.FirstChildElement()->Accept(&printer);
    EXPECT_EQ(std::string(printer.CStr()),
              "<view><temperatures display=\"1\" displayfirst=\"1\" left=\"0\" />"
              "<precipitations display=\"0\" displayfirst=\"0\" left=\"1\" />"
              "<wind display=\"1\" displayfirst=\"0\" left=\"0\" /></view>");
}

TEST(CustomView, ReadSetsPresentSeriesOnly)
{
    struct Case { const char* xml; const char* flags; };
    // Read over preset 0, "111110100".
    const Case cases[] = {
        {"<view/>", "111110100"},
        {"<view><wind display=\"1\" displayfirst=\"1\"/></view>", "111110110"},
        {"<view><temperatures/></view>", "000110100"},
        {"<view><precipitations display=\"2\" displayfirst=\"abc\" left=\" 1\"/></view>", "111101100"},
        {"<view><temperatures display=\"0\" displayfirst=\"1\" left=\"1\"/></view>", "011110100"},
        {"<view><wind display=\"1\" left=\"1\"/><wind display=\"0\"/></view>", "111110101"},
        {"<view><Wind display=\"0\"/></view>", "111110100"},
    };
    for (const Case& c : cases) {
        TiXmlDocument doc;
        doc.Parse(c.xml);
        ASSERT_NE(doc.RootElement(), nullptr) << c.xml;
        CCustomView view;
        view.ApplyPreset(0);
        view.ReadXml(doc.RootElement());
        EXPECT_EQ(Flags(view), c.flags) << c.xml;
    }
}

} // namespace
