#include "store/XmlFile.h"
#include "store/XmlShape.h"
#include "platform/CodePage.h"

#include "../TempFolder.h"
#include "testing/XmlGenerator.h"
#include "testing/XmlShapeOracle.h"
#include "testing/PathologicalDocuments.h"
#include "testing/PreparedSteps.h"

#include <gtest/gtest.h>

#include <tinyxml.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <random>
#include <sys/mman.h>
#include <unistd.h>

namespace {

const int kDeep = 50000;

// Every document that crashed the program. A "hide_" file hides from a naive
// reader what follows it, here kDeep nested elements; a "nest_" file nests one
// level deeper each time it is repeated, here kDeep times.
std::vector<std::pair<std::string, std::string>> CrashDocuments()
{
    std::vector<std::pair<std::string, std::string>> documents;
    const std::string folder = std::string(CIRROVAN_FIXTURES) + "/store/fixtures/hostile";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const std::string unit = ReadFixture("store/fixtures/hostile/" + name);
        std::string text;
        if (name.rfind("nest_", 0) == 0) {
            for (int i = 0; i < kDeep; ++i)
                text += unit;
        } else {
            text = unit;
            for (int i = 0; i < kDeep; ++i)
                text += "<a>";
        }
        documents.emplace_back(name, text);
    }
    EXPECT_GE(documents.size(), 10u);
    return documents;
}

std::string Nested(int nDepth, const std::string& inner = "")
{
    std::string text;
    for (int i = 0; i < nDepth; ++i)
        text += "<a>";
    text += inner;
    for (int i = 0; i < nDepth; ++i)
        text += "</a>";
    return text;
}

