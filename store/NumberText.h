#pragma once

class TiXmlElement;

// Numbers in the stored files are read the way atoi reads them: leading white
// space, an optional sign, decimal digits up to the first other character; no
// digits give 0. Values beyond the 32-bit range stop at its ends.
class CNumberText
{
public:
    static int ToInt(const char* pszText);   // null gives 0
    // The attribute's number; an absent attribute gives 0.
    static int Attribute(const TiXmlElement* pElement, const char* pszName);
    static bool BoolAttribute(const TiXmlElement* pElement, const char* pszName);
};
