#pragma once

// The costliest documents we could build for the XML library up to the size
// cap, each with whether the guarded load lets it through: past a limit, or as
// costly as the limits allow. The tests check the verdicts;
// bench/HostileXmlBench.cpp times the loads.

#include "store/XmlFile.h"

#include <algorithm>
#include <string>
#include <vector>

struct PathologicalDocument
{
    const char* pszName;
    std::string text;
    bool bLoads;
};

// A head, copies of a piece, and a tail: as many copies as fit under the size
// cap, or fewer when asked.
inline std::string FilledToTheCap(const std::string& head, const std::string& piece, const std::string& tail,
                                  size_t nMostCopies = CXmlFile::MAX_BYTES)
{
    size_t nCopies = std::min(nMostCopies, (CXmlFile::MAX_BYTES - head.size() - tail.size()) / piece.size());
    std::string text;
    text.reserve(CXmlFile::MAX_BYTES);
    text += head;
    for (size_t i = 0; i < nCopies; ++i)
        text += piece;
    return text + tail;
}

// Attributes a<from>="<value>" ... , nCount of them.
inline std::string Attributes(int nFrom, int nCount, const std::string& value = "")
{
    std::string text;
    for (int i = nFrom; i < nFrom + nCount; ++i)
        text += " a" + std::to_string(i) + "=\"" + value + "\"";
    return text;
}

inline std::vector<PathologicalDocument> PathologicalDocuments()
{
    const int nMost = CXmlFile::MAX_ATTRIBUTES;
    const size_t nNodes = CXmlFile::MAX_NODES;
    const size_t nPerNode = CXmlFile::MAX_BYTES / nNodes;
    std::string manyAttributes = "<a";
    for (int i = 0; manyAttributes.size() < CXmlFile::MAX_BYTES - 20000; i += 1000)
        manyAttributes += Attributes(i, 1000);
    // Chains as deep as allowed below the root, as many as the nodes allow.
    std::string chain;
    for (int i = 1; i < CXmlFile::MAX_DEPTH; ++i)
        chain += "<" + std::string(nPerNode - 6, 'a') + ">";
    for (int i = 1; i < CXmlFile::MAX_DEPTH; ++i)
        chain += "</" + std::string(nPerNode - 6, 'a') + ">";
    const size_t nChains = (nNodes - 1) / (CXmlFile::MAX_DEPTH - 1);
    // Elements with the most attributes, as many as the nodes allow.
    const std::string attributed = "<e" + Attributes(0, nMost, std::string(nPerNode - 8, 'v')) + "/>";
    const size_t nAttributed = (nNodes - 1) / (nMost + 1);
    return {
        // Past a limit.
        {"one element with 40,000 attributes", "<a" + Attributes(0, 40000) + "/>", false},
        {"one element with attributes up to the cap", manyAttributes + "/>", false},
        {"empty elements up to the cap", FilledToTheCap("<r>", "<a/>", "</r>"), false},
        {"the most attributes on every element up to the cap",
         FilledToTheCap("<r>", "<e" + Attributes(0, nMost) + "/>", "</r>"), false},
        // As many nodes as allowed, each as large as the cap allows.
        {"the most elements, with long names", FilledToTheCap("<r>", "<" + std::string(nPerNode - 3, 'a') + "/>", "</r>", nNodes - 1), true},
        {"the most elements, with the most attributes", FilledToTheCap("<r>", attributed, "</r>", nAttributed), true},
        {"the most nodes, text between elements", FilledToTheCap("<r>", "<a/>" + std::string(nPerNode * 2 - 4, 'x'), "</r>", (nNodes - 1) / 2), true},
        {"the most nodes, references in text", FilledToTheCap("<r>", "<a/>" + std::string((nPerNode * 2 - 4) / 5, ' ') + "&#65;&amp;", "</r>", (nNodes - 1) / 2), true},
        {"the most comments", FilledToTheCap("<r>", "<!--" + std::string(nPerNode - 7, '-') + "-->", "</r>", nNodes - 1), true},
        {"the deepest nesting side by side", FilledToTheCap("<r>", chain, "</r>", nChains), true},
        // Few nodes, one of them as large as the cap allows.
        {"one text", FilledToTheCap("<r>", "x", "</r>"), true},
        {"white space", FilledToTheCap("<r>", " \n", "<a/></r>"), true},
        {"named references", FilledToTheCap("<r>", "&amp;", "</r>"), true},
        {"character references", FilledToTheCap("<r>", "&#65;", "</r>"), true},
        {"one character reference of digits", FilledToTheCap("<r>&#", "1", ";</r>"), true},
        {"one attribute value", FilledToTheCap("<r a=\"", "x", "\"/>"), true},
        {"one attribute value of references", FilledToTheCap("<r a=\"", "&lt;", "\"/>"), true},
        {"one element name", FilledToTheCap("<", "a", "/>"), true},
        {"one comment", FilledToTheCap("<r><!--", "-", "--></r>"), true},
        {"one CDATA section", FilledToTheCap("<r><![CDATA[", "]", "]]></r>"), true},
        {"one unknown node", FilledToTheCap("<r><!", "x", "></r>"), true},
        {"bytes that are not UTF-8, each read as three", FilledToTheCap("<?xml version=\"1.0\"?><r>", "\xff", "</r>"), false},
        {"bytes that are not UTF-8, read as three up to the cap",
         FilledToTheCap("<?xml version=\"1.0\"?><r>", "\xff", "</r>", CXmlFile::MAX_BYTES / 3 - 20), true},
    };
}
