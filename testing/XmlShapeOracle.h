#pragma once

// Whether the shape check measures what the XML library meets. Shared by the
// tests and the fuzz targets.

#include "store/XmlFile.h"
#include "store/XmlShape.h"

#include <tinyxml.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

// What the library built: how deeply its elements nest, the most attributes
// one of them has and how many nodes and attributes it holds. Walked without
// recursion, since the tree may be as deep as a hostile text made it.
struct LibraryTree
{
    int nDepth = 0;
    int nMostAttributes = 0;
    int nNodes = 0;

    explicit LibraryTree(const TiXmlNode& root)
    {
        std::vector<std::pair<const TiXmlNode*, int>> pending{{&root, 0}};
        while (!pending.empty()) {
            auto [pNode, nLevel] = pending.back();
            pending.pop_back();
            for (const TiXmlNode* pChild = pNode->FirstChild(); pChild; pChild = pChild->NextSibling()) {
                ++nNodes;
                const TiXmlElement* pElement = pChild->ToElement();
                if (!pElement)
                    continue;
                nDepth = std::max(nDepth, nLevel + 1);
                int nAttributes = 0;
                for (const TiXmlAttribute* a = pElement->FirstAttribute(); a; a = a->Next())
                    ++nAttributes;
                nMostAttributes = std::max(nMostAttributes, nAttributes);
                nNodes += nAttributes;
                pending.emplace_back(pChild, nLevel + 1);
            }
        }
    }
};

// Checks a prepared text (CXmlFile::Prepare) and hands it to the library, and
// tells where the two disagree; empty when they agree. Whenever the check lets
// a text through, the library's tree (kept even where the library stops at an
// error) must be no deeper, have no element with more attributes and no more
// nodes than measured, and a text the library reads without error must have
// exactly the measured depth and most attributes. A text that the library reads
// cleanly within the limits must not be refused, unless it holds "<?", where a
// declaration of any but the plain form is refused on purpose. A refused text
// reaches the library only when it is small enough for the library's
// recursion to be harmless.
inline std::string ShapeDisagreement(const std::string& prepared)
{
    CXmlShape shape(CXmlFile::MAX_DEPTH, CXmlFile::MAX_ATTRIBUTES, CXmlFile::MAX_NODES);
    const bool bLetThrough = shape.Check(prepared);
    if (!bLetThrough && (shape.m_nDepth > CXmlFile::MAX_DEPTH || prepared.size() > 8192))
        return "";
    TiXmlDocument doc;
    doc.Parse(prepared.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    const LibraryTree tree(doc);
    if (bLetThrough) {
        if (tree.nDepth > shape.m_nDepth)
            return "the library nests deeper than measured";
        if (tree.nMostAttributes > shape.m_nMostAttributes)
            return "the library reads more attributes than measured";
        if (tree.nNodes > shape.m_nNodes)
            return "the library makes more nodes than measured";
        if (!doc.Error() && (tree.nDepth != shape.m_nDepth || tree.nMostAttributes != shape.m_nMostAttributes))
            return "the library reads a shape other than measured";
    } else if (!doc.Error() && prepared.find("<?") == std::string::npos && tree.nDepth <= CXmlFile::MAX_DEPTH
               && tree.nMostAttributes <= CXmlFile::MAX_ATTRIBUTES && tree.nNodes <= CXmlFile::MAX_NODES) {
        return "refused, but the library reads it";
    }
    return "";
}
