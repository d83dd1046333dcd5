#pragma once

#include <string>

// How deeply the elements of a text nest, how many attributes one element
// carries and how many nodes and attributes there are in all, as the XML
// library will meet them: its parser recurses once per nesting level, compares
// every new attribute with all earlier ones of its element and allocates every
// node and attribute on its own, so a text must be measured before it reaches
// the library.
//
// The scan walks the text without recursion by the library's own rules for
// where each kind of node ends, which are not the XML standard's: a "<" that
// starts no element ends at the first ">" whatever quotes lie before it, a
// character reference "&#...;" in text or an attribute value runs to the next
// ";" however far away, and so on. Whatever it cannot follow with certainty, it
// refuses.
class CXmlShape
{
public:
    CXmlShape(int nMaxDepth, int nMaxAttributes, int nMaxNodes)
        : m_nMaxDepth(nMaxDepth), m_nMaxAttributes(nMaxAttributes), m_nMaxNodes(nMaxNodes) {}

    // True when the library may be handed the text: it will nest no deeper,
    // read no more attributes on one element and make no more nodes and
    // attributes in all than the limits allow. False as
    // soon as a limit is passed, where the library would find the text not
    // well-formed, and for an XML declaration of any but the plain form
    // (<?xml version="1.0" encoding="UTF-8"?>, values without spaces, quotes,
    // "<", ">" or "&"). The text must hold valid UTF-8, U+FEFF only as its
    // first character and neither U+FFFE nor U+FFFF (CXmlFile prepares it so),
    // and is read up to its first NUL, as the library reads it.
    bool Check(const std::string& strText);

    int m_nMaxDepth;
    int m_nMaxAttributes;
    int m_nMaxNodes;
    // What the last check met up to where it stopped.
    int m_nDepth = 0;
    int m_nMostAttributes = 0;
    int m_nNodes = 0;
};
