#include "store/Station.h"

#include "store/ClassUnicode.h"

#include <tinyxml.h>

void CStation::ReadXml(const TiXmlElement* pElement)
{
    ClassUnicode conv;
    const char* pszID = pElement->Attribute("id");
    m_strID = pszID ? conv.ToWide(pszID) : L"";
    const char* pszName = pElement->GetText();
    m_strName = pszName ? conv.ToWide(pszName) : L"";
}

void CStation::WriteXml(TiXmlElement* pParent, const char* pszTag) const
{
    ClassUnicode conv;
    TiXmlElement element(pszTag);
    element.SetAttribute("id", conv.ToAnsi(m_strID));
    TiXmlText text(conv.ToAnsi(m_strName));
    element.InsertEndChild(text);
    pParent->InsertEndChild(element);
}

void CStation::ReadChildren(const TiXmlElement* pParent, const char* pszTag, CPointerArray<CStation>& stations)
{
    for (const TiXmlElement* pChild = pParent->FirstChildElement(pszTag); pChild;
         pChild = pChild->NextSiblingElement(pszTag)) {
        CStation* pStation = new CStation;
        stations.Add(pStation);
        pStation->ReadXml(pChild);
    }
}
