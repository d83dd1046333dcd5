#include "platform/CodePage.h"
#include "store/ClassUnicode.h"
#include "store/PointerArray.h"

#include <gtest/gtest.h>

namespace {

struct Counted
{
    explicit Counted(int& live) : m_live(live) { ++m_live; }
    ~Counted() { --m_live; }
    int& m_live;
};

TEST(PointerArray, GrowsByDoublingAndKeepsOrder)
{
    int live = 0;
    {
        CPointerArray<Counted> array;
        EXPECT_EQ(array.m_nCapacity, 32);
        std::vector<Counted*> added;
        for (int i = 0; i < 33; ++i) {
            added.push_back(new Counted(live));
            array.Add(added.back());
        }
        EXPECT_EQ(array.m_nCapacity, 64);
        ASSERT_EQ(array.GetCount(), 33);
        for (int i = 0; i < 33; ++i)
            EXPECT_EQ(array.GetAt(i), added[i]);
        EXPECT_EQ(array.GetAt(-1), nullptr);
        EXPECT_EQ(array.GetAt(33), nullptr);

        array.RemoveAt(0);
        EXPECT_EQ(live, 32);
        EXPECT_EQ(array.GetAt(0), added[1]);
        array.RemoveAt(-1);
        array.RemoveAt(32);
        EXPECT_EQ(array.GetCount(), 32);

        array.RemoveAll();
        EXPECT_EQ(live, 0);
        EXPECT_EQ(array.GetCount(), 0);
        EXPECT_EQ(array.m_nCapacity, 64);
        array.Add(new Counted(live));
    }
    EXPECT_EQ(live, 0);
}

TEST(PointerArray, NonOwningArrayLeavesItemsAlone)
{
    int live = 0;
    Counted item(live);
    {
        CPointerArray<Counted> array(false);
        array.Add(&item);
        array.RemoveAll();
        array.Add(&item);
    }
    EXPECT_EQ(live, 1);
}

TEST(ClassUnicode, RoundTripsAndReplacesInvalidBytes)
{
    ClassUnicode conv;
    EXPECT_EQ(conv.ToAnsi(static_cast<const wchar_t*>(nullptr)), nullptr);
    EXPECT_EQ(conv.ToWide(static_cast<const char*>(nullptr)), nullptr);

    const std::wstring name = L"Z\u00fcrich \u6771\u4eac \U0001F326";
    std::string bytes = conv.ToAnsi(name);
    EXPECT_EQ(bytes, "Z\xc3\xbcrich \xe6\x9d\xb1\xe4\xba\xac \xf0\x9f\x8c\xa6");
    EXPECT_EQ(std::wstring(conv.ToWide(bytes)), name);

    struct Case { const char* bytes; const wchar_t* wide; };
    const Case cases[] = {
        {"a\xff" "b", L"a\ufffdb"},            // byte that never starts a sequence
        {"a\xc3", L"a\ufffd"},                 // sequence cut at the end
        {"\xe6\x9d" "x", L"\ufffdx"},          // sequence cut before a plain byte
        {"\xc0\xaf", L"\ufffd\ufffd"},         // overlong form of '/'
        {"\xed\xa0\x80", L"\ufffd"},           // UTF-16 surrogate
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::wstring(conv.ToWide(c.bytes)), c.wide) << c.bytes;
        // Repaired, the text is valid UTF-8 that reads the same.
        EXPECT_EQ(CCodePage::Repair(c.bytes), CCodePage::Encode(c.wide)) << c.bytes;
    }
    EXPECT_EQ(CCodePage::Repair(bytes), bytes);

    // Wide characters that are no Unicode scalar value cannot be written as UTF-8.
    EXPECT_EQ(std::string(conv.ToAnsi(std::wstring(1, static_cast<wchar_t>(0xD800)))), "\xef\xbf\xbd");
}

} // namespace
