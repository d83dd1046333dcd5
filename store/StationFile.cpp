#include "store/StationFile.h"

#include "store/XmlFile.h"

#include <tinyxml.h>

bool CStationFile::Read(const TiXmlDocument& doc, CPointerArray<CStation>& stations)
{
    stations.RemoveAll();
    const TiXmlElement* pRoot = doc.FirstChildElement();
    if (!pRoot)
        return false;
    CStation::ReadChildren(pRoot, "station", stations);
    return true;
}

bool CStationFile::Load(const std::wstring& strPath, CPointerArray<CStation>& stations)
{
    TiXmlDocument doc;
    CXmlFile::Load(doc, strPath);
    return Read(doc, stations);
}
