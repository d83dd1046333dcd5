#include "store/SearchAnswer.h"

#include "store/XmlFile.h"

#include <tinyxml.h>

bool CSearchAnswer::Read(const TiXmlDocument& doc, CPointerArray<CStation>& results)
{
    // Every document the library reads without error holds a node.
    if (doc.Error() || !doc.FirstChild())
        return false;
    results.RemoveAll();
    if (const TiXmlElement* pSearch = doc.FirstChildElement("search"))
        CStation::ReadChildren(pSearch, "loc", results);
    return true;
}

bool CSearchAnswer::Load(const std::wstring& strPath, CPointerArray<CStation>& results)
{
    TiXmlDocument doc;
    return CXmlFile::Load(doc, strPath) && Read(doc, results);
}