// The text placed so that its terminating NUL is the last byte before a page
// that may not be read: a read past the end stops the program at once, also
// inside the XML library, which the sanitizers do not see into.
class CGuardedText
{
public:
    explicit CGuardedText(const std::string& text)
    {
        const size_t nPage = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        m_nSize = ((text.size() + 1 + nPage - 1) / nPage + 1) * nPage;
        void* p = mmap(nullptr, m_nSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        m_pBase = p == MAP_FAILED ? nullptr : static_cast<char*>(p);
        if (!m_pBase)
            return;
        char* pGuard = m_pBase + m_nSize - nPage;
        mprotect(pGuard, nPage, PROT_NONE);
        m_pText = pGuard - text.size() - 1;
        std::memcpy(m_pText, text.c_str(), text.size() + 1);
    }
    ~CGuardedText()
    {
        if (m_pBase)
            munmap(m_pBase, m_nSize);
    }
    const char* c_str() const { return m_pText; }

private:
    char* m_pBase = nullptr;
    char* m_pText = nullptr;
    size_t m_nSize = 0;
};

void ParseGuarded(const std::string& text)
{
    CGuardedText guarded(text);
    ASSERT_NE(guarded.c_str(), nullptr);
    TiXmlDocument doc;
    doc.Parse(guarded.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
}

bool Loads(const std::string& text)
{
    TiXmlDocument doc;
    return CXmlFile::Parse(doc, text);
}

TEST(XmlFile, DocumentsThatCrashedAreRefused)
{
    for (const auto& [name, text] : CrashDocuments()) {
        SCOPED_TRACE(name);
        TiXmlDocument doc;
        EXPECT_FALSE(CXmlFile::Parse(doc, text));
        EXPECT_EQ(doc.FirstChild(), nullptr);
    }
}

TEST(XmlFile, NodesAreMeasuredWhereTheLibraryEndsThem)
{
    // What the shape check finds must be what the library builds.
    struct Case { const char* text; bool bLetThrough; int nDepth; };
    const Case cases[] = {
        {"<r><!-- <a><a> --></r>", true, 1},              // comment: to the first "-->"
        {"<r><!--><a></a>--></r>", true, 1},              // "<!-->" does not end it
        {"<r><![CDATA[<a><a>]]></r>", true, 1},           // CDATA: to the first "]]>"
        {"<r><!DOCTYPE x [<!ELEMENT y ANY>]><a/></r>", true, 2},   // to its first '>'
        {"<r><!x \"></a>\"></r>", false, 1},              // "<!": the first '>', quotes or not
        {"<?x \"?><a/>", true, 1},                        // "<?": the first '>'
        {"<r a=\"<a>\" b='>'><a/></r>", true, 2},         // quoted values hold '<' and '>'
        {"<r a=1 b=c/>", true, 1},                        // unquoted values
        {"<r>1 &lt; 2 &#60; &#x3C;<a/></r>", true, 2},
        {"<r>&#<a>#1;</r>", true, 1},                     // the reference runs to ';'
        {"<r>&#x<a>x1;</r>", true, 1},
        {"<r>&#<a>#1b;</r>", false, 1},                   // not digits after the '#'
        {"<r>&#<a>", false, 1},                           // no ';': the library fails
        {"<r/>trailing text <a><a><a>", true, 1},         // the top level ends at text
        {"\xEF\xBB\xBF<r><a/></r>", true, 2},              // a byte order mark first
        {"<?xml version=\"1.0\" encoding='UTF-8' standalone=\"yes\"?><r/>", true, 1},
        {"<?XML version=\"1.0\"?><r/>", true, 1},
        {"<?xml-stylesheet type=\"text/xsl\" href=\"a.xsl\"?><r/>", true, 1},
        {"<?xml version=\"1.0\" x=\"a b\"?><r/>", false, 0}, // spaces in a value
        {"<?xml version=\"&#62;\"?><r/>", false, 0},      // a reference in a value
        {"<?xml version=\"1.0\"", false, 0},              // never closed
        {"<r></r >", true, 1},
        {"<r></ra>", false, 1},
        {"<r><a></r></a>", false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string text = CXmlFile::Prepare(c.text);
        CXmlShape shape(CXmlFile::MAX_DEPTH, CXmlFile::MAX_ATTRIBUTES, CXmlFile::MAX_NODES);
        EXPECT_EQ(shape.Check(text), c.bLetThrough);
        EXPECT_EQ(shape.m_nDepth, c.nDepth);
        TiXmlDocument doc;
        doc.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
        if (c.bLetThrough) {
            EXPECT_EQ(LibraryTree(doc).nDepth, c.nDepth);
        }
    }
}

TEST(XmlFile, ShapeAgreesWithTheLibraryOnGeneratedDocuments)
{
    std::mt19937 random(20240131);
    auto choose = [&random](size_t n) { return static_cast<size_t>(random() % n); };
    CXmlGenerator<decltype(choose)> generator(choose);
    int nClean = 0;
    for (int n = 0; n < 20000; ++n) {
        const std::string text = generator.Document();
        const std::string prepared = CXmlFile::Prepare(text);
        ASSERT_EQ(ShapeDisagreement(prepared), "") << text;
        TiXmlDocument doc;
        nClean += CXmlFile::Parse(doc, text);
    }
    // Most documents are well-formed, where the two must agree exactly.
    EXPECT_GT(nClean, 5000);
}

TEST(XmlFile, LimitsOfDepthAndAttributes)
{
    const int nDepth = CXmlFile::MAX_DEPTH;
    const int nMost = CXmlFile::MAX_ATTRIBUTES;
    EXPECT_TRUE(Loads(Nested(nDepth)));
    EXPECT_TRUE(Loads(Nested(nDepth - 1, "<b/>")));
    EXPECT_FALSE(Loads(Nested(nDepth, "<b/>")));
    EXPECT_FALSE(Loads(Nested(nDepth + 1)));
    EXPECT_TRUE(Loads(Nested(nDepth, "text &amp; <!-- comment --> <![CDATA[x]]>")));
    EXPECT_TRUE(Loads("<a" + Attributes(0, nMost) + "/>"));
    EXPECT_FALSE(Loads("<a" + Attributes(0, nMost + 1) + "/>"));
    EXPECT_FALSE(Loads("<r><a" + Attributes(0, nMost + 1) + ">x</a></r>"));
    // The limits hold for the document as the library reads it, whatever lies
    // after where it stops.
    EXPECT_TRUE(Loads("<r/>x" + Nested(kDeep)));
}

TEST(XmlFile, PathologicalDocumentsAreRefusedOrLoaded)
{
    for (const PathologicalDocument& document : PathologicalDocuments()) {
        SCOPED_TRACE(document.pszName);
        EXPECT_LE(document.text.size(), CXmlFile::MAX_BYTES);
        EXPECT_EQ(Loads(document.text), document.bLoads);
    }
}

TEST(XmlFile, PreparedTextIsValidUtf8UpToTheFirstNul)
{
    struct Case { std::string text; std::string prepared; };
    const Case cases[] = {
        {std::string("<r/>\0<a>", 8), "<r/>"},
        {"<r>\xC3</r>", "<r>\xEF\xBF\xBD</r>"},
        {"<r>\xE2\x82", "<r>\xEF\xBF\xBD"},
        {"\xEF\xBB\xBF<r>\xEF\xBB\xBF</r>", "\xEF\xBB\xBF<r>\xEF\xBF\xBD</r>"},   // only a leading mark stays
        {"\xEF\xBF\xBE<r>\xEF\xBF\xBF</r>", "\xEF\xBF\xBD<r>\xEF\xBF\xBD</r>"},
        {"<r>Z\xC3\xBCrich \xF0\x9F\x8C\xA6</r>", "<r>Z\xC3\xBCrich \xF0\x9F\x8C\xA6</r>"},
        // Line ends as the library's file loader makes them.
        {"<r a='\r\n\r'>\r\r\n</r>\r", "<r a='\n\n'>\n\n</r>\n"},
        {"\r\n\xEF\xBB\xBF<r/>", "\n\xEF\xBF\xBD<r/>"},
        {std::string("<r>\r\0\n", 6), "<r>\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CXmlFile::Prepare(c.text), c.prepared) << c.text;
}

// Preparing is one pass that works eight bytes at a time and in place; it
// must give what the steps give one after the other.
TEST(XmlFile, PreparedTextIsWhatTheStepsGiveOneByOne)
{
    const std::string pieces[] = {
        "abcdefghijklmnop", "<a>", " ", "\n", "\r", "\r\n", std::string(1, '\0'), "\x80", "\xBF", "\xC0\xAF",
        "\xC3", "\xC3\xA9", "\xE2\x82", "\xE2\x82\xAC", "\xED\xA0\x80", "\xEF\xBB\xBF", "\xEF\xBF\xBD",
        "\xEF\xBF\xBE", "\xEF\xBF\xBF", "\xF0\x9F\x8C", "\xF0\x9F\x8C\xA6", "\xF4\x90\x80\x80", "\xFF",
    };
    std::mt19937 random(20250611);
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        for (int nPieces = static_cast<int>(random() % 24); nPieces > 0; --nPieces) {
            const std::string& piece = pieces[random() % std::size(pieces)];
            // NUL rarely, so that most texts are read to their end.
            if (piece[0] != '\0' || random() % 8 == 0)
                text += piece;
        }
        ASSERT_EQ(CXmlFile::Prepare(text), PreparedStepByStep(text)) << ::testing::PrintToString(text);
    }
}

TEST(XmlFile, LibraryReadsStayInsideTheText)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Read as UTF-8, a text that ends on a lead byte takes the library past its end.
    EXPECT_DEATH(ParseGuarded("<?xml version=\"1.0\"?><a>\xC3"), "");
    EXPECT_DEATH(ParseGuarded("\xEF\xBB\xBF<a b=\"\xF0"), "");

    // Prepared, no text does, whatever byte or broken sequence it ends on.
    const char* const heads[] = {
        "<?xml version=\"1.0\"?><a>", "\xEF\xBB\xBF<a>", "<?xml version='1.0'?><a b='",
        "\xEF\xBB\xBF<a b=\"", "<a>", "<?xml version=\"1.0\"?><a>&#", "\xEF\xBB\xBF<a>text ",
    };
    for (const char* head : heads) {
        for (int nByte = 0x80; nByte <= 0xFF; ++nByte) {
            for (const char* tail : {"", "\x80", "\x80\x80"}) {
                const std::string text = head + std::string(1, static_cast<char>(nByte)) + tail;
                SCOPED_TRACE(text);
                const std::string prepared = CXmlFile::Prepare(text);
                EXPECT_EQ(CCodePage::Repair(prepared), prepared);
                ParseGuarded(prepared);
                EXPECT_FALSE(Loads(text));
            }
        }
    }
}

} // namespace
