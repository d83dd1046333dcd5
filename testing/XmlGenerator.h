#pragma once

// Documents built from the pieces that decide where the XML library's nodes
// end: mostly well-formed, with elements, attributes, references that swallow
// quotes, tags and markup up to their ';', comments, CDATA, unknown nodes and
// declarations, and now and then a piece put anywhere. The choices come from
// a source of numbers: a seeded generator in the tests, the fuzzer's input in
// fuzz/XmlShapeFuzz.cpp. Shared by both.

#include <string>

template <class Choose>   // Choose(n) gives a number in [0, n)
class CXmlGenerator
{
public:
    explicit CXmlGenerator(Choose choose) : m_choose(choose) {}

    std::string Document()
    {
        std::string text = Pick({"", "", "<?xml version='1.0'?>", "\xEF\xBB\xBF", "<?x?>", "<!DOCTYPE r>"});
        text += Content(0);
        for (int n = static_cast<int>(m_choose(3)); n > 0; --n)
            text.insert(m_choose(text.size() + 1), Piece());
        return text;
    }

private:
    std::string Pick(std::initializer_list<const char*> choices)
    {
        return *(choices.begin() + m_choose(choices.size()));
    }

    // Anything at all, for the places where the library reads on regardless.
    std::string Piece()
    {
        if (m_choose(40) == 0)
            return std::string(1, '\0');
        return Pick({"<a>", "</a>", "<b x='", "'", "\"", ">", "/>", "<", "</", " ", "a", "=", "\n", "<?x",
                     "?>", "<?xml", "<!--", "-->", "<![CDATA[", "]]>", "<!x", "&", "&#", "&#x", "#1;",
                     "x1;", "1", ";", "<1", "\xC3", "\xC3\xA9", "\xEF\xBB\xBF"});
    }

    // What a reference "&#...#1;" swallows: anything without a ';'.
    std::string Swallowed()
    {
        std::string text;
        for (int n = static_cast<int>(m_choose(4)); n > 0; --n) {
            std::string piece = Piece();
            if (piece.find(';') == std::string::npos)
                text += piece;
        }
        return text;
    }

    std::string Text(char cQuote)
    {
        std::string text;
        for (int n = 1 + static_cast<int>(m_choose(3)); n > 0; --n) {
            switch (m_choose(8)) {
            case 0: text += Pick({"x", " ", "12", "\xC3\xA9", "\xF0\x9F\x8C\xA6"}); break;
            case 1: text += Pick({"&amp;", "&lt;", "&#65;", "&#x41;", "&#;", "&bogus;"}); break;
            case 2: text += "&#" + Swallowed() + "#1;"; break;
            case 3: text += Pick({"&#x", "&#X"}) + Swallowed() + Pick({"x1;", "#1;"}); break;
            case 4: text += Pick({">", "]]>", "-->", "?>"}); break;
            default: text += cQuote == '"' ? "'" : cQuote == '\'' ? "\"" : "'\""; break;
            }
        }
        return text;
    }

    std::string Name() { return Pick({"a", "b", "_c", "d-e.f:g", "\xC3\xA9"}); }

    std::string Element(int nDepth)
    {
        const std::string name = Name();
        std::string text = "<" + name;
        for (int n = static_cast<int>(m_choose(3)); n > 0; --n) {
            const char cQuote = m_choose(2) ? '"' : '\'';
            text += " " + Name() + Pick({"=", " = "});
            text += m_choose(6) ? cQuote + Text(cQuote) + cQuote : std::string("v");
        }
        if (m_choose(3) == 0)
            return text + Pick({"/>", " />"});
        return text + ">" + Content(nDepth + 1) + "</" + name + Pick({">", " >"});
    }

    std::string Content(int nDepth)
    {
        std::string text;
        const int nItems = nDepth > 6 ? 0 : 1 + static_cast<int>(m_choose(3));
        for (int i = 0; i < nItems; ++i) {
            switch (m_choose(nDepth == 0 ? 5 : 8)) {
            case 0: case 1: case 5: text += Element(nDepth); break;
            case 2: text += "<!--" + Pick({"", "x", "<a>", "'", "--"}) + "-->"; break;
            case 3: text += "<![CDATA[" + Pick({"", "<a>", "]]", "'"}) + "]]>"; break;
            case 4: text += Pick({"<!x \"", "<?x '", "<!DOCTYPE a [<!ELEMENT b ANY", "< a", "<1"}) + Pick({">", "<a>'>", "\">"}); break;
            default: text += Text(0); break;
            }
        }
        return text;
    }

    Choose m_choose;
};
