#include "settings/Settings.h"

#include "platform/DataFolder.h"
#include "store/NumberText.h"
#include "store/XmlFile.h"

#include <tinyxml.h>

CSettings::CSettings()
    : m_strPath(CDataFolder::Get() + L"/settings.dat"),
      m_nWindUnit(0),
      m_bShowZero(false),
      m_nTempUnit(0),
      m_bDisconnect(false),
      m_nCurrentView(0),
      m_bDaily(0),
      m_nOrientation(0),
      m_nStoredView(0),
      m_bStoredDaily(0)
{
    for (int i = 0; i < 3; ++i)
        m_views[i].ApplyPreset(i);
}

bool CSettings::Save()
{
    TiXmlDocument doc;
    TiXmlElement root("Cirrovan");

    TiXmlElement settings("settings");
    settings.SetAttribute("versionMajor", 1);
    settings.SetAttribute("versionMinor", 0);
    root.InsertEndChild(settings);

    TiXmlElement preferences("preferences");
    TiXmlElement windspeed("windspeed");
    windspeed.SetAttribute("unit", m_nWindUnit);
    windspeed.SetAttribute("showzero", m_bShowZero ? 1 : 0);
    preferences.InsertEndChild(windspeed);
    TiXmlElement temperatures("temperatures");
    temperatures.SetAttribute("unit", m_nTempUnit);
    preferences.InsertEndChild(temperatures);
    preferences.SetAttribute("disconnectafterupdate", m_bDisconnect ? 1 : 0);
    root.InsertEndChild(preferences);

    TiXmlElement customviews("customviews");
    customviews.SetAttribute("current", m_nCurrentView);
    customviews.SetAttribute("daily", m_bDaily ? 1 : 0);
    for (const CCustomView& view : m_views)
        view.WriteXml(&customviews);
    root.InsertEndChild(customviews);

    m_currentStation.WriteXml(&root, "station");

    TiXmlElement orientation("displayorientation");
    TiXmlText orientationText(std::to_string(m_nOrientation).c_str());
    orientation.InsertEndChild(orientationText);
    root.InsertEndChild(orientation);

    TiXmlElement preferred("preferred_update_stations");
    for (int i = 0; i < m_preferredStations.GetCount(); ++i)
        m_preferredStations.GetAt(i)->WriteXml(&preferred, "station");
    root.InsertEndChild(preferred);

    doc.InsertEndChild(root);
    if (!CXmlFile::Save(doc, m_strPath))
        return false;
    m_nStoredView = m_nCurrentView;
    m_bStoredDaily = m_bDaily;
    return true;
}

bool CSettings::Load()
{
    TiXmlDocument doc;
    if (!CXmlFile::Load(doc, m_strPath) || !Read(doc))
        return false;
    m_nStoredView = m_nCurrentView;
    m_bStoredDaily = m_bDaily;
    return true;
}

bool CSettings::Read(const TiXmlDocument& doc)
{
    const TiXmlElement* pRoot = doc.FirstChildElement();
    if (!pRoot)
        return false;

    if (const TiXmlElement* pOrientation = pRoot->FirstChildElement("displayorientation"))
        m_nOrientation = CNumberText::ToInt(pOrientation->GetText());

    if (const TiXmlElement* pStation = pRoot->FirstChildElement("station"))
        m_currentStation.ReadXml(pStation);

    // "settings" carries only the file's version, which no release has changed yet.

    if (const TiXmlElement* pPreferences = pRoot->FirstChildElement("preferences")) {
        m_bDisconnect = CNumberText::BoolAttribute(pPreferences, "disconnectafterupdate");
        if (const TiXmlElement* pWind = pPreferences->FirstChildElement("windspeed")) {
            m_nWindUnit = CNumberText::Attribute(pWind, "unit");
            m_bShowZero = CNumberText::BoolAttribute(pWind, "showzero");
        }
        if (const TiXmlElement* pTemp = pPreferences->FirstChildElement("temperatures"))
            m_nTempUnit = CNumberText::Attribute(pTemp, "unit");
    }

    if (const TiXmlElement* pViews = pRoot->FirstChildElement("customviews")) {
        m_nCurrentView = CNumberText::Attribute(pViews, "current");
        // The index picks one of the three views, so a stored value out of
        // range must never reach the chart.
        if (m_nCurrentView < 0 || m_nCurrentView > 2)
            m_nCurrentView = 0;
        // Held as 0 or 1, so that the switch's 1 - value stays one of them.
        m_bDaily = CNumberText::BoolAttribute(pViews, "daily") ? 1 : 0;
        const TiXmlElement* pView = pViews->FirstChildElement("view");
        for (int i = 0; i < 3 && pView; ++i, pView = pView->NextSiblingElement("view"))
            m_views[i].ReadXml(pView);
    }

    if (const TiXmlElement* pPreferred = pRoot->FirstChildElement("preferred_update_stations")) {
        m_preferredStations.RemoveAll();
        CStation::ReadChildren(pPreferred, "station", m_preferredStations);
    }
    return true;
}
