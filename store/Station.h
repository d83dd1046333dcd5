#pragma once

#include "store/PointerArray.h"

#include <string>

class TiXmlElement;

// One weather station: the service's ID and a display name. Also the record of
// one search result.
class CStation
{
public:
    CStation() = default;
    CStation(const CStation& other) = default;
    CStation& operator=(const CStation& other) = default;

    void SetID(const std::wstring& strID) { m_strID = strID; }
    void SetName(const std::wstring& strName) { m_strName = strName; }

    // Attribute "id" is the ID and the element's text the name; either may be absent.
    void ReadXml(const TiXmlElement* pElement);
    // Appends <tag id="ID">name</tag> under the parent.
    void WriteXml(TiXmlElement* pParent, const char* pszTag) const;

    // Appends a station for each child element of the parent named by the
    // tag, in document order, each read by ReadXml: the station file, a search
    // answer and the settings' preferred stations keep their lists so.
    static void ReadChildren(const TiXmlElement* pParent, const char* pszTag, CPointerArray<CStation>& stations);

    std::wstring m_strID;
    std::wstring m_strName;
};
